// The quality certificate's text: head lines, the three columns of the table with their
// closing entries, the moisture stated once, the filler kept in its column, the title
// split and joined again, the kind of feed and the signature line.
#include "archive/archivedrecipe.h"
#include "archive/certificatecolumns.h"
#include "archive/certificatetext.h"
#include "settings/settings.h"

#include <QtTest>

using archive::ArchivedRecipe;
using archive::CertificateText;

namespace
{

const QDate kDate(2026, 3, 5);
const QString kBlank37(37, u' ');
const QString kBlank43(43, u' ');
const QString kBlank80(80, u' ');

settings::Settings enterprise()
{
    settings::Settings s;
    s.enterpriseName = "ООО «Комбикормовый завод»";
    s.address = "г. Курск, ул. Мельничная, 1";
    s.conformityCertificate = "РОСС RU.АЯ45.В12345";
    s.premixFiller = "Мел кормовой";
    s.certificateSignerPosition = "Начальник лаборатории";
    s.certificateSignerSurname = "Иванова А.П.";
    return s;
}

ArchivedRecipe recipe(bool premixes, bool characteristics)
{
    ArchivedRecipe r;
    r.arnom = 7;
    r.naim = "ПК-1-1234.50-7Г";
    r.nasn = "кур-несушек";
    r.gost = "51851-2001";
    r.gk = "Г";
    r.raws = {{"Пшеница", 60, 9000}, {"Ячмень", 40, 8000}};
    if (premixes)
        r.premixes = {{"Витамин А", "тыс.МЕ", 10}};
    if (characteristics)
        r.chars = {{"Сырой протеин", "%", 15, 0, 16.1, 16.2}};
    return r;
}

const QString kMoisture = " Влажность              13.00 %          ";

} // namespace

class TestCertificateText final : public QObject
{
    Q_OBJECT

private slots:
    void headLines();
    void tableColumns_data();
    void tableColumns();
    void manyRawMaterialsDecideTheRows();
    void ownMoistureStatedOnce_data();
    void ownMoistureStatedOnce();
    void longFillerStaysInItsColumn();
    void titleSplitAt78_data();
    void titleSplitAt78();
    void titleJoinedAgain_data();
    void titleJoinedAgain();
    void feedKind_data();
    void feedKind();
    void signatureLine_data();
    void signatureLine();
    void plainTextRoundTrip();
};

void TestCertificateText::headLines()
{
    const CertificateText text =
        archive::buildCertificateText(recipe(true, true), enterprise(), kDate);
    const QStringList head = text.lines.mid(0, 14);
    QCOMPARE(head.at(0), "ООО «Комбикормовый завод»");
    QCOMPARE(head.at(1), "г. Курск, ул. Мельничная, 1");
    QCOMPARE(head.at(2), "Удостоверение о качестве комбикорма");
    QVERIFY(head.at(3).startsWith("от ") && head.at(3).contains("26"));
    QCOMPARE(head.at(4), "РЕЦЕПТ ПК-1-1234.50-7Г    Для кур-несушек");
    QCOMPARE(head.at(5), QString());
    QCOMPARE(head.at(6), "ГОСТ 51851-2001");
    QCOMPARE(head.at(7), "Дата выработки               Смена");
    QCOMPARE(head.at(8), "Вид комбикорма ГРАНУЛЫ");
    QCOMPARE(head.at(9), "Сертификат соответствия РОСС RU.АЯ45.В12345");
    QCOMPARE(head.at(10), "Получатель ");
    QCOMPARE(head.at(11), QString(126, u'*'));
    QCOMPARE(head.at(12), "           Состав рецепта %                    Введены добавки на 1 т"
                          "                    Показатели качества    ФАКТИЧЕСКИЕ      ");
    QCOMPARE(head.at(13), QString(126, u'*'));
    QCOMPARE(text.line(text.count() - 6), QString(130, u'*'));
    QVERIFY(text.line(text.count() - 5).startsWith("Комбикорм является смесью"));
    QVERIFY(text.line(text.count() - 2).startsWith("Комбикорм должен скармливаться"));
}

