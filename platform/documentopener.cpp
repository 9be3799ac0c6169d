#include "platform/documentopener.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace platform
{

bool openDocument(const QString &path)
{
    const QString program = qEnvironmentVariable(kOpenDocumentVariable);
    if (!program.isEmpty())
        return QProcess::execute(program, {path}) == 0;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace platform
