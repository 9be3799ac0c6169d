#include "results/resultgrids.h"

#include "calc/problemrecord.h"
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

bool isCharacteristicRow(const calc::ProblemRecord &r, int i, int p)
{
    const int k = r.rowKind[i];
    return r.rowOwner[i] == p && k != calc::kOutputRow && k != calc::kStockRow && k != 1;
}

} // namespace

QList<int> compositionColumns(const calc::ProblemRecord &r, int p)
{
    QList<int> columns;
    for (int j = 1; j <= r.columnCount; ++j)
        if (r.columnFeed[j] == p && r.columnValue[j] != 0)
            columns.append(j);
    return columns;
}

QString batchCostText(double price, double tonnes)
{
    return fixedText(price * tonnes, 13, 2);
}

QList<CompositionRow> compositionRows(const calc::ProblemRecord &r, int p)
{
    QList<CompositionRow> rows;
    for (int j : compositionColumns(r, p)) {
        const int s = r.columnRaw[j];
        const double price = r.rawContent[s][1];
        rows.append({r.rawName[s], CellValue::fixed(r.columnLower[j], 8, 2),
                     CellValue::fixed(price, 10, 2), batchCostText(price, r.columnValue[j]),
                     fixedText(r.columnValue[j], 13, 3)});
    }
    return rows;
}

QList<CharacteristicRow> characteristicRows(const calc::ProblemRecord &r, int p)
{
    QList<CharacteristicRow> rows;
    for (int i = 1; i <= r.rowCount; ++i) {
        if (!isCharacteristicRow(r, i, p))
            continue;
        const int k = r.rowKind[i];
        const double minimum = r.normMin[p][k];
        rows.append({r.charName[k], minimumCell(minimum), levelCell(r.rowValue[i], 13),
                     maximumCell(minimum, r.normMax[p][k])});
    }
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
