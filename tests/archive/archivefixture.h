#pragma once

// A copy of the demo data with recipes put straight into its archive tables, for the
// archive operations. Each test takes a fresh copy; checks read the files again through
// fresh cursors, so that what the shared cursors show cannot hide what was stored.
//
//     archivetest::ArchiveData data;
//     data.addRecipe(sample(1));
//     archive::deleteCurrentRecipe(data.cursors());
//     QCOMPARE(data.numbersIn("arsir"), ...);

#include "archive/archivecursors.h"
#include "archive/archivedrecipe.h"
#include "archive/archiveview.h"
#include "results/demodatafixture.h"
#include "store/datamodule.h"
#include "store/table.h"

#include <QList>

namespace archivetest
{

struct Recipe {
    archive::ArchivedRecipe head;
    QString gk;
    QString vibor;
};

// Recipe `number` with two raw materials, one characteristic and one premix row.
inline Recipe sample(int number, const QString &nasn = QStringLiteral("Для кур-несушек"))
{
    Recipe r;
    r.head.arnom = number;
    r.head.naim = QStringLiteral("ПК-%1-1234.50-%1").arg(number);
    r.head.nasn = nasn;
    r.head.prim = QStringLiteral("примечание %1").arg(number);
    r.head.gost = QStringLiteral("51851-2001");
    r.head.ves = number;
    r.head.data = QStringLiteral("05.03.2026");
    r.head.raws = {{QStringLiteral("Пшеница"), 60, 9000}, {QStringLiteral("Ячмень"), 40, 8000}};
    r.head.chars = {{QStringLiteral("Сырой протеин"), QStringLiteral("%"), 15, 0, 16.2, 16.2}};
    r.head.premixes = {{QStringLiteral("Витамин А"), QStringLiteral("тыс.МЕ"), 10}};
    return r;
}

namespace detail
{
inline void append(store::Table &t, const QList<std::pair<const char *, QVariant>> &values)
{
    t.append();
    for (const auto &[field, value] : values)
        t.setValue(QLatin1String(field), value);
    t.post();
}
} // namespace detail

// Appends the rows of the recipe to the four archive tables of `dm` (arnom as in
// r.head.arnom, -1 for released rows), then shows all recipes with the lower tables
// linked.
inline void appendRecipe(store::DataModule &dm, const Recipe &r)
{
    using detail::append;
    const int n = r.head.arnom;
    for (const auto &raw : r.head.raws)
        append(dm.archiveCompositions,
               {{"arnom", n}, {"naim", raw.naim}, {"procin", raw.procin}, {"price", raw.price}});
    for (const auto &c : r.head.chars)
        append(dm.archiveCharacteristics, {{"arnom", n},
                                           {"pit", c.pit},
                                           {"ediz", c.ediz},
                                           {"mi", c.mi},
                                           {"ma", c.ma},
                                           {"ra", c.ra},
                                           {"fa", c.fa}});
    for (const auto &p : r.head.premixes)
        append(dm.archivePremixes, {{"arnom", n}, {"pit", p.pit}, {"ediz", p.ediz}, {"ra", p.ra}});
    append(dm.archiveHeaders, {{"arnom", n},
                               {"naim", r.head.naim},
                               {"nasn", r.head.nasn},
                               {"prim", r.head.prim},
                               {"gost", r.head.gost},
                               {"ves", r.head.ves},
                               {"data", r.head.data},
                               {"gk", r.gk},
                               {"vibor", r.vibor}});
    archive::showAllRecipes(dm.archiveHeaders);
    archive::linkToHead(archive::archiveCursors(dm));
}

class ArchiveData final
{
public:
    ArchiveData() : module_(demo_.open())
    {
        if (module_)
            archive::showAllRecipes(module_->archiveHeaders);
    }
    Q_DISABLE_COPY_MOVE(ArchiveData)

    bool ok() const { return demo_.ok() && module_; }
    store::DataModule &dm() { return *module_; }
    archive::ArchiveCursors cursors() { return archive::archiveCursors(*module_); }
    QString dataDir() const { return demo_.dataDir(); }
    QString workDir() const { return QDir::currentPath(); }

    // Appends the recipe to the archive tables (see appendRecipe).
    void addRecipe(const Recipe &r) { appendRecipe(*module_, r); }

    // The arnom of every row of a table file (read afresh), in record order.
    QList<int> numbersIn(const QString &table) const
    {
        QList<int> numbers;
        forEachRow(table, [&](store::Table &t) { numbers << t.integer("arnom"); });
        return numbers;
    }

    void forEachRow(const QString &table, const std::function<void(store::Table &)> &f) const
    {
        store::Table t;
        t.setFileName(demo_.dataDir() + u'/' + table + QStringLiteral(".dbf"));
        t.open();
        for (t.first(); !t.eof(); t.next())
            f(t);
    }

    // Puts the head cursor on recipe `number` with the lower tables following.
    bool goTo(int number)
    {
        store::Table &arkk = module_->archiveHeaders;
        for (arkk.first(); !arkk.eof(); arkk.next()) {
            if (arkk.integer("arnom") == number) {
                archive::linkToHead(cursors());
                return true;
            }
        }
        return false;
    }

private:
    roadtest::DemoData demo_;
    store::DataModule *module_;
};

} // namespace archivetest
