#pragma once

// The highlight search as the list windows run it from their "Выделить" buttons: the
// key asked in the selection key dialog (SelectionKeyDialog), the search, and the message
// "Записей, соответствующих ключу, нет..." when nothing matched.

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace store
{
class Table;
}

namespace lists
{

// Asks for the key over window. A key that trims to nothing: false, nothing searched.
// Otherwise runs search(key), which returns the number of matches, tells the user when
// nothing matched and returns true. A table error ends the search and is shown instead.
bool searchByKey(QWidget *window, const std::function<int(const QString &key)> &search);

// The plain search: the records of list whose fields hold the key are highlighted.
bool highlightByKey(QWidget *window, store::Table &list, const QStringList &fields);

} // namespace lists
