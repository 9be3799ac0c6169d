#pragma once

// A small data directory for the calculation tests, written through store::Table, and
// the cursors over it as the calculation window leaves them (pit over its list, kk and
// sir restricted to the selected entries). A test describes its data set readably:
//
//     CalcFixture fx;
//     const int protein = fx.characteristic("Протеин", "%");
//     fx.raw("Пшеница").content(kPrice, 100).content(protein, 12);
//     fx.feed("ПК-1", "Свиньи", 10).norm(protein, 14, 16).limit("Пшеница", 0, 80);
//     calc::CalcTables tables = fx.open();
//
// Characteristic 1 is the price; contents, norms and limits are given per KEY and per
// raw-material name. Everything is selected unless said otherwise.

#include "calc/loading.h"
#include "store/ratiotable.h"
#include "store/table.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>

namespace calctest
{

inline constexpr int kPrice = 1; // KEY of the price characteristic

struct FixtureRaw {
    QString name;
    int kods = 0;
    double stock = 0; // 0: unlimited
    bool selected = true;
    bool fullUse = false;
    QString prem;
    QMap<int, double> contents; // KEY -> content

    FixtureRaw &content(int key, double value)
    {
        contents[key] = value;
        return *this;
    }
    FixtureRaw &withStock(double tonnes)
    {
        stock = tonnes;
        return *this;
    }
    FixtureRaw &usedUp()
    {
        fullUse = true;
        return *this;
    }
    FixtureRaw &unselected()
    {
        selected = false;
        return *this;
    }
};

struct FixtureLimit {
    QString raw;
    double min = 0;
    double max = 0;
};

// A record of ratio.dbf: characteristics by KEY, bounds as stored (0: none).
struct FixtureRatio {
    int numerator = 0;
    int denominator = 0;
    double min = 0;
    double max = 0;
    bool on = true;
};

struct FixtureFeed {
    QString type;
    QString purpose;
    double output = 0;
    int kodkk = 0;
    double vat = 0;
    bool selected = true;
    bool current = false;
    QMap<int, QPair<double, double>> norms; // KEY -> (MI, MA)
    QList<FixtureLimit> limits;
    QList<FixtureRatio> ratios;

    FixtureFeed &ratio(int numerator, int denominator, double min, double max, bool on = true)
    {
        ratios.append({numerator, denominator, min, max, on});
        return *this;
    }
    FixtureFeed &norm(int key, double min, double max)
    {
        norms[key] = {min, max};
        return *this;
    }
    FixtureFeed &price(double min, double max) { return norm(kPrice, min, max); }
    FixtureFeed &limit(const QString &raw, double min, double max)
    {
        limits.append({raw, min, max});
        return *this;
    }
    FixtureFeed &withVat(double percent)
    {
        vat = percent;
        return *this;
    }
    FixtureFeed &markedCurrent()
    {
        current = true;
        return *this;
    }
    FixtureFeed &unselected()
    {
        selected = false;
        return *this;
    }
};

class CalcFixture final
{
public:
    CalcFixture() { characteristic(QStringLiteral("Цена"), QStringLiteral("руб")); }
    explicit CalcFixture(const QString &directory) : dir_(directory)
    {
        characteristic(QStringLiteral("Цена"), QStringLiteral("руб"));
    }

    QString directory() const { return dir_.isEmpty() ? temp_.path() : dir_; }
    QString path(const QString &file) const { return directory() + u'/' + file; }

    // A characteristic in list order; returns its KEY. KEYs run 1, 2, ... unless given.
    int characteristic(const QString &name, const QString &unit, int key = 0)
    {
        chars_.append({name, unit, key > 0 ? key : int(chars_.size()) + 1});
        return chars_.last().key;
    }
    FixtureRaw &raw(const QString &name)
    {
        FixtureRaw r;
        r.name = name;
        r.kods = int(raws_.size()) + 101;
        raws_.append(r);
        return raws_.last();
    }
    FixtureFeed &feed(const QString &type, const QString &purpose, double output)
    {
        FixtureFeed f;
        f.type = type;
        f.purpose = purpose;
        f.output = output;
        f.kodkk = int(feeds_.size()) + 11;
        feeds_.append(f);
        return feeds_.last();
    }

    // Writes the five tables and opens the cursors over them.
    calc::CalcTables open()
    {
        write();
        return openOnly();
    }

