// The printed outcome on the virtual page: positions, pages for long lists and grids,
// and lines too long for the page.

#include "calc/window/outcomeprint.h"
#include "platform/printerchoice.h"
#include "results/demodatafixture.h"

#include <QPainter>
#include <QPrinter>
#include <QTest>

using calc::OutcomeBlock;
using calc::OutcomePrint;

namespace
{

double pointsY(double v)
{
    return v * 841.89 / OutcomePrint::kVirtualHeight;
}

// Prints the blocks into KP_TEST_OUTPUT/<name>.pdf; the pages drawn.
int print(const QString &name, const QList<OutcomeBlock> &blocks)
{
    const QString pdf = roadtest::outputPdf(name);
    auto printer = platform::pdfPrinter(pdf);
    QPainter painter(printer.get());
    OutcomePrint page(&painter, [&printer] { return printer->newPage(); });
    const int pages = page.draw(blocks);
    painter.end();
    return pages;
}

const roadtest::PdfWord *find(const QList<roadtest::PdfWord> &words, const QString &text)
{
    for (const roadtest::PdfWord &w : words)
        if (w.text == text)
            return &w;
    return nullptr;
}

} // namespace

class TestOutcomePrint final : public QObject
{
    Q_OBJECT

private slots:
    void longListGoesOnOverPages();
    void gridRepeatsItsHeaderRow();
    void overlongLineIsWrapped();
    void oneSizeForTheWholePrint();
    void blockSharesThePageWhenItFits_data();
    void blockSharesThePageWhenItFits();
};

void TestOutcomePrint::longListGoesOnOverPages()
{
    const int perPage = OutcomePrint::linesPerPage();
    QStringList lines;
    for (int n = 1; n <= perPage + 5; ++n)
        lines.append(QStringLiteral("строка%1").arg(n));
    QCOMPARE(print(QStringLiteral("outcome-long-list"),
                   {{QStringLiteral("Ошибки"), lines, OutcomeBlock::Kind::List}}),
             2);
    const QList<roadtest::PdfWord> words =
        roadtest::pdfWords(roadtest::outputPdf(QStringLiteral("outcome-long-list")));
    const roadtest::PdfWord *first = find(words, QStringLiteral("строка1"));
    const roadtest::PdfWord *last = find(words, QStringLiteral("строка%1").arg(perPage));
    const roadtest::PdfWord *next = find(words, QStringLiteral("строка%1").arg(perPage + 1));
    QVERIFY(first && last && next);
    QVERIFY(qAbs(first->yMin - pointsY(400)) < 3);
    QVERIFY(qAbs(last->yMin - pointsY(100 * perPage + 300)) < 3);
    QCOMPARE(next->page, 2);
    QVERIFY(qAbs(next->yMin - pointsY(400)) < 3);
    int headings = 0;
    for (const roadtest::PdfWord &w : words)
        headings += w.text == QStringLiteral("Ошибки");
    QCOMPARE(headings, 2);
}

void TestOutcomePrint::gridRepeatsItsHeaderRow()
{
    const int perPage = OutcomePrint::linesPerPage();
    QStringList lines = {QStringLiteral("Шапка !")};
    for (int r = 1; r <= perPage + 2; ++r)
        lines.append(QStringLiteral("ряд%1 !").arg(r));
    QCOMPARE(print(QStringLiteral("outcome-long-grid"),
                   {{QStringLiteral("Решение"), lines, OutcomeBlock::Kind::Grid}}),
             2);
    const QList<roadtest::PdfWord> words =
        roadtest::pdfWords(roadtest::outputPdf(QStringLiteral("outcome-long-grid")));
    QList<const roadtest::PdfWord *> headers;
    for (const roadtest::PdfWord &w : words)
        if (w.text == QStringLiteral("Шапка"))
            headers.append(&w);
    QCOMPARE(headers.size(), 2);
    for (const roadtest::PdfWord *h : headers)
        QVERIFY(qAbs(h->yMin - pointsY(300)) < 3);
    const roadtest::PdfWord *next = find(words, QStringLiteral("ряд%1").arg(perPage + 1));
    QVERIFY(next);
    QCOMPARE(next->page, 2);
    QVERIFY(qAbs(next->yMin - pointsY(400)) < 3);
}

// Even at the smallest size a line longer than the page goes on in the next line.
void TestOutcomePrint::overlongLineIsWrapped()
{
    QString line;
    for (int i = 0; i < 60; ++i)
        line += QStringLiteral("слово%1 ").arg(i, 2, 10, QLatin1Char('0'));
    QCOMPARE(print(QStringLiteral("outcome-wrapped"), {{QStringLiteral("Ошибки"),
                                                        {line, QStringLiteral("второе")},
                                                        OutcomeBlock::Kind::List}}),
             1);
    const QList<roadtest::PdfWord> words =
        roadtest::pdfWords(roadtest::outputPdf(QStringLiteral("outcome-wrapped")));
    const roadtest::PdfWord *last = find(words, QStringLiteral("слово59"));
    const roadtest::PdfWord *second = find(words, QStringLiteral("второе"));
    QVERIFY(last && second);
    QVERIFY(last->xMax < 595.3);
    QVERIFY(last->yMin > pointsY(450));
    QVERIFY(second->yMin > last->yMin);
    QVERIFY(find(words, QStringLiteral("слово00")));
}

