// The recipe document as a .docx file, read back with python3-docx and converted by
// LibreOffice: the head, the title frame, the tables of each form with their widths,
// borders and texts, the approver line, the signatures, and texts that XML must escape.

#include "docxreadback.h"
#include "samplerecipe.h"

#include "documents/docxwriter.h"
#include "documents/recipeexport.h"

#include <QJsonArray>
#include <QTest>

#include <cmath>

using namespace documents;

namespace
{

QString underscores(int n)
{
    return QString(n, QLatin1Char('_'));
}

RecipePageTexts sampleTexts()
{
    RecipePageTexts t;
    t.enterprise = QStringLiteral("АО Комбикормовый завод");
    t.approverPost = QStringLiteral("Директор");
    t.approverName = QStringLiteral("Иванов И.И.");
    t.signerPosts = {QStringLiteral("Технолог"), QStringLiteral("Зав. лабораторией"), QString(),
                     QStringLiteral("Экономист"), QStringLiteral("Гл. бухгалтер")};
    t.signerNames = {QStringLiteral("Петрова А.А."), QStringLiteral("Сидоров В.В."),
                     QStringLiteral("Кузнецов"), QString(), QStringLiteral("Орлова Е.Е.")};
    t.printDate = QStringLiteral("07.12.2026");
    return t;
}

ArchivedRecipe sampleRecipe()
{
    ArchivedRecipe r = sampleRecipeHead();
    r.chars = {
        {QStringLiteral("Обменная энергия"), QStringLiteral("ккал/100г"), 260, 0, 265.4, 263.1},
        {QStringLiteral("Сырой протеин"), QStringLiteral("%"), 16, 18, 16.5, 16.25},
        {QStringLiteral("Кальций"), QStringLiteral("%"), 0, 0, 3.2, 3.1}};
    r.premixes = {{QStringLiteral("Витамин А"), QStringLiteral("тыс.МЕ"), 10}};
    return r;
}

// Every text of the recipe and the settings with characters XML escapes.
const QString kSpecial = QStringLiteral("<&\"'>");

struct Case {
    ArchivedRecipe recipe = sampleRecipe();
    RecipePageTexts texts = sampleTexts();
    RecipeForm form = RecipeForm::Full;
    bool actual = false;
};

QMap<QString, Case> cases()
{
    QMap<QString, Case> all;
    all[QStringLiteral("recipe-mainMenu")] = Case();
    Case form2;
    form2.form = RecipeForm::NoRawPrices;
    form2.actual = true;
    all[QStringLiteral("recipe-form2")] = form2;
    Case characteristicsWindow;
    characteristicsWindow.form = RecipeForm::NoFinance;
    all[QStringLiteral("recipe-characteristicsWindow")] = characteristicsWindow;
    Case noApprover;
    noApprover.texts.approverName.clear();
    all[QStringLiteral("recipe-no-approver-name")] = noApprover;
    Case special;
    special.recipe.naim = QStringLiteral("Смесь <А&Б>");
    special.recipe.gost = QStringLiteral("ГОСТ \"Р\" & ТУ");
    special.recipe.nasn = QStringLiteral("для 'кур' <несушек>");
    special.recipe.prim = QStringLiteral("примечание ") + kSpecial;
    special.recipe.data = QStringLiteral("05.03.2024 &");
    special.recipe.raws[0].naim = QStringLiteral("Жмых <соевый> & \"А\"");
    special.recipe.chars[0].pit = QStringLiteral("Энергия <&>");
    special.recipe.chars[0].ediz = QStringLiteral("\"ккал\"");
    special.texts.enterprise = QStringLiteral("ООО \"Корма & <Зерно>\"");
    special.texts.approverPost = QStringLiteral("Директор <&>");
    special.texts.approverName = QStringLiteral("О'Нил \"А\"");
    special.texts.signerPosts[0] = QStringLiteral("Технолог &");
    special.texts.signerNames[0] = QStringLiteral("<Петрова>");
    special.texts.printDate = QStringLiteral("07.12.2026");
    all[QStringLiteral("recipe-special-characters")] = special;
    return all;
}

QJsonArray tablesOf(const QJsonObject &file)
{
    QJsonArray tables;
    for (const QJsonValue &block : file[QStringLiteral("body")].toArray()) {
        if (block.toObject().contains(QStringLiteral("rows")))
            tables.append(block);
    }
    return tables;
}

QStringList paragraphTexts(const QJsonObject &file)
{
    QStringList texts;
    for (const QJsonValue &block : file[QStringLiteral("body")].toArray()) {
        if (block.toObject().contains(QStringLiteral("p")))
            texts << block[QStringLiteral("p")].toString();
    }
    return texts;
}

QString cellText(const QJsonArray &tables, int table, int row, int column)
{
    return tables[table][QStringLiteral("rows")][row][column][QStringLiteral("text")].toString();
}

QList<double> widthsOf(const QJsonValue &table)
{
    QList<double> widths;
    for (const QJsonValue &w : table[QStringLiteral("widths")].toArray())
        widths << w.toDouble();
    return widths;
}

// "Name \nline\n…\n" -> the trimmed paragraph texts of a cell.
QStringList cellLines(const QString &text)
{
    QStringList lines;
    for (const QString &line : text.split(QLatin1Char('\n')))
        lines << line.trimmed();
    return lines;
}

} // namespace

