// The sensitivity window: the chosen feed type's norms, every raw material's price
// range with the feed types using it, the binding stock; open ends as a dash; the notes
// on a degenerate optimum and on other recipes of the same cost; the print with every
// feed type's norms, read back from PDF. And on the demo data, as the shell opens it
// after a run.

#include "calc/window/outcomeprint.h"
#include "calc/window/sensitivitywindow.h"
#include "namedchild.h"
#include "platform/printerchoice.h"
#include "results/demodatafixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTest>

using calc::NormSide;
using calc::SensitivityWindow;

namespace
{

calc::Sensitivity sample()
{
    calc::Sensitivity f;
    f.held = true;
    f.degenerate = true;
    f.alternativeOptima = true;
    f.requirements = {
        {1, 2, QStringLiteral("Протеин"), NormSide::Min, 20, 25, 18.0, 30.0},
        {1, 3, QStringLiteral("Клетчатка"), NormSide::Max, 5, -12.5, 4.0, std::nullopt},
        {2, 2, QStringLiteral("Протеин"), NormSide::Min, 16, 9.75, std::nullopt, 17.5}};
    f.prices = {{1, QStringLiteral("Пшеница"), 100, std::nullopt, 600.0, {1, 2}},
                {2, QStringLiteral("Шрот"), 400, 350.0, 600.0, {2}},
                {3, QStringLiteral("Горох"), 600, 400.0, std::nullopt, {}}};
    f.stock = {{2, QStringLiteral("Шрот"), 4, 200, 0.0, 5.0}};
    f.ratios = {{2, 4, 5, QStringLiteral("Кальций/Фосфор"), NormSide::Min, 1.9, 1281, 1.85, 2.2}};
    return f;
}

QStringList row(const QTableWidget *grid, int r)
{
    QStringList cells;
    for (int c = 0; c < grid->columnCount(); ++c)
        cells.append(grid->item(r, c) ? grid->item(r, c)->text() : QString());
    return cells;
}

// The window's controls, found by their names.
struct Controls {
    explicit Controls(const SensitivityWindow &w)
        : feedChoice(namedChild<QComboBox>(&w, "feedChoice")),
          requirementsGrid(namedChild<QTableWidget>(&w, "requirementsGrid")),
          pricesGrid(namedChild<QTableWidget>(&w, "pricesGrid")),
          stockGrid(namedChild<QTableWidget>(&w, "stockGrid")),
          degenerateNote(namedChild<QLabel>(&w, "degenerateNote")),
          alternativeOptimaNote(namedChild<QLabel>(&w, "alternativeOptimaNote")),
          printButton(namedChild<QPushButton>(&w, "printButton"))
    {
    }
    QComboBox *feedChoice;
    QTableWidget *requirementsGrid;
    QTableWidget *pricesGrid;
    QTableWidget *stockGrid;
    QLabel *degenerateNote;
    QLabel *alternativeOptimaNote;
    QPushButton *printButton;
};

} // namespace

class tst_sensitivitywindow final : public QObject
{
    Q_OBJECT

private slots:
    void gridsShowTheFigures();
    void feedChoiceShowsItsNorms();
    void printHasEveryFeedType();
    void demoDataAfterARun();
};

void tst_sensitivitywindow::gridsShowTheFigures()
{
    SensitivityWindow w(sample(), {QStringLiteral("ПК-1"), QStringLiteral("ПК-2")});
    const Controls c(w);
    QCOMPARE(w.windowTitle(), QStringLiteral("Анализ чувствительности"));
    QCOMPARE(c.feedChoice->count(), 2);
    QCOMPARE(c.feedChoice->itemText(1), QStringLiteral("2 - ПК-2"));
    QCOMPARE(c.requirementsGrid->rowCount(), 2);
    QCOMPARE(row(c.requirementsGrid, 0),
             (QStringList{"Протеин", "минимум", "20.000", "25.00", "18.000", "30.000"}));
    QCOMPARE(row(c.requirementsGrid, 1),
             (QStringList{"Клетчатка", "максимум", "5.000", "-12.50", "4.000", "—"}));
    QCOMPARE(c.pricesGrid->rowCount(), 3);
    QCOMPARE(row(c.pricesGrid, 0),
             (QStringList{"Пшеница", "100.00", "не ограничена", "600.00", "ПК-1, ПК-2"}));
    QCOMPARE(row(c.pricesGrid, 2),
             (QStringList{"Горох", "600.00", "400.00", "—", "не используется"}));
    QCOMPARE(row(c.stockGrid, 0), (QStringList{"Шрот", "4.000", "200.00", "0.000", "5.000"}));
    QVERIFY(c.degenerateNote->text().contains(QStringLiteral("вырожденное")));
    QVERIFY(!c.alternativeOptimaNote->isHidden());
    QCOMPARE(c.alternativeOptimaNote->text(),
             QStringLiteral("Есть другие рецепты той же стоимости: цена в пределах диапазона не "
                            "меняет стоимость, но может сменить рецепт"));

    calc::Sensitivity plain = sample();
    plain.degenerate = plain.alternativeOptima = false;
    SensitivityWindow clear(plain, {QStringLiteral("ПК-1"), QStringLiteral("ПК-2")});
    QVERIFY(Controls(clear).degenerateNote->text().isEmpty());
    QVERIFY(Controls(clear).alternativeOptimaNote->isHidden());
}

