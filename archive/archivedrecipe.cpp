#include "archive/archivedrecipe.h"

#include "archive/archivedratios.h"
#include "store/table.h"

#include <QFileInfo>

namespace archive
{

namespace
{

void filterToRecipe(store::Table &table, int number)
{
    table.setFilter(QStringLiteral("arnom=") + QString::number(number));
    table.setFiltered(true);
    table.first();
}

void readHead(const store::Table &arkk, ArchivedRecipe &recipe)
{
    recipe.ves = arkk.number(QStringLiteral("ves"));
    recipe.data = arkk.text(QStringLiteral("data")).trimmed();
    recipe.naim = arkk.text(QStringLiteral("naim")).trimmed();
    recipe.nasn = arkk.text(QStringLiteral("nasn")).trimmed();
    recipe.gost = arkk.text(QStringLiteral("gost")).trimmed();
    recipe.prim = arkk.text(QStringLiteral("prim")).trimmed();
    if (arkk.hasField(QStringLiteral("gk")))
        recipe.gk = arkk.text(QStringLiteral("gk")).trimmed();
    recipe.nds = arkk.number(QStringLiteral("nds"));
    recipe.izder = arkk.number(QStringLiteral("izder"));
    recipe.procprib = arkk.number(QStringLiteral("procprib"));
    recipe.gran = arkk.number(QStringLiteral("gran"));
    recipe.procpot = arkk.number(QStringLiteral("procpot"));
    recipe.kn3 = arkk.logical(QStringLiteral("kn3"));
    recipe.kn5 = arkk.logical(QStringLiteral("kn5"));
}

void readRaws(store::Table &arsir, ArchivedRecipe &recipe)
{
    for (; !arsir.eof(); arsir.next()) {
        recipe.raws.append({arsir.text(QStringLiteral("naim")).trimmed(),
                            arsir.number(QStringLiteral("procin")),
                            arsir.number(QStringLiteral("price"))});
    }
}

void readChars(store::Table &arpit, ArchivedRecipe &recipe)
{
    for (; !arpit.eof(); arpit.next()) {
        recipe.chars.append({arpit.text(QStringLiteral("pit")).trimmed(),
                             arpit.text(QStringLiteral("ediz")).trimmed(),
                             arpit.number(QStringLiteral("mi")), arpit.number(QStringLiteral("ma")),
                             arpit.number(QStringLiteral("ra")),
                             arpit.number(QStringLiteral("fa"))});
    }
}

void readPremixes(store::Table &arprem, ArchivedRecipe &recipe)
{
    for (; !arprem.eof(); arprem.next()) {
        recipe.premixes.append({arprem.text(QStringLiteral("pit")).trimmed(),
                                arprem.text(QStringLiteral("ediz")).trimmed(),
                                arprem.number(QStringLiteral("ra"))});
    }
}

} // namespace

bool namesStandard(const QString &gost)
{
    return gost.contains(QStringLiteral("ГОСТ"), Qt::CaseInsensitive);
}

QString purposeText(const QString &nasn)
{
    const bool named = nasn.contains(QStringLiteral("ДЛЯ")) ||
                       nasn.contains(QStringLiteral("Для")) || nasn.contains(QStringLiteral("для"));
    return named ? nasn : QStringLiteral("Для ") + nasn;
}

ArchivedRecipe readArchivedRecipe(store::Table &arkk, store::Table &arsir, store::Table &arpit,
                                  store::Table &arprem, int number, bool *found)
{
    ArchivedRecipe recipe;
    recipe.arnom = number;
    for (store::Table *table : {&arkk, &arsir, &arpit, &arprem})
        filterToRecipe(*table, number);
    const bool haveHead = !arkk.isEmpty();
    if (found)
        *found = haveHead;
    if (!haveHead)
        return recipe;
    readHead(arkk, recipe);
    readRaws(arsir, recipe);
    readChars(arpit, recipe);
    readPremixes(arprem, recipe);
    for (store::Table *table : {&arsir, &arpit, &arprem})
        table->first();
    recipe.ratios = archivedRatios(recipe, QFileInfo(arkk.fileName()).path());
    return recipe;
}

} // namespace archive
