// The settings file cons.txt: reading rules, problems of damaged files, writing in 1251
// with CRLF, and the working date.
#include "settings/settings.h"
#include "settings/workingdate.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using settings::Settings;

namespace
{

// Thirty lines of a plausible file; the tests change single lines.
QStringList completeLines()
{
    QStringList lines;
    for (int line = 1; line <= 30; ++line)
        lines.append(QStringLiteral("Текст %1").arg(line));
    lines[13] = QStringLiteral(" 2.50");
    lines[14] = QStringLiteral("  1200.00");
    lines[15] = QStringLiteral("15.00");
    lines[17] = QStringLiteral("10.00");
    lines[19] = QStringLiteral("   150.00");
    for (int line = 25; line <= 30; ++line)
        lines[line - 1] = line % 2 == 1 ? QStringLiteral("t") : QStringLiteral("f");
    return lines;
}

void writeFile(const QString &dir, const QStringList &lines, const char *eol = "\r\n")
{
    QFile file(settings::settingsFilePath(dir));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QStringEncoder encoder("windows-1251");
    for (const QString &line : lines) {
        file.write(encoder.encode(line));
        file.write(eol);
    }
}

QByteArray fileBytes(const QString &dir)
{
    QFile file(settings::settingsFilePath(dir));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestSettings final : public QObject
{
    Q_OBJECT

private slots:
    void flagIsTrueOnlyForSingleT_data();
    void flagIsTrueOnlyForSingleT();
    void textsAreCutTo60ButAddressIsWhole();
    void numberLinesAreTrimmed_data();
    void numberLinesAreTrimmed();
    void badNumberGivesProblemAndZero_data();
    void badNumberGivesProblemAndZero();
    void numbersOutOfRangeAreNamed_data();
    void numbersOutOfRangeAreNamed();
    void utf8FileIsRecognised();
    void missingFileGivesProblemAndEmptyValues();
    void shortFileKeepsWhatItHas();
    void linesAfterThirtyAndLoneLineFeedsAreHandled();
    void writeThenReadRoundTrip();
    void writeReplacesCharactersWithout1251Byte();
    void writeKeepsThirtyLinesWhenTextHoldsLineBreak();
    void failedWriteReportsAndKeepsValuesInForce();
    void workingDate();
};

void TestSettings::flagIsTrueOnlyForSingleT_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");
    QTest::newRow("t") << QStringLiteral("t") << true;
    QTest::newRow("T") << QStringLiteral("T") << false;
    QTest::newRow("true") << QStringLiteral("true") << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("f") << QStringLiteral("f") << false;
    QTest::newRow("blank before") << QStringLiteral(" t") << false;
    QTest::newRow("blank after") << QStringLiteral("t ") << false;
}

// Flags 25-30: true exactly when the line is the single letter "t".
void TestSettings::flagIsTrueOnlyForSingleT()
{
    QFETCH(QString, text);
    QFETCH(bool, expected);
    QStringList lines = completeLines();
    for (int line = 25; line <= 30; ++line)
        lines[line - 1] = text;
    const Settings s = settings::parseSettings(lines, QStringLiteral("cons.txt")).values;
    const bool flags[] = {s.namePriceWithoutTax,   s.namePriceWithTax,  s.roundWholesalePrice,
                          s.noRoundWholesalePrice, s.roundSellingPrice, s.noRoundSellingPrice};
    for (bool flag : flags)
        QCOMPARE(flag, expected);
}

void TestSettings::textsAreCutTo60ButAddressIsWhole()
{
    const QString longText = QString(75, QChar(0x0416)); // 75 times "Ж"
    QStringList lines = completeLines();
    for (int line : {1, 13, 17, 19, 21, 22, 23, 24})
        lines[line - 1] = longText;
    const auto read = settings::parseSettings(lines, QStringLiteral("cons.txt"));
    QVERIFY(read.problems.isEmpty());
    const Settings &s = read.values;
    for (const QString &text :
         {s.enterpriseName, s.signers[4].surname, s.taxName, s.premixFiller,
          s.certificateSignerPosition, s.conformityCertificate, s.certificateSignerSurname})
        QCOMPARE(text, longText.left(60));
    QCOMPARE(s.address, longText);
    QCOMPARE(s.signers[0].position, QStringLiteral("Текст 4"));
    QCOMPARE(s.signers[4].position, QStringLiteral("Текст 12"));
}

void TestSettings::numberLinesAreTrimmed_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("field text of 2.5") << QStringLiteral(" 2.50") << 2.5;
    QTest::newRow("field text of 1200") << QStringLiteral("  1200.00") << 1200.0;
    QTest::newRow("blanks after") << QStringLiteral("2.5   ") << 2.5;
    QTest::newRow("whole number") << QStringLiteral("12") << 12.0;
    QTest::newRow("tab around") << QStringLiteral("\t7.25 ") << 7.25;
}

