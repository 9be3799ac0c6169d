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
        QStringLiteral("Узнайте имя резервного носителя (см. Инструкцию), введите эту букву в "
                       "латинском регистре  "),
        QStringLiteral("в поле ниже и нажмите \"Архивировать\" или нажмите \"Выход\", чтобы "
                       "отказаться."),
    };
    texts.fieldLabel = QStringLiteral("Имя резервного носителя");
    texts.linesBelow = {
        QStringLiteral("Когда копирование закончится, нажмите \"Выход\"."),
        QStringLiteral("Архивирование продолжается до 16 секунд. Подождите...."),
    };
    texts.runCaption = QStringLiteral("Архивировать");
    return texts;
}

} // namespace

TForm16::TForm16(store::TDataModule2 &data, const platform::DriveLetters &drives, QWidget *parent)
    : DriveWindow(data, drives, backupTexts(), &runBackup, parent)
{
    setObjectName(QStringLiteral("Form16"));
}

} // namespace maintenance
