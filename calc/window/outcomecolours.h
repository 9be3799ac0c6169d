#pragma once

// Text colours of the failure analysis grids: what the technologist has to look at is
// drawn in colour, the rest in black.

#include <QColor>
#include <QString>

namespace calc
{

// Characteristics analysis: red at a bound (" на минимуме      ", " на максимуме     "),
// navy below the minimum, maroon above the maximum; black (invalid colour) in the norm.
QColor characteristicRowColour(const QString &comment);

// Raw materials analysis: a row is red unless its stock is not used up and its share is
// " в норме          "; black is the invalid colour.
QColor rawRowColour(const QString &note, const QString &comment);

} // namespace calc
