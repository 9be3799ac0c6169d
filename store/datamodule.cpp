#include "store/datamodule.h"

#include "store/datafiles.h"

namespace store
{

namespace
{

TDataModule2 *current = nullptr;

const QString orderIndex = QStringLiteral("order");

int countMarked(Table &table, const QString &field)
{
    int count = 0;
    for (table.first(); !table.eof(); table.next()) {
        if (table.text(field) == QLatin1String("+"))
            ++count;
    }
    return count;
}

} // namespace

TDataModule2 *dataModule()
{
    return current;
}

TDataModule2::TDataModule2(const QString &dataDirectory)
    : Table1(QStringLiteral("Table1")), Table2(QStringLiteral("Table2")),
      Table3(QStringLiteral("Table3")), Table4(QStringLiteral("Table4")),
      Table5(QStringLiteral("Table5")), Table6(QStringLiteral("Table6")),
      Table7(QStringLiteral("Table7")), Table8(QStringLiteral("Table8")),
      Table9(QStringLiteral("Table9")), Table10(QStringLiteral("Table10")),
      dataDirectory_(dataDirectory)
{
    setObjectName(QStringLiteral("DataModule2"));
    const QList<Table *> all = tables();
    for (int i = 0; i < tableFileNames().size(); ++i)
        all[i]->setFileName(filePath(tableFileNames().at(i)));
    for (Table *list : {&Table1, &Table2, &Table3}) {
        list->defineIndex({orderIndex, QStringLiteral("order")});
        // The master lists are fixed pools: an insert from any grid is taken back at once.
        connect(list, &Table::afterInsert, list, &Table::cancel);
    }
    Table4.defineIndex({QStringLiteral("si"), QStringLiteral("kods")});
    current = this;
}

TDataModule2::~TDataModule2()
{
    if (current == this)
        current = nullptr;
}

std::unique_ptr<TDataModule2> TDataModule2::create(const QString &dataDirectory, QString *error)
{
    std::unique_ptr<TDataModule2> module(new TDataModule2(dataDirectory));
    try {
        module->openAtCreation();
    } catch (const TableError &e) {
        if (error)
            *error = e.message();
        return nullptr;
    }
    return module;
}

void TDataModule2::openAtCreation()
{
    for (Table *table : {&Table5, &Table6, &Table7, &Table8, &Table9})
        table->open();
    if (Table5.isEmpty())
        throw TableError(QStringLiteral("Таблица %1 повреждена: в ней нет записи со счетчиками")
                             .arg(Table5.fileName()));
    for (const char *field : {"pit", "KK", "sir", "arhnom"}) {
        if (!Table5.hasField(QLatin1String(field)))
            throw TableError(QStringLiteral("В таблице %1 нет поля %2")
                                 .arg(Table5.fileName(), QLatin1String(field)));
    }
}

QString TDataModule2::filePath(const QString &fileName) const
{
    return dataDirectory_.isEmpty() ? fileName : dataDirectory_ + QLatin1Char('/') + fileName;
}

QList<Table *> TDataModule2::tables()
{
    return {&Table1, &Table2, &Table3, &Table4, &Table5,
            &Table6, &Table7, &Table8, &Table9, &Table10};
}

void TDataModule2::setNormalState()
{
    const int counts[] = {pitCount(), kkCount(), sirCount()};
    Table *lists[] = {&Table1, &Table2, &Table3};
    for (int i = 0; i < 3; ++i) {
        Table &list = *lists[i];
        list.close();
        list.setFiltered(false);
        list.setFilter(QString());
        list.setIndexName(orderIndex);
        list.open();
        list.setRange(1, counts[i]);
        list.first();
    }
}

void TDataModule2::countSelected()
{
    selectedFeedCount = countMarked(Table2, QStringLiteral("ot"));
    selectedRawCount = countMarked(Table3, QStringLiteral("ot"));
    Table3.first();
}

int TDataModule2::orderValue(const char *field) const
{
    return Table5.integer(QLatin1String(field));
}

void TDataModule2::setOrderValue(const char *field, int value)
{
    Table5.setValue(QLatin1String(field), value);
    Table5.post();
}

int TDataModule2::pitCount() const
{
    return orderValue("pit");
}

int TDataModule2::kkCount() const
{
    return orderValue("KK");
}

int TDataModule2::sirCount() const
{
    return orderValue("sir");
}

int TDataModule2::lastArchiveNumber() const
{
    return orderValue("arhnom");
}

void TDataModule2::setPitCount(int count)
{
    setOrderValue("pit", count);
}

void TDataModule2::setKkCount(int count)
{
    setOrderValue("KK", count);
}

void TDataModule2::setSirCount(int count)
{
    setOrderValue("sir", count);
}

void TDataModule2::setLastArchiveNumber(int number)
{
    setOrderValue("arhnom", number);
}

} // namespace store
