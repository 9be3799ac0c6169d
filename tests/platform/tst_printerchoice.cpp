// The printer choice: a PDF file is always among the choices, the output can be forced
// into a file without a dialog, and a PDF printer lays the page out on the whole sheet.

#include "platform/printerchoice.h"

#include <QApplication>
#include <QDialog>
#include <QListWidget>
#include <QPageLayout>
#include <QPrinter>
#include <QTest>
#include <QTimer>

class TestPrinterChoice final : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { qunsetenv(platform::kForcedPdfVariable); }
    void pdfPrinterIsA4HighResolutionWholeSheet();
    void forcedPathNeedsNoDialog_data();
    void forcedPathNeedsNoDialog();
    void dialogListsPdfFileAndCancels();
    void previewPaintsThePages();
};

void TestPrinterChoice::pdfPrinterIsA4HighResolutionWholeSheet()
{
    const auto printer = platform::pdfPrinter(QStringLiteral("/tmp/x.pdf"));
    QCOMPARE(printer->outputFormat(), QPrinter::PdfFormat);
    QCOMPARE(printer->outputFileName(), QStringLiteral("/tmp/x.pdf"));
    QCOMPARE(printer->resolution(), 1200);
    QCOMPARE(printer->pageLayout().pageSize().id(), QPageSize::A4);
    QCOMPARE(printer->pageLayout().orientation(), QPageLayout::Portrait);
    // The whole sheet is the page: 210 mm at 1200 dpi.
    QVERIFY(std::abs(printer->width() - 210 / 25.4 * 1200) < 8);
}

void TestPrinterChoice::forcedPathNeedsNoDialog_data()
{
    QTest::addColumn<bool>("byEnvironment");
    QTest::newRow("parameter") << false;
    QTest::newRow("environment") << true;
}

void TestPrinterChoice::forcedPathNeedsNoDialog()
{
    QFETCH(bool, byEnvironment);
    const QString path = QStringLiteral(KP_TEST_OUTPUT "/forced.pdf");
    if (byEnvironment)
        qputenv(platform::kForcedPdfVariable, path.toUtf8());
    bool dialogSeen = false;
    QObject scope; // the timer dies with the test function
    QTimer::singleShot(0, &scope, [&] {
        if (QWidget *w = QApplication::activeModalWidget()) {
            dialogSeen = true;
            w->close();
        }
    });
    const platform::PrinterChoice choice = platform::choosePrinter(
        nullptr, QStringLiteral("Рецепт 1"), byEnvironment ? QString() : path);
    QVERIFY(choice);
    QVERIFY(choice.forced);
    QVERIFY(!choice.preview);
    QCOMPARE(choice.printer->outputFileName(), path);
    QCOMPARE(choice.printer->docName(), QStringLiteral("Рецепт 1"));
    QVERIFY(!dialogSeen);
}

void TestPrinterChoice::dialogListsPdfFileAndCancels()
{
    QStringList items;
    QTimer poll;
    poll.setInterval(20);
    connect(&poll, &QTimer::timeout, [&] {
        auto *w = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!w)
            return;
        poll.stop();
        if (auto *list = w->findChild<QListWidget *>(QStringLiteral("printerList"))) {
            for (int i = 0; i < list->count(); ++i)
                items << list->item(i)->text();
        }
        w->reject();
    });
    poll.start();
    QTimer::singleShot(5000, [] { // safety
        if (auto *w = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            w->reject();
    });
    const platform::PrinterChoice choice = platform::choosePrinter(nullptr, QStringLiteral("x"));
    QVERIFY(!choice);
    QVERIFY(!items.isEmpty());
    QCOMPARE(items.last(), QStringLiteral("PDF-файл"));
}

// The preview draws the document through the same paint function; closed without
// printing, it reports that nothing was printed.
void TestPrinterChoice::previewPaintsThePages()
{
    platform::PrinterChoice choice;
    choice.printer = platform::pdfPrinter(QStringLiteral(KP_TEST_OUTPUT "/preview-unused.pdf"));
    choice.preview = true;
    int painted = 0;
    QTimer poll;
    poll.setInterval(50);
    connect(&poll, &QTimer::timeout, [&] {
        auto *w = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (w && painted > 0) {
            poll.stop();
            w->reject();
        }
    });
    poll.start();
    QTimer::singleShot(5000, &poll, [] { // safety
        if (auto *w = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            w->reject();
    });
    const bool printed = platform::printWithChoice(nullptr, choice, [&](QPrinter *) { ++painted; });
    QVERIFY(!printed);
    QVERIFY(painted > 0);
}

QTEST_MAIN(TestPrinterChoice)
#include "tst_printerchoice.moc"
