#include "store/ratiotable.h"

#include <QFileInfo>

namespace store
{

QList<FieldDef> ratioFields()
{
    return {{QStringLiteral("KODKK"), 'N', 4, 0}, {QStringLiteral("K1"), 'N', 3, 0},
            {QStringLiteral("K2"), 'N', 3, 0},    {QStringLiteral("RMIN"), 'N', 10, 4},
            {QStringLiteral("RMAX"), 'N', 10, 4}, {QStringLiteral("ON"), 'C', 1, 0}};
}

void createRatioTable(const QString &path)
{
    Table table;
    table.setFileName(path);
    table.create(ratioFields());
}

QList<RatioRecord> readRatioRecords(const QString &path)
{
    QList<RatioRecord> records;
    if (!QFileInfo(path).isFile())
        return records;
    Table table;
    table.setFileName(path);
    table.open();
    for (table.first(); !table.eof(); table.next())
        records.append({table.integer(QStringLiteral("KODKK")), table.integer(QStringLiteral("K1")),
                        table.integer(QStringLiteral("K2")), table.number(QStringLiteral("RMIN")),
                        table.number(QStringLiteral("RMAX")),
                        table.text(QStringLiteral("ON")) == QLatin1String("+")});
    table.close();
    return records;
}

} // namespace store
