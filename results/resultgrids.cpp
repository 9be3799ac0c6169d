#include "results/resultgrids.h"

#include "calc/selection.h"
#include "results/cellnumber.h"
#include "store/numbertext.h"

#include <cmath>

namespace results
{

using store::fixedText;

namespace
{

constexpr double kWholeFrom = 45; // values from here on are shown without decimals

CellValue levelCell(double value, int width)
{
    return CellValue::fixed(value, width, value >= kWholeFrom ? 0 : 2);
}

CellValue blank()
{
    return CellValue::typed(QStringLiteral(" "));
}

CellValue minimumCell(double minimum)
{
    return minimum == 0 ? blank() : levelCell(minimum, 8);
}

CellValue maximumCell(double minimum, double maximum)
{
    if (maximum == 0 || std::fabs(maximum - 4 * minimum) <= 0.001)
        return blank();
    return levelCell(maximum, 8);
}

// A ratio's bound or level: four decimals (Ca/P 2.0213, lysine to energy 0.0009); blank
// for no bound, and for no level when the batch holds none of the denominator.
CellValue ratioCell(double value, bool shown)
{
    return shown ? CellValue::fixed(value, 10, 4) : blank();
}

} // namespace

QList<int> compositionLines(const calc::FeedRecipe &recipe)
{
    QList<int> lines;
    for (int k = 0; k < recipe.lines.size(); ++k)
        if (recipe.lines[k].tonnes != 0)
            lines.append(k);
    return lines;
}

QString batchCostText(double price, double tonnes)
{
    return fixedText(price * tonnes, 13, 2);
}

QList<CompositionRow> compositionRows(const calc::FeedRecipe &recipe)
{
    QList<CompositionRow> rows;
    for (const int k : compositionLines(recipe)) {
        const calc::RecipeLine &line = recipe.lines[k];
        rows.append({line.name, CellValue::fixed(line.percent, 8, 2),
                     CellValue::fixed(line.price, 10, 2), batchCostText(line.price, line.tonnes),
                     fixedText(line.tonnes, 13, 3)});
    }
    return rows;
}

QList<CharacteristicRow> characteristicRows(const calc::FeedRecipe &recipe)
{
    QList<CharacteristicRow> rows;
    for (const calc::RecipeLevel &level : recipe.levels) {
        if (level.characteristic == calc::kPriceCharacteristic)
            continue;
        rows.append({level.name, minimumCell(level.minimum), levelCell(level.level, 13),
                     maximumCell(level.minimum, level.maximum)});
    }
    for (const calc::RecipeRatio &ratio : recipe.ratios)
        rows.append({ratio.name(), ratioCell(ratio.minimum, ratio.minimum != 0),
                     ratioCell(ratio.level, ratio.defined),
                     ratioCell(ratio.maximum, ratio.maximum != 0)});
    return rows;
}

bool violatesNorm(const CellValue &minimum, const CellValue &fact, const CellValue &maximum)
{
    const CellNumber &level = fact.number;
    if (!level.ok())
        return false;
    const CellNumber &low = minimum.number;
    const CellNumber &high = maximum.number;
    return (low.ok() && low.value > level.value) || (high.ok() && high.value < level.value);
}

} // namespace results