void TestCertificateText::tableColumns_data()
{
    QTest::addColumn<bool>("premixes");
    QTest::addColumn<bool>("characteristics");
    QTest::addColumn<QStringList>("rows");
    const QString raw1 = "Пшеница                         60.00";
    const QString raw2 = "Ячмень                          40.00";
    const QString premix = "   Витамин А              10.00 тыс.МЕ     ";
    const QString filler = "   Наполнитель: Мел кормовой               ";
    const QString protein = " Сырой протеин           16.20 %          ";
    QTest::newRow("premix and characteristic: 6 rows, count 26")
        << true << true << QStringList{raw1 + premix + kMoisture, raw2 + kBlank43 + protein,
                                       kBlank37 + filler,         kBlank80 + " НЕ ТОКСИЧЕН.",
                                       kBlank80 + " Анализ №",    kBlank80 + " Вагоны №"};
    QTest::newRow("no premix: filler on row 2")
        << false << true
        << QStringList{
               raw1 + kBlank43 + kMoisture, raw2 + filler + protein, kBlank80,
               kBlank80 + " НЕ ТОКСИЧЕН.",  kBlank80 + " Анализ №",  kBlank80 + " Вагоны №"};
    QTest::newRow("no characteristics: row 2 empty in column 3")
        << false << false
        << QStringList{raw1 + kBlank43 + kMoisture, raw2 + filler, kBlank80 + " НЕ ТОКСИЧЕН.",
                       kBlank80 + " Анализ №", kBlank80 + " Вагоны №"};
}

void TestCertificateText::tableColumns()
{
    QFETCH(bool, premixes);
    QFETCH(bool, characteristics);
    QFETCH(QStringList, rows);
    const CertificateText text =
        archive::buildCertificateText(recipe(premixes, characteristics), enterprise(), kDate);
    QCOMPARE(text.tableRows(), rows);
    QCOMPARE(text.count(), 14 + int(rows.size()) + 6);
    QCOMPARE(text.lastTableRow(), 13 + int(rows.size()));
}

void TestCertificateText::manyRawMaterialsDecideTheRows()
{
    ArchivedRecipe r = recipe(false, true);
    for (int i = 0; i < 10; ++i)
        r.raws.append({QStringLiteral("Добавка %1").arg(i), 1, 100});
    const QStringList rows = archive::buildCertificateText(r, enterprise(), kDate).tableRows();
    QCOMPARE(rows.size(), 12);
    QCOMPARE(rows.last(), "Добавка 9                        1.00" + kBlank43);
}

void TestCertificateText::ownMoistureStatedOnce_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("firstQuality");
    const QString value = QString(15, u' ') + "11.69 %          ";
    QTest::newRow("own moisture") << "Влажность"
                                  << " Влажность" + value;
    QTest::newRow("in other letters") << "влажность "
                                      << " влажность" + value;
    QTest::newRow("another name keeps the usual line") << "Влажность зерна" << kMoisture;
}

// The usual 13.00 % opens the quality column only when the recipe states no moisture.
void TestCertificateText::ownMoistureStatedOnce()
{
    QFETCH(QString, name);
    QFETCH(QString, firstQuality);
    ArchivedRecipe r = recipe(true, true);
    r.chars.append({name, "%", 0, 14, 11.5, 11.69});
    r.chars.move(1, 0);
    const QStringList rows = archive::buildCertificateText(r, enterprise(), kDate).tableRows();
    QCOMPARE(rows.first().mid(80), firstQuality);
    QCOMPARE(rows.join(u'\n').count("13.00"), firstQuality == kMoisture ? 1 : 0);
}

// A filler longer than its column goes on in the rows under it, the third column in its place.
void TestCertificateText::longFillerStaysInItsColumn()
{
    settings::Settings s = enterprise();
    s.premixFiller = "отруби пшеничные с добавлением мела кормового и соли по ГОСТ";
    const QStringList rows =
        archive::buildCertificateText(recipe(true, true), s, kDate).tableRows();
    const archive::CertificateColumn premix = archive::kCertificateColumns[1];
    QStringList filler;
    for (const QString &row : rows) {
        QVERIFY(row.size() <= premix.start + premix.width || row.at(80) == u' ');
        filler << row.mid(premix.start, premix.width).trimmed();
    }
    QCOMPARE(filler.join(u' ').simplified(),
             "Витамин А 10.00 тыс.МЕ Наполнитель: " + s.premixFiller);
    QCOMPARE(rows.at(2).mid(premix.start, premix.width),
             "   Наполнитель: отруби пшеничные с" + QString(9, u' '));
}

void TestCertificateText::titleSplitAt78_data()
{
    QTest::addColumn<int>("titleLength");
    QTest::addColumn<bool>("secondLine");
    QTest::newRow("78 fits") << 78 << false;
    QTest::newRow("79 splits") << 79 << true;
}

