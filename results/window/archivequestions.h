#pragma once

// The questions the results window and the mix window ask before "Записать в архив"
// writes: a recipe written already and not changed since, and a number that another
// recipe still holds (after "Новая нумерация" or the wrap at 9999). "Нет" and "Отмена"
// are the defaults: a careless Enter writes nothing.

class QWidget;

namespace archive
{
struct ArchiveCursors;
}

namespace results
{

// "Рецепт уже записан в архив под № N. Записать еще раз?": true for "Да".
bool confirmWriteAgain(QWidget *parent, int number);

// When the number the write would get is held, names the recipe holding it (number,
// name, date) and offers to replace it, to write under the next free number, or to
// cancel. False when nothing is to be written; no number is used up then. Throws
// store::TableError.
bool confirmArchiveNumber(QWidget *parent, const archive::ArchiveCursors &cursors);

} // namespace results
