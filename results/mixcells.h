#pragma once

// The numbers of the mix window's characteristics grid, kept beside it: for every
// characteristic row the norms and the level its cells show, each with the text it is
// shown as. The window writes a cell together with its number and reads a typed norm
// once, as it is typed; the recipe archive takes its rows from here, never from the
// grid's texts.

#include "archive/mixarchivewriter.h"
#include "results/cellnumber.h"
#include "results/mixcharacteristics.h"

#include <QList>
#include <QString>

namespace results
{

// The number columns of a characteristics row.
enum class MixNumberColumn { Minimum, Fact, Maximum };

// "Минимум", "Факт", "Максимум": the columns' titles in the grid and in messages.
QString mixColumnTitle(MixNumberColumn column);

struct MixCells {
    CellValue minimum;
    CellValue fact;
    CellValue maximum;
};

// Where a level stands against the norms of its row.
enum class NormDeviation { Within, BelowMinimum, AboveMaximum };

// The level as its "Факт" cell shows it against the norms as their cells show them, so
// that a mark never contradicts the figures on the screen. A blank norm, a norm of 0 (as a
// feed type stores "none") and a cell that is not a number bound nothing; a blank level
// is within.
NormDeviation normDeviation(const MixCells &cells);

// A norm as the user types it: blanks around the number are no part of it, and a cell
// of blanks only is blank.
CellValue typedNormCell(const QString &text);

// The characteristic rows for the archive, in list order, each with its mark and the
// numbers its cells show; a blank cell counts 0.
struct MixArchiveRows {
    QList<archive::MixRecipe::Characteristic> rows;
    QString error; // a marked row (not the price) with a cell that is not a number
    bool ok() const { return error.isEmpty(); }
};

// cells and marked stand beside characteristics row by row; a missing entry counts as a
// blank, unmarked row.
MixArchiveRows archivedCharacteristics(const QList<MixCharacteristic> &characteristics,
                                       const QList<MixCells> &cells, const QList<bool> &marked);

} // namespace results
