// The printed certificate and consumption list read back from PDF files: where the
// lines are on the virtual page, the signature, long texts wrapped inside the frame and
// the margins, and the continuation pages of a long certificate and a long list.

#include "archive/archivedrecipe.h"
#include "archive/certificatetext.h"
#include "archive/window/certificatepage.h"
#include "archive/window/consumptionpage.h"
#include "platform/printerchoice.h"
#include "results/demodatafixture.h"
#include "settings/settings.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QTest>

using archive::ArchivedRecipe;
using archive::CertificateText;
using roadtest::PdfWord;

namespace
{

constexpr double kPointsPerUnit = 841.89 / 6814; // A4 height over the virtual page

ArchivedRecipe recipe(int raws)
{
    ArchivedRecipe r;
    r.naim = "ПК-1-1234.50-7Г";
    r.nasn = "Для кур-несушек";
    r.gk = "Г";
    for (int i = 1; i <= raws; ++i)
        r.raws.append({QStringLiteral("Сырье%1").arg(i), 1, 100});
    r.premixes = {{"Витамин", "тыс.МЕ", 10}};
    r.chars = {{"Протеин", "%", 15, 0, 16.1, 16.2}};
    return r;
}

settings::Settings enterprise()
{
    settings::Settings s;
    s.enterpriseName = "Комбикормовый завод";
    s.certificateSignerPosition = "Начальник лаборатории";
    s.certificateSignerSurname = "Иванова";
    return s;
}

QList<PdfWord> printCertificate(const CertificateText &text, const QString &name, int *pages)
{
    const QString pdf = roadtest::outputPdf(name);
    auto printer = platform::pdfPrinter(pdf);
    QPainter painter(printer.get());
    *pages = archive::CertificatePage(&painter).draw(text);
    painter.end();
    return roadtest::pdfWords(pdf);
}

const PdfWord *find(const QList<PdfWord> &words, const QString &text)
{
    for (const PdfWord &w : words) {
        if (w.text == text)
            return &w;
    }
    return nullptr;
}

// A line drawn with its top at virtual y: its words' boxes start a little below.
void expectAt(const PdfWord *word, double virtualY)
{
    QVERIFY(word != nullptr);
    const double top = virtualY * kPointsPerUnit;
    QVERIFY2(word->yMin >= top - 1 && word->yMin <= top + 4,
             qPrintable(QStringLiteral("%1 at %2, expected about %3")
                            .arg(word->text)
                            .arg(word->yMin)
                            .arg(top)));
}

// A long vertical line of a page (a side of the frame or a column rule), in points.
struct Rule {
    double x;
    double top;
    double bottom;
};

// The rules of each page, found in the page rendered at 72 dpi (a pixel is a point).
QList<QList<Rule>> verticalRules(const QString &pdf)
{
    const QString prefix = pdf.chopped(4);
    for (int page = 1; page < 10; ++page)
        QFile::remove(QStringLiteral("%1-%2.png").arg(prefix).arg(page));
    if (QProcess::execute("pdftoppm", {"-png", "-r", "72", pdf, prefix}) != 0)
        return {};
    QList<QList<Rule>> pages;
    for (int page = 1; QFile::exists(QStringLiteral("%1-%2.png").arg(prefix).arg(page)); ++page) {
        const QImage image(QStringLiteral("%1-%2.png").arg(prefix).arg(page));
        QList<Rule> rules;
        for (int x = 0; x < image.width(); ++x) {
            Rule longest{x + 0.5, 0, 0};
            for (int y = 0, top = 0; y < image.height(); ++y) {
                if (qGray(image.pixel(x, y)) > 200)
                    top = y + 1;
                else if (y + 1 - top > longest.bottom - longest.top)
                    longest = {x + 0.5, double(top), y + 1.0};
            }
            if (longest.bottom - longest.top >= 100 && (rules.isEmpty() || x > rules.last().x + 1))
                rules << longest;
        }
        pages << rules;
    }
    return pages;
}

} // namespace

class TestCertificatePage final : public QObject
{
    Q_OBJECT

private slots:
    void sixRowsOnOnePage();
    void longCertificateOnTwoPages();
    void longTextsStayInsideTheFrame_data();
    void longTextsStayInsideTheFrame();
    void longConsumptionListOnTwoPages();
};

// Count 26: rows 14 .. 19 at 2250 + 100·(row − 14), the closing lines under the frame
// that ends at 3000, the signature at 3650.
void TestCertificatePage::sixRowsOnOnePage()
{
    const CertificateText text =
        archive::buildCertificateText(recipe(2), enterprise(), QDate(2026, 3, 5));
    QCOMPARE(text.count(), 26);
    int pages = 0;
    const QList<PdfWord> words = printCertificate(text, "certificate-6-rows", &pages);
    QCOMPARE(pages, 1);
    QVERIFY(!words.isEmpty());
    expectAt(find(words, "Удостоверение"), 500);
    expectAt(find(words, "Сырье1"), 2250);
    expectAt(find(words, "Сырье2"), 2350);
    expectAt(find(words, "Наполнитель:"), 2450);
    expectAt(find(words, "ТОКСИЧЕН."), 2550);
    expectAt(find(words, "Вагоны"), 2750);
    expectAt(find(words, "является"), 100 * 26 + 450);
    expectAt(find(words, "/Иванова/"), 100 * 26 + 1050);
    QVERIFY(find(words, "*****") == nullptr);
    for (const PdfWord &w : words)
        QCOMPARE(w.page, 1);
}

