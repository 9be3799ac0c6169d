#include "calc/outcome.h"

#include "store/numbertext.h"

#include <cmath>

namespace calc
{

namespace
{

using store::fixedText;

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

QString failureTitle(const ProblemRecord &rec, int row)
{
    const int p = rec.rowOwner[row];
    QString title = QStringLiteral("Комбикорм №") + store::rightAligned(QString::number(p), 2) +
                    QStringLiteral(" типа ") + rec.feedType[p] +
                    QStringLiteral(" не получается. Вес ");
    if (rec.rowKind[row] != kOutputRow)
        return title + QStringLiteral("набран.");
    return title + QStringLiteral("не набран. ") + QStringLiteral("  Задано - ") +
           fixedText(rec.feedOutput[p], 7, 3) + QStringLiteral("     Подсчитано до -  ") +
           fixedText(rec.rowValue[row], 7, 3);
}

// The nutrient row of characteristic q of feed type p; 0 when it has none.
int nutrientRow(const ProblemRecord &rec, int p, int q)
{
    for (int i = 1; i <= rec.rowCount; ++i)
        if (rec.rowOwner[i] == p && rec.rowKind[i] == q)
            return i;
    return 0;
}

TextGrid characteristicsGrid(const ProblemRecord &rec, int p, QList<LevelState> &states)
{
    TextGrid grid;
    grid.header = {QStringLiteral("Характеристика"), QStringLiteral("Комментарий"),
                   QStringLiteral("Минимум"), QStringLiteral("Факт"), QStringLiteral("Максимум")};
    const double w = rec.feedOutput[p];
    for (int q = 1; q <= rec.charCount; ++q) {
        const double high = rec.normMax[p][q];
        const int i = high != 0 ? nutrientRow(rec, p, q) : 0;
        if (i == 0)
            continue;
        const double low = rec.normMin[p][q];
        const double level = w == 0 ? 0 : rec.rowValue[i] * high / w;
        const LevelState state = levelState(level, low, high, rec.tolerance, true);
        states.append(state);
        grid.rows.append({rec.charName[q], levelStateText(state), fixedText(low, 9, 2),
                          fixedText(level, 9, 2), fixedText(high, 9, 2)});
    }
    return grid;
}

double totalUse(const ProblemRecord &rec, int s)
{
    double sum = 0;
    for (int j = 1; j <= rec.columnCount; ++j)
        if (rec.columnRaw[j] == s)
            sum += rec.columnValue[j];
    return sum;
}

TextGrid rawsGrid(const ProblemRecord &rec, const CalcWorkingValues &work, int p, double lossNorm,
                  QList<RawAnalysisState> &states)
{
    TextGrid grid;
    grid.header = {QStringLiteral("Наименование сырья"),
                   QStringLiteral("Запас"),
                   QStringLiteral("Затраты общие"),
                   QStringLiteral("Вес текущий"),
                   QStringLiteral("Примечание"),
                   QStringLiteral("Мин.%"),
                   QStringLiteral("Факт.%"),
                   QStringLiteral("Макс.%"),
                   QStringLiteral("Комментарий")};
    const double w = rec.feedOutput[p];
    for (int j = 1; j <= rec.columnCount; ++j) {
        if (rec.columnFeed[j] != p)
            continue;
        const int s = rec.columnRaw[j];
        const double stock = rec.rawStock[s] * 100 / (100 + lossNorm);
        const double used = totalUse(rec, s);
        const double share = w == 0 ? 0 : 100 * rec.columnValue[j] / w;
        const double low = work.minInclusion[p][s];
        const double high = work.maxInclusion[p][s];
        const RawAnalysisState state{std::fabs(used - stock) <= rec.tolerance,
                                     levelState(share, low, high, rec.tolerance, false)};
        states.append(state);
        grid.rows.append({rec.rawName[s], fixedText(stock, 13, 3), fixedText(used, 13, 3),
                          fixedText(rec.columnValue[j], 13, 3),
                          state.stockUsedUp ? QString::fromUtf16(kStockUsedUp) : QString(),
                          fixedText(low, 10, 2), fixedText(share, 10, 2), fixedText(high, 10, 2),
                          levelStateText(state.share)});
    }
    return grid;
}

} // namespace

QStringList gridLines(const TextGrid &grid)
{
    QList<QStringList> all{grid.header};
    all += grid.rows;
    QList<int> widths;
    for (const QStringList &row : std::as_const(all))
        for (int c = 0; c < row.size(); ++c) {
            if (c >= widths.size())
                widths.append(0);
            widths[c] = std::max(widths[c], int(row[c].size()));
        }
    QStringList lines;
    for (const QStringList &row : std::as_const(all)) {
        QString line;
        for (int c = 0; c < row.size(); ++c)
            line += store::padded(row[c], widths[c] + 1) + u'!';
        lines.append(line);
    }
    return lines;
}

FailureAnalysis failureAnalysis(const ProblemRecord &rec, const CalcWorkingValues &working, int row,
                                double lossNorm)
{
    const int p = rec.rowOwner[row];
    FailureAnalysis analysis;
    analysis.title = failureTitle(rec, row);
    analysis.characteristics = characteristicsGrid(rec, p, analysis.characteristicStates);
    analysis.raws = rawsGrid(rec, working, p, lossNorm, analysis.rawStates);
    return analysis;
}

QString levelStateText(LevelState state)
{
    switch (state) {
    case LevelState::AtMinimum:
        return QString::fromUtf16(kAtMinimum);
    case LevelState::AtMaximum:
        return QString::fromUtf16(kAtMaximum);
    case LevelState::BelowMinimum:
        return QString::fromUtf16(kBelowMinimum);
    case LevelState::AboveMaximum:
        return QString::fromUtf16(kAboveMaximum);
    case LevelState::WithinNorm:
        break;
    }
    return QString::fromUtf16(kWithinNorm);
}

SolutionSummary solutionSummary(const ProblemRecord &rec)
{
    SolutionSummary summary;
    summary.grid.header = {QStringLiteral("Наименование сырья"), QStringLiteral("Запас Т"),
                           QStringLiteral("Затраты общие"), QStringLiteral("Цена 1Т"),
                           QStringLiteral("Стоимость затрат")};
    const int firstStockRow = rec.rowCount - rec.rawCount;
    for (int s = 1; s <= rec.rawCount; ++s) {
        const double used = rec.rowValue[firstStockRow + s];
        const double price = rec.rawContent[s][1];
        const double cost = price * used;
        summary.totalConsumption += used;
        summary.totalCost += cost;
        summary.grid.rows.append({rec.rawName[s], fixedText(rec.rawStock[s], 13, 3),
                                  fixedText(used, 13, 3), fixedText(price, 13, 2),
                                  fixedText(cost, 13, 2)});
    }
    summary.title = QStringLiteral("Решение получено!    Общие затраты сырья  ") +
                    fixedText(summary.totalConsumption, 13, 3) +
                    QStringLiteral("  Т.  на сумму  ") + fixedText(summary.totalCost, 13, 2) +
                    QStringLiteral("  руб.");
    return summary;
}

} // namespace calc
