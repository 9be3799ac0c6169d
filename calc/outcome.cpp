#include "calc/outcome.h"

#include <cmath>

namespace calc
{

namespace
{

LevelState levelState(double level, double low, double high, double tolerance,
                      bool minimumNeedsNonZero)
{
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

// The nutrient row of characteristic q of feed type p; 0 when it has none.
int nutrientRow(const ProblemRecord &rec, int p, int q)
{
    for (int i = 1; i <= rec.rowCount; ++i)
        if (rec.rowOwner[i] == p && rec.rowKind[i] == q)
            return i;
    return 0;
}

QList<CharacteristicLevel> characteristicLevels(const ProblemRecord &rec, int p)
{
    QList<CharacteristicLevel> levels;
    const double w = rec.feedOutput[p];
    for (int q = 1; q <= rec.charCount; ++q) {
        const double high = rec.normMax[p][q];
        const int i = high != 0 ? nutrientRow(rec, p, q) : 0;
        if (i == 0)
            continue;
        const double low = rec.normMin[p][q];
        const double level = w == 0 ? 0 : rec.rowValue[i] * high / w;
        levels.append(
            {rec.charName[q], low, level, high, levelState(level, low, high, rec.tolerance, true)});
    }
    return levels;
}

double totalUse(const ProblemRecord &rec, int s)
{
    double sum = 0;
    for (int j = 1; j <= rec.columnCount; ++j)
        if (rec.columnRaw[j] == s)
            sum += rec.columnValue[j];
    return sum;
}

QList<RawLevel> rawLevels(const ProblemRecord &rec, const CalcWorkingValues &work, int p,
                          double lossNorm)
{
    QList<RawLevel> levels;
    const double w = rec.feedOutput[p];
    for (int j = 1; j <= rec.columnCount; ++j) {
        if (rec.columnFeed[j] != p)
            continue;
        const int s = rec.columnRaw[j];
        RawLevel raw;
        raw.name = rec.rawName[s];
        raw.stock = rec.rawStock[s] * 100 / (100 + lossNorm);
        raw.used = totalUse(rec, s);
        raw.weight = rec.columnValue[j];
        raw.minimum = work.minInclusion[p][s];
        raw.share = w == 0 ? 0 : 100 * rec.columnValue[j] / w;
        raw.maximum = work.maxInclusion[p][s];
        raw.state = {std::fabs(raw.used - raw.stock) <= rec.tolerance,
                     levelState(raw.share, raw.minimum, raw.maximum, rec.tolerance, false)};
        levels.append(raw);
    }
    return levels;
}

} // namespace

FailureAnalysis failureAnalysis(const ProblemRecord &rec, const CalcWorkingValues &working, int row,
                                double lossNorm)
{
    const int p = rec.rowOwner[row];
    FailureAnalysis analysis;
    analysis.feed = p;
    analysis.feedType = rec.feedType[p];
    analysis.outputFailed = rec.rowKind[row] == kOutputRow;
    analysis.output = rec.feedOutput[p];
    analysis.reached = rec.rowValue[row];
    analysis.characteristics = characteristicLevels(rec, p);
    analysis.raws = rawLevels(rec, working, p, lossNorm);
    return analysis;
}

SolutionSummary solutionSummary(const ProblemRecord &rec)
{
    SolutionSummary summary;
    const int firstStockRow = rec.rowCount - rec.rawCount;
    for (int s = 1; s <= rec.rawCount; ++s) {
        const double used = rec.rowValue[firstStockRow + s];
        const double price = rec.rawContent[s][1];
        const double cost = price * used;
        summary.totalConsumption += used;
        summary.totalCost += cost;
        summary.rows.append({rec.rawName[s], rec.rawStock[s], used, price, cost});
    }
    return summary;
}

} // namespace calc
