#pragma once

// The fixed-pitch font of text laid out in columns: Courier New, or the typewriter face
// the system has in its place (Liberation Mono, same widths).

#include <QFont>

namespace lists
{

QFont fixedPitchFont(int pixelSize);

} // namespace lists
