#pragma once

// How large a number of the calculation data may be. The tables' own fields hold less
// than ten million; a number beyond a thousand million (or no finite number at all) can
// only come from a damaged or foreign table, and would turn every amount the checks and
// the solver compute into nonsense or overflow. Such a number goes on the error list,
// naming what it belongs to, as it is read; no other check or message uses it, and the
// run stops there before any solve.

#include <QString>

namespace calc
{

// The largest magnitude a content, norm, limit, stock or output may have.
inline constexpr double kLargestDataNumber = 1e9;

bool isUsableDataNumber(double value);

// "subject -  what (FIELD): число … слишком велико …": the error-list line of a number
// beyond that, naming the raw material or feed type and the field it stands in.
QString dataNumberTooLarge(const QString &subject, const QString &what, const QString &field,
                           double value);

} // namespace calc
