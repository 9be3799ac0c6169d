// A small archive table for the tests of the rewrite without deleted recipes: four rows,
// recipe 2 in two of them, written with chosen recipes marked deleted and read back as texts.
#pragma once

#include "store/table.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QtNumeric>

namespace archivesample
{

const QStringList kArchiveNames{"arkk", "arsir", "arpit", "arprem"};

// A row of an archive table: recipe number, name, weight (blank when NaN), a flag.
struct Row {
    int arnom;
    QString naim;
    double ves;
    bool kn1;
};

const QList<Row> kRows{{1, "ПК-5 Старт", 12.5, true},
                       {2, "ПК-6 удаленный", 3.25, false},
                       {3, "СК-11 Рост", qQNaN(), false},
                       {2, "ПК-6 удаленный, строка 2", 1, true}};

inline void writeArchiveTable(const QString &path, const QList<int> &deleted)
{
    store::Table table;
    table.setFileName(path);
    table.create(
        {{"ARNOM", 'N', 5, 0}, {"naim", 'C', 40, 0}, {"ves", 'N', 10, 3}, {"kn1", 'L', 1, 0}});
    table.open();
    for (const Row &row : kRows) {
        table.append();
        table.setValue("arnom", deleted.contains(row.arnom) ? -1 : row.arnom);
        table.setValue("naim", row.naim);
        table.setValue("ves", qIsNaN(row.ves) ? QVariant() : QVariant(row.ves));
        table.setValue("kn1", row.kn1);
        table.post();
    }
    table.close();
}

// The rows of a table file: "arnom|naim|ves|kn1", ves "-" when blank.
inline QStringList rowsOf(const QString &path)
{
    store::Table table;
    table.setFileName(path);
    table.open();
    QStringList rows;
    for (table.first(); !table.eof(); table.next()) {
        const QString ves =
            table.isBlank("ves") ? QStringLiteral("-") : QString::number(table.number("ves"));
        rows << QStringLiteral("%1|%2|%3|%4")
                    .arg(table.integer("arnom"))
                    .arg(table.text("naim"), ves, table.logical("kn1") ? "t" : "f");
    }
    table.close();
    return rows;
}

const QStringList kAllRows{"1|ПК-5 Старт|12.5|t", "-1|ПК-6 удаленный|3.25|f", "3|СК-11 Рост|-|f",
                           "-1|ПК-6 удаленный, строка 2|1|t"};
const QStringList kLiveRows{"1|ПК-5 Старт|12.5|t", "3|СК-11 Рост|-|f"};

} // namespace archivesample
