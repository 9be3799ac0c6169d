#pragma once

// Copying the live rows of an archive table (arnom > 0) into a new table file: the
// rewrite at close and the network copy both write their files so.

#include <QString>

namespace store
{
class Table;
}

namespace archive
{

// Creates `path` through the scratch cursor with the field and index definitions of
// `source` (a file of that name is replaced), appends every row of the source's
// current view whose arnom is above 0 with all fields copied in field order, flushes
// and closes it. A failure removes the half-written file and throws TableError.
void writeLiveRows(store::Table &source, store::Table &scratch, const QString &path);

} // namespace archive
