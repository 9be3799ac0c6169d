#include "demowriter.h"

#include "archive/archivetables.h"
#include "demotables.h"
#include "sourcetable.h"
#include "store/codepage1251.h"
#include "store/ratiotable.h"
#include "store/table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

using store::Table;

namespace
{

const QString plus = QStringLiteral("+");

void setCell(Table &table, const QString &field, const Cell &cell)
{
    if (cell)
        table.setNumber(field, *cell);
}

// A new table file in dir with the given definitions, opened for appending.
void createTable(Table &table, const QString &dir, const QString &file,
                 const QList<store::FieldDef> &fields, const QList<store::IndexDef> &indexes = {})
{
    table.setFileName(dir + QLatin1Char('/') + file);
    table.create(fields, indexes);
    table.open();
}

void writePit(const DemoSource &source, const QString &dir)
{
    Table pit(QStringLiteral("pit"));
    createTable(pit, dir, QStringLiteral("pit.dbf"), demotables::pitFields(),
                demotables::orderIndex());
    QList<int> freeKeys;
    for (int key = 1; key <= characteristicPool; ++key)
        freeKeys.append(key);
    for (const Characteristic &c : source.characteristics)
        freeKeys.removeOne(c.key);
    for (int order = 1; order <= characteristicPool; ++order) {
        pit.append();
        if (order <= source.characteristics.size()) {
            const Characteristic &c = source.characteristics.at(order - 1);
            pit.setText(QStringLiteral("PIT"), c.name);
            pit.setText(QStringLiteral("EDIZ"), c.unit);
            pit.setNumber(QStringLiteral("KEY"), c.key);
        } else {
            pit.setNumber(QStringLiteral("KEY"), freeKeys.takeFirst());
        }
        pit.setNumber(QStringLiteral("order"), order);
        pit.post();
    }
    pit.close();
}

void writeFeed(Table &kk, const DemoSource &source, const FeedType &feed)
{
    kk.setText(QStringLiteral("TIP"), feed.tip);
    kk.setText(QStringLiteral("NASN"), feed.purpose);
    kk.setText(QStringLiteral("GOST"), feed.gost);
    kk.setNumber(QStringLiteral("NDS"), feed.vat);
    setCell(kk, QStringLiteral("VES"), feed.output);
    for (int q = 0; q < source.characteristics.size(); ++q) {
        const int key = source.characteristics.at(q).key;
        setCell(kk, demotables::minField(key), feed.normMin.at(q));
        setCell(kk, demotables::maxField(key), feed.normMax.at(q));
    }
    if (feed.selected)
        kk.setText(QStringLiteral("ot"), plus);
}

void writeKk(const DemoSource &source, const QString &dir)
{
    Table kk(QStringLiteral("kk"));
    createTable(kk, dir, QStringLiteral("kk.dbf"), demotables::kkFields(),
                demotables::orderIndex());
    for (int order = 1; order <= listPool; ++order) {
        kk.append();
        if (order <= source.feeds.size())
            writeFeed(kk, source, source.feeds.at(order - 1));
        kk.setNumber(QStringLiteral("kodkk"), order);
        kk.setNumber(QStringLiteral("order"), order);
        kk.post();
    }
    kk.close();
}

// The working inclusion limits that the feed-types window leaves in sir: those of the
// first feed type, 0 where it has none.
QPair<double, double> firstFeedLimits(const DemoSource &source, int raw)
{
    for (const InclusionLimit &limit : source.limits) {
        if (limit.feed == 0 && limit.raw == raw)
            return {limit.min, limit.max};
    }
    return {0, 0};
}

void writeRaw(Table &sir, const DemoSource &source, int index)
{
    const RawMaterial &raw = source.raws.at(index);
    sir.setText(QStringLiteral("NAIM"), raw.name);
    if (raw.premix)
        sir.setText(QStringLiteral("PREM"), plus);
    for (int q = 0; q < source.characteristics.size(); ++q)
        setCell(sir, demotables::minField(source.characteristics.at(q).key), raw.contents.at(q));
    setCell(sir, QStringLiteral("VES"), raw.stock);
    if (raw.selected)
        sir.setText(QStringLiteral("ot"), plus);
    const QPair<double, double> limits = firstFeedLimits(source, index);
    sir.setNumber(QStringLiteral("MINOR"), limits.first);
    sir.setNumber(QStringLiteral("MANOR"), limits.second);
}

void writeSir(const DemoSource &source, const QString &dir)
{
    Table sir(QStringLiteral("sir"));
    createTable(sir, dir, QStringLiteral("sir.dbf"), demotables::sirFields(),
                demotables::orderIndex());
    for (int order = 1; order <= listPool; ++order) {
        sir.append();
        if (order <= source.raws.size())
            writeRaw(sir, source, order - 1);
        sir.setNumber(QStringLiteral("kods"), order);
        sir.setNumber(QStringLiteral("order"), order);
        sir.post();
    }
    sir.close();
}

// kodkk and kods are the positions in the lists (the pools are numbered in list order).
void writeNorm(const DemoSource &source, const QString &dir)
{
    Table norm(QStringLiteral("norm"));
    createTable(norm, dir, QStringLiteral("norm.dbf"), demotables::normFields(),
                demotables::normIndex());
    for (const InclusionLimit &limit : source.limits) {
        norm.append();
        norm.setNumber(QStringLiteral("kodkk"), limit.feed + 1);
        norm.setNumber(QStringLiteral("kods"), limit.raw + 1);
        norm.setNumber(QStringLiteral("min"), limit.min);
        norm.setNumber(QStringLiteral("max"), limit.max);
        norm.post();
    }
    norm.close();
}

// kodkk is the feed type's position, K1 and K2 the characteristics' KEYs.
void writeRatios(const DemoSource &source, const QString &dir)
{
    const QString path = dir + QLatin1Char('/') + store::kRatioFileName;
    store::createRatioTable(path);
    Table ratio(QStringLiteral("ratio"));
    ratio.setFileName(path);
    ratio.open();
    for (const RatioBound &r : source.ratios) {
        ratio.append();
        ratio.setNumber(QStringLiteral("KODKK"), r.feed + 1);
        ratio.setNumber(QStringLiteral("K1"), source.characteristics.at(r.numerator).key);
        ratio.setNumber(QStringLiteral("K2"), source.characteristics.at(r.denominator).key);
        setCell(ratio, QStringLiteral("RMIN"), r.min);
        setCell(ratio, QStringLiteral("RMAX"), r.max);
        if (r.on)
            ratio.setText(QStringLiteral("ON"), plus);
        ratio.post();
    }
    ratio.close();
}

void writeOrder(const DemoSource &source, const QString &dir)
{
    Table order(QStringLiteral("order"));
    createTable(order, dir, QStringLiteral("order.dbf"), demotables::orderFields());
    order.append();
    order.setNumber(QStringLiteral("pit"), double(source.characteristics.size()));
    order.setNumber(QStringLiteral("KK"), double(source.feeds.size()));
    order.setNumber(QStringLiteral("sir"), double(source.raws.size()));
    order.setNumber(QStringLiteral("arhnom"), 0);
    order.post();
    order.close();
}

// Lines in code page 1251, each ended by CR LF.
void writeText1251(const QString &path, const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        QByteArray encoded;
        if (!store::encode1251(line, &encoded))
            failWith(QStringLiteral("%1: строку «%2» нельзя записать в кодировке 1251")
                         .arg(QFileInfo(path).fileName(), line));
        bytes += encoded + "\r\n";
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        failWith(QStringLiteral("Не удается записать %1: %2").arg(path, file.errorString()));
}

void writeTexts(const DemoSource &source, const QString &dir)
{
    writeText1251(dir + QStringLiteral("/cons.txt"), source.settings);
    for (auto it = source.instructions.cbegin(); it != source.instructions.cend(); ++it)
        writeText1251(dir + QLatin1Char('/') + it.key(), it.value());
}

void writeAll(const DemoSource &source, const QString &dir)
{
    writePit(source, dir);
    writeKk(source, dir);
    writeSir(source, dir);
    writeNorm(source, dir);
    writeOrder(source, dir);
    writeRatios(source, dir);
    archive::createArchiveTables(dir);
    writeTexts(source, dir);
}

} // namespace

void writeDemoData(const DemoSource &source, const QString &dir)
{
    const QString target = QDir::cleanPath(QDir(dir).absolutePath());
    const QString fresh = target + QStringLiteral(".new");
    QDir(fresh).removeRecursively();
    if (!QDir().mkpath(fresh))
        failWith(QStringLiteral("Не удается создать папку %1").arg(fresh));
    writeAll(source, fresh);
    if (QFileInfo::exists(target) && !QDir(target).removeRecursively())
        failWith(QStringLiteral("Не удается убрать старую папку %1").arg(target));
    if (!QDir().rename(fresh, target))
        failWith(QStringLiteral("Не удается переименовать %1 в %2").arg(fresh, target));
}
