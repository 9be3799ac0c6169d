// The drive letter check of the backup and restore windows.
#include "maintenance/driveletter.h"

#include <QtTest>

class TestDriveLetter final : public QObject
{
    Q_OBJECT

private slots:
    void letter_data();
    void letter();
};

void TestDriveLetter::letter_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("drive"); // empty: refused

    QTest::newRow("capital") << "E"
                             << "E";
    QTest::newRow("lower case is its capital") << "e"
                                               << "E";
    QTest::newRow("first letter") << "a"
                                  << "A";
    QTest::newRow("last letter") << "z"
                                 << "Z";
    QTest::newRow("blanks around") << " f "
                                   << "F";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("blank") << " "
                           << "";
    QTest::newRow("cyrillic capital looking latin") << "Е"
                                                    << "";
    QTest::newRow("cyrillic lower") << "ж"
                                    << "";
    QTest::newRow("digit") << "5"
                           << "";
    QTest::newRow("accented latin") << "é"
                                    << "";
    QTest::newRow("punctuation next to letters") << "["
                                                 << "";
    QTest::newRow("at sign before A") << "@"
                                      << "";
}

void TestDriveLetter::letter()
{
    QFETCH(QString, field);
    QFETCH(QString, drive);
    const std::optional<QChar> letter = maintenance::driveLetter(field);
    QCOMPARE(letter ? QString(*letter) : QString(), drive);
}

QTEST_APPLESS_MAIN(TestDriveLetter)
#include "tst_driveletter.moc"
