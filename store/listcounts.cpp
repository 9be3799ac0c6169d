#include "store/listcounts.h"

#include "store/table.h"

#include <cmath>

namespace store
{

namespace
{

struct CountedList {
    const char *field; // in order.dbf
    const char *file;  // the pool it counts
    const char *what;  // for the message
    int lowest;
};

const CountedList kLists[] = {
    {"pit", "pit.dbf", "характеристик питательности", 1},
    {"KK", "kk.dbf", "типов комбикормов", 0},
    {"sir", "sir.dbf", "сырья", 0},
};

int poolSize(const QString &path)
{
    Table pool;
    pool.setFileName(path);
    pool.open();
    const int size = pool.viewCount();
    pool.close();
    return size;
}

QString countProblem(const Table &order, const CountedList &list, const QString &dir)
{
    const QString field = QLatin1String(list.field);
    const QVariant value = order.value(field);
    bool whole = false;
    const double number = value.toDouble(&whole);
    const QString head = QStringLiteral("Таблица %1/order.dbf повреждена: число записей в списке "
                                        "%2 (поле %3) ")
                             .arg(dir, QString::fromUtf8(list.what), field);
    if (!value.isValid() || !whole || !std::isfinite(number) || std::trunc(number) != number)
        return head + QStringLiteral("не задано или не читается как целое число.");
    const int pool = poolSize(dir + QLatin1Char('/') + QLatin1String(list.file));
    if (number < list.lowest || number > pool)
        return head + QStringLiteral("равно %1, а должно быть от %2 до %3.")
                          .arg(QString::number(number, 'g', 12))
                          .arg(list.lowest)
                          .arg(pool);
    return {};
}

} // namespace

QString listCountsProblem(const QString &dataDirectory)
{
    try {
        Table order;
        order.setFileName(dataDirectory + QStringLiteral("/order.dbf"));
        order.open();
        if (order.isEmpty())
            return QStringLiteral("Таблица %1 повреждена: в ней нет записи со счетчиками")
                .arg(order.fileName());
        for (const CountedList &list : kLists) {
            if (!order.hasField(QLatin1String(list.field)))
                return QStringLiteral("В таблице %1 нет поля %2")
                    .arg(order.fileName(), QLatin1String(list.field));
            const QString problem = countProblem(order, list, dataDirectory);
            if (!problem.isEmpty())
                return problem;
        }
    } catch (const TableError &error) {
        return error.message();
    }
    return {};
}

} // namespace store
