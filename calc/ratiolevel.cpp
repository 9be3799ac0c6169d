#include "calc/ratiolevel.h"

#include <limits>

namespace calc
{

RatioContents ratioContents(const Selection &sel, const Ratio &ratio, const lp::Solution &solution)
{
    RatioContents contents;
    for (lp::ColIndex j(1); j.number() <= sel.columnCount; ++j) {
        if (sel.columnFeed[j.number()] != ratio.feed)
            continue;
        const auto &content = sel.rawContent[sel.columnRaw[j.number()]];
        contents.numerator += content[ratio.numerator] * solution.value(j);
        contents.denominator += content[ratio.denominator] * solution.value(j);
    }
    return contents;
}

LevelState ratioState(double level, double minimum, double maximum)
{
    const double high = maximum > 0 ? maximum : std::numeric_limits<double>::infinity();
    return levelState(level, minimum, high, true);
}

RecipeRatio recipeRatio(const Selection &sel, const Ratio &ratio, const lp::Solution &solution)
{
    const RatioContents contents = ratioContents(sel, ratio, solution);
    RecipeRatio line{ratio.numerator,
                     ratio.denominator,
                     sel.charName[ratio.numerator].trimmed(),
                     sel.charName[ratio.denominator].trimmed(),
                     ratio.minimum,
                     contents.level(),
                     ratio.maximum,
                     contents.defined(),
                     LevelState::WithinNorm};
    if (line.defined)
        line.state = ratioState(line.level, line.minimum, line.maximum);
    return line;
}

} // namespace calc