class TestRecipeExport final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void pageAndHead();
    void tablesOfEachForm_data();
    void tablesOfEachForm();
    void qualityValues_data();
    void qualityValues();
    void approverLine_data();
    void approverLine();
    void signatures();
    void signatureText_data();
    void signatureText();
    void specialCharactersSurvive();
    void pdfShowsTheDocument_data();
    void pdfShowsTheDocument();
    void emptyDocumentExportsNothing();

private:
    QJsonObject file(const QString &name) const
    {
        return dump_[docxreadback::outputPath(name)].toObject();
    }
    QJsonObject dump_;
    QMap<QString, QString> pdf_;
};

// Writes every case once, reads them all back with python3-docx and converts them all
// in one LibreOffice run.
void TestRecipeExport::initTestCase()
{
    QDir().mkpath(QStringLiteral(KP_TEST_OUTPUT));
    QStringList files;
    const QMap<QString, Case> all = cases();
    for (auto it = all.begin(); it != all.end(); ++it) {
        RecipeDocument document =
            RecipeDocument::build(it->recipe, QStringLiteral("НДС"), it->texts.printDate);
        document.balanceBatch();
        const QString path = docxreadback::outputPath(it.key());
        QFile::remove(path);
        const QString error =
            writeDocx(recipeDocx(document, it->texts, it->form, it->actual), path);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        files << path;
    }
    QString error;
    dump_ = docxreadback::dump(files, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    pdf_ = docxreadback::pdfTexts(files, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

// Portrait page, margins 60/36/18/18 pt; the head paragraphs in their fonts.
void TestRecipeExport::pageAndHead()
{
    const QJsonObject f = file(QStringLiteral("recipe-mainMenu"));
    QVERIFY(f[QStringLiteral("portrait")].toBool());
    QCOMPARE(f[QStringLiteral("margins")].toArray(), QJsonArray({60, 36, 18, 18}));
    const QJsonArray body = f[QStringLiteral("body")].toArray();
    struct Head {
        int index;
        QString text;
        double size;
        bool bold;
        QString align;
    };
    const QList<Head> head = {
        {0, QStringLiteral("АО Комбикормовый завод"), 14, true, QStringLiteral("CENTER")},
        {1, QString(), 14, true, QStringLiteral("CENTER")},
        {2, QStringLiteral("УТВЕРЖДАЮ        "), 14, true, QStringLiteral("RIGHT")},
        {3, QStringLiteral("Директор") + underscores(16) + QStringLiteral("/Иванов И.И./"), 14,
         false, QStringLiteral("RIGHT")},
        {4, QStringLiteral("Дата печати 07.12.2026"), 10, false, QStringLiteral("LEFT")},
        {5, QStringLiteral("Дата расчета 05.03.2024   Примечание. опытная партия"), 8, false,
         QStringLiteral("LEFT")},
        {6, QString(), 8, false, QStringLiteral("LEFT")}};
    for (const Head &h : head) {
        const QJsonObject p = body[h.index].toObject();
        QCOMPARE(p[QStringLiteral("p")].toString(), h.text);
        QCOMPARE(p[QStringLiteral("mark")].toDouble(), h.size);
        QCOMPARE(p[QStringLiteral("align")].toString(), h.align);
        QCOMPARE(p[QStringLiteral("before")].toDouble(), 0.0);
        QCOMPARE(p[QStringLiteral("after")].toDouble(), 0.0);
        for (const QJsonValue &run : p[QStringLiteral("runs")].toArray()) {
            QCOMPARE(run[QStringLiteral("font")].toString(), QStringLiteral("Courier New"));
            QCOMPARE(run[QStringLiteral("size")].toDouble(), h.size);
            QCOMPARE(run[QStringLiteral("bold")].toBool(), h.bold);
        }
    }
    // The title frame: one cell, 522 pt, a double outside border, centred 14 pt text;
    // a 3 pt spacer after it.
    const QJsonObject frame = body[7].toObject();
    QCOMPARE(widthsOf(frame), QList<double>({522}));
    for (const char *side : {"top", "left", "bottom", "right"})
        QCOMPARE(frame[QStringLiteral("borders")][QLatin1String(side)].toString(),
                 QStringLiteral("double"));
    const QJsonObject cell = frame[QStringLiteral("rows")][0][0].toObject();
    QCOMPARE(cell[QStringLiteral("text")].toString(),
             QStringLiteral("РЕЦЕПТ ПК-1-15054.19-12Г  ГОСТ 51851-2001\n"
                            "Для кур-несушек промышленного стада"));
    QCOMPARE(cell[QStringLiteral("valign")].toString(), QStringLiteral("CENTER"));
    const QJsonObject title = cell[QStringLiteral("paragraphs")][0].toObject();
    QCOMPARE(title[QStringLiteral("align")].toString(), QStringLiteral("CENTER"));
    QCOMPARE(title[QStringLiteral("runs")][0][QStringLiteral("size")].toDouble(), 14.0);
    QCOMPARE(body[8][QStringLiteral("p")].toString(), QString());
    QCOMPARE(body[8][QStringLiteral("mark")].toDouble(), 3.0);
}

void TestRecipeExport::tablesOfEachForm_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<double>>("rawWidths");
    QTest::addColumn<QStringList>("rawHeaders");
    QTest::addColumn<QList<double>>("qualityWidths");
    const QString share = QStringLiteral("%\nввода");
    const QString batch = QStringLiteral("Количество на\nпартию");
    const QString losses = QStringLiteral("Количество на\nпартию с потерями");
    QTest::newRow("form 1: six raw-material columns, cost figures")
        << QStringLiteral("recipe-mainMenu") << QList<double>{155, 35, 88, 74, 78, 93}
        << QStringList{QStringLiteral("Состав сырья"),
                       share,
                       QStringLiteral("Оптовая цена\nза 1 тонну, руб."),
                       QStringLiteral("Стоимость в\nрецепте, руб."),
                       batch,
                       losses}
        << QList<double>{165, 93, 50, 215};
    QTest::newRow("form 2: no raw-material prices")
        << QStringLiteral("recipe-form2") << QList<double>{155, 35, 78, 93}
        << QStringList{QStringLiteral("Состав сырья"), share, batch, losses}
        << QList<double>{165, 93, 50, 215};
    QTest::newRow("form 3: no prices, no cost column")
        << QStringLiteral("recipe-characteristicsWindow") << QList<double>{155, 35, 78, 93}
        << QStringList{QStringLiteral("Состав сырья"), share, batch, losses}
        << QList<double>{165, 93, 50};
}

void TestRecipeExport::tablesOfEachForm()
{
    QFETCH(QString, name);
    QFETCH(QList<double>, rawWidths);
    QFETCH(QStringList, rawHeaders);
    QFETCH(QList<double>, qualityWidths);
    const QJsonArray tables = tablesOf(file(name));
    QCOMPARE(tables.size(), 3);
    QCOMPARE(widthsOf(tables[1]), rawWidths);
    QCOMPARE(widthsOf(tables[2]), qualityWidths);
    for (int t : {1, 2}) {
        for (const QJsonValue &style : tables[t][QStringLiteral("borders")].toObject())
            QCOMPARE(style.toString(), QStringLiteral("single"));
        QCOMPARE(tables[t][QStringLiteral("rows")].toArray().size(), 2);
    }
    for (int c = 0; c < rawHeaders.size(); ++c) {
        QCOMPARE(cellText(tables, 1, 0, c), rawHeaders.at(c));
        const QJsonObject header = tables[1][QStringLiteral("rows")][0][c].toObject();
        QCOMPARE(header[QStringLiteral("valign")].toString(), QStringLiteral("CENTER"));
        QCOMPARE(header[QStringLiteral("paragraphs")][0][QStringLiteral("align")].toString(),
                 QStringLiteral("CENTER"));
    }
    // The bodies start at the top, so that the lines of neighbouring columns match.
    for (int t : {1, 2}) {
        for (const QJsonValue &cell : tables[t][QStringLiteral("rows")][1].toArray())
            QVERIFY(cell[QStringLiteral("valign")].toString() != QStringLiteral("CENTER"));
    }
    // Each column: a mark first, then one paragraph per raw material.
    QCOMPARE(cellLines(cellText(tables, 1, 1, 0)),
             QStringList({"", "Пшеница", "Ячмень", "Премикс П1-1", "Шрот подсолнечный", ""}));
    QCOMPARE(cellLines(cellText(tables, 1, 1, 1)),
             QStringList({"", "40.50", "33.25", "1.00", "25.25", ""}));
    // 10 t with 1 % losses: the balanced amounts, four decimals, add up to 10 and 10.1 t.
    const int batchColumn = rawWidths.size() - 2;
    QCOMPARE(cellLines(cellText(tables, 1, 1, batchColumn)),
             QStringList({"", "4.0500", "3.3250", "0.1000", "2.5250", ""}));
    const QStringList withLosses = cellLines(cellText(tables, 1, 1, batchColumn + 1));
    QCOMPARE(withLosses.size(), 6);
    double sum = 0;
    for (const QString &amount : withLosses.mid(1, 4)) {
        QCOMPARE(amount.size(), 6);
        sum += amount.toDouble();
    }
    QCOMPARE(std::round(sum * 10000), 101000.0);
    const QJsonArray valueParagraphs =
        tables[1][QStringLiteral("rows")][1][1][QStringLiteral("paragraphs")].toArray();
    QCOMPARE(valueParagraphs[1][QStringLiteral("align")].toString(), QStringLiteral("RIGHT"));
    QCOMPARE(valueParagraphs[1][QStringLiteral("runs")][0][QStringLiteral("size")].toDouble(), 8.0);
    if (rawWidths.size() == 6) {
        QCOMPARE(cellLines(cellText(tables, 1, 1, 2)),
                 QStringList({"", "12000.00", "10500.50", "95000.00", "15000.00", ""}));
        QCOMPARE(cellLines(cellText(tables, 1, 1, 3)),
                 QStringList({"", "4860.00", "3491.42", "950.00", "3787.50", ""}));
    }
    QCOMPARE(cellText(tables, 2, 0, 0), QStringLiteral("Показатели качества"));
    QCOMPARE(cellText(tables, 2, 0, 2), QStringLiteral("Факт"));
    if (qualityWidths.size() == 4) {
        QCOMPARE(cellText(tables, 2, 0, 3), QStringLiteral("Стоимостные показатели руб."));
        const QStringList costs = cellLines(cellText(tables, 2, 1, 3));
        QCOMPARE(costs.size(), 12);
        QCOMPARE(costs.at(1), QStringLiteral("Стоимость сырья                13088.92"));
        QCOMPARE(costs.at(10), QStringLiteral("Объем партии, т               10.000"));
    }
}

void TestRecipeExport::qualityValues_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("values");
    QTest::newRow("calculated") << QStringLiteral("recipe-mainMenu")
                                << QStringList{"", "265.40", "16.50", "3.20", ""};
    QTest::newRow("actual") << QStringLiteral("recipe-form2")
                            << QStringList{"", "263.10", "16.25", "3.10", ""};
}

// Name with unit, norm text and the chosen value; the text is 8 pt Courier New.
void TestRecipeExport::qualityValues()
{
    QFETCH(QString, name);
    QFETCH(QStringList, values);
    const QJsonArray tables = tablesOf(file(name));
    QCOMPARE(cellLines(cellText(tables, 2, 1, 0)),
             QStringList({"", "Обменная энергия     ккал/100г", "Сырой протеин        %",
                          "Кальций              %", ""}));
    QCOMPARE(cellLines(cellText(tables, 2, 1, 1)),
             QStringList({"", "не менее 260.00", "16.00-18.00", "не более 0.00", ""}));
    QCOMPARE(cellLines(cellText(tables, 2, 1, 2)), values);
    for (const QJsonValue &row : tables[2][QStringLiteral("rows")].toArray())
        for (const QJsonValue &cell : row.toArray())
            for (const QJsonValue &p : cell[QStringLiteral("paragraphs")].toArray())
                for (const QJsonValue &run : p[QStringLiteral("runs")].toArray()) {
                    QCOMPARE(run[QStringLiteral("size")].toDouble(), 8.0);
                    QCOMPARE(run[QStringLiteral("font")].toString(), QStringLiteral("Courier New"));
                }
}

void TestRecipeExport::approverLine_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("line");
    QTest::newRow("named") << QStringLiteral("recipe-mainMenu")
                           << QStringLiteral("Директор") + underscores(16) +
                                  QStringLiteral("/Иванов И.И./");
    QTest::newRow("empty name: two runs of 16 underscores")
        << QStringLiteral("recipe-no-approver-name")
        << QStringLiteral("Директор") + underscores(32);
}

