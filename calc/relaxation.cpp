#include "calc/relaxation.h"

#include "calc/assembly.h"
#include "store/numbertext.h"

namespace calc
{

namespace
{

constexpr int kLimitHundredths = 50;        // a share above 0.5 ends the run
constexpr int kSingleLimitHundredths = 100; // one requirement alone: up to 1.0
constexpr int kSingleStep = 5;              // 0.05 for one failing requirement
constexpr int kSpreadStep = 1;              // 0.01 for all requirements of a feed type, or all

} // namespace

QString stockMessageHead(const Selection &sel, int s)
{
    return QStringLiteral("Сырье № ") + QString::number(s) + QStringLiteral("  ") + sel.rawName[s] +
           QStringLiteral(
               " - при выполнении требований по качеству полностью сработать нельзя!!  ");
}

double stockAmount(double value, double lossNorm)
{
    return (lossNorm + 100) * value / 100 - 0.5;
}

Relaxation::Relaxation(const Selection &selection)
    : selection_(selection), hundredths_(kMaxRows + kMaxRatioRows + 1, 0),
      shares_(kMaxRows + kMaxRatioRows + 1, 0.0)
{
}

Relaxation::Step Relaxation::relax(const RowLayout &layout, const lp::Solution &solution,
                                   bool uniform, double lossNorm)
{
    if (!solution.failing.isRow())
        return {};
    const int row = solution.failing.row().number();
    if (row > layout.rowCount())
        return {};
    if (layout.isStockRow(row))
        return relaxStock(layout, solution, row, lossNorm);
    if (!uniform && layout.isRequirementRow(row))
        return relaxSingle(layout, solution, row);
    return relaxFeed(layout, row);
}

bool Relaxation::widen(int row, int n)
{
    hundredths_[std::size_t(row)] += n;
    shares_[std::size_t(row)] = hundredths_[std::size_t(row)] / 100.0;
    return hundredths_[std::size_t(row)] <= kLimitHundredths;
}

// The stock of a raw material marked for full use cannot be used up while all the
// requirements hold: every requirement gives a little.
Relaxation::Step Relaxation::relaxStock(const RowLayout &layout, const lp::Solution &solution,
                                        int row, double lossNorm)
{
    Step step;
    bool widened = false;
    for (int k = 1; k <= layout.rowCount(); ++k) {
        if (!layout.isRequirementRow(k))
            continue;
        if (step.message.isEmpty() && hundredths(k) == 0) {
            const double amount = stockAmount(solution.activity(lp::RowIndex(row)), lossNorm);
            step.message = stockMessageHead(selection_, layout.owner(row)) +
                           QStringLiteral("Рекомендую сработать ") +
                           store::fixedText(amount, 7, 0) + QStringLiteral(" +/- 1т.");
        }
        widened = true;
        if (!widen(k, kSpreadStep))
            return step;
    }
    // Without any requirement to widen nothing would change: the run ends.
    step.again = widened;
    return step;
}

// The output of a feed type cannot be reached (or uniform relaxation): all of its
// requirements give a little.
Relaxation::Step Relaxation::relaxFeed(const RowLayout &layout, int row)
{
    const int p = layout.owner(row);
    bool widened = false;
    for (const int k : layout.requirementRows(p)) {
        widened = true;
        if (!widen(k, kSpreadStep))
            return {};
    }
    return {widened, {}};
}

// One requirement fails: it alone gives more, up to a share of 1.0, where it spans 0 …
// twice its maximum. Past that it would be no requirement at all, and data that cannot
// meet it would be tried again for ever: the run ends with the analysis of that row, as
// it does once the lower bound is down at 0 and the row still stays below it (a
// characteristic whose contents are negative).
Relaxation::Step Relaxation::relaxSingle(const RowLayout &layout, const lp::Solution &solution,
                                         int row)
{
    if (layout.isRatioRow(row))
        return widenAlone(row);
    const int p = layout.owner(row);
    const int q = layout.characteristic(row);
    const RowBounds bounds = nutrientRowBounds(selection_.normMin[p][q], selection_.normMax[p][q],
                                               selection_.feedOutput[p], shares_[std::size_t(row)]);
    if (bounds.lower <= 0 && solution.activity(lp::RowIndex(row)) < bounds.lower)
        return {};
    return widenAlone(row);
}

// One requirement alone: 0.05 more, up to a share of 1.0 (a ratio's minimum is then 0,
// its maximum twice what it was); past that the run ends.
Relaxation::Step Relaxation::widenAlone(int row)
{
    if (hundredths(row) + kSingleStep > kSingleLimitHundredths)
        return {};
    widen(row, kSingleStep);
    return {true, {}};
}

} // namespace calc
