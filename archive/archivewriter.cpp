#include "archive/archivewriter.h"

#include "calc/problemrecord.h"
#include "settings/settings.h"
#include "settings/workingdate.h"
#include "store/numbertext.h"
#include "store/table.h"

#include <QList>
#include <QVariant>

#include <cmath>
#include <utility>

namespace archive
{

namespace
{

// The maximum stands for "no maximum" when it is four times the minimum.
double storedMaximum(double minimum, double maximum)
{
    return std::abs(maximum - 4 * minimum) <= 0.001 ? 0 : maximum;
}

bool inFeed(const calc::ProblemRecord &r, int j, int feed)
{
    return r.columnFeed[j] == feed && r.columnValue[j] != 0;
}

QList<Row> premixRows(const calc::ProblemRecord &r, int feed, int number)
{
    QList<Row> rows;
    for (int j = 1; j <= r.columnCount; ++j) {
        const int s = r.columnRaw[j];
        if (!inFeed(r, j, feed) || !r.rawPremix[s])
            continue;
        const double share = r.columnLower[j] / 100;
        for (int k = 2; k <= r.charCount; ++k) {
            if (r.rawContent[s][k] == 0)
                continue;
            rows.append({{QStringLiteral("arnom"), number},
                         {QStringLiteral("ediz"), r.charUnit[k].trimmed()},
                         {QStringLiteral("pit"), r.charName[k].trimmed()},
                         {QStringLiteral("ra"), r.rawContent[s][k] * share}});
        }
    }
    return rows;
}

QList<Row> rawRows(const calc::ProblemRecord &r, int feed, int number)
{
    QList<Row> rows;
    for (int j = 1; j <= r.columnCount; ++j) {
        if (!inFeed(r, j, feed))
            continue;
        const int s = r.columnRaw[j];
        const double price = r.rawContent[s][1];
        rows.append({{QStringLiteral("arnom"), number},
                     {QStringLiteral("prem"), r.rawPremix[s] ? QStringLiteral("+") : QString()},
                     {QStringLiteral("naim"), r.rawName[s].trimmed()},
                     {QStringLiteral("ves"), r.columnValue[j]},
                     {QStringLiteral("procin"), r.columnLower[j]},
                     {QStringLiteral("price"), price},
                     {QStringLiteral("pricein"), price * r.columnLower[j] / 100}});
    }
    return rows;
}

QList<Row> characteristicRows(const calc::ProblemRecord &r, int feed, int number)
{
    QList<Row> rows;
    for (int i = 1; i <= r.rowCount; ++i) {
        const int k = r.rowKind[i];
        if (r.rowOwner[i] != feed || k == calc::kOutputRow || k == calc::kStockRow || k == 1)
            continue;
        if (r.charName[k].trimmed().startsWith(QLatin1Char('*')))
            continue;
        rows.append({{QStringLiteral("arnom"), number},
                     {QStringLiteral("pit"), r.charName[k].trimmed()},
                     {QStringLiteral("ediz"), r.charUnit[k].trimmed()},
                     {QStringLiteral("mi"), r.normMin[feed][k]},
                     {QStringLiteral("ma"), storedMaximum(r.normMin[feed][k], r.normMax[feed][k])},
                     {QStringLiteral("fa"), r.rowValue[i]},
                     {QStringLiteral("ra"), r.rowValue[i]}});
    }
    return rows;
}

Row headRow(const calc::ProblemRecord &r, int feed, const FeedGridRow &grid,
            const settings::Settings &values, const QDate &workingDate, int number)
{
    return {{QStringLiteral("arnom"), number},
            {QStringLiteral("data"), settings::shortDateText(workingDate)},
            {QStringLiteral("gost"), r.feedStandard[feed]},
            {QStringLiteral("naim"), recipeName(grid, number, values)},
            {QStringLiteral("nasn"), r.feedPurpose[feed]},
            {QStringLiteral("prim"), grid.note.trimmed()},
            {QStringLiteral("ves"), r.feedOutput[feed]},
            {QStringLiteral("nds"), grid.nds},
            {QStringLiteral("izder"), grid.izder},
            {QStringLiteral("gran"), grid.gran},
            {QStringLiteral("gk"), grid.gk.trimmed()},
            {QStringLiteral("procprib"), grid.procprib},
            {QStringLiteral("procpot"), values.lossNorm},
            {QStringLiteral("kn1"), values.namePriceWithoutTax},
            {QStringLiteral("kn3"), values.roundWholesalePrice},
            {QStringLiteral("kn5"), values.roundSellingPrice}};
}

} // namespace

RecipeRows resultRecipeRows(const calc::ProblemRecord &r, int feed, const FeedGridRow &grid,
                            const settings::Settings &values, const QDate &workingDate, int number)
{
    return {premixRows(r, feed, number), rawRows(r, feed, number),
            characteristicRows(r, feed, number),
            headRow(r, feed, grid, values, workingDate, number)};
}

QString namePriceText(double namePrice, const settings::Settings &values)
{
    const bool rounded =
        values.namePriceWithoutTax ? values.roundWholesalePrice : values.roundSellingPrice;
    if (rounded)
        return store::fixedText(store::roundHalfEven(namePrice), 12, 0).trimmed();
    return store::fixedText(namePrice, 12, 2).trimmed();
}

QString recipeName(const FeedGridRow &row, int number, const settings::Settings &values)
{
    return (row.type + QLatin1Char('-') + namePriceText(row.namePrice, values) + QLatin1Char('-') +
            QString::number(number) + row.gk.trimmed())
        .trimmed();
}

ArchiveWriteResult writeResultToArchive(const ArchiveCursors &cursors,
                                        const calc::ProblemRecord &record, int feed,
                                        const FeedGridRow &row, const settings::Settings &values,
                                        const QDate &workingDate)
{
    ArchiveWriteResult result;
    if (feed < 1 || feed > record.feedCount) {
        result.error = QStringLiteral("Нет корма с номером %1 в результатах расчета").arg(feed);
        return result;
    }
    return writeRecipe(cursors, [&](int number) {
        return resultRecipeRows(record, feed, row, values, workingDate, number);
    });
}

} // namespace archive
