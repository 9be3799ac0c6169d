#pragma once

// Text colours of the failure analysis grids: what the technologist has to look at is
// drawn in colour, the rest in black.

#include "calc/outcome.h"

#include <QColor>

namespace calc
{

// Characteristics analysis: red at a bound, navy below the minimum, maroon above the
// maximum; black (invalid colour) in the norm.
QColor characteristicRowColour(LevelState state);

// Raw materials analysis: a row is red unless its stock is not used up and its share is
// within the norm; black is the invalid colour.
QColor rawRowColour(const RawAnalysisState &state);

} // namespace calc
