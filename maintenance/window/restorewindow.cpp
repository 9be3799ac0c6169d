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
        QStringLiteral("Узнайте имя резервного носителя (см. Инструкцию) и введите эту букву в "
                       "латинском регистре"),
        QStringLiteral("в поле ниже и нажмите \"Восстановить данные\" или нажмите \"Выход\", "
                       "чтобы отказаться."),
    };
    texts.fieldLabel = QStringLiteral("Имя резервного носителя");
    texts.linesBelow = {
        QStringLiteral("Когда восстановление закончится, нажмите \"Выход\". Восстановление "
                       "продолжается до 15 секунд."),
    };
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
TForm17::TForm17(store::TDataModule2 &data, const platform::DriveLetters &drives, QWidget *parent)
    : DriveWindow(data, drives, restoreTexts(), &runRestore, parent)
{
    setObjectName(QStringLiteral("Form17"));
    setConfirmation([this, &drives](const QString &letterField) {
        const std::optional<BackupFolder> backup = backupToRestore(drives, letterField);
        return !backup || widgets::askYesNo(this, restoreQuestion(*backup));
    });
}

} // namespace maintenance
