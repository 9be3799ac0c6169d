#include "lists/window/highlightsearch.h"

#include "lists/window/selectionkey.h"
#include "store/highlight.h"
#include "widgets/message.h"

namespace lists
{

bool searchByKey(QWidget *window, const std::function<int(const QString &key)> &search)
{
    const QString key = SelectionKeyDialog::ask(window);
    if (!store::isSearchKey(key))
        return false;
    int matches = 0;
    const bool done =
        widgets::runReporting(window, [&search, &key, &matches] { matches = search(key); });
    // After a table error the search has not told how many records match.
    if (done && matches == 0)
        widgets::showMessage(window, QStringLiteral("Записей, соответствующих ключу, нет..."));
    return true;
}

bool highlightByKey(QWidget *window, store::Table &list, const QStringList &fields)
{
    return searchByKey(window, [&list, &fields](const QString &key) {
        return store::highlightRecords(list, key, fields);
    });
}

} // namespace lists
