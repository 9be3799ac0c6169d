// Reading a results-window cell as a number: where it stops, and the general format; a
// cell the window writes carries the number its text reads as.

#include "results/cellnumber.h"

#include <QTest>

#include <cmath>
#include <limits>

using results::readCellNumber;

class TestCellNumber final : public QObject
{
    Q_OBJECT

private slots:
    void reading_data();
    void reading();
    void generalText_data();
    void generalText();
    void writtenCellReadsAsItsNumber_data();
    void writtenCellReadsAsItsNumber();
    void emptyCellIsNoNumber();
};

void TestCellNumber::reading_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position"); // 0: a number
    QTest::addColumn<double>("value");
    QTest::newRow("whole") << "1200" << 0 << 1200.0;
    QTest::newRow("decimals") << "12.25" << 0 << 12.25;
    QTest::newRow("leading blanks as the grid writes them") << "       30.00" << 0 << 30.0;
    QTest::newRow("sign") << "-4.5" << 0 << -4.5;
    QTest::newRow("plus") << "+7" << 0 << 7.0;
    QTest::newRow("point first") << ".5" << 0 << 0.5;
    QTest::newRow("point last") << "5." << 0 << 5.0;
    QTest::newRow("exponent") << "1.5e3" << 0 << 1500.0;
    QTest::newRow("minus alone fails after it") << "-" << 2 << 0.0;
    QTest::newRow("empty fails at 1") << "" << 1 << 0.0;
    QTest::newRow("blank only") << "   " << 4 << 0.0;
    QTest::newRow("comma") << "12,5" << 3 << 0.0;
    QTest::newRow("letter") << "15a00" << 3 << 0.0;
    QTest::newRow("trailing blank") << "12 " << 3 << 0.0;
    QTest::newRow("exponent without digits") << "1e" << 3 << 0.0;
    QTest::newRow("two points") << "1.2.3" << 4 << 0.0;
    QTest::newRow("letter after leading blanks") << "  x" << 3 << 0.0;
}

void TestCellNumber::reading()
{
    QFETCH(QString, text);
    QFETCH(int, position);
    QFETCH(double, value);
    const results::CellNumber n = readCellNumber(text);
    QCOMPARE(n.errorPosition, position);
    if (position == 0)
        QCOMPARE(n.value, value);
}

void TestCellNumber::generalText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 1200.0 << "1200";
    QTest::newRow("no trailing zeros") << 12.5 << "12.5";
    QTest::newRow("sum with binary noise") << 23456.78 + 2345.68 << "25802.46";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative") << -3.25 << "-3.25";
}

void TestCellNumber::generalText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(results::generalText(value), text);
}

void TestCellNumber::writtenCellReadsAsItsNumber_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals"); // -1: the general format
    QTest::newRow("a half away from zero") << 12.125 << 2;
    QTest::newRow("below a half in binary") << 2.675 << 2;
    QTest::newRow("binary noise") << 0.1 + 0.2 << 2;
    QTest::newRow("negative") << -150.125 << 2;
    QTest::newRow("rounds to minus zero") << -0.001 << 2;
    QTest::newRow("minus zero") << -0.0 << 2;
    QTest::newRow("whole") << 44.5 << 0;
    QTest::newRow("far beyond any amount") << 1e31 << 2;
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << 2;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 2;
    QTest::newRow("general: settings value") << 1200.5 << -1;
    QTest::newRow("general: minus zero") << -0.0 << -1;
    QTest::newRow("general: infinite") << -std::numeric_limits<double>::infinity() << -1;
}

// What the window writes into a cell and the number it keeps beside it are the same as
// reading that cell would give, down to the sign of zero and a failure's position.
void TestCellNumber::writtenCellReadsAsItsNumber()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    const results::CellValue cell = decimals < 0 ? results::CellValue::general(value)
                                                 : results::CellValue::fixed(value, 12, decimals);
    const results::CellNumber read = readCellNumber(cell.text);
    QCOMPARE(cell.number.errorPosition, read.errorPosition);
    QCOMPARE(cell.number.value, read.value);
    QCOMPARE(std::signbit(cell.number.value), std::signbit(read.value));
}

void TestCellNumber::emptyCellIsNoNumber()
{
    const results::CellValue empty;
    QCOMPARE(empty.number.errorPosition, readCellNumber(empty.text).errorPosition);
    QVERIFY(!empty.number.ok());
}

QTEST_APPLESS_MAIN(TestCellNumber)
#include "tst_cellnumber.moc"
