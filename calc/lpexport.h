#pragma once

// Export of an assembled programme in a standard format that other solvers read, so
// that their answers can be set beside ours. Coefficients, objective and bounds are
// written exactly as the solver will see them: every number in the shortest text that
// reads back to the same double.
//
// CPLEX LP: columns x<j>, rows r<i>; a row with two different bounds gets a bounded
// activity variable y<i> (r<i>: Σ a x − y<i> = 0), as other solvers write such rows
// themselves, so that both bounds are exact. Free MPS: ranged rows in the RANGES
// section, the solvers' own form for them (the upper bound is then lower + range,
// which may differ from ours in the last digit).
//
// Call after assembleProgramme and before the solve (the coefficient list is needed).

#include "calc/problemrecord.h"

#include <QByteArray>
#include <QString>

namespace calc
{

enum class LpFormat { CplexLp, FreeMps };

QByteArray programmeText(const ProblemRecord &record, LpFormat format);

// Writes the text to path (complete or not at all); false with a Russian message in
// *error when the file cannot be written or no programme is assembled.
bool exportProgramme(const ProblemRecord &record, const QString &path, LpFormat format,
                     QString *error);

} // namespace calc
