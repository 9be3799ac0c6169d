#include "archive/recipeselection.h"

#include "archive/archiveview.h"
#include "store/cursorstate.h"
#include "store/datasourceoff.h"
#include "store/table.h"

#include <QLocale>

namespace archive
{

namespace
{

bool headHolds(const store::Table &arkk, const QString &upperKey)
{
    const QLocale locale;
    for (const char *field : {"nasn", "prim", "naim"}) {
        if (locale.toUpper(arkk.text(QLatin1String(field))).contains(upperKey))
            return true;
    }
    return false;
}

void setMark(store::Table &arkk, bool marked)
{
    const QString mark = marked ? QStringLiteral("+") : QString();
    if (arkk.text(QStringLiteral("vibor")).trimmed() == mark)
        return;
    arkk.edit();
    arkk.setValue(QStringLiteral("vibor"), mark);
    arkk.post();
}

} // namespace

std::optional<int> selectByKey(store::Table &arkk, const QString &key)
{
    if (key.trimmed().isEmpty())
        return std::nullopt;
    const QString upperKey = QLocale().toUpper(key);
    const store::DataSourceOff off(arkk);
    store::CursorStateGuard keep(arkk);
    arkk.setFilter(kAllRecipesFilter);
    arkk.setFiltered(true);
    int matched = 0;
    for (arkk.first(); !arkk.eof(); arkk.next()) {
        const bool hit = headHolds(arkk, upperKey);
        setMark(arkk, hit);
        matched += hit ? 1 : 0;
    }
    if (matched > 0)
        arkk.setFilter(kSelectedRecipesFilter);
    arkk.first();
    keep.dismiss();
    return matched;
}

void cancelSelection(store::Table &arkk)
{
    arkk.setFilter(kAllRecipesFilter);
    arkk.setFiltered(true);
}

void clearOutput(store::Table &arkk)
{
    const store::DataSourceOff off(arkk);
    store::CursorStateGuard keep(arkk);
    for (arkk.first(); !arkk.eof(); arkk.next()) {
        arkk.edit();
        arkk.setValue(QStringLiteral("ves"), 0);
        arkk.post();
    }
    arkk.first();
    keep.dismiss();
}

} // namespace archive