// Number lines 14, 15, 16, 18, 20: blanks around are removed, "." is the point.
void TestSettings::numberLinesAreTrimmed()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    for (int line : {14, 15, 16, 18, 20}) {
        if (expected > settings::numberLineLimit(line))
            continue; // more than the line's field holds: a problem of its own
        QStringList lines = completeLines();
        lines[line - 1] = text;
        const auto read = settings::parseSettings(lines, QStringLiteral("cons.txt"));
        QVERIFY2(read.problems.isEmpty(), qPrintable(read.problems.join('\n')));
        const Settings &s = read.values;
        const double values[] = {s.lossNorm, s.productionCosts, s.profitability, s.taxRate,
                                 s.granulationSurcharge};
        const int index = line == 14 ? 0 : line == 15 ? 1 : line == 16 ? 2 : line == 18 ? 3 : 4;
        QCOMPARE(values[index], expected);
    }
}

void TestSettings::badNumberGivesProblemAndZero_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("comma") << QStringLiteral("2,5");
    QTest::newRow("word") << QStringLiteral("много");
    QTest::newRow("empty") << QString();
    QTest::newRow("blanks and point") << QStringLiteral("      .  ");
    QTest::newRow("two numbers") << QStringLiteral("1 200");
}

// A number line without a number: the value is 0 and a problem names the line; the
// other values are still read.
void TestSettings::badNumberGivesProblemAndZero()
{
    QFETCH(QString, text);
    QStringList lines = completeLines();
    lines[14] = text;
    const auto read = settings::parseSettings(lines, QStringLiteral("itog3/cons.txt"));
    QCOMPARE(read.problems.size(), 1);
    QVERIFY(read.problems.first().contains(QStringLiteral("строка 15")));
    QVERIFY(read.problems.first().contains(QStringLiteral("Издержки производства")));
    QCOMPARE(read.values.productionCosts, 0.0);
    QCOMPARE(read.values.lossNorm, 2.5);
    QCOMPARE(read.values.taxRate, 10.0);
    QCOMPARE(read.values.address, QStringLiteral("Текст 24"));
}

void TestSettings::numbersOutOfRangeAreNamed_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("range"); // empty: within range, no problem
    QTest::newRow("loss norm -100") << 14 << "-100"
                                    << "от 0 до 99.99";
    QTest::newRow("loss norm 100") << 14 << "100.00"
                                   << "от 0 до 99.99";
    QTest::newRow("costs negative") << 15 << "  -1.00"
                                    << "от 0 до 999999.99";
    QTest::newRow("profitability -100") << 16 << "-100.00"
                                        << "от 0 до 99.99";
    QTest::newRow("tax rate 150") << 18 << "150"
                                  << "от 0 до 99.99";
    QTest::newRow("surcharge a million") << 20 << "1000000"
                                         << "от 0 до 999999.99";
    QTest::newRow("loss norm 0") << 14 << " 0.00"
                                 << "";
    QTest::newRow("loss norm 99.99") << 14 << "99.99"
                                     << "";
    QTest::newRow("costs 999999.99") << 15 << "999999.99"
                                     << "";
}

