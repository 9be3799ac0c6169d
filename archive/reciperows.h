#pragma once

// The rows of one recipe in the four archive tables, and how every writer stores them:
// the rows are first checked against the tables' fields with the longest number, so a
// recipe that cannot be stored uses up no number; then the next number is given out,
// the rows still carrying it are released in each table, the new rows appended and the
// four tables flushed.

#include "archive/archivecursors.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <utility>

namespace archive
{

// One row to append: field names with their values, in the order they are set.
using Row = QList<std::pair<QString, QVariant>>;

struct RecipeRows {
    QList<Row> arprem;
    QList<Row> arsir;
    QList<Row> arpit;
    Row arkk;
    bool operator==(const RecipeRows &) const = default;
};

struct ArchiveWriteResult {
    int number = 0; // the archive number given to the recipe; 0 when nothing was written
    QString error;  // why the write was refused or ended (Russian); empty on success
    bool ok() const { return error.isEmpty(); }
};

// Writes the rows that rowsFor gives for the new number. A table error met while
// writing ends the write (the number is then released again by the next write that
// gets it).
ArchiveWriteResult writeRecipe(const ArchiveCursors &cursors,
                               const std::function<RecipeRows(int number)> &rowsFor);

} // namespace archive
