#include "archive/consumption.h"

#include "archive/archiveview.h"
#include "store/codepage1251.h"
#include "store/cursorstate.h"
#include "store/numbertext.h"
#include "store/table.h"

#include <QList>

#include <algorithm>

namespace archive
{

namespace
{

constexpr double kLeastOutput = 0.0000001;
constexpr int kNameLength = 30; // a stored raw-material name

struct Total {
    QString name;
    QByteArray key; // the name's 1251 bytes, for the order
    double amount = 0;
};

QString rule()
{
    return QString(70, QLatin1Char('-'));
}

QString line(const QString &name, const QString &figure)
{
    return QStringLiteral("   ") + store::padded(name, 40) + QString(10, QLatin1Char(' ')) + figure;
}

QString heading(const QString &left, const QString &right)
{
    return store::padded(left, 40) + QString(10, QLatin1Char(' ')) + right;
}

void addAmount(QList<Total> &totals, const QString &name, double amount)
{
    for (Total &total : totals) {
        if (total.name == name) {
            total.amount += amount;
            return;
        }
    }
    QByteArray key;
    if (!store::encode1251(name, &key))
        key = name.toUtf8();
    totals.append({name, key, amount});
}

bool byCodes(const Total &a, const Total &b)
{
    return std::lexicographical_compare(a.key.begin(), a.key.end(), b.key.begin(), b.key.end(),
                                        [](char x, char y) { return uchar(x) < uchar(y); });
}

} // namespace

QStringList consumptionLines(const ArchiveCursors &c, double lossNorm)
{
    store::Table &arkk = *c.arkk;
    store::Table &arsir = *c.arsir;
    store::CursorStateGuard keepHeads(arkk);
    store::CursorStateGuard keepRaws(arsir);
    QStringList lines{
        QStringLiteral("Оценка затрат сырья с учетом технологических потерь на выпуск продукции."),
        rule(), heading(QStringLiteral("   Наименование рецептов"), QStringLiteral("   Выпуск, т")),
        rule()};
    const double factor = (lossNorm + 100) / 100;
    QList<Total> totals;
    showAllRecipes(arkk);
    for (; !arkk.eof(); arkk.next()) {
        const double ves = arkk.number(QStringLiteral("ves"));
        if (!(ves > kLeastOutput))
            continue;
        lines << line(arkk.text(QStringLiteral("naim")), store::fixedText(ves, 13, 4));
        const double weight = ves * factor;
        arsir.setFilter(recipeFilter(currentNumber(arkk)));
        arsir.setFiltered(true);
        for (arsir.first(); !arsir.eof(); arsir.next()) {
            addAmount(totals, arsir.text(QStringLiteral("naim")).left(kNameLength),
                      arsir.number(QStringLiteral("procin")) * weight / 100);
        }
    }
    lines << rule()
          << heading(QStringLiteral("   Наименование сырья"), QStringLiteral("   Расход, т"))
          << rule();
    std::stable_sort(totals.begin(), totals.end(), byCodes);
    for (const Total &total : totals)
        lines << line(total.name, store::fixedText(total.amount, 13, 4));
    lines << rule();
    arkk.first();
    keepHeads.dismiss();
    keepRaws.dismiss();
    return lines;
}

} // namespace archive
