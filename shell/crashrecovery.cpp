#include "shell/crashrecovery.h"

#include "shell/foldercopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace shell
{

namespace
{

// A marker holds one line, "k"; only its existence matters.
void createMarker(const QString &path, const MessageSink &show)
{
    QFile marker(path);
    if (marker.open(QIODevice::WriteOnly | QIODevice::Truncate) && marker.write("k\r\n") == 3)
        return;
    show(QStringLiteral("Не удается создать файл %1 в рабочей папке (%2). Защита от сбоев "
                        "при этом запуске не действует.")
             .arg(QFileInfo(path).fileName(), marker.errorString()));
}

bool isFolder(const QString &path)
{
    return QFileInfo(path).isDir();
}

StartDecision restoreFromBackup(const WorkingFolder &folder, const MessageSink &show)
{
    if (!isFolder(folder.backupDir())) {
        show(QStringLiteral("Нет архива... Восстановление невозможно."));
        show(QStringLiteral("Если данные сильно испорчены или программа не запускается - "
                            "обратитесь к поставщику программы...."));
        return StartDecision::Go;
    }
    if (!isFolder(folder.dataDir()) && !QDir().mkpath(folder.dataDir())) {
        show(QStringLiteral("Папка базы данных не создается... обратитесь к поставщику "
                            "программы...."));
        return StartDecision::Terminate;
    }
    copyProgramFiles(folder.backupDir(), folder.dataDir(), show);
    show(QStringLiteral("Восстановление с копии завершено..."));
    return StartDecision::Go;
}

} // namespace

StartDecision checkMarkersAndRecover(const WorkingFolder &folder, const MessageSink &show)
{
    if (!QFileInfo::exists(folder.firstMarker())) {
        createMarker(folder.firstMarker(), show);
        return StartDecision::Go;
    }
    if (!QFileInfo::exists(folder.secondMarker())) {
        show(QStringLiteral("Программа была закончена некорректно. Если система снимет задачу, "
                            "повторите ее запуск. Мы попробуем починить данные."));
        createMarker(folder.secondMarker(), show);
        return StartDecision::Go;
    }
    return restoreFromBackup(folder, show);
}

} // namespace shell
