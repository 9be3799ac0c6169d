#include "store/highlight.h"

#include "store/datasourceoff.h"
#include "store/table.h"

namespace store
{

namespace
{

const QString viborField = QStringLiteral("vibor");
const QString orderField = QStringLiteral("order");

bool matchesAny(const Table &table, const QString &key, const QStringList &fields)
{
    for (const QString &field : fields) {
        if (keyOccursIn(key, table.text(field)))
            return true;
    }
    return false;
}

} // namespace

bool isSearchKey(const QString &key)
{
    return !key.trimmed().isEmpty();
}

bool keyOccursIn(const QString &key, const QString &text)
{
    return text.toUpper().contains(key.toUpper());
}

QString highlightFilterAfter(const QString &currentFilter)
{
    if (currentFilter.contains(highlightFilterText))
        return currentFilter;
    if (currentFilter.contains(QStringLiteral("ot=")))
        return currentFilter + QStringLiteral(" and ") + highlightFilterText;
    return highlightFilterText;
}

bool hasHighlight(const Table &table)
{
    return table.filter().contains(QStringLiteral("vibor="));
}

int highlightRecords(Table &table, const QString &key, const QStringList &fields)
{
    if (!isSearchKey(key))
        return 0;
    DataSourceOff off(table);
    cancelHighlight(table);
    int matches = 0;
    for (table.first(); !table.eof(); table.next()) {
        const bool match = matchesAny(table, key, fields);
        table.setText(viborField, match ? QStringLiteral("+") : QString());
        table.post();
        matches += match ? 1 : 0;
    }
    table.first();
    if (matches > 0) {
        table.setFilter(highlightFilterAfter(table.filter()));
        table.setFiltered(true);
        table.first();
    }
    return matches;
}

bool cancelHighlight(Table &table)
{
    if (!hasHighlight(table))
        return false;
    const int order = table.isEmpty() ? 0 : table.integer(orderField);
    if (table.filter().contains(selectionFilterText)) {
        table.setFilter(selectionFilterText);
        table.setFiltered(true);
    } else {
        table.setFilter(QString());
        table.setFiltered(false);
    }
    table.findKey(order);
    return true;
}

} // namespace store
