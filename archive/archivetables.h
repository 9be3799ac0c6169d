#pragma once

// The four tables of the recipe archive in the data directory, tied by the recipe
// number arnom (-1 marks a released row): arkk (one head row per recipe), arsir (its
// raw materials), arpit (its characteristics) and arprem (what its premixes bring in).
// These definitions are the format every writer and reader of the archive relies on.

#include "store/table.h"

#include <QList>
#include <QString>

namespace archive
{

QList<store::FieldDef> arkkFields();
QList<store::FieldDef> arsirFields();
QList<store::FieldDef> arpitFields();
QList<store::FieldDef> arpremFields();

// Creates the four tables empty in dataDir (arkk.dbf, arsir.dbf, arpit.dbf,
// arprem.dbf), replacing files of those names. Throws store::TableError.
void createArchiveTables(const QString &dataDir);

} // namespace archive
