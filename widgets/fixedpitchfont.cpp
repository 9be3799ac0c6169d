#include "widgets/fixedpitchfont.h"

namespace widgets
{

QFont fixedPitchFont(int pixelSize)
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    if (pixelSize > 0)
        font.setPixelSize(pixelSize);
    return font;
}

QFont fixedPitchFontInPoints(int pointSize)
{
    QFont font = fixedPitchFont();
    font.setPointSize(pointSize);
    return font;
}

} // namespace widgets