// A narrow grid and a wide one (the failure analysis): both pages and their headings in
// the one size at which the wide grid fits between the margins; a heading longer than
// the line goes on in the next one.
void TestOutcomePrint::oneSizeForTheWholePrint()
{
    QStringList narrow = {QStringLiteral("Характеристика !Минимум !")};
    QStringList wide = {QStringLiteral("Наименование сырья !") + QString(130, u'-') + u'!'};
    for (int r = 1; r <= 5; ++r) {
        narrow.append(QStringLiteral("узко%1 !   1.00 !").arg(r));
        wide.append(QStringLiteral("широко%1 !").arg(r) + QString(140, u' ') +
                    QStringLiteral("конец%1 !").arg(r));
    }
    QString heading = QStringLiteral("Разбор неудачного расчета.  Комбикорм № 1 типа ПК-5 не "
                                     "получается. Вес не набран.");
    for (int i = 0; i < 8; ++i)
        heading += QStringLiteral(" Задано - 1000.000");
    const QString pdf = roadtest::outputPdf(QStringLiteral("outcome-one-size"));
    auto printer = platform::pdfPrinter(pdf);
    QPainter painter(printer.get());
    OutcomePrint page(&painter, [&printer] { return printer->newPage(); });
    QCOMPARE(page.draw(
                 {{heading + QStringLiteral(" Характеристики."), narrow, OutcomeBlock::Kind::Grid},
                  {heading + QStringLiteral(" Вложение сырья. "), wide, OutcomeBlock::Kind::Grid}}),
             2);
    painter.end();
    QVERIFY(page.pointSize() < 10);

    const QList<roadtest::PdfWord> words = roadtest::pdfWords(pdf);
    QVERIFY(!words.isEmpty());
    const double height = words.first().yMax - words.first().yMin;
    const double right = (OutcomePrint::kRight)*595.276 / OutcomePrint::kVirtualWidth;
    QList<int> pagesSeen;
    for (const roadtest::PdfWord &w : words) {
        QVERIFY2(qAbs(w.yMax - w.yMin - height) < 0.05, qPrintable(w.text));
        QVERIFY2(
            w.xMax <= right + 0.3,
            qPrintable(QStringLiteral("%1 ends at %2 past %3").arg(w.text).arg(w.xMax).arg(right)));
        if (!pagesSeen.contains(w.page))
            pagesSeen.append(w.page);
    }
    QCOMPARE(pagesSeen.size(), 2);
    // the wide grid's rows end close to the right margin: the size is not smaller than needed
    const roadtest::PdfWord *end = find(words, QStringLiteral("конец1"));
    QVERIFY(end);
    QVERIFY(end->xMax > right - 20);
    // the long headings wrapped: their last words stand on the second heading line
    const roadtest::PdfWord *last = find(words, QStringLiteral("Характеристики."));
    QVERIFY(last);
    QVERIFY(qAbs(last->yMin - pointsY(200)) < 3);
}

void TestOutcomePrint::blockSharesThePageWhenItFits_data()
{
    QTest::addColumn<int>("firstRows"); // rows of the first grid, under its header row
    QTest::addColumn<bool>("shares");
    QTest::addColumn<int>("page");   // of the second block's heading
    QTest::addColumn<double>("top"); // its virtual y
    const int perPage = OutcomePrint::linesPerPage();
    // the first grid's rows end at 300 + 100 × rows; a blank line, then the heading
    QTest::newRow("under the block before") << 5 << true << 1 << 300.0 + 100 * 7;
    QTest::newRow("its own page when asked") << 5 << false << 2 << 100.0;
    // room for the heading, but not for the header row and three rows under it
    QTest::newRow("its own page when it does not fit") << perPage - 5 << true << 2 << 100.0;
}

// A block that shares the page starts a blank line under the one before, with its
// heading, header row and first rows on that page; else it starts a page of its own.
void TestOutcomePrint::blockSharesThePageWhenItFits()
{
    QFETCH(int, firstRows);
    QFETCH(bool, shares);
    QFETCH(int, page);
    QFETCH(double, top);
    QStringList first = {QStringLiteral("Шапка !")};
    for (int r = 1; r <= firstRows; ++r)
        first.append(QStringLiteral("ряд%1 !").arg(r));
    const QStringList second = {QStringLiteral("Шапка !"), QStringLiteral("а !"),
                                QStringLiteral("б !"), QStringLiteral("в !")};
    const QString name = QStringLiteral("outcome-shared-%1").arg(QTest::currentDataTag());
    QCOMPARE(print(name, {{QStringLiteral("Первый"), first, OutcomeBlock::Kind::Grid},
                          {QStringLiteral("Второй"), second, OutcomeBlock::Kind::Grid, shares}}),
             page);
    const QList<roadtest::PdfWord> words = roadtest::pdfWords(roadtest::outputPdf(name));
    const roadtest::PdfWord *heading = find(words, QStringLiteral("Второй"));
    const roadtest::PdfWord *last = find(words, QStringLiteral("в"));
    QVERIFY(heading && last);
    QCOMPARE(heading->page, page);
    QVERIFY2(qAbs(heading->yMin - pointsY(top)) < 3, qPrintable(QString::number(heading->yMin)));
    QCOMPARE(last->page, page);
    QVERIFY(qAbs(last->yMin - pointsY(top + 500)) < 3);
}

QTEST_MAIN(TestOutcomePrint)
#include "tst_outcomeprint.moc"
