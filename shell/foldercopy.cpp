#include "shell/foldercopy.h"

#include "platform/filereplace.h"

#include <QDir>
#include <QFileInfo>

namespace shell
{

int copyFlatFolder(const QString &from, const QString &to, const MessageSink &show)
{
    const QDir source(from);
    const QDir target(to);
    const QFileInfoList files =
        source.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    int failed = 0;
    for (const QFileInfo &file : files) {
        if (!platform::copyFileReplacing(file.filePath(), target.filePath(file.fileName()))) {
            show(file.fileName() + QStringLiteral(" не скопирован"));
            ++failed;
        }
    }
    return failed;
}

} // namespace shell