    // Opens the cursors over tables already written (also by someone else).
    calc::CalcTables openOnly()
    {
        tables_.clear();
        for (const char *name : {"pit", "kk", "sir", "norm", "order", "ratio"}) {
            auto table = std::make_unique<store::Table>(QString::fromLatin1(name));
            table->setFileName(path(QString::fromLatin1(name) + QStringLiteral(".dbf")));
            tables_.push_back(std::move(table));
        }
        tables_[3]->defineIndex({QStringLiteral("si"), QStringLiteral("kods")});
        tables_[4]->open();
        tables_[4]->first();
        const int counts[] = {tables_[4]->integer(QStringLiteral("pit")),
                              tables_[4]->integer(QStringLiteral("KK")),
                              tables_[4]->integer(QStringLiteral("sir"))};
        for (int t = 0; t < 3; ++t) {
            store::Table &table = *tables_[t];
            table.defineIndex({QStringLiteral("order"), QStringLiteral("order")});
            table.open();
            table.setIndexName(QStringLiteral("order"));
            table.setRange(1, counts[t]);
            if (t > 0) {
                table.setFilter(QStringLiteral("ot='+'"));
                table.setFiltered(true);
            }
            table.first();
        }
        tables_[4]->close();
        return {tables_[0].get(), tables_[1].get(), tables_[2].get(),
                tables_[3].get(), tables_[4].get(), tables_[5].get()};
    }

    void write() const
    {
        writePit();
        writeKk();
        writeSir();
        writeNorm();
        writeOrder();
        writeRatio();
    }

private:
    struct Char {
        QString name;
        QString unit;
        int key = 0;
    };

    int maxKey() const
    {
        int k = 1;
        for (const Char &c : chars_)
            k = std::max(k, c.key);
        return k;
    }

    static void fill(store::Table &table, const QList<store::FieldDef> &fields,
                     const QList<QVariantMap> &rows)
    {
        table.create(fields);
        table.open();
        for (const QVariantMap &row : rows) {
            table.append();
            for (auto it = row.begin(); it != row.end(); ++it)
                table.setValue(it.key(), it.value());
            table.post();
        }
        table.close();
    }

    static store::FieldDef number(const QString &name, int width = 16, int decimals = 6)
    {
        return {name, 'N', width, decimals};
    }
    static store::FieldDef text(const QString &name, int width) { return {name, 'C', width, 0}; }
    static QString flag(bool on) { return on ? QStringLiteral("+") : QString(); }

    QList<store::FieldDef> valueFields(bool withMaxima) const
    {
        QList<store::FieldDef> fields;
        for (int k = 1; k <= maxKey(); ++k)
            fields << number(QStringLiteral("MI") + QString::number(k));
        if (withMaxima)
            for (int k = 1; k <= maxKey(); ++k)
                fields << number(QStringLiteral("MA") + QString::number(k));
        return fields;
    }

    void writePit() const
    {
        store::Table table;
        table.setFileName(path(QStringLiteral("pit.dbf")));
        QList<QVariantMap> rows;
        for (int q = 0; q < chars_.size(); ++q)
            rows.append({{QStringLiteral("PIT"), chars_[q].name},
                         {QStringLiteral("EDIZ"), chars_[q].unit},
                         {QStringLiteral("KEY"), chars_[q].key},
                         {QStringLiteral("order"), q + 1}});
        fill(table,
             {text(QStringLiteral("PIT"), 30), text(QStringLiteral("EDIZ"), 12),
              number(QStringLiteral("KEY"), 3, 0), number(QStringLiteral("order"), 5, 0)},
             rows);
    }

    void writeKk() const
    {
        store::Table table;
        table.setFileName(path(QStringLiteral("kk.dbf")));
        QList<store::FieldDef> fields{
            text(QStringLiteral("TIP"), 10), text(QStringLiteral("NASN"), 200),
            text(QStringLiteral("GOST"), 10), number(QStringLiteral("NDS"), 7, 2),
            number(QStringLiteral("VES"), 14, 3)};
        fields << valueFields(true);
        fields << number(QStringLiteral("kodkk"), 5, 0) << number(QStringLiteral("order"), 5, 0)
               << text(QStringLiteral("ot"), 1) << text(QStringLiteral("vibor"), 1)
               << text(QStringLiteral("vib"), 1);
        QList<QVariantMap> rows;
        for (int p = 0; p < feeds_.size(); ++p) {
            const FixtureFeed &f = feeds_[p];
            QVariantMap row{{QStringLiteral("TIP"), f.type},
                            {QStringLiteral("NASN"), f.purpose},
                            {QStringLiteral("GOST"), QStringLiteral("ГОСТ 1")},
                            {QStringLiteral("NDS"), f.vat},
                            {QStringLiteral("VES"), f.output},
                            {QStringLiteral("kodkk"), f.kodkk},
                            {QStringLiteral("order"), p + 1},
                            {QStringLiteral("ot"), flag(f.selected)},
                            {QStringLiteral("vib"), flag(f.current)}};
            for (auto it = f.norms.begin(); it != f.norms.end(); ++it) {
                row[QStringLiteral("MI") + QString::number(it.key())] = it.value().first;
                row[QStringLiteral("MA") + QString::number(it.key())] = it.value().second;
            }
            rows.append(row);
        }
        fill(table, fields, rows);
    }

