#include "report.h"

#include "calc/outcometext.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace kpcalc
{

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

QJsonArray recipeOf(const calc::FeedRecipe &feed)
{
    QJsonArray recipe;
    for (const calc::RecipeLine &line : feed.lines)
        recipe.append(QJsonObject{{QStringLiteral("raw"), line.name},
                                  {QStringLiteral("percent"), line.percent},
                                  {QStringLiteral("tonnes"), line.tonnes},
                                  {QStringLiteral("withLosses"), line.withLosses}});
    return recipe;
}

// Levels of the nutrient rows; the price's is the average raw-material cost per tonne.
QJsonArray levelsOf(const calc::FeedRecipe &feed)
{
    QJsonArray levels;
    for (const calc::RecipeLevel &level : feed.levels)
        levels.append(QJsonObject{{QStringLiteral("characteristic"), level.name},
                                  {QStringLiteral("min"), level.minimum},
                                  {QStringLiteral("max"), level.maximum},
                                  {QStringLiteral("value"), level.level}});
    return levels;
}

QString stateName(calc::LevelState state)
{
    switch (state) {
    case calc::LevelState::AtMinimum:
        return QStringLiteral("at-minimum");
    case calc::LevelState::AtMaximum:
        return QStringLiteral("at-maximum");
    case calc::LevelState::BelowMinimum:
        return QStringLiteral("below-minimum");
    case calc::LevelState::AboveMaximum:
        return QStringLiteral("above-maximum");
    case calc::LevelState::WithinNorm:
        break;
    }
    return QStringLiteral("within");
}

// A bound of 0 is none: null.
QJsonValue boundOf(double bound)
{
    return bound > 0 ? QJsonValue(bound) : QJsonValue(QJsonValue::Null);
}

// The ratios in force; the level is null when the batch holds none of the denominator.
QJsonArray ratiosOf(const calc::FeedRecipe &feed)
{
    QJsonArray ratios;
    for (const calc::RecipeRatio &r : feed.ratios)
        ratios.append(QJsonObject{
            {QStringLiteral("numerator"), r.numeratorName},
            {QStringLiteral("denominator"), r.denominatorName},
            {QStringLiteral("min"), boundOf(r.minimum)},
            {QStringLiteral("max"), boundOf(r.maximum)},
            {QStringLiteral("level"), r.defined ? QJsonValue(r.level) : QJsonValue()},
            {QStringLiteral("state"), r.defined ? stateName(r.state) : QStringLiteral("none")}});
    return ratios;
}

// The key "ratios" only for a feed type with ratios in force, so that data without any
// give the report they always gave.
QJsonArray feedsOf(const calc::Recipes &recipes)
{
    QJsonArray feeds;
    for (const calc::FeedRecipe &feed : recipes.feeds) {
        QJsonObject object{{QStringLiteral("number"), feed.feed},
                           {QStringLiteral("type"), feed.type},
                           {QStringLiteral("output"), feed.output},
                           {QStringLiteral("recipe"), recipeOf(feed)},
                           {QStringLiteral("levels"), levelsOf(feed)}};
        if (!feed.ratios.isEmpty())
            object.insert(QStringLiteral("ratios"), ratiosOf(feed));
        feeds.append(object);
    }
    return feeds;
}

QJsonArray rawsOf(const calc::Selection &selection, const calc::Recipes &recipes)
{
    QJsonArray raws;
    for (int s = 1; s <= selection.rawCount; ++s) {
        const double used = recipes.consumption[std::size_t(s)];
        const double price = selection.rawContent[s][calc::kPriceCharacteristic];
        raws.append(QJsonObject{{QStringLiteral("number"), s},
                                {QStringLiteral("name"), selection.rawName[s]},
                                {QStringLiteral("stock"), selection.rawStock[s]},
                                {QStringLiteral("consumption"), used},
                                {QStringLiteral("price"), price},
                                {QStringLiteral("cost"), price * used}});
    }
    return raws;
}

QJsonArray relaxationOf(const std::vector<calc::RelaxedRow> &rows)
{
    QJsonArray relaxation;
    for (const calc::RelaxedRow &row : rows)
        relaxation.append(
            QJsonObject{{QStringLiteral("row"), row.row}, {QStringLiteral("share"), row.share}});
    return relaxation;
}

QJsonValue optionalNumber(const std::optional<double> &value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QJsonArray ratioFiguresOf(const calc::Sensitivity &figures)
{
    QJsonArray list;
    for (const calc::RatioFigure &f : figures.ratios)
        list.append(
            QJsonObject{{QStringLiteral("feed"), f.feed},
                        {QStringLiteral("ratio"), f.name},
                        {QStringLiteral("side"), f.side == calc::NormSide::Min ? "min" : "max"},
                        {QStringLiteral("bound"), f.bound},
                        {QStringLiteral("shadowPrice"), f.shadowPrice},
                        {QStringLiteral("boundFrom"), optionalNumber(f.boundFrom)},
                        {QStringLiteral("boundTo"), optionalNumber(f.boundTo)}});
    return list;
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

// The figures of the optimum, or null without one; "ratios" only with ratios in force.
QJsonValue sensitivityOf(const calc::Sensitivity &figures, bool withRatios)
{
    if (!figures.held)
        return QJsonValue(QJsonValue::Null);
    QJsonObject object{{QStringLiteral("degenerate"), figures.degenerate},
                       {QStringLiteral("alternativeOptima"), figures.alternativeOptima},
                       {QStringLiteral("requirements"), requirementsOf(figures)},
                       {QStringLiteral("prices"), pricesOf(figures)},
                       {QStringLiteral("stock"), stockOf(figures)}};
    if (withRatios)
        object.insert(QStringLiteral("ratios"), ratioFiguresOf(figures));
    return object;
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
    case RunOutcome::Stopped:
        return QStringLiteral("stopped");
    }
    return {};
}

QStringList textReport(const RunResult &result)
{
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

QByteArray jsonReport(const RunResult &result)
{
    const bool solved = result.outcome == RunOutcome::Solution;
    QJsonObject object{
        {QStringLiteral("outcome"), outcomeName(result.outcome)},
        {QStringLiteral("solveStatus"), statusNumber(result)},
        {QStringLiteral("objective"), result.objective},
        {QStringLiteral("diagnostics"), QJsonArray::fromStringList(result.diagnostics)},
        {QStringLiteral("feeds"), solved ? feedsOf(result.recipes) : QJsonArray()},
        {QStringLiteral("raws"), solved ? rawsOf(result.selection, result.recipes) : QJsonArray()},
        {QStringLiteral("totalConsumption"), solved ? result.summary.totalConsumption : 0.0},
        {QStringLiteral("totalCost"), solved ? result.summary.totalCost : 0.0},
        {QStringLiteral("attempts"), result.attempts},
        {QStringLiteral("relaxation"), relaxationOf(result.relaxation)},
        {QStringLiteral("messages"), QJsonArray::fromStringList(result.messages)},
        {QStringLiteral("pivots"), qint64(result.solver.pivots)},
        {QStringLiteral("flips"), qint64(result.solver.flips)},
        {QStringLiteral("sensitivity"),
         sensitivityOf(result.sensitivity, !result.selection.ratios.empty())},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

} // namespace kpcalc
