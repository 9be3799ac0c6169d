#include "archive/liverows.h"

#include "store/table.h"

#include <QFile>

namespace archive
{

namespace
{

void copyLiveRows(store::Table &source, store::Table &target)
{
    const int fields = source.fieldCount();
    for (source.first(); !source.eof(); source.next()) {
        if (source.integer(QStringLiteral("arnom")) <= 0)
            continue;
        target.append();
        for (int field = 0; field < fields; ++field)
            target.setValue(field, source.value(field));
        target.post();
    }
}

void dropScratch(store::Table &scratch, const QString &path)
{
    try {
        if (scratch.isOpen()) {
            if (scratch.state() != store::Table::State::Browse)
                scratch.cancel();
            scratch.close();
        }
    } catch (const store::TableError &) {
        // the half-written file goes below whatever the cursor says
    }
    QFile::remove(path);
}

} // namespace

void writeLiveRows(store::Table &source, store::Table &scratch, const QString &path)
{
    try {
        scratch.setFileName(path);
        scratch.createLike(source);
        scratch.open();
        copyLiveRows(source, scratch);
        scratch.flush();
        scratch.close();
    } catch (const store::TableError &) {
        dropScratch(scratch, path);
        throw;
    }
}

} // namespace archive
