// The printed recipe document read back from a PDF file: the title, a raw-material
// line, the quality block and the cost lines stand where the virtual page puts them,
// in the three forms, and a long characteristic table moves the block to "ЛИСТ 2"; long
// posts and names never print over another text nor out of the frame.

#include "documents/recipedocument.h"
#include "documents/samplerecipe.h"
#include "documents/window/recipepage.h"
#include "platform/printerchoice.h"
#include "settings/settings.h"

#include <QDir>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QXmlStreamReader>

using documents::ArchivedRecipe;
using documents::RecipeDocument;
using documents::RecipeForm;
using documents::RecipePage;

namespace
{

constexpr double kTolerance = 3; // points

struct Word {
    int page = 0; // from 1
    QString text;
    double x = 0; // left, points
    double y = 0; // top, points
    double xMax = 0;
    double yMax = 0;
};

ArchivedRecipe sampleRecipe(int characteristics)
{
    ArchivedRecipe r = sampleRecipeHead();
    for (int i = 1; i <= characteristics; ++i) {
        r.chars.append(
            {QStringLiteral("Показатель%1").arg(i), QStringLiteral("%"), 1, 2, 1.5, 1.25});
    }
    return r;
}

documents::RecipePageTexts pageTexts()
{
    documents::RecipePageTexts t;
    t.enterprise = QStringLiteral("ОАО Комбикормовый завод");
    t.approverPost = QStringLiteral("Директор");
    t.approverName = QStringLiteral("Иванов И.И.");
    t.signerPosts = {QStringLiteral("Главный технолог"), QStringLiteral("Начальник ПТЛ"), QString(),
                     QString(), QStringLiteral("Мастер")};
    t.signerNames = {QStringLiteral("Петров"), QStringLiteral("Сидорова"), QString(), QString(),
                     QStringLiteral("Козлов")};
    t.printDate = QStringLiteral("07.12.2026");
    return t;
}

// pdftotext -bbox: every word with its page and its top-left corner in points.
QList<Word> readWords(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    QList<Word> words;
    QXmlStreamReader xml(process.readAllStandardOutput());
    int page = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("page")) {
            ++page;
        } else if (xml.name() == QLatin1String("word")) {
            Word w;
            w.page = page;
            w.x = xml.attributes().value(QLatin1String("xMin")).toDouble();
            w.y = xml.attributes().value(QLatin1String("yMin")).toDouble();
            w.xMax = xml.attributes().value(QLatin1String("xMax")).toDouble();
            w.yMax = xml.attributes().value(QLatin1String("yMax")).toDouble();
            w.text = xml.readElementText();
            words.append(w);
        }
    }
    return words;
}

QList<Word> find(const QList<Word> &words, const QString &text)
{
    QList<Word> found;
    for (const Word &w : words) {
        if (w.text == text)
            found.append(w);
    }
    return found;
}

} // namespace

class TestRecipePrint final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void forms_data();
    void forms();
    void longCharacteristicTableGoesToSheetTwo();
    void longPurposeTakesThreeLines();
    void longPostsAndNamesStayApart_data();
    void longPostsAndNamesStayApart();

private:
    // Prints the document into KP_TEST_OUTPUT/<name>.pdf and reads its words back.
    QList<Word> print(const QString &name, RecipeDocument &document, RecipeForm form, bool actual,
                      int *pages = nullptr, const documents::RecipePageTexts &texts = pageTexts());
    double px(double v) const { return v * width_ / RecipePage::kVirtualWidth; }
    double py(double v) const { return v * height_ / RecipePage::kVirtualHeight; }
    double pt(double pixels) const { return pixels * 72.0 / resolution_; }
    void expectWord(const QList<Word> &words, const QString &text, double x, double y,
                    int page = 1);

    double width_ = 0;
    double height_ = 0;
    double resolution_ = 1200;
};

void TestRecipePrint::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    QDir().mkpath(QStringLiteral(KP_TEST_OUTPUT));
}

