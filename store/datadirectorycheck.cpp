#include "store/datadirectorycheck.h"

#include "store/datafiles.h"
#include "store/listcounts.h"

namespace store
{

DataDirectoryProblem dataDirectoryProblem(const QString &dataDirectory)
{
    for (const QString &name : presentTableFileNames(dataDirectory)) {
        const QString text = tableReadProblem(dataDirectory + QLatin1Char('/') + name);
        if (!text.isEmpty())
            return {name, text};
    }
    const QString counts = listCountsProblem(dataDirectory);
    if (!counts.isEmpty())
        return {QStringLiteral("order.dbf"), counts};
    return {};
}

} // namespace store
