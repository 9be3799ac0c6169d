#include "archive/networkcopy.h"

#include "archive/liverows.h"
#include "store/codepage1251.h"
#include "store/cursorstate.h"
#include "store/datasourceoff.h"
#include "store/table.h"

#include <QFile>

#include <memory>
#include <vector>

namespace archive
{

namespace
{

// The first line of netpath.txt (code page 1251), trimmed.
QString folderLine(QFile &file)
{
    const QByteArray bytes = file.readAll();
    qsizetype end = bytes.indexOf('\n');
    if (end < 0)
        end = bytes.size();
    return store::decode1251(bytes.left(end)).trimmed();
}

} // namespace

QString networkCopyPath(const QString &folder, const QString &name)
{
    if (folder.isEmpty())
        return name;
    if (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

NetworkCopyResult copyArchiveToNetwork(const ArchiveCursors &c, store::Table &scratch,
                                       const QString &netpathFile)
{
    NetworkCopyResult result;
    QFile netpath(netpathFile);
    if (!netpath.exists() || !netpath.open(QIODevice::ReadOnly)) {
        result.error = kNoNetpathMessage;
        return result;
    }
    const QString folder = folderLine(netpath);
    const std::pair<store::Table *, const char *> copies[] = {{c.arkk, "arkk2.dbf"},
                                                              {c.arpit, "arpit2.dbf"},
                                                              {c.arprem, "arprem2.dbf"},
                                                              {c.arsir, "arsir2.dbf"}};
    try {
        std::vector<std::unique_ptr<store::DataSourceOff>> off;
        std::vector<std::unique_ptr<store::CursorStateGuard>> keep;
        for (const auto &[table, name] : copies) {
            off.push_back(std::make_unique<store::DataSourceOff>(*table));
            keep.push_back(std::make_unique<store::CursorStateGuard>(*table));
            table->setFiltered(false);
            const QString path = networkCopyPath(folder, QLatin1String(name));
            writeLiveRows(*table, scratch, path);
            table->flush();
            result.files << path;
        }
        // the guards put filters and current rows back, then the data sources come on
        keep.clear();
        off.clear();
    } catch (const store::TableError &error) {
        result.error = error.message();
        return result;
    }
    return result;
}

} // namespace archive
