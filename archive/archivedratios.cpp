#include "archive/archivedratios.h"

#include "store/ratiotable.h"
#include "store/table.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace archive
{

namespace
{

QString pathIn(const QString &dir, const QString &file)
{
    return dir + QLatin1Char('/') + file;
}

int listedFeedCount(const QString &dir)
{
    store::Table order;
    order.setFileName(pathIn(dir, QStringLiteral("order.dbf")));
    order.open();
    order.first();
    const int count = order.eof() ? 0 : order.integer(QStringLiteral("KK"));
    order.close();
    return count;
}

// The recipe name without its type: "-" price "-" number, then the form letter.
bool nameFollowsType(const ArchivedRecipe &recipe, const QString &type)
{
    if (type.isEmpty() || !recipe.naim.startsWith(type + QLatin1Char('-')))
        return false;
    const QRegularExpression tail(QStringLiteral("^\\d+(\\.\\d+)?-%1\\D*$").arg(recipe.arnom));
    return tail.match(recipe.naim.mid(type.size() + 1)).hasMatch();
}

QHash<int, QString> characteristicNames(const QString &dir)
{
    QHash<int, QString> names;
    store::Table pit;
    pit.setFileName(pathIn(dir, QStringLiteral("pit.dbf")));
    pit.open();
    for (pit.first(); !pit.eof(); pit.next())
        names.insert(pit.integer(QStringLiteral("KEY")), pit.text(QStringLiteral("PIT")).trimmed());
    pit.close();
    return names;
}

} // namespace

int archivedFeedKey(const ArchivedRecipe &recipe, const QString &dir)
{
    const int listed = listedFeedCount(dir);
    store::Table kk;
    kk.setFileName(pathIn(dir, QStringLiteral("kk.dbf")));
    kk.open();
    int key = 0;
    int typeLength = 0;
    for (kk.first(); !kk.eof(); kk.next()) {
        const int order = kk.integer(QStringLiteral("order"));
        const QString type = kk.text(QStringLiteral("TIP")).trimmed();
        if (order < 1 || order > listed || type.size() <= typeLength ||
            !nameFollowsType(recipe, type) ||
            kk.text(QStringLiteral("NASN")).left(122).trimmed() != recipe.nasn ||
            kk.text(QStringLiteral("GOST")).left(10).trimmed() != recipe.gost)
            continue;
        key = kk.integer(QStringLiteral("kodkk"));
        typeLength = int(type.size());
    }
    kk.close();
    return key;
}

QList<ArchivedRecipe::RatioLine> archivedRatios(const ArchivedRecipe &recipe, const QString &dir)
{
    QList<ArchivedRecipe::RatioLine> lines;
    const QString ratioPath = pathIn(dir, store::kRatioFileName);
    if (!QFileInfo::exists(ratioPath))
        return lines;
    QList<store::RatioRecord> records = store::readRatioRecords(ratioPath);
    records.removeIf([](const store::RatioRecord &r) { return !r.on; });
    if (records.isEmpty())
        return lines;
    const int kodkk = archivedFeedKey(recipe, dir);
    if (kodkk == 0)
        return lines;
    const QHash<int, QString> names = characteristicNames(dir);
    for (const store::RatioRecord &r : records) {
        if (r.kodkk != kodkk || !names.contains(r.numeratorKey) ||
            !names.contains(r.denominatorKey))
            continue;
        lines.append(
            {names.value(r.numeratorKey), names.value(r.denominatorKey), r.minimum, r.maximum});
    }
    return lines;
}

} // namespace archive
