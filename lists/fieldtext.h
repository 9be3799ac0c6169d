#pragma once

// How the list windows show a field value and read back what the user typed: one rule
// for the grids and the bound edit fields.

#include <QString>
#include <QVariant>

namespace store
{
struct FieldDef;
}

namespace lists
{

// A blank field shows as empty text; a number with `decimals` decimals, or with -1 in
// its shortest form (12.5, 0.125, 300); text without its trailing blanks. A number field
// that holds no number shows its text after the unreadable mark ("?? 15 000"), so it is
// seen and typed over rather than taken for blank.
QString fieldDisplayText(const QVariant &value, int decimals = -1);
QString unreadableMark();
// The tooltip of a field that holds no number; empty for any other value.
QString unreadableHint(const QVariant &value);

// The value to store for typed text. Numbers: empty text is a blank field (not zero),
// "," is taken for the decimal point; anything else that is not a number sets error to
// a Russian message. Text fields take the text as it is.
QVariant fieldInput(const store::FieldDef &field, const QString &text, QString *error);

bool isNumericField(const store::FieldDef &field);

} // namespace lists
