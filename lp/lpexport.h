#pragma once

// Export of a programme in a standard format that other solvers read, so that their
// answers can be set beside ours. Coefficients, objective and bounds are written
// exactly as the solver sees them: every number in the shortest text that reads back to
// the same double.
//
// CPLEX LP: columns x<j>, rows r<i>; a row with two different bounds gets a bounded
// activity variable y<i> (r<i>: Σ a x − y<i> = 0), as other solvers write such rows
// themselves, so that both bounds are exact. Free MPS: ranged rows in the RANGES
// section, the solvers' own form for them (the upper bound is then lower + range,
// which may differ from ours in the last digit).

#include "lp/programme.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace lp
{

enum class LpFormat { CplexLp, FreeMps };

// What a column stands for, written as a comment above the CPLEX LP text ("\ x<j>:
// note"); none when empty.
using ColumnNote = std::function<QByteArray(ColIndex)>;

QByteArray programmeText(const Programme &programme, LpFormat format, const ColumnNote &note = {});

// Writes the text to path (complete or not at all); false with a Russian message in
// *error when the file cannot be written.
bool exportProgramme(const Programme &programme, const QString &path, LpFormat format,
                     QString *error, const ColumnNote &note = {});

} // namespace lp
