#pragma once

// What the user calls each field of the archive tables: the column titles of the
// results window and the words of the recipe document, so that a refused write names
// the column the user typed into, not a file or field.

#include <QString>

namespace archive
{

// The title of field in an archive table ("arkk.dbf", "prim" -> "Примечание"); the
// field name itself when the table has no such field.
QString archiveColumnTitle(const QString &tableFile, const QString &field);

} // namespace archive
