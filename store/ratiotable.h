#pragma once

// ratio.dbf: the bounds of nutrient ratios per feed type (calcium to available phosphorus,
// lysine to energy), one record per ratio, read by field name like every table:
//
//   KODKK N(4,0)  the feed type (kk.kodkk)      RMIN N(10,4)  lowest level(K1) / level(K2)
//   K1    N(3,0)  the numerator's pit.KEY       RMAX N(10,4)  highest; blank or 0: no bound
//   K2    N(3,0)  the denominator's pit.KEY     ON   C(1)     "+": the ratio is in force
//
// The table is optional: a data directory without it has no ratios. It is created empty
// when the first ratio is added.

#include "store/table.h"

#include <QList>
#include <QString>

namespace store
{

inline const QString kRatioFileName = QStringLiteral("ratio.dbf");

QList<FieldDef> ratioFields();

// Creates ratio.dbf empty at path, replacing a file of that name. Throws TableError.
void createRatioTable(const QString &path);

// One record of ratio.dbf. A bound of 0 is no bound.
struct RatioRecord {
    int kodkk = 0;
    int numeratorKey = 0;
    int denominatorKey = 0;
    double minimum = 0;
    double maximum = 0;
    bool on = false;
};

// The records of the table at path in physical order, deleted ones left out; none when
// the file does not exist. Throws TableError when it cannot be read or a number field
// holds no number.
QList<RatioRecord> readRatioRecords(const QString &path);

} // namespace store