void tst_sensitivitywindow::feedChoiceShowsItsNorms()
{
    SensitivityWindow w(sample(), {QStringLiteral("ПК-1"), QStringLiteral("ПК-2")});
    const Controls c(w);
    c.feedChoice->setCurrentIndex(1);
    QCOMPARE(c.requirementsGrid->rowCount(), 2); // the norm, then the ratio
    QCOMPARE(row(c.requirementsGrid, 0),
             (QStringList{"Протеин", "минимум", "16.000", "9.75", "—", "17.500"}));
    QCOMPARE(row(c.requirementsGrid, 1), (QStringList{"Соотношение Кальций/Фосфор", "минимум",
                                                      "1.9000", "1281.00", "1.8500", "2.2000"}));
    w.chooseFeed(1);
    QCOMPARE(c.feedChoice->currentIndex(), 0);
    QCOMPARE(c.requirementsGrid->rowCount(), 2);
    // prices and stock belong to the whole programme: the same for every feed type
    QCOMPARE(c.pricesGrid->rowCount(), 3);
    QCOMPARE(c.stockGrid->rowCount(), 1);
}

// Every feed type's norms, then the prices with the names of the feed types using them
// and the stock, on one page when they fit, through the printer the button chooses
// (forced into a PDF file).
void tst_sensitivitywindow::printHasEveryFeedType()
{
    SensitivityWindow w(sample(), {QStringLiteral("ПК-1"), QStringLiteral("ПК-2")});
    const Controls c(w);
    const QList<calc::OutcomeBlock> blocks = w.printBlocks();
    QCOMPARE(blocks.size(), 4);
    QCOMPARE(blocks.at(1).heading,
             QStringLiteral("Анализ чувствительности. Ограничения продукта 2 - ПК-2"));
    const QString pdf = roadtest::outputPdf(QStringLiteral("sensitivity"));
    QFile::remove(pdf);
    qputenv(platform::kForcedPdfVariable, pdf.toUtf8());
    c.printButton->click();
    qunsetenv(platform::kForcedPdfVariable);
    const QString text = roadtest::pdfText(pdf);
    QVERIFY2(text.contains(QStringLiteral("Ограничения продукта 1 - ПК-1")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Ограничения продукта 2 - ПК-2")));
    QVERIFY(text.contains(QStringLiteral("Анализ чувствительности. Цены сырья")));
    QVERIFY(text.contains(QStringLiteral("Анализ чувствительности. Запасы")));
    QVERIFY(text.contains(QStringLiteral("Клетчатка")));
    QVERIFY(text.contains(QStringLiteral("-12.50")));
    QVERIFY(text.contains(QStringLiteral("вырожденное")));
    QVERIFY(text.contains(QStringLiteral("Есть другие рецепты той же стоимости")));
    QVERIFY(text.contains(QStringLiteral("ПК-1, ПК-2")));
    QVERIFY(text.contains(QStringLiteral("не ограничена")));
    QCOMPARE(text.count(QChar(u'\f')), 1);
}

// After a run on the demo data: a norm that holds every recipe, a price for every
// selected raw material, a window a technologist can read.
void tst_sensitivitywindow::demoDataAfterARun()
{
    roadtest::DemoData demo;
    QVERIFY(demo.ok() && demo.open());
    const calc::RunResult run = demo.calculate(calc::CalcMode::Cost);
    const calc::Selection *record = &run.selection;
    QCOMPARE(run.outcome, calc::RunOutcome::Solution);
    QStringList feedTypes;
    for (int p = 1; p <= record->feedCount; ++p)
        feedTypes.append(record->feedType[p]);
    SensitivityWindow w(run.sensitivity, feedTypes);
    const Controls c(w);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(c.feedChoice->count(), record->feedCount);
    QCOMPARE(c.pricesGrid->rowCount(), record->rawCount);
    int norms = 0;
    for (int p = 1; p <= record->feedCount; ++p) {
        w.chooseFeed(p);
        QVERIFY2(c.requirementsGrid->rowCount() > 0, qPrintable(feedTypes.at(p - 1)));
        norms += c.requirementsGrid->rowCount();
    }
    w.chooseFeed(1);
    // within the screen, the buttons in sight: the grids scroll instead
    QVERIFY(w.height() <= w.screen()->availableGeometry().height());
    QVERIFY(w.rect().contains(c.printButton->geometry()));
    if (!qEnvironmentVariableIsEmpty("KP_SENSITIVITY_SHOT")) // a picture for a human
        w.grab().save(qEnvironmentVariable("KP_SENSITIVITY_SHOT"));
    const QString pdf = roadtest::outputPdf(QStringLiteral("sensitivity-demo"));
    QFile::remove(pdf);
    qputenv(platform::kForcedPdfVariable, pdf.toUtf8());
    c.printButton->click();
    qunsetenv(platform::kForcedPdfVariable);
    // a few norms per feed type: a page each made nine pages, most of them near empty
    const int pages = int(roadtest::pdfText(pdf).count(QChar(u'\f')));
    QVERIFY2(pages <= 3, qPrintable(QString::number(pages)));
    qInfo("demo data: %d binding norms over %d feed types, %zu binding stocks, degenerate: %s",
          norms, record->feedCount, run.sensitivity.stock.size(),
          run.sensitivity.degenerate ? "yes" : "no");
}

QTEST_MAIN(tst_sensitivitywindow)
#include "tst_sensitivitywindow.moc"
