#include "maintenance/window/backupwindow.h"

namespace maintenance
{

namespace
{

DriveWindowTexts backupTexts()
{
    DriveWindowTexts texts;
    texts.caption = QStringLiteral("Архивирование данных на резервный носитель");
    texts.lines = {
        QStringLiteral("Подготовьте резервный носитель (вставьте дискету или флешку или убедитесь "
                       "в готовности сетевого диска)."),
        QStringLiteral("Выберите носитель в списке ниже или нажмите \"Другая папка…\", затем "
                       "нажмите \"Архивировать\" или нажмите \"Выход\", чтобы отказаться."),
    };
    texts.listLabel = QStringLiteral("Резервный носитель:");
    texts.folderDialogCaption = QStringLiteral("Папка для резервной копии");
    texts.folderLine = QStringLiteral("Копия будет записана в папку %1");
    texts.linesBelow = {
        QStringLiteral("Когда копирование закончится, нажмите \"Выход\"."),
    };
    texts.waitLine = QStringLiteral("Архивирование продолжается… Подождите");
    texts.runCaption = QStringLiteral("Архивировать");
    return texts;
}

} // namespace

BackupWindow::BackupWindow(store::DataModule &data, const platform::VolumeSource &volumes,
                           QWidget *parent)
    : DriveWindow(data, volumes, backupTexts(), &runBackup, &backupTarget, parent)
{
    setObjectName(QStringLiteral("backupWindow"));
}

} // namespace maintenance
