// Rounding and number texts: what is stored equals what is shown.

#include "store/numbertext.h"

#include <QTest>

#include <cmath>
#include <limits>

class TestNumberText final : public QObject
{
    Q_OBJECT

private slots:
    void roundTo_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<double>("expected");
        QTest::newRow("exact half up") << 12.125 << 2 << 12.13;
        QTest::newRow("binary below half") << 2.675 << 2 << 2.67;
        QTest::newRow("1.005 is below half") << 1.005 << 2 << 1.00;
        QTest::newRow("negative half away from zero") << -12.125 << 2 << -12.13;
        QTest::newRow("half at 0 decimals") << 0.5 << 0 << 1.0;
        QTest::newRow("minus half at 0 decimals") << -0.5 << 0 << -1.0;
        QTest::newRow("2.5 away from zero") << 2.5 << 0 << 3.0;
        QTest::newRow("already round") << 7.25 << 2 << 7.25;
        QTest::newRow("four decimals") << 0.12345 << 4 << 0.1235;
        QTest::newRow("three decimals exact half") << 1.0625 << 3 << 1.063;
        QTest::newRow("large") << 123456789.125 << 2 << 123456789.13;
        QTest::newRow("zero") << 0.0 << 2 << 0.0;
        QTest::newRow("0.1 + 0.2") << 0.1 + 0.2 << 2 << 0.3;
    }

    void roundTo()
    {
        QFETCH(double, x);
        QFETCH(int, decimals);
        QFETCH(double, expected);
        QCOMPARE(store::roundTo(x, decimals), expected);
    }

    // The result reads back as the decimal text it stands for (no binary residue).
    void roundToGivesTheNearestDouble()
    {
        QCOMPARE(store::round2(0.285), 0.28);     // 0.285 is 0.28499999...
        QCOMPARE(store::round3(1.0005), 1.0);     // below half
        QCOMPARE(store::round4(2.00005), 2.0);    // 2.00005 is 2.0000499999...
        QCOMPARE(store::round4(2.00015), 2.0002); // 2.00015 is 2.0001500000...
        QCOMPARE(store::round2(1e-9), 0.0);
    }

    void roundToLeavesNonFiniteAlone()
    {
        QVERIFY(std::isnan(store::roundTo(std::nan(""), 2)));
        QCOMPARE(store::roundTo(std::numeric_limits<double>::infinity(), 2),
                 std::numeric_limits<double>::infinity());
    }

    void roundHalfEven_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("expected");
        QTest::newRow("1234.5 down to even") << 1234.5 << 1234.0;
        QTest::newRow("1235.5 up to even") << 1235.5 << 1236.0;
        QTest::newRow("0.5") << 0.5 << 0.0;
        QTest::newRow("-2.5") << -2.5 << -2.0;
        QTest::newRow("not a half") << 1234.51 << 1235.0;
    }

    void roundHalfEven()
    {
        QFETCH(double, x);
        QFETCH(double, expected);
        QCOMPARE(store::roundHalfEven(x), expected);
    }

    void fixedText_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("expected");
        QTest::newRow("padded") << 2.5 << 5 << 2 << " 2.50";
        QTest::newRow("exact width") << 12.5 << 5 << 2 << "12.50";
        QTest::newRow("wider is not cut") << 1234.5 << 5 << 2 << "1234.50";
        QTest::newRow("rounds half up") << 12.125 << 8 << 2 << "   12.13";
        QTest::newRow("rounds binary") << 2.675 << 6 << 2 << "  2.67";
        QTest::newRow("no minus zero") << -0.001 << 6 << 2 << "  0.00";
        QTest::newRow("no minus zero at 0") << -0.4 << 3 << 0 << "  0";
        QTest::newRow("negative") << -3.14159 << 8 << 3 << "  -3.142";
        QTest::newRow("no decimals") << 1234.5 << 6 << 0 << "  1235";
        QTest::newRow("width 0") << 7.0 << 0 << 1 << "7.0";
        QTest::newRow("large") << 9876543.21 << 14 << 4 << "  9876543.2100";
    }

    void fixedText()
    {
        QFETCH(double, x);
        QFETCH(int, width);
        QFETCH(int, decimals);
        QFETCH(QString, expected);
        QCOMPARE(store::fixedText(x, width, decimals), expected);
    }

    void alignment()
    {
        QCOMPARE(store::rightAligned("ab", 4), QString("  ab"));
        QCOMPARE(store::rightAligned("abcdef", 4), QString("abcdef"));
        QCOMPARE(store::padded("ab", 4), QString("ab  "));
        QCOMPARE(store::padded("abcdef", 4), QString("abcdef"));
        QCOMPARE(store::padded("Мел", 5), QString("Мел  "));
    }

    void parseNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("expected");
        QTest::newRow("plain") << "12.5" << true << 12.5;
        QTest::newRow("blanks around") << "  12.50 " << true << 12.5;
        QTest::newRow("negative") << "-3" << true << -3.0;
        QTest::newRow("plus") << "+4.25" << true << 4.25;
        QTest::newRow("leading point") << ".5" << true << 0.5;
        QTest::newRow("integer") << "1200" << true << 1200.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("blanks") << "   " << false << 0.0;
        QTest::newRow("comma") << "12,5" << false << 0.0;
        QTest::newRow("letters") << "12a" << false << 0.0;
        QTest::newRow("inner blank") << "1 200" << false << 0.0;
        QTest::newRow("two points") << "1.2.3" << false << 0.0;
        QTest::newRow("infinity") << "inf" << false << 0.0;
        QTest::newRow("nan") << "nan" << false << 0.0;
    }

    void parseNumber()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, expected);
        bool parsed = !ok;
        QCOMPARE(store::parseNumber(text, &parsed), expected);
        QCOMPARE(parsed, ok);
    }
};

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
