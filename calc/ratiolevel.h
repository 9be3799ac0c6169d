#pragma once

// The level a ratio reaches in a feed type's batch: the batch's content of the numerator
// over its content of the denominator, from the amounts of a solve; and where that level
// stands against the ratio's bounds, a bound of 0 being none.

#include "calc/recipe.h"
#include "calc/selection.h"
#include "lp/solution.h"

namespace calc
{

struct RatioContents {
    double numerator = 0;   // Σ a_num × tonnes over the feed type's columns
    double denominator = 0; // Σ a_den × tonnes

    // No level without any of the denominator in the batch.
    bool defined() const { return denominator != 0; }
    double level() const { return defined() ? numerator / denominator : 0; }
};

RatioContents ratioContents(const Selection &selection, const Ratio &ratio,
                            const lp::Solution &solution);

// The state of level against minimum and maximum; 0 is no bound on either side.
LevelState ratioState(double level, double minimum, double maximum);

// The ratio's line of a recipe.
RecipeRatio recipeRatio(const Selection &selection, const Ratio &ratio,
                        const lp::Solution &solution);

} // namespace calc