void TestRecipeExport::approverLine()
{
    QFETCH(QString, name);
    QFETCH(QString, line);
    QCOMPARE(paragraphTexts(file(name)).value(3), line);
}

// Posts with names, a post without a name, a name without a post (left out), in the
// three rows of the block after the quality table.
void TestRecipeExport::signatures()
{
    const QJsonArray body =
        file(QStringLiteral("recipe-mainMenu"))[QStringLiteral("body")].toArray();
    QStringList after;
    for (qsizetype i = body.size() - 7; i < body.size(); ++i)
        after << body[i][QStringLiteral("p")].toString();
    const QString gap(7, QLatin1Char(' '));
    QCOMPARE(
        after,
        QStringList(
            {QString(), QString(),
             QStringLiteral("Технолог") + underscores(26) + QStringLiteral("/Петрова А.А./") + gap +
                 QStringLiteral("Зав. лабораторией") + underscores(17) +
                 QStringLiteral("/Сидоров В.В./"),
             QString(), gap + QStringLiteral("Экономист") + underscores(39), QString(),
             QStringLiteral("Гл. бухгалтер") + underscores(22) + QStringLiteral("/Орлова Е.Е./")}));
    QCOMPARE(body.last()[QStringLiteral("runs")][0][QStringLiteral("size")].toDouble(), 8.0);
}