// A number the parameters window's field could not hold is named in the problems, line
// and setting, and in the calculation's refusal; the value stays as read, to be corrected.
void TestSettings::numbersOutOfRangeAreNamed()
{
    QFETCH(int, line);
    QFETCH(QString, text);
    QFETCH(QString, range);
    QStringList lines = completeLines();
    lines[line - 1] = text;
    const auto read = settings::parseSettings(lines, QStringLiteral("itog3/cons.txt"));
    const QStringList refusal = settings::settingsRangeProblems(read.values);
    const QString label = settings::settingsLineLabel(line).trimmed();
    if (range.isEmpty()) {
        QVERIFY2(read.problems.isEmpty(), qPrintable(read.problems.join('\n')));
        QVERIFY(refusal.isEmpty());
        return;
    }
    QCOMPARE(read.problems.size(), 1);
    const QString problem = read.problems.first();
    QVERIFY2(problem.contains(QStringLiteral("строка %1 («%2»)").arg(line).arg(label)),
             qPrintable(problem));
    QVERIFY2(problem.contains(text.trimmed()) && problem.contains(range), qPrintable(problem));
    QCOMPARE(refusal.size(), 1);
    QVERIFY2(refusal.first().contains(QStringLiteral("«%1»").arg(label)) &&
                 refusal.first().contains(range),
             qPrintable(refusal.first()));
    QCOMPARE(settings::numberRangeProblem(line, text.toDouble()), refusal.first());
}

// A file saved in UTF-8 reads with its Cyrillic intact, and the problems say so; a 1251
// file with the same texts is not mistaken for it.
void TestSettings::utf8FileIsRecognised()
{
    QTemporaryDir dir;
    QStringList lines = completeLines();
    lines[0] = QStringLiteral("ООО «Комбикормовый завод»");
    lines[23] = QStringLiteral("г. Орёл, ул. Полевая, 1");
    {
        QFile file(settings::settingsFilePath(dir.path()));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
    }
    const auto read = settings::ReadSettings(dir.path());
    QCOMPARE(read.values.enterpriseName, lines[0]);
    QCOMPARE(read.values.address, lines[23]);
    QCOMPARE(read.values.lossNorm, 2.5);
    QCOMPARE(read.problems.size(), 1);
    QVERIFY2(read.problems.first().contains(QStringLiteral("UTF-8")),
             qPrintable(read.problems.first()));

    writeFile(dir.path(), lines);
    const auto read1251 = settings::ReadSettings(dir.path());
    QVERIFY2(read1251.problems.isEmpty(), qPrintable(read1251.problems.join('\n')));
    QCOMPARE(read1251.values.enterpriseName, lines[0]);
}

void TestSettings::missingFileGivesProblemAndEmptyValues()
{
    QTemporaryDir dir;
    settings::setCurrentSettings(settings::parseSettings(completeLines(), {}).values);
    const auto read = settings::ReadSettings(dir.path());
    QCOMPARE(read.problems.size(), 1);
    QVERIFY(read.problems.first().contains(QStringLiteral("не найден")));
    QVERIFY(read.problems.first().contains(QStringLiteral("cons.txt")));
    QCOMPARE(read.values, Settings());
    QCOMPARE(settings::currentSettings(), Settings()); // old values do not linger
}

// Fewer than 30 lines: what is there is read, the rest is empty, one problem says so
// (no extra complaint about number lines that are simply missing).
void TestSettings::shortFileKeepsWhatItHas()
{
    QTemporaryDir dir;
    writeFile(dir.path(), completeLines().mid(0, 14));
    const auto read = settings::ReadSettings(dir.path());
    QCOMPARE(read.problems.size(), 1);
    QVERIFY(read.problems.first().contains(QStringLiteral("14 из 30")));
    QCOMPARE(read.values.enterpriseName, QStringLiteral("Текст 1"));
    QCOMPARE(read.values.lossNorm, 2.5);
    QCOMPARE(read.values.productionCosts, 0.0);
    QVERIFY(read.values.address.isEmpty());
    QVERIFY(!read.values.namePriceWithoutTax);
    QCOMPARE(settings::currentSettings(), read.values);

    writeFile(dir.path(), {});
    QVERIFY(settings::ReadSettings(dir.path()).problems.first().contains(QStringLiteral("пуст")));
}

void TestSettings::linesAfterThirtyAndLoneLineFeedsAreHandled()
{
    QTemporaryDir dir;
    writeFile(dir.path(), completeLines() << QStringLiteral("лишняя") << QStringLiteral("x"), "\n");
    const auto read = settings::ReadSettings(dir.path());
    QVERIFY2(read.problems.isEmpty(), qPrintable(read.problems.join('\n')));
    QCOMPARE(read.values.address, QStringLiteral("Текст 24"));
    QVERIFY(read.values.noRoundSellingPrice == false && read.values.roundSellingPrice);
}

