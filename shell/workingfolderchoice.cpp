#include "shell/workingfolderchoice.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace shell
{

namespace
{

const QString kData = QStringLiteral("itog3");
const QString kBackup = QStringLiteral("arhiv");
const QString kStaging = QStringLiteral("itog3.new");

bool isFolder(const QString &path)
{
    return QFileInfo(path).isDir();
}

QFileInfoList plainFiles(const QString &folder)
{
    return QDir(folder).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name);
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

WorkingFolderChoice failure(const QString &error)
{
    return {QString(), QString(), error};
}

// Copies every plain file of `source` into a fresh staging folder. The copies are made
// writable for their owner even when the shipped files are read-only.
QString copyIntoStaging(const QString &source, const QString &staging)
{
    QDir(staging).removeRecursively();
    if (!QDir().mkpath(staging))
        return QStringLiteral("Папка данных не создается: %1").arg(native(staging));
    const auto writable =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    for (const QFileInfo &file : plainFiles(source)) {
        const QString target = QDir(staging).filePath(file.fileName());
        if (!QFile::copy(file.filePath(), target) || !QFile::setPermissions(target, writable))
            return QStringLiteral("Папка данных не создается: %1 не скопирован в %2")
                .arg(native(file.filePath()), native(staging));
    }
    return QString();
}

// The data directory is made from the backup copy found in the folder, when it holds any
// file, or else from the demo template.
QString seedSource(const QString &folder, const QString &templateDir)
{
    const QString backup = QDir(folder).filePath(kBackup);
    return plainFiles(backup).isEmpty() ? templateDir : backup;
}

WorkingFolderChoice setUp(const QString &folder, const QString &templateDir)
{
    if (!QDir().mkpath(folder))
        return failure(QStringLiteral("Рабочая папка не создается: %1").arg(native(folder)));
    QDir root(folder);
    if (isFolder(root.filePath(kData)))
        return {folder, QString(), QString()};

    const QString source = seedSource(folder, templateDir);
    if (source.isEmpty() || plainFiles(source).isEmpty())
        return failure(QStringLiteral("Не найдены демонстрационные данные программы%1. "
                                      "Переустановите программу.")
                           .arg(source.isEmpty() ? QString() : " (" + native(source) + ")"));
    const QString staging = root.filePath(kStaging);
    const QString error = copyIntoStaging(source, staging);
    if (error.isEmpty() && root.rename(kStaging, kData))
        return {folder, source, QString()};
    QDir(staging).removeRecursively();
    return failure(
        error.isEmpty()
            ? QStringLiteral("Папка данных не создается: %1").arg(native(root.filePath(kData)))
            : error);
}

bool holdsData(const QString &folder)
{
    const QDir root(folder);
    return isFolder(root.filePath(kData)) || isFolder(root.filePath(kBackup));
}

} // namespace

QString perUserFolderName()
{
    return QStringLiteral("Кормоплан");
}

WorkingFolderChoice chooseWorkingFolder(const WorkingFolderPlaces &places)
{
    const QDir current(places.currentDir);
    QString folder;
    if (!places.requestedDir.isEmpty())
        folder = current.absoluteFilePath(places.requestedDir);
    else if (holdsData(current.absolutePath()))
        folder = current.absolutePath();
    else if (!places.documentsDir.isEmpty())
        folder = QDir(places.documentsDir).absoluteFilePath(perUserFolderName());
    else
        return failure(QStringLiteral("Не найдена папка документов пользователя. Укажите "
                                      "рабочую папку: kormoplan --workdir ПАПКА"));
    return setUp(QDir::cleanPath(folder), places.templateDir);
}

QString seededMessage(const WorkingFolderChoice &choice)
{
    const QString where =
        QStringLiteral("Данные программы находятся в папке\n%1\n\n").arg(native(choice.path));
    if (QFileInfo(choice.seededFrom).fileName() == kBackup)
        return where + QStringLiteral("Папка данных itog3 не найдена и восстановлена с "
                                      "архивной копии arhiv.");
    return where + QStringLiteral("Папка данных itog3 создана с демонстрационными данными. "
                                  "Здесь же хранятся архивная копия arhiv и сохраненные "
                                  "документы.");
}

QString findTemplateDir(const QString &applicationDir)
{
    const QDir program(applicationDir);
    for (const QString &candidate :
         {QStringLiteral("../share/kormoplan/itog3"), QStringLiteral("../data/itog3")}) {
        const QString path = QDir::cleanPath(program.absoluteFilePath(candidate));
        if (isFolder(path))
            return path;
    }
    return QString();
}

WorkdirOption parseWorkdirOption(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption workdir(QStringLiteral("workdir"), QString(), QStringLiteral("DIR"));
    parser.addOption(workdir);
    const bool understood = parser.parse(arguments) && parser.positionalArguments().isEmpty() &&
                            !(parser.isSet(workdir) && parser.value(workdir).isEmpty());
    if (!understood)
        return {QString(), QStringLiteral("Неверные параметры командной строки.\n"
                                          "Запуск: kormoplan [--workdir ПАПКА]")};
    return {parser.value(workdir), QString()};
}

} // namespace shell