void TestRecipeExport::signatureText_data()
{
    QTest::addColumn<QString>("post");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("post and name, trimmed")
        << " Технолог "
        << " Петрова "
        << QStringLiteral("Технолог") + underscores(31) + QStringLiteral("/Петрова/");
    QTest::newRow("post without name") << "Технолог"
                                       << ""
                                       << "Технолог" + underscores(40);
    QTest::newRow("name without post") << ""
                                       << "Петрова"
                                       << "";
    QTest::newRow("blank post") << "   "
                                << "Петрова"
                                << "";
    const QString longPost(50, QChar(u'Д'));
    QTest::newRow("longer than 48: no underscores") << longPost << "Я" << longPost + "/Я/";
}

void TestRecipeExport::signatureText()
{
    QFETCH(QString, post);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QCOMPARE(recipeSignature(post, name), expected);
}

// What XML escapes comes back unchanged from a real reader and shows in the PDF.
void TestRecipeExport::specialCharactersSurvive()
{
    const QString name = QStringLiteral("recipe-special-characters");
    const QJsonObject f = file(name);
    const QStringList paragraphs = paragraphTexts(f);
    QCOMPARE(paragraphs.value(0), QStringLiteral("ООО \"Корма & <Зерно>\""));
    QCOMPARE(paragraphs.value(3),
             QStringLiteral("Директор <&>") + underscores(16) + QStringLiteral("/О'Нил \"А\"/"));
    QCOMPARE(paragraphs.value(5), QStringLiteral("Дата расчета 05.03.2024 &   Примечание. "
                                                 "примечание <&\"'>"));
    QVERIFY(paragraphs.at(paragraphs.size() - 5)
                .startsWith(QStringLiteral("Технолог &") + underscores(27) +
                            QStringLiteral("/<Петрова>/")));
    const QJsonArray tables = tablesOf(f);
    QCOMPARE(cellText(tables, 0, 0, 0), QStringLiteral("РЕЦЕПТ Смесь <А&Б>  ГОСТ \"Р\" & ТУ\n"
                                                       "для 'кур' <несушек>"));
    QCOMPARE(cellLines(cellText(tables, 1, 1, 0)).value(1),
             QStringLiteral("Жмых <соевый> & \"А\""));
    QCOMPARE(cellLines(cellText(tables, 2, 1, 0)).value(1),
             QStringLiteral("Энергия <&>          \"ккал\""));
    const QString pdf = pdf_.value(docxreadback::outputPath(name));
    for (const char *text : {"ООО \"Корма & <Зерно>\"", "РЕЦЕПТ Смесь <А&Б>", "<несушек>",
                             "Жмых <соевый> & \"А\"", "/<Петрова>/", "/О'Нил \"А\"/"})
        QVERIFY2(pdf.contains(QString::fromUtf8(text)), text);
}

