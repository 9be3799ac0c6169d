#include "results/mixarchive.h"

#include "settings/settings.h"
#include "settings/workingdate.h"
#include "store/datasourceoff.h"
#include "store/fieldcodec.h"
#include "store/table.h"

#include <QFileInfo>
#include <QVariant>

#include <utility>

namespace results
{

namespace
{

constexpr int kNumberTextLength = 4;

using Row = QList<std::pair<QString, QVariant>>;

struct MixRows {
    QList<Row> arprem;
    QList<Row> arsir;
    QList<Row> arpit;
    Row arkk;
};

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

MixRows mixRows(const MixRecipe &recipe, const settings::Settings &values, const QDate &date,
                int number)
{
    return {premixRows(recipe, number), rawRows(recipe, number), characteristicRows(recipe, number),
            headRow(recipe, values, date, number)};
}

QString unstorable(const store::Table &table, const Row &row)
{
    const QList<store::FieldDef> fields = table.fields();
    const QString file = QFileInfo(table.fileName()).fileName();
    for (const auto &[name, value] : row) {
        const int index = table.fieldIndex(name);
        if (index < 0)
            return QStringLiteral("в таблице %1 нет поля %2").arg(file, name);
        QString why;
        store::encodeField(fields.at(index), value, &why);
        if (!why.isEmpty())
            return QStringLiteral("%1, поле %2: %3").arg(file, name, why);
    }
    return {};
}

QString unstorable(const ArchiveCursors &c, const MixRows &rows)
{
    const std::pair<store::Table *, const QList<Row> *> groups[] = {
        {c.arprem, &rows.arprem}, {c.arsir, &rows.arsir}, {c.arpit, &rows.arpit}};
    for (const auto &[table, list] : groups) {
        for (const Row &row : *list) {
            const QString why = unstorable(*table, row);
            if (!why.isEmpty())
                return why;
        }
    }
    return unstorable(*c.arkk, rows.arkk);
}

void replaceRecipe(store::Table &table, int number, const QList<Row> &rows)
{
    const store::DataSourceOff off(table);
    const bool wasFiltered = releaseArchiveNumber(table, number);
    for (const Row &row : rows) {
        table.append();
        for (const auto &[name, value] : row)
            table.setValue(name, value);
        table.post();
    }
    table.setFiltered(wasFiltered);
}

} // namespace

QString mixNumberText(int number, const QString &formLetter)
{
    return (QString::number(number) + formLetter).left(kNumberTextLength);
}

MixArchiveWrite writeMixToArchive(const ArchiveCursors &cursors, const MixRecipe &recipe,
                                  const settings::Settings &values, const QDate &workingDate)
{
    MixArchiveWrite result;
    try {
        // Checked with the longest number first: a refused mix uses up no number.
        const QString why =
            unstorable(cursors, mixRows(recipe, values, workingDate, kLastArchiveNumber));
        if (!why.isEmpty()) {
            result.error = QStringLiteral("Рецепт не записан в архив: ") + why;
            return result;
        }
        result.number = nextArchiveNumber(*cursors.order);
        result.numberText = mixNumberText(result.number, recipe.formLetter);
        const MixRows rows = mixRows(recipe, values, workingDate, result.number);
        replaceRecipe(*cursors.arprem, result.number, rows.arprem);
        replaceRecipe(*cursors.arsir, result.number, rows.arsir);
        replaceRecipe(*cursors.arpit, result.number, rows.arpit);
        replaceRecipe(*cursors.arkk, result.number, {rows.arkk});
        for (store::Table *table : {cursors.arkk, cursors.arsir, cursors.arpit, cursors.arprem})
            table->flush();
    } catch (const store::TableError &error) {
        result.error = error.message();
    }
    return result;
}

} // namespace results
