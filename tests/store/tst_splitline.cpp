// splitLine: the first part fits the width and ends at a break character; otherwise
// the text is cut hard.

#include "store/splitline.h"

#include <QTest>

using store::splitLine;

class TestSplitLine final : public QObject
{
    Q_OBJECT

private slots:
    void splits_data();
    void splits();
    void firstPartNeverExceedsWidth();
    void wraps_data();
    void wraps();
};

void TestSplitLine::splits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("rest");

    QTest::newRow("fits") << "Для кур" << 10 << "Для кур"
                          << "";
    QTest::newRow("exactly-width") << "abcde" << 5 << "abcde"
                                   << "";
    QTest::newRow("empty") << "" << 5 << ""
                           << "";
    // The last word always goes to the rest, with the blank the work text ends in.
    QTest::newRow("two-words") << "abc def" << 6 << "abc "
                               << "def ";
    QTest::newRow("three-words") << "ab cd ef gh" << 7 << "ab cd "
                                 << "ef gh ";
    QTest::newRow("break-after-hyphen") << "ПК-55-1 корм" << 7 << "ПК-55-"
                                        << "1 корм ";
    QTest::newRow("break-after-comma-point-paren") << "a,b.c)d e" << 6 << "a,b.c)"
                                                   << "d e ";
    QTest::newRow("leading-blanks-trimmed") << "   abc def" << 6 << "abc "
                                            << "def ";
    // No break fits: hard cut of the text passed in.
    QTest::newRow("no-break-hard-cut") << "abcdefgh" << 5 << "abcde"
                                       << "fgh";
    QTest::newRow("rest-too-long-hard-cut") << "a bcdefghijk" << 5 << "a bcd"
                                            << "efghijk";
    QTest::newRow("purpose-62") << "Для молодняка крупного рогатого скота на откорме от 6 месяцев" +
                                       QString(" и")
                                << 61 << "Для молодняка крупного рогатого скота на откорме от 6 "
                                << "месяцев и ";
}

void TestSplitLine::splits()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, first);
    QFETCH(QString, rest);
    const store::SplitText parts = splitLine(text, width);
    QCOMPARE(parts.first, first);
    QCOMPARE(parts.rest, rest);
}

// A hard cut keeps at most 333 characters of rest.
void TestSplitLine::firstPartNeverExceedsWidth()
{
    const QString longWord(500, QLatin1Char('x'));
    const store::SplitText parts = splitLine(longWord, 71);
    QCOMPARE(parts.first.size(), 71);
    QCOMPARE(parts.rest.size(), 333);
    for (int width : {10, 30, 61, 71}) {
        const QString text =
            QStringLiteral("Для кормления высокопродуктивных коров, в период раздоя (1-3 мес.)");
        QVERIFY(splitLine(text, width).first.size() <= width);
    }
}

void TestSplitLine::wraps_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("fits") << "Мастер" << 10 << QStringList{"Мастер"};
    QTest::newRow("empty") << "" << 10 << QStringList{};
    QTest::newRow("blank") << "   " << 10 << QStringList{};
    QTest::newRow("word-ends-at-width") << "ab cd ef" << 5 << QStringList{"ab cd", "ef"};
    QTest::newRow("three-lines") << "Заведующий производственной лабораторией" << 12
                                 << QStringList{"Заведующий", "производстве", "нной",
                                                "лабораторией"};
    QTest::newRow("after-hyphen-and-point")
        << "/Римского-Корсакова Е.А./" << 12 << QStringList{"/Римского-", "Корсакова", "Е.А./"};
    QTest::newRow("blank-before-point")
        << "Корсакова Е.А. и Ко" << 14 << QStringList{"Корсакова Е.А.", "и Ко"};
    QTest::newRow("long-word-cut-hard") << "abcdefghij" << 4 << QStringList{"abcd", "efgh", "ij"};
    QTest::newRow("width-below-one") << "ab" << 0 << QStringList{"a", "b"};
}

// Every line fits; nothing but the blanks at the breaks is lost.
void TestSplitLine::wraps()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QStringList, lines);
    const QStringList wrapped = store::wrapText(text, width);
    QCOMPARE(wrapped, lines);
    for (const QString &line : wrapped)
        QVERIFY(line.size() <= std::max(width, 1));
}

QTEST_APPLESS_MAIN(TestSplitLine)
#include "tst_splitline.moc"