void TestRecipeExport::pdfShowsTheDocument_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("absent");
    const QStringList common = {"АО Комбикормовый завод",
                                "УТВЕРЖДАЮ",
                                "РЕЦЕПТ ПК-1-15054.19-12Г  ГОСТ 51851-2001",
                                "Для кур-несушек промышленного стада",
                                "Состав сырья",
                                "Шрот подсолнечный",
                                "Показатели качества",
                                "Обменная энергия",
                                "Технолог",
                                "Орлова Е.Е."};
    QTest::newRow("form 1") << QStringLiteral("recipe-mainMenu")
                            << common + QStringList{"Оптовая цена", "12000.00", "4860.00",
                                                    "Стоимость сырья", "Отпускная цена"}
                            << QStringList{"Кузнецов", "Витамин А"};
    QTest::newRow("form 2") << QStringLiteral("recipe-form2")
                            << common + QStringList{"Стоимость сырья", "263.10"}
                            << QStringList{"12000.00", "4860.00"};
    QTest::newRow("form 3") << QStringLiteral("recipe-characteristicsWindow") << common
                            << QStringList{"12000.00", "Стоимость сырья", "Отпускная цена"};
}

// LibreOffice opens every file and shows its texts.
void TestRecipeExport::pdfShowsTheDocument()
{
    QFETCH(QString, name);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, absent);
    // pdftotext gives runs of blanks as it sees fit: words are compared, not blanks.
    const QString text = pdf_.value(docxreadback::outputPath(name)).simplified();
    for (const QString &s : shown)
        QVERIFY2(text.contains(s.simplified()), qPrintable(s));
    for (const QString &s : absent)
        QVERIFY2(!text.contains(s.simplified()), qPrintable(s));
}

void TestRecipeExport::emptyDocumentExportsNothing()
{
    ArchivedRecipe recipe = sampleRecipe();
    recipe.ves = 0;
    const RecipeDocument empty = RecipeDocument::build(recipe, QStringLiteral("НДС"), {});
    const QList<DocxBlock> blocks =
        recipeDocx(empty, sampleTexts(), RecipeForm::Full, false).blocks();
    QCOMPARE(blocks.size(), 1);
    QVERIFY(std::get<DocxParagraph>(blocks.first()).runs.isEmpty());
}

QTEST_APPLESS_MAIN(TestRecipeExport)
#include "tst_recipeexport.moc"
