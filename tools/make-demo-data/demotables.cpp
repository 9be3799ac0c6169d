#include "demotables.h"

using store::FieldDef;

namespace demotables
{

namespace
{

FieldDef text(const char *name, int width)
{
    return {QString::fromLatin1(name), 'C', width, 0};
}

FieldDef number(const char *name, int width, int decimals)
{
    return {QString::fromLatin1(name), 'N', width, decimals};
}

// Contents and norms: up to 9999999.9999 (prices per tonne, vitamins per kg).
void appendCharacteristicColumns(QList<FieldDef> &fields, bool withMaxima)
{
    for (int key = 1; key <= 65; ++key)
        fields.append({minField(key), 'N', 12, 4});
    for (int key = 1; withMaxima && key <= 65; ++key)
        fields.append({maxField(key), 'N', 12, 4});
}

} // namespace

QString minField(int key)
{
    return QStringLiteral("MI") + QString::number(key);
}

QString maxField(int key)
{
    return QStringLiteral("MA") + QString::number(key);
}

QList<FieldDef> pitFields()
{
    return {text("PIT", 20), text("EDIZ", 12), number("KEY", 3, 0), number("order", 3, 0)};
}

QList<FieldDef> kkFields()
{
    QList<FieldDef> fields{text("TIP", 10), text("NASN", 122), text("GOST", 10),
                           number("NDS", 5, 2), number("VES", 10, 3)};
    appendCharacteristicColumns(fields, true);
    fields << number("kodkk", 4, 0) << number("order", 4, 0) << text("ot", 1) << text("vibor", 1)
           << text("vib", 1);
    return fields;
}

QList<FieldDef> sirFields()
{
    QList<FieldDef> fields{text("NAIM", 30), text("PREM", 1)};
    appendCharacteristicColumns(fields, false);
    fields << number("VES", 10, 3) << number("kods", 4, 0) << number("order", 4, 0) << text("ot", 1)
           << text("vibor", 1) << text("vib", 1) << number("MINOR", 8, 3) << number("MANOR", 8, 3);
    return fields;
}

QList<FieldDef> normFields()
{
    return {number("kodkk", 4, 0), number("kods", 4, 0), number("min", 8, 3), number("max", 8, 3)};
}

QList<FieldDef> orderFields()
{
    return {number("pit", 3, 0), number("KK", 4, 0), number("sir", 4, 0), number("arhnom", 5, 0)};
}

QList<store::IndexDef> orderIndex()
{
    return {{QStringLiteral("order"), QStringLiteral("order")}};
}

QList<store::IndexDef> normIndex()
{
    return {{QStringLiteral("si"), QStringLiteral("kods")}};
}

} // namespace demotables