QList<Word> TestRecipePrint::print(const QString &name, RecipeDocument &document, RecipeForm form,
                                   bool actual, int *pages, const documents::RecipePageTexts &texts)
{
    const QString file = QDir(QStringLiteral(KP_TEST_OUTPUT)).filePath(name + ".pdf");
    auto printer = platform::pdfPrinter(file);
    QPainter painter(printer.get());
    width_ = printer->width();
    height_ = printer->height();
    resolution_ = printer->resolution();
    document.balanceBatch();
    RecipePage page(&painter);
    const int drawn = page.draw(document, texts, form, actual);
    painter.end();
    if (pages)
        *pages = drawn;
    return readWords(file);
}

// A word's top-left corner in points against the virtual-page position (x, y) in
// device pixels.
void TestRecipePrint::expectWord(const QList<Word> &words, const QString &text, double x, double y,
                                 int page)
{
    const QList<Word> found = find(words, text);
    QVERIFY2(!found.isEmpty(), qPrintable("no word " + text));
    for (const Word &w : found) {
        if (w.page == page && std::abs(w.x - pt(x)) <= kTolerance &&
            std::abs(w.y - pt(y)) <= kTolerance)
            return;
    }
    QFAIL(qPrintable(QStringLiteral("%1 expected at (%2, %3) on page %4, found at (%5, %6) "
                                    "on page %7")
                         .arg(text)
                         .arg(pt(x))
                         .arg(pt(y))
                         .arg(page)
                         .arg(found.first().x)
                         .arg(found.first().y)
                         .arg(found.first().page)));
}

void TestRecipePrint::forms_data()
{
    QTest::addColumn<int>("form");
    QTest::addColumn<bool>("actual");
    QTest::newRow("recipe-mainMenu") << 1 << false;
    QTest::newRow("recipe-form2") << 2 << false;
    QTest::newRow("recipe-characteristicsWindow") << 3 << false;
    QTest::newRow("recipe-form2-actual") << 2 << true;
}

void TestRecipePrint::forms()
{
    QFETCH(int, form);
    QFETCH(bool, actual);
    RecipeDocument document =
        RecipeDocument::build(sampleRecipe(5), QStringLiteral("НДС"), QStringLiteral("07.12.2026"));
    int pages = 0;
    const QList<Word> words = print(QString::fromLatin1(QTest::currentDataTag()), document,
                                    RecipeForm(form), actual, &pages);
    QCOMPARE(pages, 1);
    QVERIFY(!words.isEmpty());

    expectWord(words, QStringLiteral("УТВЕРЖДАЮ"), px(2600), py(300));
    expectWord(words, QStringLiteral("Дата"), px(400), py(580));
    // The two-line title in 14 pt, centred in the band from 450, 4060 wide.
    const QString title = RecipeDocument::titleText(document.recipe());
    const double titleWidth = title.size() * 0.6 * 14 * resolution_ / 72;
    expectWord(words, QStringLiteral("РЕЦЕПТ"), px(450) + (px(4060) - titleWidth) / 2,
               py(820 + 75));
    // Raw-material line 1 at (450, 1480 + 100).
    expectWord(words, QStringLiteral("Пшеница"), px(450), py(1580));
    QCOMPARE(find(words, QStringLiteral("12000.00")).isEmpty(), form != 1);
    QCOMPARE(find(words, QStringLiteral("4860.00")).isEmpty(), form != 1);
    QCOMPARE(find(words, QStringLiteral("4.0500")).size(), 1);

    // Quality and cost block below the raw materials: Y = 1480 + 100·(n + 1).
    const double y0 = qRound(py(1480 + 100 * 5 + 30));
    expectWord(words, QStringLiteral("Показатель1"), px(450) + 0.6 * 8 * resolution_ / 72,
               y0 + py(220));
    QCOMPARE(find(words, QStringLiteral("1.50")).size(), actual ? 0 : 5);
    QCOMPARE(find(words, QStringLiteral("1.25")).size(), actual ? 5 : 0);
    if (form == 3) {
        expectWord(words, QStringLiteral("Оптовая"), px(2790), y0 + py(220));
        expectWord(words, QStringLiteral("Отпускная"), px(2790), y0 + py(520));
        QVERIFY(find(words, QStringLiteral("Себестоимость")).isEmpty());
    } else {
        expectWord(words, QStringLiteral("Стоимость"), px(2790), y0 + py(220));
        expectWord(words, QStringLiteral("Себестоимость"), px(2790), y0 + py(520));
        expectWord(words, QStringLiteral("Отпускная"), px(2790), y0 + py(1120));
    }
    expectWord(words, QStringLiteral("Объем"), px(2790), y0 + py(form == 3 ? 620 : 1220));
    // Signatures below the block: B = y0 + 1320 (forms 1, 2) or y0 + 720.
    const double block = y0 + py(form == 3 ? 720 : 1320);
    expectWord(words, QStringLiteral("Главный"), px(450), block + py(200));
    expectWord(words, QStringLiteral("Мастер"), px(450), block + py(600));
    QVERIFY(find(words, QStringLiteral("ЛИСТ")).isEmpty());
}

