// Colours of the failure analysis rows, from the states the engine gives them.

#include "calc/window/outcomecolours.h"

#include <QTest>

using calc::LevelState;

class TestOutcomeColours final : public QObject
{
    Q_OBJECT

private slots:
    void characteristicRows_data();
    void characteristicRows();
    void rawRows_data();
    void rawRows();
};

void TestOutcomeColours::characteristicRows_data()
{
    QTest::addColumn<LevelState>("state");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("at minimum") << LevelState::AtMinimum << QColor(Qt::red);
    QTest::newRow("at maximum") << LevelState::AtMaximum << QColor(Qt::red);
    QTest::newRow("below: navy") << LevelState::BelowMinimum << QColor(0, 0, 128);
    QTest::newRow("above: maroon") << LevelState::AboveMaximum << QColor(128, 0, 0);
    QTest::newRow("within: black") << LevelState::WithinNorm << QColor();
}

void TestOutcomeColours::characteristicRows()
{
    QFETCH(LevelState, state);
    QFETCH(QColor, colour);
    QCOMPARE(calc::characteristicRowColour(state), colour);
}

void TestOutcomeColours::rawRows_data()
{
    QTest::addColumn<bool>("stockUsedUp");
    QTest::addColumn<LevelState>("share");
    QTest::addColumn<bool>("red");
    QTest::newRow("quiet") << false << LevelState::WithinNorm << false;
    QTest::newRow("stock used up") << true << LevelState::WithinNorm << true;
    QTest::newRow("at minimum") << false << LevelState::AtMinimum << true;
    QTest::newRow("above maximum") << false << LevelState::AboveMaximum << true;
}

void TestOutcomeColours::rawRows()
{
    QFETCH(bool, stockUsedUp);
    QFETCH(LevelState, share);
    QFETCH(bool, red);
    QCOMPARE(calc::rawRowColour({stockUsedUp, share}), red ? QColor(Qt::red) : QColor());
}

QTEST_APPLESS_MAIN(TestOutcomeColours)
#include "tst_outcomecolours.moc"
