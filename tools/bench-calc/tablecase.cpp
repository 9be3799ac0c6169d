#include "tablecase.h"

#include "calcfixture.h"
#include "helper_randomproblem.h"

#include "calc/assembly.h"
#include "calc/loading.h"
#include "calc/messageobserver.h"
#include "calc/rounding.h"
#include "lp/simplex.h"

TableCase::TableCase(const calc::Selection &rec, double lossNorm)
    : fixture_(std::make_unique<calctest::CalcFixture>()), lossNorm_(lossNorm)
{
    calctest::CalcFixture &fx = *fixture_;
    for (int q = 2; q <= rec.charCount; ++q)
        fx.characteristic(rec.charName[q], QStringLiteral("ед"));
    for (int s = 1; s <= rec.rawCount; ++s) {
        calctest::FixtureRaw &raw = fx.raw(rec.rawName[s]);
        raw.stock = rec.rawStock[s] == calc::kUnlimitedStock ? 0 : rec.rawStock[s];
        raw.fullUse = rec.rawFullUse[s];
        for (int q = 1; q <= rec.charCount; ++q)
            raw.content(q, rec.rawContent[s][q]);
    }
    // price limits as selling prices that the loader brings back down by the losses
    const double priceUp = (100 + lossNorm) / 100;
    for (int p = 1; p <= rec.feedCount; ++p) {
        calctest::FixtureFeed &feed =
            fx.feed(rec.feedType[p], QStringLiteral("Комбикорм"), rec.feedOutput[p]);
        feed.price(rec.normMin[p][1] * priceUp, rec.normMax[p][1] * priceUp);
        for (int q = 2; q <= rec.charCount; ++q)
            feed.norm(q, rec.normMin[p][q], rec.normMax[p][q]);
        for (int j = 1; j <= rec.columnCount; ++j) // inclusion limits in percent
            if (rec.columnFeed[j] == p)
                feed.limit(rec.rawName[rec.columnRaw[j]], rec.columnLower[j], rec.columnUpper[j]);
    }
    fx.write();
}

TableCase::~TableCase() = default;

bool TableCase::run(RunFigures &figures) const
{
    calc::Selection selection;
    calc::CalcWorkingValues working;
    calc::CalcParameters parameters;
    parameters.lossNorm = lossNorm_;
    QStringList diagnostics;
    const calc::CalcTables tables = fixture_->openOnly();
    calc::loadCalculationData(selection, working, tables, parameters, diagnostics);
    calc::checkAttempt(selection, working, parameters, true, diagnostics);
    if (!diagnostics.isEmpty()) {
        figures.problem = diagnostics.first();
        return false;
    }
    const std::optional<calc::AssembledProgramme> assembled =
        calc::assembleProgramme(selection, true, calctest::noRelaxation(), lossNorm_);
    if (!assembled) {
        figures.problem = QString::fromUtf16(calc::kOverflowMessage);
        return false;
    }
    const lp::Solution solution = lp::solve(assembled->programme);
    figures.pivots = solution.stats.pivots;
    figures.flips = solution.stats.flips;
    figures.solveStatus = solution.failing.label();
    if (!solution.optimal())
        return false;
    calc::roundRecipes(selection, assembled->layout, solution, lossNorm_);
    return true;
}

calc::RunResult TableCase::relax(lp::Rules rules,
                                 const std::function<void(const lp::Programme &)> &first) const
{
    calc::RunOptions options;
    options.parameters.lossNorm = lossNorm_;
    options.solverLimits.rules = rules;
    options.rulesFromEnvironment = false;
    options.firstProgramme = [&](const calc::Selection &, const lp::Programme &programme) {
        first(programme);
    };
    calc::MessageObserver observer;
    return calc::runCalculation(fixture_->openOnly(), options, observer);
}
