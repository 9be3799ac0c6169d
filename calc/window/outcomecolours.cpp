#include "calc/window/outcomecolours.h"

namespace calc
{

QColor characteristicRowColour(LevelState state)
{
    switch (state) {
    case LevelState::AtMinimum:
    case LevelState::AtMaximum:
        return QColor(Qt::red);
    case LevelState::BelowMinimum:
        return QColor(0, 0, 128); // navy
    case LevelState::AboveMaximum:
        return QColor(128, 0, 0); // maroon
    case LevelState::WithinNorm:
        break;
    }
    return {};
}

QColor rawRowColour(const RawAnalysisState &state)
{
    const bool quiet = !state.stockUsedUp && state.share == LevelState::WithinNorm;
    return quiet ? QColor() : QColor(Qt::red);
}

} // namespace calc
