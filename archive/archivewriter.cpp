#include "archive/archivewriter.h"

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

QList<Row> premixRows(const calc::Selection &sel, const calc::FeedRecipe &recipe, int number)
{
    QList<Row> rows;
    for (const calc::RecipeLine &line : recipe.lines) {
        const int s = line.raw;
        if (line.tonnes == 0 || !sel.rawPremix[s])
            continue;
        const double share = line.percent / 100;
        for (int k = 2; k <= sel.charCount; ++k) {
            if (sel.rawContent[s][k] == 0)
                continue;
            rows.append({{QStringLiteral("arnom"), number},
                         {QStringLiteral("ediz"), sel.charUnit[k].trimmed()},
                         {QStringLiteral("pit"), sel.charName[k].trimmed()},
                         {QStringLiteral("ra"), sel.rawContent[s][k] * share}});
        }
    }
    return rows;
}

QList<Row> rawRows(const calc::Selection &sel, const calc::FeedRecipe &recipe, int number)
{
    QList<Row> rows;
    for (const calc::RecipeLine &line : recipe.lines) {
        if (line.tonnes == 0)
            continue;
        rows.append(
            {{QStringLiteral("arnom"), number},
             {QStringLiteral("prem"), sel.rawPremix[line.raw] ? QStringLiteral("+") : QString()},
             {QStringLiteral("naim"), line.name.trimmed()},
             {QStringLiteral("ves"), line.tonnes},
             {QStringLiteral("procin"), line.percent},
             {QStringLiteral("price"), line.price},
             {QStringLiteral("pricein"), line.price * line.percent / 100}});
    }
    return rows;
}

QList<Row> characteristicRows(const calc::Selection &sel, const calc::FeedRecipe &recipe,
                              int number)
{
    QList<Row> rows;
    for (const calc::RecipeLevel &level : recipe.levels) {
        const int k = level.characteristic;
        if (k == calc::kPriceCharacteristic || level.name.trimmed().startsWith(QLatin1Char('*')))
            continue;
        rows.append({{QStringLiteral("arnom"), number},
                     {QStringLiteral("pit"), level.name.trimmed()},
                     {QStringLiteral("ediz"), sel.charUnit[k].trimmed()},
                     {QStringLiteral("mi"), level.minimum},
                     {QStringLiteral("ma"), storedMaximum(level.minimum, level.maximum)},
                     {QStringLiteral("fa"), level.level},
                     {QStringLiteral("ra"), level.level}});
    }
    return rows;
}

Row headRow(const calc::Selection &sel, const calc::FeedRecipe &recipe, const FeedGridRow &grid,
            const settings::Settings &values, const QDate &workingDate, int number)
{
    return {{QStringLiteral("arnom"), number},
            {QStringLiteral("data"), settings::shortDateText(workingDate)},
            {QStringLiteral("gost"), sel.feedStandard[recipe.feed]},
            {QStringLiteral("naim"), recipeName(grid, number, values)},
            {QStringLiteral("nasn"), sel.feedPurpose[recipe.feed]},
            {QStringLiteral("prim"), grid.note.trimmed()},
            {QStringLiteral("ves"), recipe.output},
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

RecipeRows resultRecipeRows(const calc::Selection &sel, const calc::FeedRecipe &recipe,
                            const FeedGridRow &grid, const settings::Settings &values,
                            const QDate &workingDate, int number)
{
    return {premixRows(sel, recipe, number), rawRows(sel, recipe, number),
            characteristicRows(sel, recipe, number),
            headRow(sel, recipe, grid, values, workingDate, number)};
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
                                        const calc::Selection &selection,
                                        const calc::FeedRecipe &recipe, const FeedGridRow &row,
                                        const settings::Settings &values, const QDate &workingDate)
{
    return writeRecipe(cursors, [&](int number) {
        return resultRecipeRows(selection, recipe, row, values, workingDate, number);
    });
}

} // namespace archive
