#pragma once

// The nutrient ratios of one feed type as the feed types window edits them: read from
// ratio.dbf and written back over the feed type's own records. The ratios cursor of the
// data module is used and left as it was found (open or closed, filter, position).

#include "store/ratiotable.h"

#include <QList>
#include <QString>

namespace store
{
class Table;
}

namespace lists
{

// A listed characteristic a ratio may name: its KEY in pit and its name.
struct RatioCharacteristic {
    int key = 0;
    QString name;
};

// The characteristics after the price, in the list's order (pit's view); pit ends on its
// first record. Throws TableError.
QList<RatioCharacteristic> ratioCharacteristics(store::Table &pit);

// The ratios of feed type kodkk in physical order; none without ratio.dbf. Throws
// TableError.
QList<store::RatioRecord> readFeedRatios(store::Table &ratios, int kodkk);

// Writes rows as the ratios of feed type kodkk: its records are overwritten in physical
// order, then free records (KODKK blank) are taken, then new ones appended; its records
// left over are freed (every field blank). ratio.dbf is created for the first ratio.
// Throws TableError.
void writeFeedRatios(store::Table &ratios, int kodkk, const QList<store::RatioRecord> &rows);

// Why the bounds of a ratio cannot both hold, in the words of the calculation's check
// ("Минимум соотношения Кальций/Фосфор больше максимума."); empty when they can.
QString ratioBoundsProblem(const store::RatioRecord &row, const QString &name);

} // namespace lists
