#include "calc/recipe.h"

#include "lp/simplextolerance.h"

#include <cmath>

namespace calc
{

LevelState levelState(double level, double low, double high, bool minimumNeedsNonZero)
{
    const double tolerance = lp::solverTolerance();
    const bool atMin =
        std::fabs(level - low) <= tolerance && (!minimumNeedsNonZero || std::fabs(low) > tolerance);
    if (std::fabs(level - high) <= tolerance)
        return LevelState::AtMaximum;
    if (atMin)
        return LevelState::AtMinimum;
    if (level > high)
        return LevelState::AboveMaximum;
    if (level < low)
        return LevelState::BelowMinimum;
    return LevelState::WithinNorm;
}

void Recipes::setPrice(int s, double price)
{
    for (FeedRecipe &feed : feeds)
        for (RecipeLine &line : feed.lines)
            if (line.raw == s)
                line.price = price;
}

} // namespace calc
