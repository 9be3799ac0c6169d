// Writing one feed type's ratios into ratio.dbf: its own records first, then freed ones,
// then new ones; records it no longer needs freed; the other feed types' records untouched.

#include "lists/feedratios.h"
#include "store/table.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace
{

store::RatioRecord ratio(int numerator, double minimum)
{
    return {0, numerator, 3, minimum, 0, true};
}

// KODKK and K1 of every record in file order.
QList<QPair<int, int>> layout(const QString &path)
{
    QList<QPair<int, int>> pairs;
    for (const store::RatioRecord &r : store::readRatioRecords(path))
        pairs.append({r.kodkk, r.numeratorKey});
    return pairs;
}

} // namespace

class TestFeedRatios final : public QObject
{
    Q_OBJECT

private slots:
    void recordsAreReusedInPlace();
};

void TestFeedRatios::recordsAreReusedInPlace()
{
    QTemporaryDir dir;
    store::Table ratios;
    ratios.setFileName(dir.filePath(store::kRatioFileName));
    lists::writeFeedRatios(ratios, 1, {});
    QVERIFY(!QFileInfo::exists(ratios.fileName())); // no ratio, no table

    lists::writeFeedRatios(ratios, 1, {ratio(2, 1.5), ratio(4, 0.25)});
    lists::writeFeedRatios(ratios, 2, {ratio(5, 1)});
    lists::writeFeedRatios(ratios, 1, {});
    QCOMPARE(layout(ratios.fileName()), (QList<QPair<int, int>>{{0, 0}, {0, 0}, {2, 5}}));
    QVERIFY(lists::readFeedRatios(ratios, 1).isEmpty());

    lists::writeFeedRatios(ratios, 3, {ratio(6, 1), ratio(7, 2), ratio(8, 3)});
    QCOMPARE(layout(ratios.fileName()), (QList<QPair<int, int>>{{3, 6}, {3, 7}, {2, 5}, {3, 8}}));
    const QList<store::RatioRecord> third = lists::readFeedRatios(ratios, 3);
    QCOMPARE(third.size(), 3);
    QCOMPARE(third.at(1).minimum, 2.0);
    QVERIFY(!ratios.isOpen()); // left as it was found
}

QTEST_APPLESS_MAIN(TestFeedRatios)
#include "tst_feedratios.moc"
