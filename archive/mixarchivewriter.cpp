#include "archive/mixarchivewriter.h"

#include "settings/settings.h"
#include "settings/workingdate.h"

#include <QVariant>

#include <utility>

namespace archive
{

namespace
{

constexpr int kNumberTextLength = 4;

// Every premix line with its own contents: what it brings into one unit of the mix.
QList<Row> premixRows(const MixRecipe &recipe, int number)
{
    QList<Row> rows;
    for (const MixRecipe::Line &line : recipe.lines) {
        if (!line.premix)
            continue;
        const double share = line.percent / 100;
        for (int m = 1; m < recipe.characteristics.size(); ++m) {
            const double content = line.contents.value(m);
            if (content == 0)
                continue;
            const MixRecipe::Characteristic &c = recipe.characteristics.at(m);
            rows.append({{QStringLiteral("arnom"), number},
                         {QStringLiteral("pit"), c.name.trimmed()},
                         {QStringLiteral("ediz"), c.unit},
                         {QStringLiteral("ra"), content * share}});
        }
    }
    return rows;
}

QList<Row> rawRows(const MixRecipe &recipe, int number)
{
    QList<Row> rows;
    for (const MixRecipe::Line &line : recipe.lines)
        rows.append({{QStringLiteral("arnom"), number},
                     {QStringLiteral("naim"), line.name.trimmed()},
                     {QStringLiteral("procin"), line.percent},
                     {QStringLiteral("price"), line.price},
                     {QStringLiteral("pricein"), line.price * line.percent / 100}});
    return rows;
}

QList<Row> characteristicRows(const MixRecipe &recipe, int number)
{
    QList<Row> rows;
    for (int m = 1; m < recipe.characteristics.size(); ++m) {
        const MixRecipe::Characteristic &c = recipe.characteristics.at(m);
        if (!c.marked || c.name.trimmed().startsWith(QLatin1Char('*')))
            continue;
        rows.append({{QStringLiteral("arnom"), number},
                     {QStringLiteral("pit"), c.name},
                     {QStringLiteral("ediz"), c.unit},
                     {QStringLiteral("mi"), c.minimum},
                     {QStringLiteral("ma"), c.maximum},
                     {QStringLiteral("fa"), c.fact},
                     {QStringLiteral("ra"), c.fact}});
    }
    return rows;
}

Row headRow(const MixRecipe &recipe, const settings::Settings &values, const QDate &date,
            int number)
{
    Row row = {{QStringLiteral("arnom"), number},
               {QStringLiteral("data"), settings::shortDateText(date)},
               {QStringLiteral("gost"), recipe.standard.trimmed()}};
    if (!recipe.formLetter.isEmpty())
        row.append({QStringLiteral("gk"), recipe.formLetter});
    row += Row{
        {QStringLiteral("naim"),
         recipe.product.trimmed() + mixNumberText(number, recipe.formLetter)},
        {QStringLiteral("nasn"), recipe.purpose.trimmed()},
        {QStringLiteral("prim"), recipe.note.trimmed()},
        {QStringLiteral("ves"), recipe.volume},
        {QStringLiteral("nds"), recipe.taxRate},
        {QStringLiteral("izder"), values.productionCosts},
        {QStringLiteral("procprib"), values.profitability},
        {QStringLiteral("gran"), recipe.formLetter.isEmpty() ? 0.0 : values.granulationSurcharge},
        {QStringLiteral("procpot"), values.lossNorm},
        {QStringLiteral("kn1"), values.namePriceWithoutTax},
        {QStringLiteral("kn3"), values.roundWholesalePrice},
        {QStringLiteral("kn5"), values.roundSellingPrice}};
    return row;
}

RecipeRows mixRows(const MixRecipe &recipe, const settings::Settings &values, const QDate &date,
                   int number)
{
    return {premixRows(recipe, number), rawRows(recipe, number), characteristicRows(recipe, number),
            headRow(recipe, values, date, number)};
}

} // namespace

QString mixNumberText(int number, const QString &formLetter)
{
    return (QString::number(number) + formLetter).left(kNumberTextLength);
}

ArchiveWriteResult writeMixToArchive(const ArchiveCursors &cursors, const MixRecipe &recipe,
                                     const settings::Settings &values, const QDate &workingDate)
{
    return writeRecipe(cursors,
                       [&](int number) { return mixRows(recipe, values, workingDate, number); });
}

} // namespace archive