    void writeSir() const
    {
        store::Table table;
        table.setFileName(path(QStringLiteral("sir.dbf")));
        QList<store::FieldDef> fields{text(QStringLiteral("NAIM"), 40),
                                      text(QStringLiteral("PREM"), 1)};
        fields << valueFields(false);
        fields << number(QStringLiteral("VES"), 14, 3) << number(QStringLiteral("kods"), 5, 0)
               << number(QStringLiteral("order"), 5, 0) << text(QStringLiteral("ot"), 1)
               << text(QStringLiteral("vibor"), 1) << text(QStringLiteral("vib"), 1)
               << number(QStringLiteral("MINOR"), 8, 2) << number(QStringLiteral("MANOR"), 8, 2);
        QList<QVariantMap> rows;
        for (int s = 0; s < raws_.size(); ++s) {
            const FixtureRaw &r = raws_[s];
            QVariantMap row{
                {QStringLiteral("NAIM"), r.name},        {QStringLiteral("PREM"), r.prem},
                {QStringLiteral("VES"), r.stock},        {QStringLiteral("kods"), r.kods},
                {QStringLiteral("order"), s + 1},        {QStringLiteral("ot"), flag(r.selected)},
                {QStringLiteral("vib"), flag(r.fullUse)}};
            for (auto it = r.contents.begin(); it != r.contents.end(); ++it)
                row[QStringLiteral("MI") + QString::number(it.key())] = it.value();
            rows.append(row);
        }
        fill(table, fields, rows);
    }

    int kodsOf(const QString &raw) const
    {
        for (const FixtureRaw &r : raws_)
            if (r.name == raw)
                return r.kods;
        return -1;
    }

    void writeNorm() const
    {
        store::Table table;
        table.setFileName(path(QStringLiteral("norm.dbf")));
        QList<QVariantMap> rows;
        for (const FixtureFeed &f : feeds_)
            for (const FixtureLimit &l : f.limits)
                rows.append({{QStringLiteral("kodkk"), f.kodkk},
                             {QStringLiteral("kods"), kodsOf(l.raw)},
                             {QStringLiteral("min"), l.min},
                             {QStringLiteral("max"), l.max}});
        fill(table,
             {number(QStringLiteral("kodkk"), 5, 0), number(QStringLiteral("kods"), 5, 0),
              number(QStringLiteral("min"), 10, 4), number(QStringLiteral("max"), 10, 4)},
             rows);
    }

    void writeOrder() const
    {
        store::Table table;
        table.setFileName(path(QStringLiteral("order.dbf")));
        fill(table,
             {number(QStringLiteral("pit"), 5, 0), number(QStringLiteral("KK"), 5, 0),
              number(QStringLiteral("sir"), 5, 0), number(QStringLiteral("arhnom"), 5, 0)},
             {{{QStringLiteral("pit"), int(chars_.size())},
               {QStringLiteral("KK"), int(feeds_.size())},
               {QStringLiteral("sir"), int(raws_.size())},
               {QStringLiteral("arhnom"), 0}}});
    }

    // ratio.dbf only when some feed type has ratios: without them, data as they always were
    void writeRatio() const
    {
        QList<QVariantMap> rows;
        for (const FixtureFeed &f : feeds_)
            for (const FixtureRatio &r : f.ratios)
                rows.append({{QStringLiteral("KODKK"), f.kodkk},
                             {QStringLiteral("K1"), r.numerator},
                             {QStringLiteral("K2"), r.denominator},
                             {QStringLiteral("RMIN"), r.min},
                             {QStringLiteral("RMAX"), r.max},
                             {QStringLiteral("ON"), flag(r.on)}});
        if (rows.isEmpty())
            return;
        store::Table table;
        table.setFileName(path(QStringLiteral("ratio.dbf")));
        fill(table, store::ratioFields(), rows);
    }

    QTemporaryDir temp_;
    QString dir_;
    QList<Char> chars_;
    QList<FixtureRaw> raws_;
    QList<FixtureFeed> feeds_;
    std::vector<std::unique_ptr<store::Table>> tables_;
};

} // namespace calctest
