#include "results/compositioncorrection.h"

#include "calc/ratiolevel.h"
#include "results/cellnumber.h"
#include "results/resultgrids.h"
#include "store/numbertext.h"

#include <QList>

#include <cmath>

namespace results
{

using store::round2;
using store::round3;

namespace
{

const QString kNotNumeric =
    QStringLiteral("Имеются нечисловые значения процентов ввода... Исправьте...");

// Reads every percentage (empty cells become "0.00"); false at the first that is not
// a number.
bool readPercents(QList<CellValue> &cells, QList<double> &values)
{
    for (CellValue &cell : cells) {
        if (cell.text.isEmpty())
            cell = CellValue::fixed(0, 0, 2);
        if (!cell.number.ok())
            return false;
        values.append(cell.number.value);
    }
    return true;
}

double sum(const QList<double> &values)
{
    double s = 0;
    for (double v : values)
        s += v;
    return s;
}

// Brings the percentages to 100: taken as they are within 0.005, else the shortfall
// goes into the first row at 0. Empty text when balanced, else the refusal.
QString balance(QList<CellValue> &cells, QList<double> &values)
{
    const double s = sum(values);
    if (std::fabs(s - 100) <= 0.005)
        return {};
    const double d = 100 - s;
    const int zero = d > 0 ? int(values.indexOf(0.0)) : -1;
    if (zero < 0)
        return QStringLiteral("Набрано ") + generalText(s) + QStringLiteral("%... Исправьте...");
    cells[zero] = CellValue::fixed(d, 8, 2);
    values[zero] = cells[zero].number.value;
    return {};
}

// The levels of the characteristics (the price apart) and of the ratios in force from the
// accepted percentages of the composition lines.
void recomputeLevels(calc::FeedRecipe &recipe, const calc::Selection &selection,
                     const QList<int> &lines, const QList<double> &x)
{
    for (calc::RecipeLevel &level : recipe.levels) {
        const int q = level.characteristic;
        if (q == calc::kPriceCharacteristic)
            continue;
        level.level = 0;
        for (int row = 0; row < lines.size() && row < x.size(); ++row)
            level.level += selection.rawContent[recipe.lines[lines[row]].raw][q] * x[row] / 100;
        level.state = calc::levelState(level.level, level.minimum, level.maximum, true);
    }
    for (calc::RecipeRatio &ratio : recipe.ratios) {
        double numerator = 0;
        double denominator = 0;
        for (int row = 0; row < lines.size() && row < x.size(); ++row) {
            const auto &content = selection.rawContent[recipe.lines[lines[row]].raw];
            numerator += content[ratio.numerator] * x[row];
            denominator += content[ratio.denominator] * x[row];
        }
        ratio.defined = denominator != 0;
        ratio.level = ratio.defined ? numerator / denominator : 0;
        ratio.state = ratio.defined ? calc::ratioState(ratio.level, ratio.minimum, ratio.maximum)
                                    : calc::LevelState::WithinNorm;
    }
}

double priceOf(const calc::RecipeLine &line, const CellValue &cell)
{
    return cell.number.ok() ? cell.number.value : line.price;
}

} // namespace

CorrectionResult finishCorrection(calc::FeedRecipe &recipe, const calc::Selection &selection,
                                  QList<CellValue> &percents, const QList<CellValue> &prices,
                                  double lossNorm)
{
    CorrectionResult result;
    QList<double> x;
    if (!readPercents(percents, x)) {
        result.message = kNotNumeric;
        return result;
    }
    result.message = balance(percents, x);
    if (!result.ok())
        return result;

    const QList<int> lines = compositionLines(recipe);
    const double output = recipe.output;
    double tonnes = 0;
    double withLosses = 0;
    calc::RecipeLine *largest = nullptr;
    for (int row = 0; row < lines.size() && row < x.size(); ++row) {
        calc::RecipeLine &line = recipe.lines[lines[row]];
        line.percent = x[row];
        line.tonnes = round3(x[row] * output / 100);
        tonnes += line.tonnes;
        line.withLosses = round3((lossNorm + 100) * line.tonnes / 100);
        withLosses += line.withLosses;
        result.rawCost += round2(x[row] * priceOf(line, prices.value(row)) / 100);
        if (!largest || x[row] > largest->percent)
            largest = &line;
    }
    recomputeLevels(recipe, selection, lines, x);
    if (largest) {
        largest->tonnes = round3(largest->tonnes + output - tonnes);
        const double total = round3((lossNorm + 100) * output / 100);
        largest->withLosses = round3(largest->withLosses + total - withLosses);
    }
    return result;
}

} // namespace results
