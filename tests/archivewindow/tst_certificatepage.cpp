// The printed certificate and consumption list read back from PDF files: where the
// lines are on the virtual page, the signature, and the continuation pages of a long
// certificate and a long list.

#include "archive/archivedrecipe.h"
#include "archive/certificatetext.h"
#include "archive/window/certificatepage.h"
#include "archive/window/consumptionpage.h"
#include "platform/printerchoice.h"
#include "results/demodatafixture.h"
#include "settings/settings.h"

#include <QPainter>
#include <QPrinter>
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

} // namespace

class TestCertificatePage final : public QObject
{
    Q_OBJECT

private slots:
    void sixRowsOnOnePage();
    void longCertificateOnTwoPages();
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
