#include "store/fieldproblem.h"

#include "store/codepage1251.h"
#include "store/fieldcodec.h"
#include "store/numbertext.h"

#include <cmath>

namespace store
{

namespace
{

// Digits before the point of the widest number the field holds (sign not counted).
int wholeDigits(const FieldDef &field, bool negative)
{
    const int point = field.decimals > 0 ? field.decimals + 1 : 0;
    return std::max(0, field.width - point - (negative ? 1 : 0));
}

QString nines(const FieldDef &field, bool negative)
{
    QString text = QString(std::max(1, wholeDigits(field, negative)), QLatin1Char('9'));
    if (field.decimals > 0)
        text += QLatin1Char('.') + QString(field.decimals, QLatin1Char('9'));
    return negative ? QLatin1Char('-') + text : text;
}

// A number as the user would write it: the field's decimals at most, no trailing zeros.
QString numberText(double x, int decimals)
{
    QString text = fixedText(x, 0, decimals).trimmed();
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text;
}

QString placeText(const FieldPlace &place)
{
    QStringList parts;
    if (!place.list.trimmed().isEmpty())
        parts.append(place.list.trimmed());
    if (!place.entry.trimmed().isEmpty())
        parts.append(quotedStart(place.entry.trimmed()));
    if (!place.column.trimmed().isEmpty())
        parts.append(QStringLiteral("колонка \"%1\"").arg(place.column.trimmed()));
    return parts.join(QStringLiteral(", "));
}

QString numberProblem(const FieldDef &field, const QVariant &value)
{
    bool ok = false;
    double x = 0;
    if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray)
        x = parseNumber(value.toString(), &ok);
    else
        x = value.toDouble(&ok);
    if (!ok || !std::isfinite(x))
        return QStringLiteral("%1 — не число").arg(quotedStart(value.toString()));
    const bool negative = x < 0;
    const QString shown = numberText(x, field.decimals);
    const QString number = shown.size() > kQuotedChars ? quotedStart(shown) : shown;
    return negative ? QStringLiteral("число %1 не помещается — колонка вмещает числа от %2")
                          .arg(number, smallestFieldNumber(field))
                    : QStringLiteral("число %1 не помещается — колонка вмещает числа до %2")
                          .arg(number, largestFieldNumber(field));
}

QString textProblem(const FieldDef &field, const QString &text)
{
    QByteArray bytes;
    if (!encode1251(text, &bytes))
        return QStringLiteral("в тексте %1 есть знаки, которых нет в кодировке Windows-1251")
            .arg(quotedStart(text));
    return QStringLiteral("текст %1 не помещается — колонка вмещает не более %2")
        .arg(quotedStart(text), charactersAtMost(field.width));
}

} // namespace

QString quotedStart(const QString &text)
{
    if (text.size() <= kQuotedChars)
        return QLatin1Char('"') + text + QLatin1Char('"');
    return QLatin1Char('"') + text.left(kQuotedChars) + QStringLiteral("…\"");
}

QString largestFieldNumber(const FieldDef &field)
{
    return nines(field, false);
}

QString smallestFieldNumber(const FieldDef &field)
{
    return nines(field, true);
}

QString charactersAtMost(int count)
{
    const int lastTwo = count % 100;
    const bool one = count % 10 == 1 && lastTwo != 11;
    return QString::number(count) + (one ? QStringLiteral(" знака") : QStringLiteral(" знаков"));
}

bool fitsWhileTyping(const FieldDef &field, const QString &text)
{
    if (text.size() > field.width)
        return false;
    if (!isNumericType(field.type))
        return true;
    const QString t = text.trimmed();
    qsizetype i = 0;
    const bool negative = t.startsWith(u'-');
    if (negative || t.startsWith(u'+'))
        ++i;
    int whole = 0;
    int fraction = 0;
    bool point = false;
    for (; i < t.size(); ++i) {
        const QChar c = t.at(i);
        if (c == u'.' && !point)
            point = true;
        else if (!c.isDigit())
            return true; // no number: the window's check names the character
        else
            ++(point ? fraction : whole);
    }
    return whole <= wholeDigits(field, negative) && fraction <= field.decimals;
}

QString negativeNumberProblem(const FieldPlace &place)
{
    const QString where = placeText(place);
    const QString problem = QStringLiteral("число не может быть отрицательным");
    return (where.isEmpty() ? problem : where + QStringLiteral(": ") + problem) + QLatin1Char('.');
}

QString fieldProblem(const FieldDef &field, const QVariant &value, const FieldPlace &place)
{
    QString why;
    encodeField(field, value, &why);
    if (why.isEmpty())
        return {};
    QString problem;
    if (isNumericType(field.type))
        problem = numberProblem(field, value);
    else if (field.type == 'C')
        problem = textProblem(field, value.toString());
    else
        problem = QStringLiteral("значение %1 не подходит").arg(quotedStart(value.toString()));
    const QString where = placeText(place);
    return (where.isEmpty() ? problem : where + QStringLiteral(": ") + problem) + QLatin1Char('.');
}

} // namespace store