void TestRecipePrint::longCharacteristicTableGoesToSheetTwo()
{
    RecipeDocument document = RecipeDocument::build(sampleRecipe(45), QStringLiteral("НДС"),
                                                    QStringLiteral("07.12.2026"));
    int pages = 0;
    const QList<Word> words = print(QStringLiteral("recipe-continuation"), document,
                                    RecipeForm::NoRawPrices, false, &pages);
    QCOMPARE(pages, 2);
    expectWord(words, QStringLiteral("ЛИСТ"), px(400), py(220), 2);
    expectWord(words, QStringLiteral("Пшеница"), px(450), py(1580), 1);
    const double y0 = qRound(py(810));
    expectWord(words, QStringLiteral("Показатель1"), px(450) + 0.6 * 8 * resolution_ / 72,
               y0 + py(220), 2);
    expectWord(words, QStringLiteral("Стоимость"), px(2790), y0 + py(220), 2);
    QCOMPARE(find(words, QStringLiteral("РЕЦЕПТ")).size(), 2);
    QCOMPARE(find(words, QStringLiteral("РЕЦЕПТ")).last().page, 2);
    QCOMPARE(find(words, QStringLiteral("Главный")).value(0).page, 2);
}

// A purpose of 62 to 71 characters is split at width 61 and printed in 12 pt.
void TestRecipePrint::longPurposeTakesThreeLines()
{
    ArchivedRecipe recipe = sampleRecipe(3);
    recipe.nasn = QStringLiteral("молодняка крупного рогатого скота на откорме от 6 до 18 месяцев");
    RecipeDocument document =
        RecipeDocument::build(recipe, QStringLiteral("НДС"), QStringLiteral("07.12.2026"));
    const QList<Word> words =
        print(QStringLiteral("recipe-long-purpose"), document, RecipeForm::Full, false);
    const QList<Word> titles = find(words, QStringLiteral("РЕЦЕПТ"));
    QCOMPARE(titles.size(), 1);
    QVERIFY(std::abs(titles.first().y - pt(py(820 + 50))) <= kTolerance);
    const QList<Word> first = find(words, QStringLiteral("Для"));
    QCOMPARE(first.size(), 1);
    QVERIFY(std::abs(first.first().y - pt(py(820 + 150))) <= kTolerance);
    const QList<Word> rest = find(words, QStringLiteral("месяцев"));
    QCOMPARE(rest.size(), 1);
    QVERIFY(std::abs(rest.first().y - pt(py(820 + 250))) <= kTolerance);
}

void TestRecipePrint::longPostsAndNamesStayApart_data()
{
    QTest::addColumn<QString>("post");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("characteristics");
    const QString lab = QStringLiteral("Заведующий производственной лабораторией");
    // the longest text the parameters window takes for a post or a name: 60 characters
    const QString longest =
        QStringLiteral("Заместитель генерального директора по качеству и технологиям");
    const QString longestName =
        QStringLiteral("Константинопольская-Римская Евдокия Александровна, врио зав.");
    QCOMPARE(longest.size(), settings::settingsTextLimit);
    QCOMPARE(longestName.size(), settings::settingsTextLimit);
    QTest::newRow("recipe-lab-head") << lab << QStringLiteral("Кузнецова Е.А.") << 5;
    QTest::newRow("recipe-post-20")
        << QStringLiteral("Генеральный директор") << QStringLiteral("Кузнецова Е.А.") << 5;
    QTest::newRow("recipe-longest-posts") << longest << longestName << 5;
    QTest::newRow("recipe-longest-posts-sheet2") << longest << longestName << 38;
}

