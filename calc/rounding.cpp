#include "calc/rounding.h"

#include "calc/ratiolevel.h"
#include "store/numbertext.h"

#include <cmath>
#include <vector>

namespace calc
{

namespace
{

using store::roundTo;

// A column whose first rounded percentage is above 0.5: it takes its share of the
// rounding residue.
struct LargeComponent {
    double percent = 0;
    int column = 0;
};

// What one feed type's columns add up to, and its large components, largest first
// (equal percentages in the order they came).
struct FeedSums {
    double percent = 0;
    double tonnes = 0;
    double consumption = 0;
    std::vector<LargeComponent> large;

    void addLarge(double percent, int column)
    {
        auto at = large.begin();
        while (at != large.end() && !(at->percent < percent))
            ++at;
        large.insert(at, {percent, column});
    }
};

// The correction passes stop here even if the residue has not settled: each pass moves
// at least one unit, so a real recipe never comes near it.
constexpr int kMaxCorrectionPasses = 10000;

// a, in units of the last decimal: the component's share of the residue, at least one
// unit in the direction of what is left.
double residueUnits(double share, double left)
{
    double a = roundTo(share, 0);
    if (a == 0)
        a = left > 0 ? 1 : -1;
    return a;
}

// The figures of every column, 1-based, as the rounding works them out: the solver's
// tonnes to begin with.
struct ColumnFigures {
    std::vector<double> percent;
    std::vector<double> tonnes;
    std::vector<double> withLosses;
};

// The level of nutrient row i of feed type p whose output row reached produced.
double levelOf(const Selection &sel, int p, int q, double activity, double produced)
{
    if (q == kPriceCharacteristic) // the solver's activity / max, as a cost per tonne
        return produced != 0 ? activity * sel.normMax[p][q] / produced : activity;
    return produced == 0 ? 0 : sel.normMax[p][q] * activity / produced;
}

QList<RecipeLevel> levelsOf(const Selection &sel, const RowLayout &layout,
                            const lp::Solution &solution, int p)
{
    QList<RecipeLevel> levels;
    const double produced = solution.activity(lp::RowIndex(layout.outputRow(p)));
    for (const int i : layout.nutrientRows(p)) {
        const int q = layout.characteristic(i);
        const double level = levelOf(sel, p, q, solution.activity(lp::RowIndex(i)), produced);
        const double low = sel.normMin[p][q];
        const double high = sel.normMax[p][q];
        levels.append({q, sel.charName[q], low, level, high, levelState(level, low, high, true)});
    }
    return levels;
}

// First rounding of column j of a feed type with output w.
void roundColumn(ColumnFigures &f, int j, double w, double lossFactor, FeedSums &sums)
{
    const double pct = w == 0 ? 0 : roundTo(100 * f.tonnes[j] / w, 2);
    f.percent[j] = pct;
    if (pct == 0) {
        f.tonnes[j] = 0;
        f.withLosses[j] = 0;
        return;
    }
    sums.percent += pct;
    f.tonnes[j] = roundTo(pct * w / 100, 3);
    sums.tonnes += f.tonnes[j];
    f.withLosses[j] = roundTo(f.tonnes[j] * lossFactor, 3);
    sums.consumption += f.withLosses[j];
    if (pct > 0.5)
        sums.addLarge(pct, j);
}

double residue(double target, double sum, double within)
{
    return std::fabs(sum - target) <= within ? 0 : target - sum;
}

// Spreads the residues of one feed type over its large components.
void correctFeed(ColumnFigures &f, double w, double lossFactor, const FeedSums &sums)
{
    double dP = residue(100, sums.percent, 0.005);
    double dT = residue(w, sums.tonnes, 0.0005);
    double dC = residue(roundTo(lossFactor * w, 3), sums.consumption, 0.0005);
    for (int pass = 0; pass < kMaxCorrectionPasses && !sums.large.empty(); ++pass) {
        if (!(std::fabs(dP) > 0.005 || std::fabs(dT) > 0.0005 || std::fabs(dC) > 0.0005))
            break;
        double rP = dP;
        double rT = dT;
        double rC = dC;
        for (const LargeComponent &k : sums.large) {
            if (std::fabs(rP) > 0.005) {
                const double a = residueUnits(dP * k.percent, rP);
                f.percent[k.column] += a / 100;
                rP -= a / 100;
            }
            if (std::fabs(rT) > 0.0005) {
                const double a = residueUnits(dT * k.percent * 10, rT);
                f.tonnes[k.column] += a / 1000;
                rT -= a / 1000;
            }
            if (std::fabs(rC) > 0.0005) {
                const double a = residueUnits(dC * k.percent * 10, rC);
                f.withLosses[k.column] += a / 1000;
                rC -= a / 1000;
            }
        }
        dP = rP;
        dT = rT;
        dC = rC;
    }
}

void roundColumns(const Selection &sel, ColumnFigures &f, double lossFactor)
{
    int j = 1;
    while (j <= sel.columnCount) {
        const int p = sel.columnFeed[j];
        const double w = sel.feedOutput[p];
        FeedSums sums;
        for (; j <= sel.columnCount && sel.columnFeed[j] == p; ++j)
            roundColumn(f, j, w, lossFactor, sums);
        correctFeed(f, w, lossFactor, sums);
    }
}

FeedRecipe recipeOf(const Selection &sel, const ColumnFigures &f, int p)
{
    FeedRecipe recipe{p, sel.feedType[p], sel.feedOutput[p], {}, {}, {}};
    for (int j = 1; j <= sel.columnCount; ++j)
        if (sel.columnFeed[j] == p) {
            const int s = sel.columnRaw[j];
            recipe.lines.append({s, sel.rawName[s], f.percent[j], f.tonnes[j], f.withLosses[j],
                                 sel.rawContent[s][kPriceCharacteristic]});
        }
    return recipe;
}

} // namespace

Recipes roundRecipes(const Selection &sel, const RowLayout &layout, const lp::Solution &solution,
                     double lossNorm)
{
    const double lossFactor = (lossNorm + 100) / 100;
    const std::size_t size = std::size_t(sel.columnCount) + 1;
    ColumnFigures f{std::vector<double>(size), std::vector<double>(size),
                    std::vector<double>(size)};
    for (lp::ColIndex j(1); j.number() <= sel.columnCount; ++j)
        f.tonnes[std::size_t(j.number())] = solution.value(j);
    roundColumns(sel, f, lossFactor);
    Recipes recipes;
    recipes.consumption.assign(std::size_t(sel.rawCount) + 1, 0.0);
    for (int j = 1; j <= sel.columnCount; ++j)
        recipes.consumption[std::size_t(sel.columnRaw[j])] += f.withLosses[j];
    for (int p = 1; p <= sel.feedCount; ++p) {
        recipes.feeds.push_back(recipeOf(sel, f, p));
        recipes.feeds.back().levels = levelsOf(sel, layout, solution, p);
    }
    for (const Ratio &ratio : sel.ratios)
        recipes.feed(ratio.feed).ratios.append(recipeRatio(sel, ratio, solution));
    return recipes;
}

} // namespace calc
