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

QString stockMessageHead(const ProblemRecord &rec, int s)
{
    return QStringLiteral("Сырье № ") + QString::number(s) + QStringLiteral("  ") + rec.rawName[s] +
           QStringLiteral(
               " - при выполнении требований по качеству полностью сработать нельзя!!  ");
}

double stockAmount(double value, double lossNorm)
{
    return (lossNorm + 100) * value / 100 - 0.5;
}

Relaxation::Relaxation(ProblemRecord &record)
    : record_(record), hundredths_(record.rowRelax.size(), 0)
{
    std::fill(record_.rowRelax.begin(), record_.rowRelax.end(), 0.0);
}

Relaxation::Step Relaxation::relax(int status, bool uniform, double lossNorm)
{
    const int row = -status;
    record_.uniformRelax = uniform;
    if (row <= 0 || row > record_.rowCount)
        return {};
    if (record_.rowKind[row] == kStockRow)
        return relaxStock(row, lossNorm);
    if (!uniform && record_.rowKind[row] != kOutputRow)
        return relaxSingle(row);
    return relaxFeed(row);
}

bool Relaxation::isNutrientRow(int row) const
{
    const int kind = record_.rowKind[row];
    return kind != kOutputRow && kind != kStockRow;
}

bool Relaxation::widen(int row, int n)
{
    hundredths_[row] += n;
    record_.rowRelax[row] = hundredths_[row] / 100.0;
    return hundredths_[row] <= kLimitHundredths;
}

// The stock of a raw material marked for full use cannot be used up while all the
// requirements hold: every requirement gives a little.
Relaxation::Step Relaxation::relaxStock(int row, double lossNorm)
{
    Step step;
    bool widened = false;
    for (int k = 1; k <= record_.rowCount; ++k) {
        if (!isNutrientRow(k))
            continue;
        if (step.message.isEmpty() && hundredths_[k] == 0) {
            const double amount = stockAmount(record_.rowValue[row], lossNorm);
            step.message = stockMessageHead(record_, record_.rowOwner[row]) +
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
Relaxation::Step Relaxation::relaxFeed(int row)
{
    const int p = record_.rowOwner[row];
    bool widened = false;
    for (int k = 1; k <= record_.rowCount; ++k) {
        if (record_.rowOwner[k] != p || !isNutrientRow(k))
            continue;
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
Relaxation::Step Relaxation::relaxSingle(int row)
{
    const int p = record_.rowOwner[row];
    const int q = record_.rowKind[row];
    const RowBounds bounds = nutrientRowBounds(record_.normMin[p][q], record_.normMax[p][q],
                                               record_.feedOutput[p], record_.rowRelax[row]);
    if (bounds.lower <= 0 && record_.rowValue[row] < bounds.lower)
        return {};
    if (hundredths_[row] + kSingleStep > kSingleLimitHundredths)
        return {};
    widen(row, kSingleStep);
    return {true, {}};
}

} // namespace calc
