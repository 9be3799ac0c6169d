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

void releaseInLowerTables(const ArchiveCursors &c, int number)
{
    for (store::Table *table : {c.arsir, c.arpit, c.arprem}) {
        const store::CursorStateGuard keep(*table);
        releaseArchiveNumber(*table, number);
    }
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
    releaseInLowerTables(c, number);
    releaseHead(*c.arkk); // the cursor moves on to the next row, or the last
    keep.dismiss();
    linkToHead(c);
    return true;
}

int rangeFieldNumber(const QString &text)
{
    return text.trimmed().toInt();
}

RangeDeletion deleteRecipeRange(const ArchiveCursors &c, int from, int to)
{
    RangeDeletion result;
    if (from >= to) {
        result.refused = true;
        return result;
    }
    store::Table &arkk = *c.arkk;
    {
        const store::DataSourceOff off(arkk);
        store::CursorStateGuard keep(arkk);
        arkk.setIndexName(QString()); // record order: the walk must not follow a moved key
        arkk.setFiltered(false);
        for (arkk.first(); !arkk.eof(); arkk.next()) {
            const int number = arkk.integer(QStringLiteral("arnom"));
            if (number <= 0 || number < from || number > to)
                continue;
            releaseInLowerTables(c, number);
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
