#include "lists/selection.h"

#include "store/datasourceoff.h"
#include "store/table.h"

namespace lists
{

namespace
{

const QString otField = QStringLiteral("ot");
const QString plus = QStringLiteral("+");

bool isSelected(const store::Table &list)
{
    return list.text(otField).trimmed() == plus;
}

} // namespace

int countSelected(store::Table &list)
{
    store::DataSourceOff off(list);
    int count = 0;
    for (list.first(); !list.eof(); list.next())
        count += isSelected(list) ? 1 : 0;
    list.first();
    return count;
}

QString toggleSelection(store::Table &list, int &count, int limit, const QString &refusal)
{
    if (list.isEmpty())
        return {};
    if (!isSelected(list)) {
        if (count >= limit)
            return refusal + QString::number(count) + QLatin1Char('.');
        list.setText(otField, plus);
        list.setNumber(QStringLiteral("VES"), 0);
        list.post();
        ++count;
        return {};
    }
    list.setText(otField, QString());
    list.post();
    count = std::max(0, count - 1);
    return {};
}

void clearAllSelections(store::Table &list)
{
    const int current = list.isEmpty() ? 0 : list.integer(QStringLiteral("order"));
    store::DataSourceOff off(list);
    list.setFilter(QString());
    list.setFiltered(false);
    for (list.first(); !list.eof(); list.next()) {
        if (!list.isBlank(otField))
            list.setText(otField, QString());
    }
    list.post();
    if (!list.findKey(current))
        list.first();
}

} // namespace lists
