#include "store/fieldcodec.h"

#include "store/codepage1251.h"
#include "store/numbertext.h"
#include "store/unreadablenumber.h"

#include <QDate>

#include <charconv>
#include <cmath>
#include <limits>

namespace store
{

namespace
{

bool isPad(char c)
{
    return c == ' ' || c == '\0';
}

// The field's text without blanks or NULs around it.
QByteArray strippedBytes(const char *bytes, int width)
{
    int begin = 0;
    while (begin < width && isPad(bytes[begin]))
        ++begin;
    return trimmedBytes(bytes + begin, width - begin);
}

QVariant decodeNumber(const FieldDef &field, const char *bytes)
{
    const std::optional<double> number = fieldNumber(bytes, field.width);
    if (!number)
        return QVariant::fromValue(UnreadableNumber{decode1251(strippedBytes(bytes, field.width))});
    if (field.decimals == 0 && std::trunc(*number) == *number && std::fabs(*number) < 9.0e15) {
        const auto whole = static_cast<qlonglong>(*number);
        if (whole >= std::numeric_limits<int>::min() && whole <= std::numeric_limits<int>::max())
            return QVariant(int(whole));
        return QVariant(whole);
    }
    return QVariant(*number);
}

QVariant decodeLogical(const char *bytes)
{
    switch (bytes[0]) {
    case 'T':
    case 't':
    case 'Y':
    case 'y':
        return QVariant(true);
    case 'F':
    case 'f':
    case 'N':
    case 'n':
        return QVariant(false);
    default:
        return {};
    }
}

// An unreadable number goes back as the text it was read with, right-aligned.
QByteArray encodeUnreadable(const FieldDef &field, const QVariant &value, QString *why)
{
    QByteArray bytes;
    if (!encode1251(unreadableText(value), &bytes) || bytes.size() > field.width) {
        *why = QStringLiteral("значение \"%1\" не помещается в поле").arg(unreadableText(value));
        return {};
    }
    return QByteArray(field.width - bytes.size(), ' ') + bytes;
}

QByteArray encodeNumber(const FieldDef &field, const QVariant &value, QString *why)
{
    if (isUnreadableNumber(value))
        return encodeUnreadable(field, value, why);
    double x = 0;
    bool ok = false;
    if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray) {
        const QString text = value.toString();
        if (text.trimmed().isEmpty())
            return QByteArray(field.width, ' ');
        x = parseNumber(text, &ok);
    } else {
        x = value.toDouble(&ok);
    }
    if (!ok || !std::isfinite(x)) {
        *why = QStringLiteral("значение \"%1\" не число").arg(value.toString());
        return {};
    }
    const QString text = fixedText(x, field.width, field.decimals);
    if (text.size() > field.width) {
        *why = QStringLiteral("число %1 не помещается в поле (ширина %2, знаков после точки %3)")
                   .arg(text.trimmed())
                   .arg(field.width)
                   .arg(field.decimals);
        return {};
    }
    return text.toLatin1();
}

QByteArray encodeLogical(const FieldDef &field, const QVariant &value, QString *why)
{
    QByteArray bytes(field.width, ' ');
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed().toUpper();
        if (text.isEmpty() || text == QLatin1String("?"))
            return bytes;
        if (text == QLatin1String("T") || text == QLatin1String("Y"))
            bytes[0] = 'T';
        else if (text == QLatin1String("F") || text == QLatin1String("N"))
            bytes[0] = 'F';
        else
            *why = QStringLiteral("значение \"%1\" не логическое").arg(value.toString());
        return why->isEmpty() ? bytes : QByteArray();
    }
    bytes[0] = value.toBool() ? 'T' : 'F';
    return bytes;
}

QByteArray encodeDate(const FieldDef &field, const QVariant &value, QString *why)
{
    QString text = value.typeId() == QMetaType::QDate
                       ? value.toDate().toString(QStringLiteral("yyyyMMdd"))
                       : value.toString().trimmed();
    if (text.isEmpty())
        return QByteArray(field.width, ' ');
    if (!QDate::fromString(text, QStringLiteral("yyyyMMdd")).isValid() ||
        text.size() != field.width) {
        *why = QStringLiteral("значение \"%1\" не дата").arg(value.toString());
        return {};
    }
    return text.toLatin1();
}

QByteArray encodeText(const FieldDef &field, const QVariant &value, QString *why)
{
    QString text = value.toString();
    while (!text.isEmpty() && text.back() == QLatin1Char(' '))
        text.chop(1);
    QByteArray bytes;
    if (!encode1251(text, &bytes)) {
        *why =
            QStringLiteral("текст \"%1\" содержит знаки, которых нет в кодировке 1251").arg(text);
        return {};
    }
    if (bytes.size() > field.width) {
        *why = QStringLiteral("текст \"%1\" длиннее поля (%2 знаков)").arg(text).arg(field.width);
        return {};
    }
    return bytes + QByteArray(field.width - bytes.size(), ' ');
}

} // namespace

bool isBlankField(const char *bytes, int width)
{
    for (int i = 0; i < width; ++i) {
        if (!isPad(bytes[i]))
            return false;
    }
    return true;
}

bool isNumericType(char type)
{
    return type == 'N' || type == 'F';
}

std::optional<double> fieldNumber(const char *bytes, int width)
{
    int begin = 0;
    int end = width;
    while (begin < end && isPad(bytes[begin]))
        ++begin;
    while (end > begin && isPad(bytes[end - 1]))
        --end;
    if (begin + 1 < end && bytes[begin] == '+' && bytes[begin + 1] != '-')
        ++begin;
    if (begin == end)
        return std::nullopt;
    double value = 0;
    const auto [stop, error] = std::from_chars(bytes + begin, bytes + end, value);
    if (error != std::errc() || stop != bytes + end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QByteArray trimmedBytes(const char *bytes, int width)
{
    int end = width;
    while (end > 0 && isPad(bytes[end - 1]))
        --end;
    return QByteArray(bytes, end);
}

QString shownFieldText(const char *bytes, int width)
{
    QString text = decode1251(strippedBytes(bytes, width));
    for (QChar &c : text)
        c = c.unicode() < 0x20 ? QChar(QChar::ReplacementCharacter) : c;
    return text;
}

std::optional<double> keyNumber(const FieldDef &field, const char *bytes)
{
    if (isBlankField(bytes, field.width))
        return 0;
    const std::optional<double> number = fieldNumber(bytes, field.width);
    if (number && field.decimals == 0 && std::trunc(*number) != *number)
        return std::nullopt;
    return number;
}

QString keyProblem(const FieldDef &field, const char *bytes)
{
    return QStringLiteral("поле %1: «%2» не читается как %3")
        .arg(field.name, shownFieldText(bytes, field.width),
             field.decimals == 0 ? QStringLiteral("целое число") : QStringLiteral("число"));
}

QVariant decodeField(const FieldDef &field, const char *bytes)
{
    if (isBlankField(bytes, field.width))
        return {};
    if (isNumericType(field.type))
        return decodeNumber(field, bytes);
    if (field.type == 'L')
        return decodeLogical(bytes);
    return decode1251(trimmedBytes(bytes, field.width));
}

QByteArray encodeField(const FieldDef &field, const QVariant &value, QString *why)
{
    why->clear();
    if (!value.isValid() || value.isNull())
        return QByteArray(field.width, ' ');
    if (isNumericType(field.type))
        return encodeNumber(field, value, why);
    if (field.type == 'L')
        return encodeLogical(field, value, why);
    if (field.type == 'D')
        return encodeDate(field, value, why);
    return encodeText(field, value, why);
}

} // namespace store
