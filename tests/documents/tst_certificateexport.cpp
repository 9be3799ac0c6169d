// The quality certificate as a .docx file, read back with python3-docx and converted by
// LibreOffice: the head in its fonts, the three-column table inside the margins with its
// borders and header height, the columns cut where the text lays them out, the widest
// entries on one line, the closing lines, an empty table, a text the user shortened,
// texts that XML must escape, and a recipe's own moisture stated once. The table rows
// are the certificate builder's.

#include "docxreadback.h"

#include "archive/archivedrecipe.h"
#include "archive/certificatecolumns.h"
#include "archive/certificatetext.h"
#include "documents/certificateexport.h"
#include "documents/docxwriter.h"
#include "samplerecipe.h"
#include "settings/settings.h"

#include <QJsonArray>
#include <QTest>

using archive::ArchivedRecipe;
using namespace documents;

namespace
{

const QDate kDate(2026, 3, 5);

// The table rows the builder makes of a layer feed: four raw materials, one premix
// addition with a unit of ten characters, one quality figure, the filler "отруби".
ArchivedRecipe layerFeed()
{
    ArchivedRecipe r = sampleRecipeHead();
    r.premixes = {{QStringLiteral("Витамин А"), QStringLiteral("мг/кг корм"), 10}};
    r.chars = {{QStringLiteral("Сырой протеин"), QStringLiteral("тыс.ЕД/кг."), 0, 0, 16.25, 16.25}};
    return r;
}

// Every entry as long as the archive's fields and the text's figures allow.
ArchivedRecipe widestEntries()
{
    ArchivedRecipe r;
    r.raws = {{QStringLiteral("Шрот соевый тостированный 46 %"), 100, 9000}};
    r.premixes = {{QStringLiteral("Витамин Е ацетат 50%"), QStringLiteral("тыс.МЕ/кг."), 1234.56}};
    r.chars = {{QStringLiteral("Обменная энергия КРС"), QStringLiteral("ккал/100г."), 0, 0, 1234.56,
                1234.56}};
    return r;
}

QStringList tableRows(const ArchivedRecipe &r)
{
    settings::Settings values;
    values.premixFiller = QStringLiteral("отруби");
    return archive::buildCertificateText(r, values, kDate).tableRows();
}

// A certificate text as the archive window builds it, with `rows` table rows.
QStringList certificate(const QStringList &rows, const QString &enterprise)
{
    QStringList lines = {enterprise,
                         QStringLiteral("г. Орел, ул. Заводская, 1"),
                         QStringLiteral("Удостоверение о качестве комбикорма"),
                         QStringLiteral("от 07.12.2026"),
                         QStringLiteral("РЕЦЕПТ ПК-1-15054.19-12Г    Для кур-несушек"),
                         QString(),
                         QStringLiteral("ГОСТ 51851-2001"),
                         QStringLiteral("Дата выработки               Смена"),
                         QStringLiteral("Вид комбикорма ГРАНУЛЫ"),
                         QStringLiteral("Сертификат соответствия РОСС RU.0001"),
                         QStringLiteral("Получатель "),
                         QString(126, QLatin1Char('*')),
                         QStringLiteral("           Состав рецепта %  (заголовок столбцов)"),
                         QString(126, QLatin1Char('*'))};
    lines << rows;
    lines << QString(130, QLatin1Char('*')) << QStringLiteral("Комбикорм является смесью.")
          << QStringLiteral("использования питательных веществ.")
          << QStringLiteral("в соответствии с назначением.")
          << QStringLiteral("Комбикорм должен скармливаться только тем животным.")
          << QStringLiteral("Начальник ОТК ___________________________ /Смирнова/");
    return lines;
}

QMap<QString, QStringList> cases()
{
    const QString enterprise = QStringLiteral("АО Комбикормовый завод");
    QMap<QString, QStringList> all;
    all[QStringLiteral("certificate")] = certificate(tableRows(layerFeed()), enterprise);
    all[QStringLiteral("certificate-no-rows")] = certificate({}, enterprise);
    all[QStringLiteral("certificate-widest")] = certificate(tableRows(widestEntries()), enterprise);
    ArchivedRecipe special = layerFeed();
    special.raws[0].naim = QStringLiteral("Жмых <&> \"А\"");
    special.premixes = {{QStringLiteral("Вит. <Е> & 'С'"), QStringLiteral("<мг>"), 1}};
    all[QStringLiteral("certificate-special-characters")] =
        certificate(tableRows(special), QStringLiteral("ООО \"Корма & <Зерно>\""));
    all[QStringLiteral("certificate-shortened")] = {enterprise, QStringLiteral("адрес")};
    ArchivedRecipe moist;
    moist.raws = {{QStringLiteral("Пшеница"), 100, 9000}};
    moist.chars = {{QStringLiteral("Влажность"), QStringLiteral("%"), 0, 14, 11.69, 11.69}};
    all[QStringLiteral("certificate-own-moisture")] =
        archive::buildCertificateText(moist, settings::Settings(), kDate).lines;
    return all;
}

QJsonArray bodyOf(const QJsonObject &file)
{
    return file[QStringLiteral("body")].toArray();
}

// "text|size|bold|align|indent" of every paragraph, "table" for a table.
QStringList paragraphShapes(const QJsonObject &file)
{
    QStringList shapes;
    for (const QJsonValue &block : bodyOf(file)) {
        if (!block.toObject().contains(QStringLiteral("p"))) {
            shapes << QStringLiteral("table");
            continue;
        }
        const QJsonArray runs = block[QStringLiteral("runs")].toArray();
        const double size = runs.isEmpty() ? block[QStringLiteral("mark")].toDouble()
                                           : runs.last()[QStringLiteral("size")].toDouble();
        const bool bold = !runs.isEmpty() && runs.last()[QStringLiteral("bold")].toBool();
        shapes << QStringLiteral("%1|%2|%3|%4|%5")
                      .arg(block[QStringLiteral("p")].toString())
                      .arg(size)
                      .arg(bold ? QStringLiteral("b") : QString())
                      .arg(block[QStringLiteral("align")].toString())
                      .arg(block[QStringLiteral("indent")].toDouble());
    }
    return shapes;
}

QJsonObject tableOf(const QJsonObject &file)
{
    for (const QJsonValue &block : bodyOf(file)) {
        if (block.toObject().contains(QStringLiteral("rows")))
            return block.toObject();
    }
    return {};
}

QString cellText(const QJsonObject &table, int row, int column)
{
    return table[QStringLiteral("rows")][row][column][QStringLiteral("text")].toString();
}

} // namespace