// The head and the signatures with long posts and names: no two words overlap, every
// word stays between the frame's edges (x 400 … 4500) and on the page; the print date
// stands under the approver line it would otherwise run into.
void TestRecipePrint::longPostsAndNamesStayApart()
{
    QFETCH(QString, post);
    QFETCH(QString, name);
    QFETCH(int, characteristics);
    documents::RecipePageTexts texts = pageTexts();
    texts.enterprise = QStringLiteral("ОАО Комбикормовый завод имени Героев Труда, г. Новосибирск");
    texts.approverPost = post;
    texts.approverName = name;
    texts.signerPosts.fill(post);
    texts.signerNames.fill(name);
    ArchivedRecipe recipe = sampleRecipe(characteristics);
    recipe.prim = QString(150, QLatin1Char('x')); // both note lines
    RecipeDocument document =
        RecipeDocument::build(recipe, QStringLiteral("НДС"), QStringLiteral("07.12.2026"));
    int pages = 0;
    const QList<Word> words = print(QString::fromLatin1(QTest::currentDataTag()), document,
                                    RecipeForm::Full, false, &pages, texts);
    QVERIFY(!words.isEmpty());
    QCOMPARE(pages, characteristics > 30 ? 2 : 1);
    constexpr double kOverlap = 0.3; // points two boxes may share (rounding of the reader)
    const double left = pt(px(400)) - kOverlap;
    const double right = pt(px(4500)) + kOverlap;
    const double bottom = pt(py(RecipePage::kVirtualHeight));
    for (qsizetype i = 0; i < words.size(); ++i) {
        const Word &a = words.at(i);
        QVERIFY2(
            a.x >= left && a.xMax <= right && a.yMax <= bottom,
            qPrintable(
                QStringLiteral("%1 at %2..%3 outside the frame").arg(a.text).arg(a.x).arg(a.xMax)));
        for (qsizetype j = i + 1; j < words.size(); ++j) {
            const Word &b = words.at(j);
            const bool overlap = a.page == b.page && a.x < b.xMax - kOverlap &&
                                 b.x < a.xMax - kOverlap && a.y < b.yMax - kOverlap &&
                                 b.y < a.yMax - kOverlap;
            QVERIFY2(!overlap, qPrintable(QStringLiteral("%1 (%2, %3) overlaps %4 (%5, %6)")
                                              .arg(a.text)
                                              .arg(a.x)
                                              .arg(a.y)
                                              .arg(b.text)
                                              .arg(b.x)
                                              .arg(b.y)));
        }
    }
    // every word of the long texts was printed, none lost in the wrapping
    const QStringList postWords = post.split(u' ', Qt::SkipEmptyParts);
    const auto countWith = [&words](const QString &part) {
        return std::count_if(words.begin(), words.end(),
                             [&part](const Word &w) { return w.text.startsWith(part); });
    };
    QCOMPARE(countWith(postWords.last()), 6);
    QCOMPARE(countWith(postWords.first()), 6);
    // "УТВЕРЖДАЮ" under the whole enterprise name, the print date under the approver line
    const Word approve = find(words, QStringLiteral("УТВЕРЖДАЮ")).first();
    QVERIFY(approve.y >= find(words, QStringLiteral("Новосибирск")).first().yMax - kOverlap);
    const Word date = find(words, QStringLiteral("Дата")).first();
    const Word approver = find(words, postWords.first()).first();
    QVERIFY(date.y >= approver.y);
}

QTEST_MAIN(TestRecipePrint)
#include "tst_recipeprint.moc"
