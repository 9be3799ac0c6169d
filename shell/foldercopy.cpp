#include "shell/foldercopy.h"

#include "platform/filereplace.h"
#include "store/datafiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace shell
{

int copyProgramFiles(const QString &from, const QString &to, const MessageSink &show)
{
    const QDir source(from);
    const QDir target(to);
    const QFileInfoList files =
        source.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    int failed = 0;
    for (const QFileInfo &file : files) {
        if (!store::isProgramFile(file.fileName()))
            continue;
        if (!platform::copyFileReplacing(file.filePath(), target.filePath(file.fileName()))) {
            show(file.fileName() + QStringLiteral(" не скопирован"));
            ++failed;
        }
    }
    return failed;
}

void removeUnfinishedCopies(const QString &folder)
{
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden)) {
        if (platform::isTemporaryName(name))
            QFile::remove(dir.filePath(name));
    }
}

} // namespace shell
