// The instruction texts: which file each number reads, the 1251 text line by line, and a
// clear message naming a file that cannot be shown.
#include "maintenance/instructions.h"

#include "maintenancefixture.h"

#include <QtTest>

class TestInstructions final : public QObject
{
    Q_OBJECT

private slots:
    void fileOfEachNumber_data();
    void fileOfEachNumber();
    void shippedTextsRead();
    void linesAsInTheFile_data();
    void linesAsInTheFile();
    void textThatCannotBeShown_data();
    void textThatCannotBeShown();
};

void TestInstructions::fileOfEachNumber_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("file");
    QTest::newRow("1") << 1 << "pit.txt";
    QTest::newRow("2") << 2 << "sir.txt";
    QTest::newRow("3") << 3 << "kk.txt";
    QTest::newRow("4") << 4 << "ras.txt";
    QTest::newRow("5") << 5 << "smes.txt";
    QTest::newRow("6") << 6 << "arh.txt";
    QTest::newRow("7") << 7 << "param.txt";
    QTest::newRow("8") << 8 << "rezerv.txt";
    QTest::newRow("0 has none") << 0 << "";
    QTest::newRow("9 has none") << 9 << "";
}

void TestInstructions::fileOfEachNumber()
{
    QFETCH(int, number);
    QFETCH(QString, file);
    QCOMPARE(maintenance::instructionFileName(number), file);
}

// Every shipped instruction reads without error, in Russian, without line-end characters.
void TestInstructions::shippedTextsRead()
{
    for (int number = 1; number <= maintenance::kInstructionCount; ++number) {
        const auto text =
            maintenance::readInstruction(QStringLiteral(KP_SOURCE_DIR "/data/itog3"), number);
        QVERIFY2(text.error.isEmpty(), qPrintable(text.error));
        QVERIFY(text.lines.size() > 5);
        const QString all = text.lines.join(u'\n');
        QVERIFY(!all.contains(u'\r'));
        QVERIFY(all.contains(QRegularExpression(QStringLiteral("[А-Яа-я]{4}"))));
    }
}

void TestInstructions::linesAsInTheFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("crlf") << QByteArray("\xc0\xc1\r\n  \xe2\xe3\r\n") // АБ / "  вг"
                          << QStringList{"АБ", "  вг"};
    QTest::newRow("no end on the last line") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("bare lf") << QByteArray("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("empty lines kept")
        << QByteArray("a\r\n\r\n\r\nb\r\n") << QStringList{"a", "", "", "b"};
    QTest::newRow("long line not broken") << QByteArray(300, 'x') + "\r\n"
                                          << QStringList{QString(300, u'x')};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
}

void TestInstructions::linesAsInTheFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    fixture::writeFile(dir.filePath("ras.txt"), bytes);
    const auto text = maintenance::readInstruction(dir.path(), 4);
    QCOMPARE(text.error, QString());
    QCOMPARE(text.lines, lines);
}

void TestInstructions::textThatCannotBeShown_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("start");
    QTest::newRow("missing") << "missing"
                             << "Файл инструкции ";
    QTest::newRow("unreadable") << "unreadable"
                                << "Файл инструкции ";
    QTest::newRow("a folder") << "folder"
                              << "Файл инструкции ";
}

// A text that cannot be shown is a message naming the file, never an empty list.
void TestInstructions::textThatCannotBeShown()
{
    QFETCH(QString, kind);
    QFETCH(QString, start);
    QTemporaryDir dir;
    const QString path = dir.filePath("rezerv.txt");
    if (kind == "unreadable")
        fixture::makeUnreadable(path);
    else if (kind == "folder")
        QVERIFY(QDir(dir.path()).mkdir("rezerv.txt"));
    const auto text = maintenance::readInstruction(dir.path(), 8);
    QVERIFY(text.lines.isEmpty());
    QVERIFY2(text.error.startsWith(start), qPrintable(text.error));
    QVERIFY2(text.error.contains(QDir::toNativeSeparators(path)), qPrintable(text.error));
}

QTEST_APPLESS_MAIN(TestInstructions)
#include "tst_instructions.moc"
