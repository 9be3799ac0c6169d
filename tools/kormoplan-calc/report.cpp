#include "report.h"

#include "calc/outcometext.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace kpcalc
{

using calc::ProblemRecord;
using calc::RunOutcome;
using calc::RunResult;

namespace
{

QStringList analysisLines(const calc::FailureAnalysis &analysis)
{
    QStringList lines{calc::analysisTitle(analysis), QString()};
    lines << calc::gridLines(calc::characteristicsGrid(analysis)) << QString();
    lines << calc::gridLines(calc::rawsGrid(analysis)) << QString();
    lines << QStringLiteral("Запасы и затраты сырья уменьшены")
          << QStringLiteral("на величину  технологических потерь.")
          << QStringLiteral("Цены пересчитаны на затраты сырья без учета")
          << QStringLiteral(" потерь, издержек, рентабельности и налогов.");
    return lines;
}

QJsonArray recipeOf(const ProblemRecord &rec, int p)
{
    QJsonArray recipe;
    for (int j = 1; j <= rec.columnCount; ++j) {
        if (rec.columnFeed[j] != p)
            continue;
        recipe.append(QJsonObject{{QStringLiteral("raw"), rec.rawName[rec.columnRaw[j]]},
                                  {QStringLiteral("percent"), rec.columnLower[j]},
                                  {QStringLiteral("tonnes"), rec.columnValue[j]},
                                  {QStringLiteral("withLosses"), rec.columnUpper[j]}});
    }
    return recipe;
}

// Levels of the nutrient rows of feed type p. The price row holds the solver's
// activity / max; its level is given as the average raw-material cost per tonne.
QJsonArray levelsOf(const ProblemRecord &rec, int p)
{
    QJsonArray levels;
    double produced = 0;
    for (int i = 1; i <= rec.rowCount; ++i) {
        if (rec.rowOwner[i] != p || rec.rowKind[i] == calc::kStockRow)
            continue;
        const int q = rec.rowKind[i];
        if (q == calc::kOutputRow) {
            produced = rec.rowValue[i];
            continue;
        }
        const double value = q == 1 && produced != 0
                                 ? rec.rowValue[i] * rec.normMax[p][q] / produced
                                 : rec.rowValue[i];
        levels.append(QJsonObject{{QStringLiteral("characteristic"), rec.charName[q]},
                                  {QStringLiteral("min"), rec.normMin[p][q]},
                                  {QStringLiteral("max"), rec.normMax[p][q]},
                                  {QStringLiteral("value"), value}});
    }
    return levels;
}

QJsonArray feedsOf(const ProblemRecord &rec)
{
    QJsonArray feeds;
    for (int p = 1; p <= rec.feedCount; ++p)
        feeds.append(QJsonObject{{QStringLiteral("number"), p},
                                 {QStringLiteral("type"), rec.feedType[p]},
                                 {QStringLiteral("output"), rec.feedOutput[p]},
                                 {QStringLiteral("recipe"), recipeOf(rec, p)},
                                 {QStringLiteral("levels"), levelsOf(rec, p)}});
    return feeds;
}

QJsonArray rawsOf(const ProblemRecord &rec)
{
    QJsonArray raws;
    const int firstStockRow = rec.rowCount - rec.rawCount;
    for (int s = 1; s <= rec.rawCount; ++s) {
        const double used = rec.rowValue[firstStockRow + s];
        const double price = rec.rawContent[s][1];
        raws.append(QJsonObject{{QStringLiteral("number"), s},
                                {QStringLiteral("name"), rec.rawName[s]},
                                {QStringLiteral("stock"), rec.rawStock[s]},
                                {QStringLiteral("consumption"), used},
                                {QStringLiteral("price"), price},
                                {QStringLiteral("cost"), price * used}});
    }
    return raws;
}

QJsonArray relaxationOf(const ProblemRecord &rec)
{
    QJsonArray relaxation;
    for (int i = 1; i <= rec.rowCount; ++i)
        if (rec.rowRelax[i] != 0)
            relaxation.append(QJsonObject{{QStringLiteral("row"), i},
                                          {QStringLiteral("share"), rec.rowRelax[i]}});
    return relaxation;
}

QJsonValue optionalNumber(const std::optional<double> &value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QJsonArray requirementsOf(const calc::Sensitivity &figures)
{
    QJsonArray list;
    for (const calc::RequirementFigure &f : figures.requirements)
        list.append(
            QJsonObject{{QStringLiteral("feed"), f.feed},
                        {QStringLiteral("characteristic"), f.name},
                        {QStringLiteral("side"), f.side == calc::NormSide::Min ? "min" : "max"},
                        {QStringLiteral("norm"), f.norm},
                        {QStringLiteral("shadowPrice"), f.shadowPrice},
                        {QStringLiteral("normFrom"), optionalNumber(f.normFrom)},
                        {QStringLiteral("normTo"), optionalNumber(f.normTo)}});
    return list;
}

QJsonArray pricesOf(const calc::Sensitivity &figures)
{
    QJsonArray list;
    for (const calc::PriceFigure &f : figures.prices) {
        QJsonArray feeds;
        for (const int p : f.feeds)
            feeds.append(p);
        list.append(QJsonObject{{QStringLiteral("raw"), f.raw},
                                {QStringLiteral("name"), f.name},
                                {QStringLiteral("price"), f.price},
                                {QStringLiteral("priceFrom"), optionalNumber(f.priceFrom)},
                                {QStringLiteral("priceTo"), optionalNumber(f.priceTo)},
                                {QStringLiteral("feeds"), feeds}});
    }
    return list;
}

QJsonArray stockOf(const calc::Sensitivity &figures)
{
    QJsonArray list;
    for (const calc::StockFigure &f : figures.stock)
        list.append(QJsonObject{{QStringLiteral("raw"), f.raw},
                                {QStringLiteral("name"), f.name},
                                {QStringLiteral("stock"), f.stock},
                                {QStringLiteral("valuePerTonne"), f.valuePerTonne},
                                {QStringLiteral("stockFrom"), optionalNumber(f.stockFrom)},
                                {QStringLiteral("stockTo"), optionalNumber(f.stockTo)}});
    return list;
}

// The figures of the optimum, or null without one.
QJsonValue sensitivityOf(const calc::Sensitivity &figures)
{
    if (!figures.held)
        return QJsonValue(QJsonValue::Null);
    return QJsonObject{{QStringLiteral("degenerate"), figures.degenerate},
                       {QStringLiteral("alternativeOptima"), figures.alternativeOptima},
                       {QStringLiteral("requirements"), requirementsOf(figures)},
                       {QStringLiteral("prices"), pricesOf(figures)},
                       {QStringLiteral("stock"), stockOf(figures)}};
}

// The JSON's status number: the solver's label, or -1000 for an overflow of the
// coefficient list (the number the JSON has always given it), -2000 when the solver
// lost its accuracy (never 0, which reads as solved).
int statusNumber(const RunResult &result)
{
    switch (result.outcome) {
    case RunOutcome::Overflow:
        return -1000;
    case RunOutcome::LostAccuracy:
        return -2000;
    default:
        return result.solveStatus;
    }
}

} // namespace

QString outcomeName(RunOutcome outcome)
{
    switch (outcome) {
    case RunOutcome::Solution:
        return QStringLiteral("solution");
    case RunOutcome::Errors:
        return QStringLiteral("errors");
    case RunOutcome::FailureAnalysis:
        return QStringLiteral("failure-analysis");
    case RunOutcome::StockMessage:
        return QStringLiteral("stock-message");
    case RunOutcome::NoAnalysis:
        return QStringLiteral("no-analysis");
    case RunOutcome::Overflow:
        return QStringLiteral("overflow");
    case RunOutcome::LostAccuracy:
        return QStringLiteral("lost-accuracy");
    }
    return {};
}

QStringList textReport(const ProblemRecord &rec, const RunResult &result)
{
    Q_UNUSED(rec);
    switch (result.outcome) {
    case RunOutcome::Errors:
        return QStringList{QStringLiteral("Ошибки подготовки исходных данных")} +
               result.diagnostics;
    case RunOutcome::FailureAnalysis:
        return analysisLines(result.analysis);
    case RunOutcome::Solution:
        return QStringList{calc::summaryTitle(result.summary), QString()} +
               calc::gridLines(calc::summaryGrid(result.summary));
    default:
        return {}; // a message box said it all
    }
}

QByteArray jsonReport(const ProblemRecord &rec, const RunResult &result)
{
    const bool solved = result.outcome == RunOutcome::Solution;
    QJsonObject object{
        {QStringLiteral("outcome"), outcomeName(result.outcome)},
        {QStringLiteral("solveStatus"), statusNumber(result)},
        {QStringLiteral("objective"), result.objective},
        {QStringLiteral("diagnostics"), QJsonArray::fromStringList(result.diagnostics)},
        {QStringLiteral("feeds"), solved ? feedsOf(rec) : QJsonArray()},
        {QStringLiteral("raws"), solved ? rawsOf(rec) : QJsonArray()},
        {QStringLiteral("totalConsumption"), solved ? result.summary.totalConsumption : 0.0},
        {QStringLiteral("totalCost"), solved ? result.summary.totalCost : 0.0},
        {QStringLiteral("attempts"), result.attempts},
        {QStringLiteral("relaxation"), relaxationOf(rec)},
        {QStringLiteral("messages"), QJsonArray::fromStringList(result.messages)},
        {QStringLiteral("pivots"), qint64(result.solver.pivots)},
        {QStringLiteral("flips"), qint64(result.solver.flips)},
        {QStringLiteral("sensitivity"), sensitivityOf(result.sensitivity)},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

} // namespace kpcalc