void TestCertificateText::titleSplitAt78()
{
    QFETCH(int, titleLength);
    QFETCH(bool, secondLine);
    ArchivedRecipe r = recipe(true, true);
    const QString start = "РЕЦЕПТ " + r.naim + "    Для ";
    r.nasn = "Для " + QString(titleLength - int(start.size()) - 6, u'к') + " телят";
    const CertificateText text = archive::buildCertificateText(r, enterprise(), kDate);
    // split after the last break that fits: the first part keeps its space
    QCOMPARE(text.line(4).size(), secondLine ? 74 : 78);
    QCOMPARE(text.line(5), secondLine ? QStringLiteral("телят ") : QString());
}

void TestCertificateText::titleJoinedAgain_data()
{
    QTest::addColumn<QString>("line4");
    QTest::addColumn<QString>("line5");
    QTest::addColumn<QString>("title");
    QTest::newRow("split after a blank") << "РЕЦЕПТ ПК-1    Для кур "
                                         << "несушек"
                                         << "РЕЦЕПТ ПК-1    Для кур несушек";
    QTest::newRow("split after a hyphen") << "РЕЦЕПТ ПК-1    Для кур-"
                                          << "несушек"
                                          << "РЕЦЕПТ ПК-1    Для кур-несушек";
    QTest::newRow("edited: two words meet") << "РЕЦЕПТ ПК-1"
                                            << "Для кур"
                                            << "РЕЦЕПТ ПК-1 Для кур";
    QTest::newRow("one line") << "РЕЦЕПТ ПК-1"
                              << ""
                              << "РЕЦЕПТ ПК-1";
}

void TestCertificateText::titleJoinedAgain()
{
    QFETCH(QString, line4);
    QFETCH(QString, line5);
    QFETCH(QString, title);
    CertificateText text = archive::buildCertificateText(recipe(true, true), enterprise(), kDate);
    text.lines[4] = line4;
    text.lines[5] = line5;
    QCOMPARE(text.title(), title);
}

void TestCertificateText::feedKind_data()
{
    QTest::addColumn<QString>("gk");
    QTest::addColumn<QString>("kind");
    QTest::newRow("г") << "г"
                       << "ГРАНУЛЫ";
    QTest::newRow("Г") << "Г"
                       << "ГРАНУЛЫ";
    QTest::newRow("К") << "К"
                       << "КРУПКА";
    QTest::newRow("к") << "к"
                       << "КРУПКА";
    QTest::newRow("empty") << ""
                           << "РОССЫПЬ";
    QTest::newRow("blank") << " "
                           << "РОССЫПЬ";
    QTest::newRow("other letter as stored") << "Б"
                                            << "Б";
}

void TestCertificateText::feedKind()
{
    QFETCH(QString, gk);
    QFETCH(QString, kind);
    ArchivedRecipe r = recipe(true, true);
    r.gk = gk;
    QCOMPARE(archive::buildCertificateText(r, enterprise(), kDate).line(8),
             "Вид комбикорма " + kind);
}

void TestCertificateText::signatureLine_data()
{
    QTest::addColumn<QString>("post");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("line");
    const QString underline(27, u'_');
    QTest::newRow("post and name") << "Начальник лаборатории"
                                   << "Иванова А.П."
                                   << "Начальник лаборатории " + underline + " /Иванова А.П./";
    QTest::newRow("no name: long underline") << "Начальник лаборатории"
                                             << ""
                                             << "Начальник лаборатории " + QString(50, u'_');
    QTest::newRow("no post") << ""
                             << ""
                             << " " + QString(50, u'_');
    QTest::newRow("long post cut at 90")
        << QString(100, u'п') << "Петров" << QString(90, u'п') + "Петров/";
}

void TestCertificateText::signatureLine()
{
    QFETCH(QString, post);
    QFETCH(QString, name);
    QFETCH(QString, line);
    settings::Settings s = enterprise();
    s.certificateSignerPosition = post;
    s.certificateSignerSurname = name;
    const CertificateText text = archive::buildCertificateText(recipe(true, true), s, kDate);
    QCOMPARE(text.line(text.count() - 1), line);
}

// The editor's text read back gives the same lines, an edited line included.
void TestCertificateText::plainTextRoundTrip()
{
    CertificateText text = archive::buildCertificateText(recipe(true, true), enterprise(), kDate);
    text.lines[7] = "Дата выработки 05.03.2026     Смена 2";
    const CertificateText back = CertificateText::fromPlainText(text.plainText());
    QCOMPARE(back.lines, text.lines);
    QCOMPARE(back.line(200), QString());
}

QTEST_APPLESS_MAIN(TestCertificateText)
#include "tst_certificatetext.moc"
