// Colours of the failure analysis rows.

#include "calc/window/outcomecolours.h"

#include <QTest>

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
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("at minimum") << " на минимуме      " << QColor(Qt::red);
    QTest::newRow("at maximum") << " на максимуме     " << QColor(Qt::red);
    QTest::newRow("below: navy") << " меньше минимума  " << QColor(0, 0, 128);
    QTest::newRow("above: maroon") << " больше максимума " << QColor(128, 0, 0);
    QTest::newRow("within: black") << " в норме          " << QColor();
}

void TestOutcomeColours::characteristicRows()
{
    QFETCH(QString, comment);
    QFETCH(QColor, colour);
    QCOMPARE(calc::characteristicRowColour(comment), colour);
}

void TestOutcomeColours::rawRows_data()
{
    QTest::addColumn<QString>("note");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<bool>("red");
    QTest::newRow("quiet") << ""
                           << " в норме          " << false;
    QTest::newRow("stock used up") << "Запас использован"
                                   << " в норме          " << true;
    QTest::newRow("at minimum") << ""
                                << " на минимуме      " << true;
    QTest::newRow("above maximum") << ""
                                   << " больше максимума " << true;
}

void TestOutcomeColours::rawRows()
{
    QFETCH(QString, note);
    QFETCH(QString, comment);
    QFETCH(bool, red);
    QCOMPARE(calc::rawRowColour(note, comment), red ? QColor(Qt::red) : QColor());
}

QTEST_APPLESS_MAIN(TestOutcomeColours)
#include "tst_outcomecolours.moc"
