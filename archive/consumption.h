#pragma once

// The raw-material consumption estimate of the archive window: the raw materials needed
// for the planned output (ves) of every live recipe, production losses included, as
// fixed-pitch lines for the list and its print.

#include "archive/archivecursors.h"

#include <QStringList>

namespace archive
{

// The lines of the estimate with the loss norm in force now (%). Walks the head table
// on all recipes ("arnom>0": a selection is dropped) and arsir per recipe; recipes whose
// output is not above 0.0000001 t are left out. The totals go by raw-material name
// (exact, letter case counts), sorted by the names' 1251 codes. The head cursor ends on
// its first row; on a table error both cursors are put back and the error thrown on.
QStringList consumptionLines(const ArchiveCursors &cursors, double lossNorm);

} // namespace archive
