#include "demosource.h"

#include "sourcetable.h"

#include <QDir>
#include <QSet>

QStringList instructionFiles()
{
    return {QStringLiteral("pit.txt"),   QStringLiteral("sir.txt"),   QStringLiteral("kk.txt"),
            QStringLiteral("ras.txt"),   QStringLiteral("smes.txt"),  QStringLiteral("arh.txt"),
            QStringLiteral("param.txt"), QStringLiteral("rezerv.txt")};
}

namespace
{

void checkWidth(const SourceTable &table, const SourceRow &row, const QString &text, int width)
{
    if (text.size() > width)
        table.fail(row, QStringLiteral("«%1» длиннее %2 знаков").arg(text).arg(width));
}

// Position of name in names; fails naming the row when it is not there.
int positionOf(const QStringList &names, const QString &name, const SourceTable &table,
               const SourceRow &row)
{
    const int index = int(names.indexOf(name));
    if (index < 0)
        table.fail(row, QStringLiteral("неизвестное наименование «%1»").arg(name));
    return index;
}

QList<Characteristic> loadCharacteristics(const QString &dir)
{
    const SourceTable table = SourceTable::read(dir + QStringLiteral("/characteristics.csv"));
    const int key = table.column(QStringLiteral("key"));
    const int name = table.column(QStringLiteral("name"));
    const int unit = table.column(QStringLiteral("unit"));
    QList<Characteristic> list;
    QSet<int> keys;
    for (const SourceRow &row : table.rows()) {
        Characteristic c{int(table.number(row, key)), table.text(row, name), table.text(row, unit)};
        if (c.key < 1 || c.key > characteristicPool || keys.contains(c.key))
            table.fail(row, QStringLiteral("ключ %1 вне 1..65 или повторен").arg(c.key));
        if (list.isEmpty() && c.key != 1)
            table.fail(row, QStringLiteral("первой должна стоять цена с ключом 1"));
        checkWidth(table, row, c.name, 20);
        checkWidth(table, row, c.unit, 12);
        keys.insert(c.key);
        list.append(c);
    }
    if (list.isEmpty() || list.size() > characteristicPool)
        failWith(QStringLiteral("characteristics.csv: нужно от 1 до 65 характеристик"));
    return list;
}

QStringList characteristicNames(const QList<Characteristic> &list)
{
    QStringList names;
    for (const Characteristic &c : list)
        names.append(c.name);
    return names;
}

QList<RawMaterial> loadRaws(const QString &dir, const QStringList &charNames)
{
    const SourceTable table = SourceTable::read(dir + QStringLiteral("/raw-materials.csv"));
    const int naim = table.column(QStringLiteral("naim"));
    const int prem = table.column(QStringLiteral("prem"));
    QList<int> columnOf(charNames.size(), -1);
    for (int c = 0; c < table.header().size(); ++c) {
        if (c == naim || c == prem)
            continue;
        const int q = int(charNames.indexOf(table.header().at(c)));
        if (q < 0)
            failWith(QStringLiteral("raw-materials.csv: колонка «%1» не характеристика")
                         .arg(table.header().at(c)));
        columnOf[q] = c;
    }
    QList<RawMaterial> list;
    QSet<QString> names;
    for (const SourceRow &row : table.rows()) {
        RawMaterial raw;
        raw.name = table.text(row, naim);
        raw.premix = !table.text(row, prem).isEmpty();
        checkWidth(table, row, raw.name, 30);
        if (raw.name.isEmpty() || names.contains(raw.name))
            table.fail(row, QStringLiteral("пустое или повторное наименование"));
        names.insert(raw.name);
        for (int q = 0; q < charNames.size(); ++q) {
            bool blank = true;
            const double v = columnOf[q] < 0 ? 0 : table.number(row, columnOf[q], &blank);
            raw.contents.append(blank ? Cell() : Cell(v));
        }
        list.append(raw);
    }
    if (list.size() > listPool)
        failWith(QStringLiteral("raw-materials.csv: больше 400 видов сырья"));
    return list;
}

QList<FeedType> loadFeeds(const QString &dir, int charCount)
{
    const SourceTable table = SourceTable::read(dir + QStringLiteral("/feed-types.csv"));
    const int tip = table.column(QStringLiteral("tip"));
    const int gost = table.column(QStringLiteral("gost"));
    const int nds = table.column(QStringLiteral("nds"));
    const int nasn = table.column(QStringLiteral("nasn"));
    QList<FeedType> list;
    QSet<QString> tips;
    for (const SourceRow &row : table.rows()) {
        FeedType feed{table.text(row, tip),
                      table.text(row, gost),
                      table.text(row, nasn),
                      table.number(row, nds),
                      QList<Cell>(charCount),
                      QList<Cell>(charCount),
                      false,
                      Cell()};
        checkWidth(table, row, feed.tip, 10);
        checkWidth(table, row, feed.gost, 10);
        checkWidth(table, row, feed.purpose, 122);
        if (feed.tip.isEmpty() || tips.contains(feed.tip))
            table.fail(row, QStringLiteral("пустой или повторный тип"));
        tips.insert(feed.tip);
        list.append(feed);
    }
    if (list.size() > listPool)
        failWith(QStringLiteral("feed-types.csv: больше 400 типов комбикормов"));
    return list;
}

QStringList feedTips(const QList<FeedType> &feeds)
{
    QStringList tips;
    for (const FeedType &f : feeds)
        tips.append(f.tip);
    return tips;
}

QStringList rawNames(const QList<RawMaterial> &raws)
{
    QStringList names;
    for (const RawMaterial &r : raws)
        names.append(r.name);
    return names;
}

void loadNorms(const QString &dir, const QStringList &charNames, QList<FeedType> &feeds)
{
    const SourceTable table = SourceTable::read(dir + QStringLiteral("/feed-norms.csv"));
    const int tip = table.column(QStringLiteral("tip"));
    const int characteristic = table.column(QStringLiteral("characteristic"));
    const int min = table.column(QStringLiteral("min"));
    const int max = table.column(QStringLiteral("max"));
    const QStringList tips = feedTips(feeds);
    QSet<QString> seen;
    for (const SourceRow &row : table.rows()) {
        const int p = positionOf(tips, table.text(row, tip), table, row);
        const int q = positionOf(charNames, table.text(row, characteristic), table, row);
        const QString pair = tips.at(p) + QLatin1Char('|') + charNames.at(q);
        if (seen.contains(pair))
            table.fail(row, QStringLiteral("норма задана повторно"));
        seen.insert(pair);
        bool minBlank = true;
        bool maxBlank = true;
        const double lo = table.number(row, min, &minBlank);
        const double hi = table.number(row, max, &maxBlank);
        if (!minBlank && !maxBlank && lo > hi)
            table.fail(row, QStringLiteral("минимум больше максимума"));
        feeds[p].normMin[q] = minBlank ? Cell() : Cell(lo);
        feeds[p].normMax[q] = maxBlank ? Cell() : Cell(hi);
    }
}

QList<InclusionLimit> loadLimits(const QString &dir, const QStringList &tips,
                                 const QStringList &raws)
{
    const SourceTable table = SourceTable::read(dir + QStringLiteral("/inclusion-limits.csv"));
    const int tip = table.column(QStringLiteral("tip"));
    const int raw = table.column(QStringLiteral("raw material"));
    const int min = table.column(QStringLiteral("min"));
    const int max = table.column(QStringLiteral("max"));
    QList<InclusionLimit> list;
    QSet<QString> seen;
    for (const SourceRow &row : table.rows()) {
        InclusionLimit limit{positionOf(tips, table.text(row, tip), table, row),
                             positionOf(raws, table.text(row, raw), table, row),
                             table.number(row, min), table.number(row, max)};
        const QString pair = table.text(row, tip) + QLatin1Char('|') + table.text(row, raw);
        if (seen.contains(pair))
            table.fail(row, QStringLiteral("норма ввода задана повторно"));
        seen.insert(pair);
        if (limit.min < 0 || limit.max > 100 || (limit.max > 0 && limit.min > limit.max))
            table.fail(row, QStringLiteral("норма ввода вне 0..100 или минимум больше максимума"));
        list.append(limit);
    }
    return list;
}

QList<RatioBound> loadRatios(const QString &dir, const QStringList &tips,
                             const QStringList &charNames)
{
    const SourceTable table = SourceTable::read(dir + QStringLiteral("/ratios.csv"));
    const int tip = table.column(QStringLiteral("tip"));
    const int numerator = table.column(QStringLiteral("numerator"));
    const int denominator = table.column(QStringLiteral("denominator"));
    const int min = table.column(QStringLiteral("min"));
    const int max = table.column(QStringLiteral("max"));
    const int on = table.column(QStringLiteral("on"));
    QList<RatioBound> list;
    for (const SourceRow &row : table.rows()) {
        bool minBlank = true;
        bool maxBlank = true;
        const double lo = table.number(row, min, &minBlank);
        const double hi = table.number(row, max, &maxBlank);
        if (lo < 0 || hi < 0 || (!minBlank && !maxBlank && lo > hi))
            table.fail(row, QStringLiteral("соотношение меньше 0 или минимум больше максимума"));
        list.append({positionOf(tips, table.text(row, tip), table, row),
                     positionOf(charNames, table.text(row, numerator), table, row),
                     positionOf(charNames, table.text(row, denominator), table, row),
                     minBlank ? Cell() : Cell(lo), maxBlank ? Cell() : Cell(hi),
                     table.text(row, on) == QLatin1String("+")});
    }
    return list;
}

void loadProgramme(const QString &dir, QList<FeedType> &feeds, QList<RawMaterial> &raws)
{
    const SourceTable table = SourceTable::read(dir + QStringLiteral("/programme.csv"));
    const int kind = table.column(QStringLiteral("kind"));
    const int name = table.column(QStringLiteral("name"));
    const int tonnes = table.column(QStringLiteral("tonnes"));
    const QStringList tips = feedTips(feeds);
    const QStringList names = rawNames(raws);
    int feedCount = 0;
    int rawCount = 0;
    for (const SourceRow &row : table.rows()) {
        const double amount = table.number(row, tonnes);
        if (table.text(row, kind) == QLatin1String("feed")) {
            FeedType &feed = feeds[positionOf(tips, table.text(row, name), table, row)];
            if (feed.selected)
                table.fail(row, QStringLiteral("комбикорм отобран повторно"));
            feed.selected = true;
            feed.output = amount;
            ++feedCount;
        } else if (table.text(row, kind) == QLatin1String("raw")) {
            RawMaterial &raw = raws[positionOf(names, table.text(row, name), table, row)];
            if (raw.selected)
                table.fail(row, QStringLiteral("сырье отобрано повторно"));
            raw.selected = true;
            raw.stock = amount;
            ++rawCount;
        } else {
            table.fail(row, QStringLiteral("вид строки должен быть feed или raw"));
        }
    }
    if (feedCount > 40 || rawCount > 50)
        failWith(
            QStringLiteral("programme.csv: отобрано больше 40 комбикормов или 50 видов сырья"));
}

QStringList loadSettings(const QString &dir)
{
    const QStringList lines = readTextLines(dir + QStringLiteral("/cons.txt"));
    if (lines.size() != settingsLines)
        failWith(QStringLiteral("cons.txt: %1 строк вместо 30").arg(lines.size()));
    return lines;
}

QMap<QString, QStringList> loadInstructions(const QString &dir)
{
    QMap<QString, QStringList> texts;
    for (const QString &file : instructionFiles())
        texts.insert(file, readTextLines(dir + QStringLiteral("/instructions/") + file));
    return texts;
}

} // namespace

DemoSource DemoSource::load(const QString &dir)
{
    DemoSource source;
    source.characteristics = loadCharacteristics(dir);
    const QStringList charNames = characteristicNames(source.characteristics);
    source.raws = loadRaws(dir, charNames);
    source.feeds = loadFeeds(dir, int(charNames.size()));
    loadNorms(dir, charNames, source.feeds);
    source.limits = loadLimits(dir, feedTips(source.feeds), rawNames(source.raws));
    source.ratios = loadRatios(dir, feedTips(source.feeds), charNames);
    loadProgramme(dir, source.feeds, source.raws);
    source.settings = loadSettings(dir);
    source.instructions = loadInstructions(dir);
    return source;
}
