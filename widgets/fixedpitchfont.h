#pragma once

// The fixed-pitch font of text laid out in columns: Courier New, or the typewriter face
// the system has in its place (Liberation Mono, same widths).

#include <QFont>

namespace widgets
{

// pixelSize 0: the size is left to the caller.
QFont fixedPitchFont(int pixelSize = 0);

// The same face sized in points, as printed texts and their on-screen copies are.
QFont fixedPitchFontInPoints(int pointSize);

} // namespace widgets
