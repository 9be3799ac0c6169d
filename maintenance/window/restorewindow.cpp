#include "maintenance/window/restorewindow.h"

namespace maintenance
{

namespace
{

DriveWindowTexts restoreTexts()
{
    DriveWindowTexts texts;
    texts.caption = QStringLiteral("Восстановление данных с резервного носителя");
    texts.lines = {
        QStringLiteral("Подготовьте резервный носитель (вставьте дискету или подключите флэшку "
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

} // namespace

TForm17::TForm17(store::TDataModule2 &data, const platform::DriveLetters &drives, QWidget *parent)
    : DriveWindow(data, drives, restoreTexts(), &runRestore, parent)
{
    setObjectName(QStringLiteral("Form17"));
}

} // namespace maintenance
