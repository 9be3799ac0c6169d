#pragma once

// The cells of the results window's lower grids for one feed type, from the problem
// record: its composition (one row per raw material it takes) and the characteristics
// it reaches against its norms, with the rule that marks a norm violation red.

#include "results/cellnumber.h"

#include <QList>
#include <QString>

namespace calc
{
struct ProblemRecord;
}

namespace results
{

// The programme columns of feed type p that hold an amount (columnValue ≠ 0), in
// column order: data row r of the composition grid stands for the r-th of them.
QList<int> compositionColumns(const calc::ProblemRecord &record, int p);

// A composition grid row: name, "% ввода" (8.2), "Цена  1Т." (10.2), "Стоимость" of the
// whole batch (13.2), "Вес без пот" in tonnes (13.3). The percentage and the price are
// cells the user may type into.
struct CompositionRow {
    QString name;
    CellValue percent;
    CellValue price;
    QString batchCost;
    QString tonnes;
};

QList<CompositionRow> compositionRows(const calc::ProblemRecord &record, int p);

// The cost cell of a composition row: price × tonnes in fixed 13.2.
QString batchCostText(double price, double tonnes);

// A characteristics grid row: name, "Минимум", "Факт", "Максимум"; values of 45 and more
// without decimals, a blank (no number) for a minimum of 0 and for no maximum (0, or
// four times the minimum).
struct CharacteristicRow {
    QString name;
    CellValue minimum;
    CellValue fact;
    CellValue maximum;
};

QList<CharacteristicRow> characteristicRows(const calc::ProblemRecord &record, int p);

// A characteristics row is drawn red when its "Факт" is a number and a minimum that is
// one is above it or a maximum that is one is below it, as the cells show them.
bool violatesNorm(const CellValue &minimum, const CellValue &fact, const CellValue &maximum);

} // namespace results
