#include "calc/rounding.h"

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

// Nutrient rows to levels, stock rows cleared for the consumptions.
void convertRows(ProblemRecord &rec)
{
    double produced = 0;
    for (int i = 1; i <= rec.rowCount; ++i) {
        const int kind = rec.rowKind[i];
        if (kind == kOutputRow)
            produced = rec.rowValue[i];
        else if (kind == kStockRow)
            rec.rowValue[i] = 0;
        else if (kind != 1)
            rec.rowValue[i] =
                produced == 0 ? 0 : rec.normMax[rec.rowOwner[i]][kind] * rec.rowValue[i] / produced;
    }
}

// First rounding of column j of a feed type with output w.
void roundColumn(ProblemRecord &rec, int j, double w, double lossFactor, FeedSums &sums)
{
    const double pct = w == 0 ? 0 : roundTo(100 * rec.columnValue[j] / w, 2);
    rec.columnLower[j] = pct;
    if (pct == 0) {
        rec.columnValue[j] = 0;
        rec.columnUpper[j] = 0;
        return;
    }
    sums.percent += pct;
    rec.columnValue[j] = roundTo(pct * w / 100, 3);
    sums.tonnes += rec.columnValue[j];
    rec.columnUpper[j] = roundTo(rec.columnValue[j] * lossFactor, 3);
    sums.consumption += rec.columnUpper[j];
    if (pct > 0.5)
        sums.addLarge(pct, j);
}

double residue(double target, double sum, double within)
{
    return std::fabs(sum - target) <= within ? 0 : target - sum;
}

// Spreads the residues of one feed type over its large components.
void correctFeed(ProblemRecord &rec, double w, double lossFactor, const FeedSums &sums)
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
                rec.columnLower[k.column] += a / 100;
                rP -= a / 100;
            }
            if (std::fabs(rT) > 0.0005) {
                const double a = residueUnits(dT * k.percent * 10, rT);
                rec.columnValue[k.column] += a / 1000;
                rT -= a / 1000;
            }
            if (std::fabs(rC) > 0.0005) {
                const double a = residueUnits(dC * k.percent * 10, rC);
                rec.columnUpper[k.column] += a / 1000;
                rC -= a / 1000;
            }
        }
        dP = rP;
        dT = rT;
        dC = rC;
    }
}

void roundColumns(ProblemRecord &rec, double lossFactor)
{
    int j = 1;
    while (j <= rec.columnCount) {
        const int p = rec.columnFeed[j];
        const double w = rec.feedOutput[p];
        FeedSums sums;
        for (; j <= rec.columnCount && rec.columnFeed[j] == p; ++j)
            roundColumn(rec, j, w, lossFactor, sums);
        correctFeed(rec, w, lossFactor, sums);
    }
}

void addConsumptions(ProblemRecord &rec)
{
    const int firstStockRow = rec.rowCount - rec.rawCount;
    for (int j = 1; j <= rec.columnCount; ++j)
        rec.rowValue[firstStockRow + rec.columnRaw[j]] += rec.columnUpper[j];
}

} // namespace

void roundSolution(ProblemRecord &rec, double lossNorm)
{
    const double lossFactor = (lossNorm + 100) / 100;
    convertRows(rec);
    roundColumns(rec, lossFactor);
    addConsumptions(rec);
}

} // namespace calc