class TestCertificateExport final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pageAndParagraphs();
    void table();
    void columns_data();
    void columns();
    void widestEntriesStayOnOneLine();
    void emptyTable();
    void shortenedTextStillExports();
    void specialCharactersSurvive();
    void ownMoistureStatedOnce();
    void pdfShowsTheCertificate();

private:
    QJsonObject file(const QString &name) const
    {
        return dump_[docxreadback::outputPath(name)].toObject();
    }
    QJsonObject dump_;
    QMap<QString, QString> pdf_;
};

void TestCertificateExport::initTestCase()
{
    QDir().mkpath(QStringLiteral(KP_TEST_OUTPUT));
    QStringList files;
    const QMap<QString, QStringList> all = cases();
    for (auto it = all.begin(); it != all.end(); ++it) {
        const QString path = docxreadback::outputPath(it.key());
        QFile::remove(path);
        const QString error = writeDocx(certificateDocx(it.value()), path);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        files << path;
    }
    QString error;
    dump_ = docxreadback::dump(files, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    pdf_ = docxreadback::pdfTexts(files, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

// Margins of 18 pt; the head centred in its sizes, lines 6-10 indented by 40 pt, the
// closing lines 8 pt bold, the signature 10 pt after five blanks; no rules.
void TestCertificateExport::pageAndParagraphs()
{
    const QJsonObject f = file(QStringLiteral("certificate"));
    QCOMPARE(f[QStringLiteral("margins")].toArray(), QJsonArray({18, 18, 18, 18}));
    QVERIFY(f[QStringLiteral("portrait")].toBool());
    QCOMPARE(paragraphShapes(f),
             QStringList({"АО Комбикормовый завод|14|b|CENTER|0",
                          "г. Орел, ул. Заводская, 1|14||CENTER|0",
                          "|14||CENTER|0",
                          "Удостоверение о качестве комбикорма|14|b|CENTER|0",
                          "от 07.12.2026|10||CENTER|0",
                          "|14||CENTER|0",
                          "РЕЦЕПТ ПК-1-15054.19-12Г    Для кур-несушек|14|b|CENTER|0",
                          "|10||LEFT|40",
                          "ГОСТ 51851-2001|10||LEFT|40",
                          "Дата выработки               Смена|10||LEFT|40",
                          "Вид комбикорма ГРАНУЛЫ|10||LEFT|40",
                          "Сертификат соответствия РОСС RU.0001|10||LEFT|40",
                          "Получатель |10||LEFT|40",
                          "|10||LEFT|40",
                          "table",
                          "|8||LEFT|0",
                          "Комбикорм является смесью.|8|b|LEFT|0",
                          "использования питательных веществ.|8|b|LEFT|0",
                          "в соответствии с назначением.|8|b|LEFT|0",
                          "Комбикорм должен скармливаться только тем животным.|8|b|LEFT|0",
                          "|10||LEFT|0",
                          "|10||LEFT|0",
                          "     Начальник ОТК ___________________________ /Смирнова/|10||LEFT|0"}));
}

// Between the margins; single inside, double outside; a header row of at least 15 pt
// centred both ways; Courier New bold, the header in 8 pt, the entries in the table's
// size.
void TestCertificateExport::table()
{
    const QJsonObject t = tableOf(file(QStringLiteral("certificate")));
    const QJsonArray widths = t[QStringLiteral("widths")].toArray();
    QCOMPARE(widths.size(), 3);
    double total = 0;
    for (const QJsonValue &width : widths)
        total += width.toDouble();
    QVERIFY(total <= DocxDocument::kPageWidth - 2 * 18);
    QCOMPARE(t[QStringLiteral("height")].toDouble(), 15.0);
    const QJsonObject borders = t[QStringLiteral("borders")].toObject();
    for (const char *side : {"top", "left", "bottom", "right"})
        QCOMPARE(borders[QLatin1String(side)].toString(), QStringLiteral("double"));
    for (const char *side : {"insideH", "insideV"})
        QCOMPARE(borders[QLatin1String(side)].toString(), QStringLiteral("single"));
    const QStringList headers = {"Состав рецепта %", "Введены добавки на 1 т",
                                 "Показатели качества"};
    for (int c = 0; c < 3; ++c) {
        QCOMPARE(cellText(t, 0, c), headers.at(c));
        QCOMPARE(t[QStringLiteral("rows")][0][c][QStringLiteral("valign")].toString(),
                 QStringLiteral("CENTER"));
    }
    const QJsonArray rows = t[QStringLiteral("rows")].toArray();
    for (qsizetype r = 0; r < rows.size(); ++r)
        for (const QJsonValue &cell : rows[r].toArray())
            for (const QJsonValue &p : cell[QStringLiteral("paragraphs")].toArray())
                for (const QJsonValue &run : p[QStringLiteral("runs")].toArray()) {
                    QCOMPARE(run[QStringLiteral("size")].toDouble(),
                             r == 0 ? 8.0 : archive::kCertificateTableFontSize);
                    QVERIFY(run[QStringLiteral("bold")].toBool());
                    QCOMPARE(run[QStringLiteral("font")].toString(), QStringLiteral("Courier New"));
                }
}

void TestCertificateExport::columns_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("composition: names and shares line up")
        << 0 << QStringList{"Пшеница 40.50",
                            "Ячмень 33.25",
                            "Премикс П1-1 1.00",
                            "Шрот подсолнечный 25.25",
                            "",
                            ""};
    // A unit of ten characters stays whole in its own column.
    QTest::newRow("premix additions, then one empty row, then the filler")
        << 1 << QStringList{"Витамин А 10.00 мг/кг корм", "", "Наполнитель: отруби", "", "", ""};
    QTest::newRow("quality: moisture, actual values, the fixed lines")
        << 2 << QStringList{"Влажность 13.00 %",
                            "Сырой протеин 16.25 тыс.ЕД/кг.",
                            "",
                            "НЕ ТОКСИЧЕН.",
                            "Анализ №",
                            "Вагоны №"};
}

// Each body cell: a mark first, then one paragraph per row of the text. The shares
// line up under each other: every composition entry takes the same room.
void TestCertificateExport::columns()
{
    QFETCH(int, column);
    QFETCH(QStringList, entries);
    const QJsonObject t = tableOf(file(QStringLiteral("certificate")));
    const QStringList paragraphs = cellText(t, 1, column).split(QLatin1Char('\n'));
    QCOMPARE(paragraphs.value(0), QString());
    QStringList shown;
    QSet<qsizetype> lengths;
    for (const QString &paragraph : paragraphs.mid(1)) {
        QVERIFY(paragraph.endsWith(u' ')); // a run even in an empty row: the rows keep in step
        shown << paragraph.simplified();
        if (!shown.last().isEmpty())
            lengths << paragraph.size();
    }
    QCOMPARE(shown, entries);
    if (column == 0)
        QCOMPARE(lengths.size(), 1);
    QVERIFY(t[QStringLiteral("rows")][1][column][QStringLiteral("valign")].toString() !=
            QStringLiteral("CENTER"));
}

// The longest entries the text can hold stay on one line in the converted document.
void TestCertificateExport::widestEntriesStayOnOneLine()
{
    QStringList lines;
    for (const QString &line :
         pdf_.value(docxreadback::outputPath(QStringLiteral("certificate-widest"))).split('\n'))
        lines << line.simplified();
    const QString table = lines.join(u'\n');
    for (const char *entry :
         {"Шрот соевый тостированный 46 % 100.00", "Витамин Е ацетат 50% 1234.56 тыс.МЕ/кг.",
          "Обменная энергия КРС 1234.56 ккал/100г."})
        QVERIFY2(table.contains(QString::fromUtf8(entry)), qPrintable(table));
}

void TestCertificateExport::emptyTable()
{
    const QJsonObject t = tableOf(file(QStringLiteral("certificate-no-rows")));
    QCOMPARE(t[QStringLiteral("rows")].toArray().size(), 2);
    for (int c = 0; c < 3; ++c)
        QCOMPARE(cellText(t, 1, c), QStringLiteral("\n"));
}

// Two lines left of the text: the document is still made, missing lines empty.
void TestCertificateExport::shortenedTextStillExports()
{
    const QStringList shapes = paragraphShapes(file(QStringLiteral("certificate-shortened")));
    QCOMPARE(shapes.value(0), QStringLiteral("АО Комбикормовый завод|14|b|CENTER|0"));
    QVERIFY(shapes.contains(QStringLiteral("table")));
    QVERIFY(pdf_.value(docxreadback::outputPath(QStringLiteral("certificate-shortened")))
                .contains(QStringLiteral("Состав рецепта %")));
}

void TestCertificateExport::specialCharactersSurvive()
{
    const QString name = QStringLiteral("certificate-special-characters");
    const QJsonObject f = file(name);
    QCOMPARE(bodyOf(f)[0][QStringLiteral("p")].toString(),
             QStringLiteral("ООО \"Корма & <Зерно>\""));
    const QJsonObject t = tableOf(f);
    QCOMPARE(cellText(t, 1, 0).split(QLatin1Char('\n')).value(1).simplified(),
             QStringLiteral("Жмых <&> \"А\" 40.50"));
    QCOMPARE(cellText(t, 1, 1).split(QLatin1Char('\n')).value(1).simplified(),
             QStringLiteral("Вит. <Е> & 'С' 1.00 <мг>"));
    const QString pdf = pdf_.value(docxreadback::outputPath(name));
    for (const char *text : {"ООО \"Корма & <Зерно>\"", "Жмых <&> \"А\"", "Вит. <Е> & 'С'"})
        QVERIFY2(pdf.contains(QString::fromUtf8(text)), text);
}

void TestCertificateExport::ownMoistureStatedOnce()
{
    const QString name = QStringLiteral("certificate-own-moisture");
    const QString quality = cellText(tableOf(file(name)), 1, 2);
    QCOMPARE(quality.count(QStringLiteral("Влажность")), 1);
    QVERIFY(quality.contains(QStringLiteral("11.69")));
    QVERIFY(!pdf_.value(docxreadback::outputPath(name)).contains(QStringLiteral("13.00")));
}

void TestCertificateExport::pdfShowsTheCertificate()
{
    const QString pdf =
        pdf_.value(docxreadback::outputPath(QStringLiteral("certificate"))).simplified();
    for (const char *text :
         {"АО Комбикормовый завод", "Удостоверение о качестве комбикорма", "от 07.12.2026",
          "ГОСТ 51851-2001", "Состав рецепта %", "Введены добавки на 1 т", "Шрот подсолнечный",
          "Наполнитель: отруби", "НЕ ТОКСИЧЕН.", "Комбикорм должен скармливаться", "/Смирнова/"})
        QVERIFY2(pdf.contains(QString::fromUtf8(text)), text);
    QVERIFY(!pdf.contains(QStringLiteral("*****")));
    QVERIFY(!pdf.contains(QStringLiteral("заголовок столбцов")));
}

QTEST_APPLESS_MAIN(TestCertificateExport)
#include "tst_certificateexport.moc"
