#include "store/datamodule.h"

#include "store/datafiles.h"
#include "store/ratiotable.h"

namespace store
{

namespace
{

DataModule *current = nullptr;

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

DataModule *dataModule()
{
    return current;
}

DataModule::DataModule(const QString &dataDirectory)
    : characteristics(QStringLiteral("characteristics")), feedTypes(QStringLiteral("feedTypes")),
      rawMaterials(QStringLiteral("rawMaterials")),
      inclusionNorms(QStringLiteral("inclusionNorms")), counters(QStringLiteral("counters")),
      archiveHeaders(QStringLiteral("archiveHeaders")),
      archiveCompositions(QStringLiteral("archiveCompositions")),
      archiveCharacteristics(QStringLiteral("archiveCharacteristics")),
      archivePremixes(QStringLiteral("archivePremixes")), ratios(QStringLiteral("ratios")),
      scratch(QStringLiteral("scratch")), dataDirectory_(dataDirectory)
{
    setObjectName(QStringLiteral("dataModule"));
    const QList<Table *> all = tables();
    for (int i = 0; i < tableFileNames().size(); ++i)
        all[i]->setFileName(filePath(tableFileNames().at(i)));
    ratios.setFileName(filePath(kRatioFileName));
    for (Table *list : {&characteristics, &feedTypes, &rawMaterials}) {
        list->defineIndex({orderIndex, QStringLiteral("order")});
        // The master lists are fixed pools: an insert from any grid is taken back at once.
        connect(list, &Table::afterInsert, list, &Table::cancel);
    }
    inclusionNorms.defineIndex({QStringLiteral("si"), QStringLiteral("kods")});
    current = this;
}

DataModule::~DataModule()
{
    if (current == this)
        current = nullptr;
}

std::unique_ptr<DataModule> DataModule::create(const QString &dataDirectory, QString *error)
{
    std::unique_ptr<DataModule> module(new DataModule(dataDirectory));
    try {
        module->openAtCreation();
    } catch (const TableError &e) {
        if (error)
            *error = e.message();
        return nullptr;
    }
    return module;
}

void DataModule::openAtCreation()
{
    for (Table *table : {&counters, &archiveHeaders, &archiveCompositions, &archiveCharacteristics,
                         &archivePremixes})
        table->open();
    if (counters.isEmpty())
        throw TableError(QStringLiteral("Таблица %1 повреждена: в ней нет записи со счетчиками")
                             .arg(counters.fileName()));
    for (const char *field : {"pit", "KK", "sir", "arhnom"}) {
        if (!counters.hasField(QLatin1String(field)))
            throw TableError(QStringLiteral("В таблице %1 нет поля %2")
                                 .arg(counters.fileName(), QLatin1String(field)));
    }
}

QString DataModule::filePath(const QString &fileName) const
{
    return dataDirectory_.isEmpty() ? fileName : dataDirectory_ + QLatin1Char('/') + fileName;
}

QList<Table *> DataModule::tables()
{
    return {&characteristics,
            &feedTypes,
            &rawMaterials,
            &inclusionNorms,
            &counters,
            &archiveHeaders,
            &archiveCompositions,
            &archiveCharacteristics,
            &archivePremixes,
            &ratios,
            &scratch};
}

QList<Table *> DataModule::dataTables()
{
    QList<Table *> all = tables();
    all.removeOne(&scratch);
    return all;
}

void DataModule::setNormalState()
{
    const int counts[] = {pitCount(), kkCount(), sirCount()};
    Table *lists[] = {&characteristics, &feedTypes, &rawMaterials};
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

void DataModule::countSelected()
{
    selectedFeedCount = countMarked(feedTypes, QStringLiteral("ot"));
    selectedRawCount = countMarked(rawMaterials, QStringLiteral("ot"));
    rawMaterials.first();
}

int DataModule::orderValue(const char *field) const
{
    return counters.integer(QLatin1String(field));
}

void DataModule::setOrderValue(const char *field, int value)
{
    counters.setValue(QLatin1String(field), value);
    counters.post();
}

int DataModule::pitCount() const
{
    return orderValue("pit");
}

int DataModule::kkCount() const
{
    return orderValue("KK");
}

int DataModule::sirCount() const
{
    return orderValue("sir");
}

int DataModule::lastArchiveNumber() const
{
    return orderValue("arhnom");
}

void DataModule::setPitCount(int count)
{
    setOrderValue("pit", count);
}

void DataModule::setKkCount(int count)
{
    setOrderValue("KK", count);
}

void DataModule::setSirCount(int count)
{
    setOrderValue("sir", count);
}

void DataModule::setLastArchiveNumber(int number)
{
    setOrderValue("arhnom", number);
}

} // namespace store
