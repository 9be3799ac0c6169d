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

int currentOrder(const store::Table &list)
{
    return list.isEmpty() ? 0 : list.integer(QStringLiteral("order"));
}

void dropFilter(store::Table &list)
{
    list.setFilter(QString());
    list.setFiltered(false);
}

void findAgain(store::Table &list, int order)
{
    if (!list.findKey(order))
        list.first();
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

QString selectAll(store::Table &list, int &count, int limit, const QString &entries)
{
    const int current = currentOrder(list);
    store::DataSourceOff off(list);
    dropFilter(list);
    const int size = list.viewCount();
    if (size <= limit) {
        for (list.first(); !list.eof(); list.next()) {
            if (isSelected(list))
                continue;
            list.setText(otField, plus);
            list.setNumber(QStringLiteral("VES"), 0);
        }
        list.post();
        count = size;
    }
    findAgain(list, current);
    if (size <= limit)
        return {};
    return QStringLiteral("Отметить все нельзя: к расчету отбирается не более %1 %2, а в списке "
                          "их %3. Ничего не отмечено: отметьте нужные по одному.")
        .arg(limit)
        .arg(entries)
        .arg(size);
}

void clearAllSelections(store::Table &list)
{
    const int current = currentOrder(list);
    store::DataSourceOff off(list);
    dropFilter(list);
    for (list.first(); !list.eof(); list.next()) {
        if (!list.isBlank(otField))
            list.setText(otField, QString());
    }
    list.post();
    findAgain(list, current);
}

} // namespace lists
