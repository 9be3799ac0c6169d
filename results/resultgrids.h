#pragma once

// The texts of the results window's lower grids for one feed type, from the problem
// record: its composition (one row per raw material it takes) and the characteristics
// it reaches against its norms, with the rule that marks a norm violation red.

#include <QList>
#include <QString>
#include <QStringList>

namespace calc
{
struct ProblemRecord;
}

namespace results
{

// The programme columns of feed type p that hold an amount (columnValue ≠ 0), in
// column order: data row r of the composition grid stands for the r-th of them.
QList<int> compositionColumns(const calc::ProblemRecord &record, int p);

// Composition grid rows: name, "% ввода" (8.2), "Цена  1Т." (10.2), "Стоимость" of the
// whole batch (13.2), "Вес без пот" in tonnes (13.3).
QList<QStringList> compositionRows(const calc::ProblemRecord &record, int p);

// The cost cell of a composition row: price × tonnes in fixed 13.2.
QString batchCostText(double price, double tonnes);

// Characteristics grid rows: name, "Минимум", "Факт", "Максимум"; values of 45 and more
// without decimals, a blank for a minimum of 0 and for no maximum (0, or four times the
// minimum).
QList<QStringList> characteristicRows(const calc::ProblemRecord &record, int p);

// A characteristics row is drawn red when its "Факт" reads as a number and a minimum
// that reads as one is above it or a maximum that reads as one is below it.
bool violatesNorm(const QString &minimum, const QString &fact, const QString &maximum);

} // namespace results
