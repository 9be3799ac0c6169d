#include "lists/fixedpitchfont.h"

namespace lists
{

QFont fixedPitchFont(int pixelSize)
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace lists
