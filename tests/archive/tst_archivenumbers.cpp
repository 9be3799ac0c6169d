// The number a write would get, the recipe holding it and the next free number, and the
// choice made before the write: replace, the next free number, or nothing at all.

#include "archivefixture.h"

#include "archive/archivenumbers.h"
#include "archive/recipedeletion.h"

#include <QTest>

using archive::NumberChoice;
using archivetest::ArchiveData;
using archivetest::sample;

Q_DECLARE_METATYPE(archive::NumberChoice)

class TestArchiveNumbers final : public QObject
{
    Q_OBJECT

private slots:
    void occupantAndNextFree_data();
    void occupantAndNextFree();
    void choiceBeforeWrite_data();
    void choiceBeforeWrite();
};

// Recipes 1, 2, 4 and 9999 are held; a released row of number 3 holds nothing.
void TestArchiveNumbers::occupantAndNextFree_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("occupant");
    QTest::addColumn<int>("nextFree");
    QTest::newRow("held") << 2 << "ПК-2-1234.50-2" << 3;
    QTest::newRow("released") << 3 << "" << 5;
    QTest::newRow("held at the end, round to 3") << 9999 << "ПК-9999-1234.50-9999" << 3;
    QTest::newRow("free before the end") << 9998 << "" << 3;
}

void TestArchiveNumbers::occupantAndNextFree()
{
    QFETCH(int, number);
    QFETCH(QString, occupant);
    QFETCH(int, nextFree);
    ArchiveData data;
    QVERIFY(data.ok());
    for (int n : {1, 2, 3, 4, 9999})
        data.addRecipe(sample(n));
    QVERIFY(data.goTo(3));
    archive::deleteCurrentRecipe(data.cursors());
    QVERIFY(data.goTo(4));
    store::Table &arkk = data.dm().archiveHeaders;

    const std::optional<archive::ArchiveOccupant> found = archive::occupantOf(arkk, number);
    QCOMPARE(found ? found->naim : QString(), occupant);
    QCOMPARE(found ? found->data : QString(),
             occupant.isEmpty() ? QString() : QStringLiteral("05.03.2026"));
    QCOMPARE(archive::nextFreeNumber(arkk, number), nextFree);
    QCOMPARE(arkk.integer("arnom"), 4); // the window's cursor stays where it was
    QCOMPARE(arkk.filter(), archive::kAllRecipesFilter);
}

void TestArchiveNumbers::choiceBeforeWrite_data()
{
    QTest::addColumn<int>("lastNumber");
    QTest::addColumn<NumberChoice>("choice");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("goAhead");
    QTest::addColumn<int>("pending"); // the number the write then gets
    QTest::newRow("replace") << 0 << NumberChoice::Replace << true << true << 1;
    QTest::newRow("next free") << 0 << NumberChoice::NextFree << true << true << 3;
    QTest::newRow("cancel uses up nothing") << 0 << NumberChoice::Cancel << true << false << 1;
    QTest::newRow("free number: no question") << 4 << NumberChoice::Cancel << false << true << 5;
    QTest::newRow("wrap onto a held one") << 9999 << NumberChoice::NextFree << true << true << 3;
}

void TestArchiveNumbers::choiceBeforeWrite()
{
    QFETCH(int, lastNumber);
    QFETCH(NumberChoice, choice);
    QFETCH(bool, asked);
    QFETCH(bool, goAhead);
    QFETCH(int, pending);
    ArchiveData data;
    QVERIFY(data.ok());
    for (int n : {1, 2, 4})
        data.addRecipe(sample(n));
    data.dm().setLastArchiveNumber(lastNumber);
    QList<archive::NumberConflict> conflicts;
    const bool go = archive::chooseNextNumber(data.cursors(), [&](const auto &conflict) {
        conflicts << conflict;
        return choice;
    });
    QCOMPARE(go, goAhead);
    QCOMPARE(conflicts.size(), asked ? 1 : 0);
    if (asked) {
        QCOMPARE(conflicts.first().occupant.number, 1);
        QCOMPARE(conflicts.first().occupant.naim, QStringLiteral("ПК-1-1234.50-1"));
        QCOMPARE(conflicts.first().freeNumber, 3);
    }
    QCOMPARE(archive::pendingArchiveNumber(data.dm().counters), pending);
}

QTEST_MAIN(TestArchiveNumbers)
#include "tst_archivenumbers.moc"
