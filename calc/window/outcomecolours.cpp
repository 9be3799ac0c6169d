#include "calc/window/outcomecolours.h"

#include "calc/outcome.h"

namespace calc
{

QColor characteristicRowColour(const QString &comment)
{
    if (comment == QString::fromUtf16(kAtMinimum) || comment == QString::fromUtf16(kAtMaximum))
        return QColor(Qt::red);
    if (comment == QString::fromUtf16(kBelowMinimum))
        return QColor(0, 0, 128); // navy
    if (comment == QString::fromUtf16(kAboveMaximum))
        return QColor(128, 0, 0); // maroon
    return {};
}

QColor rawRowColour(const QString &note, const QString &comment)
{
    const bool quiet = !note.contains(QString::fromUtf16(kStockUsedUp)) &&
                       comment == QString::fromUtf16(kWithinNorm);
    return quiet ? QColor() : QColor(Qt::red);
}

} // namespace calc
