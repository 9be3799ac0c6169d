#include "results/compositioncorrection.h"

#include "calc/problemrecord.h"
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
    QStringLiteral("Имеются не числовые значения процентов ввода... Исправьте...");

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

void clearLevels(calc::ProblemRecord &r, int p)
{
    for (int i = 1; i <= r.rowCount; ++i) {
        const int k = r.rowKind[i];
        if (r.rowOwner[i] == p && k != calc::kOutputRow && k != calc::kStockRow && k != 1)
            r.rowValue[i] = 0;
    }
}

void addLevels(calc::ProblemRecord &r, int p, int s, double percent)
{
    for (int i = 1; i <= r.rowCount; ++i) {
        const int k = r.rowKind[i];
        if (r.rowOwner[i] == p && k != calc::kOutputRow && k != calc::kStockRow && k != 1)
            r.rowValue[i] += r.rawContent[s][k] * percent / 100;
    }
}

double priceOf(const calc::ProblemRecord &r, int s, const CellValue &cell)
{
    return cell.number.ok() ? cell.number.value : r.rawContent[s][1];
}

} // namespace

CorrectionResult finishCorrection(calc::ProblemRecord &r, int p, QList<CellValue> &percents,
                                  const QList<CellValue> &prices, double lossNorm)
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

    const QList<int> columns = compositionColumns(r, p);
    const double output = r.feedOutput[p];
    clearLevels(r, p);
    double tonnes = 0;
    double withLosses = 0;
    int largest = 0;
    for (int row = 0; row < columns.size() && row < x.size(); ++row) {
        const int j = columns[row];
        const int s = r.columnRaw[j];
        r.columnLower[j] = x[row];
        r.columnValue[j] = round3(x[row] * output / 100);
        tonnes += r.columnValue[j];
        r.columnUpper[j] = round3((lossNorm + 100) * r.columnValue[j] / 100);
        withLosses += r.columnUpper[j];
        result.rawCost += round2(x[row] * priceOf(r, s, prices.value(row)) / 100);
        addLevels(r, p, s, x[row]);
        if (largest == 0 || x[row] > r.columnLower[largest])
            largest = j;
    }
    if (largest != 0) {
        r.columnValue[largest] = round3(r.columnValue[largest] + output - tonnes);
        const double total = round3((lossNorm + 100) * output / 100);
        r.columnUpper[largest] = round3(r.columnUpper[largest] + total - withLosses);
    }
    return result;
}

} // namespace results
