#pragma once

// How a field value is shown and typed text read back, in the grids over a table cursor
// and in the list windows' bound edit fields alike.

#include <QString>
#include <QVariant>

namespace store
{
struct FieldDef;
}

namespace widgets
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

} // namespace widgets
