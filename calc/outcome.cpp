#include "calc/outcome.h"

#include "calc/ratiolevel.h"
#include "lp/simplextolerance.h"

#include <cmath>

namespace calc
{

namespace
{

QList<CharacteristicLevel> characteristicLevels(const Selection &sel, const RowLayout &layout,
                                                const lp::Solution &solution, int p)
{
    QList<CharacteristicLevel> levels;
    const double w = sel.feedOutput[p];
    for (int q = 1; q <= sel.charCount; ++q) {
        const double high = sel.normMax[p][q];
        const int i = high != 0 ? layout.nutrientRow(p, q) : 0;
        if (i == 0)
            continue;
        const double low = sel.normMin[p][q];
        const double level = w == 0 ? 0 : solution.activity(lp::RowIndex(i)) * high / w;
        levels.append({sel.charName[q], low, level, high, levelState(level, low, high, true)});
    }
    for (const Ratio &ratio : sel.ratios) {
        if (ratio.feed != p)
            continue;
        const RecipeRatio r = recipeRatio(sel, ratio, solution);
        levels.append({QStringLiteral("Соотношение ") + r.name(), r.minimum, r.level, r.maximum,
                       r.state, true, r.defined});
    }
    return levels;
}

double totalUse(const Selection &sel, const lp::Solution &solution, int s)
{
    double sum = 0;
    for (lp::ColIndex j(1); j.number() <= sel.columnCount; ++j)
        if (sel.columnRaw[j.number()] == s)
            sum += solution.value(j);
    return sum;
}

QList<RawLevel> rawLevels(const Selection &sel, const lp::Solution &solution,
                          const CalcWorkingValues &work, int p, double lossNorm)
{
    QList<RawLevel> levels;
    const double w = sel.feedOutput[p];
    for (lp::ColIndex j(1); j.number() <= sel.columnCount; ++j) {
        if (sel.columnFeed[j.number()] != p)
            continue;
        const int s = sel.columnRaw[j.number()];
        RawLevel raw;
        raw.name = sel.rawName[s];
        raw.stock = sel.rawStock[s] * 100 / (100 + lossNorm);
        raw.used = totalUse(sel, solution, s);
        raw.weight = solution.value(j);
        raw.minimum = work.minInclusion[p][s];
        raw.share = w == 0 ? 0 : 100 * solution.value(j) / w;
        raw.maximum = work.maxInclusion[p][s];
        raw.state = {std::fabs(raw.used - raw.stock) <= lp::solverTolerance(),
                     levelState(raw.share, raw.minimum, raw.maximum, false)};
        levels.append(raw);
    }
    return levels;
}

} // namespace

FailureAnalysis failureAnalysis(const Selection &sel, const RowLayout &layout,
                                const lp::Solution &solution, const CalcWorkingValues &working,
                                int row, double lossNorm)
{
    const int p = layout.owner(row);
    FailureAnalysis analysis;
    analysis.feed = p;
    analysis.feedType = sel.feedType[p];
    analysis.outputFailed = layout.kind(row) == RowLayout::Kind::Output;
    analysis.output = sel.feedOutput[p];
    analysis.reached = solution.activity(lp::RowIndex(row));
    analysis.characteristics = characteristicLevels(sel, layout, solution, p);
    analysis.raws = rawLevels(sel, solution, working, p, lossNorm);
    return analysis;
}

SolutionSummary solutionSummary(const Selection &sel, const Recipes &recipes)
{
    SolutionSummary summary;
    for (int s = 1; s <= sel.rawCount; ++s) {
        const double used = recipes.consumption[std::size_t(s)];
        const double price = sel.rawContent[s][kPriceCharacteristic];
        const double cost = price * used;
        summary.totalConsumption += used;
        summary.totalCost += cost;
        summary.rows.append({sel.rawName[s], sel.rawStock[s], used, price, cost});
    }
    return summary;
}

} // namespace calc
