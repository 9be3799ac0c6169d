#include "maintenance/window/restorewindow.h"

#include "widgets/message.h"

#include <QDir>

namespace maintenance
{

namespace
{

DriveWindowTexts restoreTexts()
{
    DriveWindowTexts texts;
    texts.caption = QStringLiteral("Восстановление данных с резервного носителя");
    texts.lines = {
        QStringLiteral("Подготовьте резервный носитель (вставьте дискету или подключите флешку "
                       "или убедитесь в готовности внешнего диска)."),
        QStringLiteral("Выберите носитель в списке ниже или нажмите \"Другая папка…\", затем "
                       "нажмите \"Восстановить данные\" или нажмите \"Выход\", чтобы "
                       "отказаться."),
    };
    texts.listLabel = QStringLiteral("Резервный носитель:");
    texts.folderDialogCaption = QStringLiteral("Папка с резервной копией");
    texts.folderLine = QStringLiteral("Данные будут восстановлены из папки %1");
    texts.noFolderLine = QStringLiteral("Здесь нет резервной копии (папки arhivkpl с файлом "
                                        "pit.dbf).");
    texts.linesBelow = {
        QStringLiteral("Когда восстановление закончится, нажмите \"Выход\"."),
    };
    texts.waitLine = QStringLiteral("Восстановление продолжается… Подождите");
    texts.runCaption = QStringLiteral("Восстановить данные");
    return texts;
}

QString restoreQuestion(const BackupFolder &backup)
{
    return QStringLiteral("Восстановить данные из резервной копии в папке %1 от %2? Текущие "
                          "данные будут заменены ею.")
        .arg(QDir::toNativeSeparators(backup.path),
             backup.madeAt.toString(QStringLiteral("dd.MM.yyyy hh:mm")));
}

} // namespace

// The restore replaces the data in use: it asks first, naming the backup. Without one
// the restore itself says what is missing.
RestoreWindow::RestoreWindow(store::DataModule &data, const platform::VolumeSource &volumes,
                             QWidget *parent)
    : DriveWindow(data, volumes, restoreTexts(), &runRestore, &backupSource, parent)
{
    setObjectName(QStringLiteral("restoreWindow"));
    setConfirmation([this](const QString &chosen) {
        const std::optional<BackupFolder> backup = backupToRestore(chosen);
        return !backup || widgets::askYesNo(this, restoreQuestion(*backup));
    });
}

} // namespace maintenance
