#include "results/window/archivequestions.h"

#include "archive/archivenumbers.h"
#include "widgets/message.h"

namespace results
{

namespace
{

QString conflictText(const archive::NumberConflict &conflict)
{
    const archive::ArchiveOccupant &held = conflict.occupant;
    QString text = QStringLiteral("Рецепт получит № %1, а под этим номером в архиве записан рецепт "
                                  "«%2»")
                       .arg(held.number)
                       .arg(held.naim);
    if (!held.data.isEmpty())
        text += QStringLiteral(" от ") + held.data;
    text += QStringLiteral(".\n");
    if (conflict.freeNumber == 0)
        return text + QStringLiteral("Свободных номеров в архиве нет. Заменить этот рецепт?");
    return text + QStringLiteral("Заменить его, записать новый рецепт под свободным № %1 или "
                                 "отменить запись?")
                      .arg(conflict.freeNumber);
}

archive::NumberChoice askNumberChoice(QWidget *parent, const archive::NumberConflict &conflict)
{
    const QString replace = QStringLiteral("Заменить рецепт № %1").arg(conflict.occupant.number);
    const QString cancel = QStringLiteral("Отмена");
    if (conflict.freeNumber == 0)
        return widgets::askChoice(parent, conflictText(conflict), {replace, cancel}) == 0
                   ? archive::NumberChoice::Replace
                   : archive::NumberChoice::Cancel;
    const QString free = QStringLiteral("Записать под № %1").arg(conflict.freeNumber);
    switch (widgets::askChoice(parent, conflictText(conflict), {replace, free, cancel})) {
    case 0:
        return archive::NumberChoice::Replace;
    case 1:
        return archive::NumberChoice::NextFree;
    default:
        return archive::NumberChoice::Cancel;
    }
}

} // namespace

bool confirmWriteAgain(QWidget *parent, int number)
{
    return widgets::askYesNo(
        parent,
        QStringLiteral("Рецепт уже записан в архив под № %1. Записать еще раз?").arg(number));
}

bool confirmArchiveNumber(QWidget *parent, const archive::ArchiveCursors &cursors)
{
    return archive::chooseNextNumber(cursors, [parent](const archive::NumberConflict &conflict) {
        return askNumberChoice(parent, conflict);
    });
}

} // namespace results
