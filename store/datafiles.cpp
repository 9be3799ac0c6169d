#include "store/datafiles.h"

#include "store/table.h"

#include <QFileInfo>

namespace store
{

const QStringList &tableFileNames()
{
    static const QStringList names{"pit.dbf",  "kk.dbf",    "sir.dbf",   "norm.dbf",  "order.dbf",
                                   "arkk.dbf", "arsir.dbf", "arpit.dbf", "arprem.dbf"};
    return names;
}

const QStringList &programFileNames()
{
    static const QStringList names =
        tableFileNames() + QStringList{"cons.txt", "pit.txt", "sir.txt",   "kk.txt",    "ras.txt",
                                       "smes.txt", "arh.txt", "param.txt", "rezerv.txt"};
    return names;
}

bool isProgramFile(const QString &fileName)
{
    return programFileNames().contains(fileName, Qt::CaseInsensitive);
}

QString newTableFileName(const QString &path)
{
    const QFileInfo info(path);
    return info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".new.dbf");
}

QString tableReadProblem(const QString &path)
{
    Table table;
    table.setFileName(path);
    try {
        table.open();
        table.close();
    } catch (const TableError &error) {
        return error.message();
    }
    return {};
}

} // namespace store
