#include "archive/archiveview.h"

#include "store/table.h"

namespace archive
{

QString recipeFilter(int number)
{
    return QStringLiteral("arnom=") + QString::number(number);
}

int currentNumber(const store::Table &arkk)
{
    return arkk.isOpen() && !arkk.isEmpty() ? arkk.integer(QStringLiteral("arnom")) : 0;
}

void linkToHead(const ArchiveCursors &c)
{
    if (c.arkk->isEmpty())
        return;
    const QString filter = recipeFilter(currentNumber(*c.arkk));
    for (store::Table *table : {c.arsir, c.arpit, c.arprem}) {
        if (!table->isOpen())
            table->open();
        table->setFilter(filter);
        table->setFiltered(true);
        table->first();
    }
}

void showAllRecipes(store::Table &arkk)
{
    arkk.setFilter(kAllRecipesFilter);
    arkk.setFiltered(true);
    arkk.first();
}

void returnToRecipe(const ArchiveCursors &c, int number)
{
    showAllRecipes(*c.arkk);
    for (; !c.arkk->eof(); c.arkk->next()) {
        if (currentNumber(*c.arkk) == number)
            break;
    }
    if (c.arkk->eof() || currentNumber(*c.arkk) != number)
        c.arkk->first();
    linkToHead(c);
}

} // namespace archive
