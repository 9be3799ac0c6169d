#pragma once

// Field values to and from their bytes in a record. Text is code page 1251 read with
// trailing blanks removed (leading blanks kept); numbers are right-aligned digits with
// the field's decimals; an all-blank field is blank (an invalid QVariant), not 0, and a
// numeric field holding anything else is an UnreadableNumber.

#include "store/table.h"

#include <QByteArray>
#include <QVariant>

#include <optional>

namespace store
{

bool isBlankField(const char *bytes, int width);
bool isNumericType(char type);

QVariant decodeField(const FieldDef &field, const char *bytes);
// The number a numeric field holds; nullopt when blank or not a number.
std::optional<double> fieldNumber(const char *bytes, int width);
// The bytes without trailing blanks (and trailing NULs): the text compare key.
QByteArray trimmedBytes(const char *bytes, int width);
// The field's text for a message: no blanks around it, control characters shown as U+FFFD
// (a NUL would end the message).
QString shownFieldText(const char *bytes, int width);

// The number a numeric field holds where it orders or ties records (an index key, a
// filter's comparison): blank is 0; nullopt when it holds no number, or a fraction in a
// field without decimals ("1e-3" as a list position), which no writer of the field puts
// there. Such a record would fall out of a list or a lookup without a word.
std::optional<double> keyNumber(const FieldDef &field, const char *bytes);
// Why keyNumber refuses the field: "поле kods: «1e-3» не читается как целое число".
QString keyProblem(const FieldDef &field, const char *bytes);

// The field's bytes for value (an invalid QVariant gives a blank field). When the value
// cannot be stored as it is, the bytes are empty and *why says why, in Russian.
QByteArray encodeField(const FieldDef &field, const QVariant &value, QString *why);

} // namespace store