// Writing gives exactly 30 CRLF lines in 1251, numbers as their fields show them, and
// reading the file gives the same values back.
void TestSettings::writeThenReadRoundTrip()
{
    QTemporaryDir dir;
    writeFile(dir.path(), completeLines());
    Settings s = settings::ReadSettings(dir.path()).values;
    s.enterpriseName = QStringLiteral("ООО «Комбикормовый завод» № 1");
    s.signers[3].surname = QStringLiteral("Ёлкин Э.Ю.");
    s.address = QString(90, QLatin1Char('a'));
    s.profitability = 12.345;
    s.namePriceWithoutTax = false;
    s.namePriceWithTax = true;

    QVERIFY(settings::WriteSettings(s, dir.path()).isEmpty());
    const QByteArray bytes = fileBytes(dir.path());
    QCOMPARE(bytes.count("\r\n"), 30);
    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(bytes.count('\n'), 30);
    QCOMPARE(bytes.count('\r'), 30);
    const QList<QByteArray> lines = bytes.split('\n');
    QCOMPARE(lines.at(0), QByteArray("\xCE\xCE\xCE \xAB\xCA\xEE\xEC\xE1\xE8\xEA\xEE\xF0\xEC\xEE"
                                     "\xE2\xFB\xE9 \xE7\xE0\xE2\xEE\xE4\xBB \xB9 1\r"));
    QCOMPARE(lines.at(13), QByteArray(" 2.50\r"));
    QCOMPARE(lines.at(14), QByteArray("  1200.00\r"));
    QCOMPARE(lines.at(15), QByteArray("12.35\r")); // what the field shows
    QCOMPARE(lines.at(24), QByteArray("f\r"));
    QCOMPARE(lines.at(25), QByteArray("t\r"));

    const Settings expected = [&] {
        Settings e = s;
        e.profitability = 12.35;
        return e;
    }();
    QCOMPARE(settings::currentSettings(), expected);
    settings::setCurrentSettings({});
    const auto read = settings::ReadSettings(dir.path());
    QVERIFY(read.problems.isEmpty());
    QCOMPARE(read.values, expected);
}

void TestSettings::writeReplacesCharactersWithout1251Byte()
{
    QTemporaryDir dir;
    Settings s;
    s.taxName = QStringLiteral("НДС ü ☺ ü \U0001F600");
    const QStringList problems = settings::WriteSettings(s, dir.path());
    QCOMPARE(problems.size(), 1);
    QVERIFY2(problems.first().contains(QStringLiteral("поле «Наименование налогов»")),
             qPrintable(problems.first()));
    QVERIFY(problems.first().contains(QStringLiteral("ü☺\U0001F600")));
    QCOMPARE(settings::currentSettings().taxName, QStringLiteral("НДС ? ? ? ?"));
    QCOMPARE(settings::ReadSettings(dir.path()).values.taxName, QStringLiteral("НДС ? ? ? ?"));
}

void TestSettings::writeKeepsThirtyLinesWhenTextHoldsLineBreak()
{
    QTemporaryDir dir;
    Settings s;
    s.address = QStringLiteral("г. Курск,\r\nул. Мира, 1\nкорп. 2");
    QVERIFY(settings::WriteSettings(s, dir.path()).isEmpty());
    QCOMPARE(fileBytes(dir.path()).count("\r\n"), 30);
    QCOMPARE(settings::ReadSettings(dir.path()).values.address,
             QStringLiteral("г. Курск, ул. Мира, 1 корп. 2"));
}

void TestSettings::failedWriteReportsAndKeepsValuesInForce()
{
    QTemporaryDir dir;
    Settings s;
    s.lossNorm = 3;
    const QStringList problems = settings::WriteSettings(s, dir.filePath("нет такой"));
    QCOMPARE(problems.size(), 1);
    QVERIFY(problems.first().contains(QStringLiteral("Не удалось записать")));
    QCOMPARE(settings::currentSettings().lossNorm, 3.0);
}

void TestSettings::workingDate()
{
    QCOMPARE(settings::workingDate(), QDate::currentDate());
    settings::setWorkingDate(QDate(2024, 3, 5));
    QCOMPARE(settings::workingDate(), QDate(2024, 3, 5));
    QCOMPARE(settings::shortDateFormat(), QStringLiteral("dd.MM.yyyy"));
    QCOMPARE(settings::shortDateText(settings::workingDate()), QStringLiteral("05.03.2024"));
}

QTEST_APPLESS_MAIN(TestSettings)
#include "tst_settings.moc"
