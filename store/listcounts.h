#pragma once

// The in-use counts of order.dbf checked against the record pools they count. A count
// outside its pool would make the lists and the calculation work on nothing (or on free
// slots) without a word, so the start refuses it.

#include <QString>

namespace store
{

// Why the counts of order.dbf in dataDirectory do not fit their pools, or an empty text:
// pit must lie in 1 ... the records of pit.dbf (the price record is always in use), KK
// and sir in 0 ... the records of kk.dbf and sir.dbf. A blank or unreadable count is
// refused too. Table errors met on the way are returned as the reason.
QString listCountsProblem(const QString &dataDirectory);

} // namespace store
