#include "widgets/fieldtext.h"

#include "store/numbertext.h"
#include "store/table.h"
#include "store/unreadablenumber.h"

namespace widgets
{

namespace
{

bool isNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

// Up to ten decimals, trailing zeros dropped.
QString shortNumberText(double x)
{
    QString text = store::fixedText(x, 0, 10);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

} // namespace

QString fieldDisplayText(const QVariant &value, int decimals)
{
    if (!value.isValid() || value.isNull())
        return {};
    if (store::isUnreadableNumber(value))
        return unreadableMark() + store::unreadableText(value);
    if (isNumber(value))
        return decimals >= 0 ? store::fixedText(value.toDouble(), 0, decimals)
                             : shortNumberText(value.toDouble());
    QString text = value.toString();
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

QString unreadableMark()
{
    return QStringLiteral("?? ");
}

QString unreadableHint(const QVariant &value)
{
    if (!store::isUnreadableNumber(value))
        return {};
    return QStringLiteral("Число не читается: «%1». Введите правильное значение.")
        .arg(store::unreadableText(value));
}

bool isNumericField(const store::FieldDef &field)
{
    return field.type == 'N' || field.type == 'F';
}

QVariant fieldInput(const store::FieldDef &field, const QString &text, QString *error)
{
    if (!isNumericField(field))
        return text;
    QString number = text.trimmed();
    if (number.isEmpty())
        return {};
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = store::parseNumber(number, &ok);
    if (!ok) {
        *error = QStringLiteral("\"%1\" - не число. Число пишется цифрами, дробная часть - "
                                "через точку, например 12.5")
                     .arg(text.trimmed());
        return {};
    }
    return value;
}

} // namespace widgets
