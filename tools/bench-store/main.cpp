// bench-store: how fast the table layer is, in figures.
//
//   bench-store
//
// A pool of 400 records with 140 fields: creating it, opening it with an index, reading
// every number by field name, rewriting one field in physical order, 400 key searches.
// The inclusion limits (20000 pairs): 20 feed types' limits opened, filtered, searched
// and written back, as the feed-types window does on every change of feed type.
// The recipe archive: 400 of 500 recipes deleted by the range 1 to 999999 from the four
// tables as the archive window shows them (100 heads already released).
// Each figure is the time of one pass; a wrong answer on the way ends with exit code 1.

#include "tablefixture.h"

#include "archive/archivecursors.h"
#include "archive/archivetables.h"
#include "archive/archiveview.h"
#include "archive/recipedeletion.h"
#include "store/table.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

using store::FieldDef;
using store::Table;

namespace
{

void print(const char *what, qint64 ms)
{
    std::printf("  %-58s %6lld ms\n", what, static_cast<long long>(ms));
}

bool benchPool(const QTemporaryDir &dir)
{
    const QString path = dir.filePath("pool.dbf");
    QList<FieldDef> fields{{"NAIM", 'C', 30, 0}, {"order", 'N', 4, 0}};
    for (int k = 1; k <= 138; ++k)
        fields.append({QString("MI%1").arg(k), 'N', 10, 3});
    QList<QVariantList> rows;
    for (int r = 0; r < 400; ++r) {
        QVariantList row{QString("Сырье %1").arg(r), 400 - r};
        for (int k = 1; k <= 138; ++k)
            row << (r * k % 1000) / 7.0;
        rows << row;
    }
    std::printf("Pool of raw materials\n");
    QElapsedTimer timer;
    timer.start();
    fixture::makeTable(path, fields, rows);
    print("create and append 400 x 140 fields", timer.restart());
    Table t;
    t.setFileName(path);
    t.defineIndex({"order", "order"});
    t.setIndexName("order");
    t.open();
    print("open with index", timer.restart());
    double sum = 0;
    for (t.first(); !t.eof(); t.next()) {
        for (int k = 1; k <= 138; ++k)
            sum += t.number(QString("MI%1").arg(k));
    }
    print("read 55200 numbers by name", timer.restart());
    t.close();
    t.setIndexName("");
    t.open();
    for (t.first(); !t.eof(); t.next())
        t.setNumber("order", t.integer("order") % 400 + 1);
    t.flush();
    print("rewrite order in 400 records, physical order", timer.restart());
    t.close();
    t.setIndexName("order");
    t.open();
    t.setRange(1, 400);
    int found = 0;
    for (int key = 1; key <= 400; ++key)
        found += t.findKey(key);
    print("400 key searches", timer.restart());
    if (found != 400 || !(sum > 0)) {
        std::fprintf(stderr, "bench-store: %d of 400 keys found, sum %g\n", found, sum);
        return false;
    }
    return true;
}

void benchNorms(const QTemporaryDir &dir)
{
    const QString path = dir.filePath("norm.dbf");
    QList<QVariantList> rows;
    for (int kk = 1; kk <= 400; ++kk) {
        for (int s = 1; s <= 50; ++s)
            rows << QVariantList{kk, s * 7 % 400 + 1, 1.5, 20.0};
    }
    fixture::makeTable(
        path, {{"kodkk", 'N', 5, 0}, {"kods", 'N', 5, 0}, {"min", 'N', 8, 3}, {"max", 'N', 8, 3}},
        rows);
    Table norm;
    norm.setFileName(path);
    norm.defineIndex({"si", "kods"});
    std::printf("Inclusion limits (20000 pairs)\n");
    QElapsedTimer timer;
    timer.start();
    for (int kk = 1; kk <= 20; ++kk) {
        norm.open();
        norm.setFilter(QString("kodkk=%1").arg(kk));
        norm.setFiltered(true);
        norm.setIndexName("si");
        for (int s = 1; s <= 400; ++s) {
            if (norm.findKey(s)) {
                norm.setNumber("max", 30);
                norm.post();
            }
        }
        norm.flush();
        norm.close();
    }
    print("20 feed types: open, filter, index, 400 searches, posts", timer.restart());
}

// Rows per recipe in arsir, arpit and arprem: a large mill's recipe.
constexpr int kRawRows = 20;
constexpr int kCharRows = 30;
constexpr int kPremixRows = 10;

void fillArchive(const archive::ArchiveCursors &c, int recipes, int released)
{
    const auto append = [](Table &t, int number, const QString &name) {
        t.append();
        t.setValue("arnom", number);
        t.setValue(t.hasField("naim") ? "naim" : "pit", name);
        t.post();
    };
    for (int n = 1; n <= recipes; ++n) {
        const int number = n <= released ? -1 : n;
        for (int r = 0; r < kRawRows; ++r)
            append(*c.arsir, number, QString("Сырье %1").arg(r));
        for (int r = 0; r < kCharRows; ++r)
            append(*c.arpit, number, QString("Показатель %1").arg(r));
        for (int r = 0; r < kPremixRows; ++r)
            append(*c.arprem, number, QString("Витамин %1").arg(r));
        append(*c.arkk, number, QString("ПК-%1").arg(n));
    }
}

// Rows of table still carrying a recipe number.
int liveRows(Table &table)
{
    table.setFiltered(false);
    int live = 0;
    for (table.first(); !table.eof(); table.next())
        live += table.integer("arnom") > 0;
    return live;
}

bool benchRangeDeletion(const QTemporaryDir &dir)
{
    const QString folder = dir.filePath("archive");
    QDir().mkpath(folder);
    archive::createArchiveTables(folder);
    Table arkk, arsir, arpit, arprem;
    const archive::ArchiveCursors c{nullptr, &arkk, &arsir, &arpit, &arprem};
    for (auto [table, name] :
         {std::pair{&arkk, "arkk"}, {&arsir, "arsir"}, {&arpit, "arpit"}, {&arprem, "arprem"}}) {
        table->setFileName(folder + "/" + name + ".dbf");
        table->open();
    }
    std::printf("Recipe archive (500 recipes, %d rows each)\n",
                1 + kRawRows + kCharRows + kPremixRows);
    QElapsedTimer timer;
    timer.start();
    fillArchive(c, 500, 100);
    print("write 500 recipes", timer.restart());
    archive::showAllRecipes(arkk);
    archive::linkToHead(c);
    timer.restart();
    const archive::RangeDeletion deleted = archive::deleteRecipeRange(c, 1, 999999);
    print("delete 400 recipes by the range 1 to 999999", timer.restart());
    const int left = liveRows(arkk) + liveRows(arsir) + liveRows(arpit) + liveRows(arprem);
    if (deleted.deleted != 400 || left != 0) {
        std::fprintf(stderr, "bench-store: %d recipes deleted, %d rows left\n", deleted.deleted,
                     left);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "bench-store: no temporary folder\n");
        return 1;
    }
    try {
        if (!benchPool(dir))
            return 1;
        benchNorms(dir);
        if (!benchRangeDeletion(dir))
            return 1;
    } catch (const store::TableError &error) {
        std::fprintf(stderr, "bench-store: %s\n", qPrintable(error.message()));
        return 1;
    }
    return 0;
}