void TestCertificatePage::longCertificateOnTwoPages()
{
    const CertificateText text =
        archive::buildCertificateText(recipe(60), enterprise(), QDate(2026, 3, 5));
    int pages = 0;
    const QList<PdfWord> words = printCertificate(text, "certificate-long", &pages);
    QCOMPARE(pages, 2);
    const PdfWord *first = find(words, "Сырье1");
    const PdfWord *last = find(words, "Сырье60");
    QVERIFY(first && last);
    QCOMPARE(first->page, 1);
    QCOMPARE(last->page, 2);
    QCOMPARE(find(words, "/Иванова/")->page, 2);
    QCOMPARE(find(words, "Сырье43")->page, 1); // the first sheet is used to its foot
    int headings = 0;
    for (const PdfWord &w : words)
        headings += w.text == "добавки" ? 1 : 0;
    QCOMPARE(headings, 2);
}

void TestCertificatePage::longTextsStayInsideTheFrame_data()
{
    QTest::addColumn<int>("raws");
    QTest::addColumn<int>("pages");
    QTest::newRow("certificate-long-texts") << 10 << 1;
    QTest::newRow("certificate-long-texts-2-sheets") << 50 << 2;
}

// The longest settings, a title over two lines and a row typed past its end: every word
// whole and between the frame's sides, none over another or across a column rule; the
// recipe's own moisture stands alone.
void TestCertificatePage::longTextsStayInsideTheFrame()
{
    QFETCH(int, raws);
    QFETCH(int, pages);
    ArchivedRecipe r = recipe(raws);
    r.nasn = "кур-несушек промышленного стада в возрасте от 21 до 45 недель в клеточных батареях";
    r.raws[0].naim = "Монокальцийфосфат кормовой 22,7"; // 30 characters, the field's width
    r.premixes[0].ediz = "тыс.МЕ/кг корма";             // cut to 10
    r.chars.append({"Влажность", "%", 0, 14, 11.69, 11.69});
    settings::Settings s = enterprise();
    s.enterpriseName = "Акционерное общество «Комбикормовый завод Примерский» г. Н";
    s.address = "390011, Российская Федерация, г. Примерск, ул. Элеваторная, д. 5";
    s.premixFiller = "отруби пшеничные с добавлением мела кормового и соли по ГОСТ";
    s.certificateSignerPosition = "Заведующий производственной лабораторией комбикормового";
    s.certificateSignerSurname = "Константинопольская-Римская Евдокия Александровна";
    CertificateText text = archive::buildCertificateText(r, s, QDate(2026, 3, 5));
    text.lines[15] += " допечатано после конца строки";
    int printed = 0;
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    const QList<PdfWord> words = printCertificate(text, name, &printed);
    QCOMPARE(printed, pages);
    const QList<QList<Rule>> rules = verticalRules(roadtest::outputPdf(name));
    QCOMPARE(rules.size(), pages);
    for (const QList<Rule> &page : rules)
        QCOMPARE(page.size(), 4);  // the frame's sides and two column rules
    constexpr double kSlack = 0.3; // points two boxes may share (rounding of the reader)
    for (qsizetype i = 0; i < words.size(); ++i) {
        const PdfWord &a = words.at(i);
        const QList<Rule> &page = rules.at(a.page - 1);
        QVERIFY2(a.xMin >= page.first().x && a.xMax <= page.last().x, qPrintable(a.text));
        for (const Rule &rule : page) {
            const bool crosses =
                a.xMin < rule.x && rule.x < a.xMax && a.yMin < rule.bottom && rule.top < a.yMax;
            QVERIFY2(!crosses, qPrintable(a.text + " crosses a rule"));
        }
        for (qsizetype j = i + 1; j < words.size(); ++j) {
            const PdfWord &b = words.at(j);
            QVERIFY2(a.page != b.page || a.xMax - kSlack <= b.xMin || b.xMax - kSlack <= a.xMin ||
                         a.yMax - kSlack <= b.yMin || b.yMax - kSlack <= a.yMin,
                     qPrintable(a.text + " over " + b.text));
        }
    }
    const QStringList longTexts = {s.enterpriseName,
                                   s.address,
                                   r.nasn,
                                   s.premixFiller,
                                   s.certificateSignerSurname,
                                   "допечатано после конца строки"};
    for (const QString &word : longTexts.join(u' ').split(u' ', Qt::SkipEmptyParts)) {
        QVERIFY2(std::any_of(words.begin(), words.end(),
                             [&word](const PdfWord &w) { return w.text.contains(word); }),
                 qPrintable(word + " lost or cut"));
    }
    QCOMPARE(std::count_if(words.begin(), words.end(),
                           [](const PdfWord &w) { return w.text == "Влажность"; }),
             1);
    QVERIFY(find(words, "13.00") == nullptr);
}

void TestCertificatePage::longConsumptionListOnTwoPages()
{
    QStringList lines;
    for (int i = 0; i < 80; ++i)
        lines << QStringLiteral("   Строка%1").arg(i);
    const QString pdf = roadtest::outputPdf("consumption-long");
    auto printer = platform::pdfPrinter(pdf);
    QPainter painter(printer.get());
    QCOMPARE(archive::ConsumptionPage(&painter).draw(lines), 2);
    painter.end();
    const QList<PdfWord> words = roadtest::pdfWords(pdf);
    expectAt(find(words, "Строка0"), 200);
    expectAt(find(words, "Строка3"), 500);
    QCOMPARE(find(words, "Строка0")->page, 1);
    QCOMPARE(find(words, "Строка79")->page, 2);
    expectAt(find(words, "Строка79"), 200 + 100 * (79 - 65));
}

QTEST_MAIN(TestCertificatePage)
#include "tst_certificatepage.moc"
