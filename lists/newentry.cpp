#include "lists/newentry.h"

#include "lists/feedratios.h"
#include "store/cursorstate.h"
#include "store/datamodule.h"
#include "store/datasourceoff.h"

#include <QFileInfo>

#include <functional>

namespace lists
{

namespace
{

void clearIfPresent(store::Table &table, const QString &field)
{
    if (table.hasField(field) && !table.isBlank(field))
        table.setBlank(field);
}

// Blanks the fields in every record of the list's view (range kept, filter switched off
// for the walk), then finds the current record again.
void clearInWholeList(store::Table &list, const QStringList &fields)
{
    if (!list.isOpen())
        return;
    store::DataSourceOff off(list);
    store::CursorStateGuard keep(list);
    list.setFiltered(false);
    for (list.first(); !list.eof(); list.next()) {
        for (const QString &field : fields)
            clearIfPresent(list, field);
    }
    list.post();
}

// min and max of every norm record of the entry (kods or kodkk = key) become empty; the
// norm cursor keeps its filter, position and open state.
void clearNormRecords(store::Table &norm, const QString &keyField, int key)
{
    const bool wasOpen = norm.isOpen();
    if (!wasOpen)
        norm.open();
    {
        store::CursorStateGuard keep(norm);
        norm.setFilter(keyField + QLatin1Char('=') + QString::number(key));
        norm.setFiltered(true);
        for (norm.first(); !norm.eof(); norm.next()) {
            clearIfPresent(norm, QStringLiteral("min"));
            clearIfPresent(norm, QStringLiteral("max"));
        }
        norm.post();
    }
    norm.flush();
    if (!wasOpen)
        norm.close();
}

// The ratios that name a characteristic whose slot is taken again go out of force
// (switched off, not deleted: the user may want the bounds back with another
// characteristic). Nothing to do without ratio.dbf; the cursor keeps its filter,
// position and open state.
void switchOffRatios(store::Table &ratios, const std::function<bool(store::Table &)> &concerned)
{
    if (!QFileInfo::exists(ratios.fileName()))
        return;
    const bool wasOpen = ratios.isOpen();
    if (!wasOpen)
        ratios.open();
    {
        store::CursorStateGuard keep(ratios);
        ratios.setFiltered(false);
        for (ratios.first(); !ratios.eof(); ratios.next()) {
            if (concerned(ratios))
                clearIfPresent(ratios, QStringLiteral("ON"));
        }
        ratios.post();
    }
    ratios.flush();
    if (!wasOpen)
        ratios.close();
}

void clearCurrent(store::Table &list, const QStringList &fields)
{
    for (const QString &field : fields)
        clearIfPresent(list, field);
    list.post();
}

QStringList characteristicFields(bool withMaxima)
{
    QStringList fields;
    for (int key = 1; key <= 65; ++key) {
        fields << QStringLiteral("MI") + QString::number(key);
        if (withMaxima)
            fields << QStringLiteral("MA") + QString::number(key);
    }
    return fields;
}

} // namespace

void clearCharacteristicColumns(store::DataModule &dm, int key)
{
    const QString mi = QStringLiteral("MI") + QString::number(key);
    const QString ma = QStringLiteral("MA") + QString::number(key);
    clearInWholeList(dm.feedTypes, {mi, ma});
    clearInWholeList(dm.rawMaterials, {mi});
    switchOffRatios(dm.ratios, [key](store::Table &r) {
        return r.integer(QStringLiteral("K1")) == key || r.integer(QStringLiteral("K2")) == key;
    });
}

void clearNewRawMaterial(store::DataModule &dm)
{
    store::Table &sir = dm.rawMaterials;
    if (sir.isEmpty())
        return;
    clearCurrent(sir, characteristicFields(false) +
                          QStringList{"ot", "vibor", "vib", "PREM", "VES", "MINOR", "MANOR"});
    clearNormRecords(dm.inclusionNorms, QStringLiteral("kods"),
                     sir.integer(QStringLiteral("kods")));
}

void clearNewFeedType(store::DataModule &dm)
{
    store::Table &kk = dm.feedTypes;
    if (kk.isEmpty())
        return;
    clearCurrent(kk, characteristicFields(true) + QStringList{"ot", "vibor", "vib", "VES"});
    const int kodkk = kk.integer(QStringLiteral("kodkk"));
    clearNormRecords(dm.inclusionNorms, QStringLiteral("kodkk"), kodkk);
    writeFeedRatios(dm.ratios, kodkk, {}); // the slot's old ratios freed
}

} // namespace lists
