#include "archive/reciperows.h"

#include "archive/archivecolumns.h"
#include "archive/archivenumbers.h"

#include "store/datasourceoff.h"
#include "store/fieldproblem.h"
#include "store/table.h"

#include <QFileInfo>

namespace archive
{

namespace
{

// The name a row goes by: the recipe's, the raw material's or the characteristic's.
QString rowName(const Row &row)
{
    for (const auto &[name, value] : row) {
        if (name.compare(QLatin1String("naim"), Qt::CaseInsensitive) == 0 ||
            name.compare(QLatin1String("pit"), Qt::CaseInsensitive) == 0)
            return value.toString().trimmed();
    }
    return {};
}

// Why a row cannot be stored in table as it is, in the words of the results window;
// empty when every value fits.
QString unstorable(const store::Table &table, const Row &row)
{
    const QList<store::FieldDef> fields = table.fields();
    const QString file = QFileInfo(table.fileName()).fileName();
    for (const auto &[name, value] : row) {
        const int index = table.fieldIndex(name);
        if (index < 0) // the tables are damaged: the technical words are all there is
            return QStringLiteral("в таблице %1 нет поля %2").arg(file, name);
        const QString why = store::fieldProblem(
            fields.at(index), value, {QString(), archiveColumnTitle(file, name), rowName(row)});
        if (!why.isEmpty())
            return why;
    }
    return {};
}

QString unstorable(const ArchiveCursors &c, const RecipeRows &rows)
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

// Releases the number in table and appends the rows; the filter is switched on again
// when it was on.
void replaceRecipe(store::Table &table, int number, const QList<Row> &rows)
{
    const store::DataSourceOff off(table);
    const bool wasFiltered = releaseArchiveNumbers(table, {number});
    for (const Row &row : rows) {
        table.append();
        for (const auto &[name, value] : row)
            table.setValue(name, value);
        table.post();
    }
    table.setFiltered(wasFiltered);
}

} // namespace

ArchiveWriteResult writeRecipe(const ArchiveCursors &cursors,
                               const std::function<RecipeRows(int number)> &rowsFor)
{
    ArchiveWriteResult result;
    try {
        // Checked with the longest number first: a refused recipe uses up no number.
        const QString why = unstorable(cursors, rowsFor(kLastArchiveNumber));
        if (!why.isEmpty()) {
            result.error = QStringLiteral("Рецепт не записан в архив. ") + why;
            return result;
        }
        result.number = nextArchiveNumber(*cursors.order);
        const RecipeRows rows = rowsFor(result.number);
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

} // namespace archive
