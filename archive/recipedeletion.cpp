#include "archive/recipedeletion.h"

#include "archive/archivenumbers.h"
#include "archive/archiveview.h"
#include "store/cursorstate.h"
#include "store/datasourceoff.h"
#include "store/table.h"

namespace archive
{

namespace
{

// One walk per table, with its grid still: a walk per recipe and a grid following every
// step made a range of hundreds of recipes take minutes.
void releaseInLowerTables(const ArchiveCursors &c, const QSet<int> &numbers)
{
    for (store::Table *table : {c.arsir, c.arpit, c.arprem}) {
        const store::DataSourceOff off(*table);
        const store::CursorStateGuard keep(*table);
        releaseArchiveNumbers(*table, numbers);
    }
}

bool inRange(int number, int from, int to)
{
    return number > 0 && number >= from && number <= to;
}

void releaseHead(store::Table &arkk)
{
    arkk.edit();
    arkk.setValue(QStringLiteral("arnom"), -1);
    arkk.post();
}

} // namespace

bool deleteCurrentRecipe(const ArchiveCursors &c)
{
    if (c.arkk->isEmpty())
        return false;
    const int number = currentNumber(*c.arkk);
    store::CursorStateGuard keep(*c.arkk);
    releaseInLowerTables(c, {number});
    releaseHead(*c.arkk); // the cursor moves on to the next row, or the last
    keep.dismiss();
    linkToHead(c);
    return true;
}

int rangeFieldNumber(const QString &text)
{
    return text.trimmed().toInt();
}

QSet<int> recipesInRange(store::Table &arkk, int from, int to)
{
    const store::DataSourceOff off(arkk);
    const store::CursorStateGuard keep(arkk);
    arkk.setIndexName(QString());
    arkk.setFiltered(false);
    QSet<int> numbers;
    for (arkk.first(); !arkk.eof(); arkk.next()) {
        const int number = arkk.integer(QStringLiteral("arnom"));
        if (inRange(number, from, to))
            numbers.insert(number);
    }
    return numbers;
}

RangeDeletion deleteRecipeRange(const ArchiveCursors &c, int from, int to)
{
    RangeDeletion result;
    if (rangeRefused(from, to)) {
        result.refused = true;
        return result;
    }
    store::Table &arkk = *c.arkk;
    {
        const store::DataSourceOff off(arkk);
        store::CursorStateGuard keep(arkk);
        releaseInLowerTables(c, recipesInRange(arkk, from, to));
        arkk.setIndexName(QString()); // record order: the walk must not follow a moved key
        arkk.setFiltered(false);
        for (arkk.first(); !arkk.eof(); arkk.next()) {
            if (!inRange(arkk.integer(QStringLiteral("arnom")), from, to))
                continue;
            releaseHead(arkk);
            ++result.deleted;
        }
        arkk.setIndexName(keep.saved().indexName);
        arkk.setFiltered(true);
        arkk.first();
        keep.dismiss();
    }
    linkToHead(c);
    return result;
}

} // namespace archive
