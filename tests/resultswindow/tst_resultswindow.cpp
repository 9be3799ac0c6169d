// The results window over a calculation of the shipped demo data: the price build-up of
// every feed type, the grids of the selected one, repricing after edits and after a raw
// material's price change, the composition correction, the archive write and printing
// through the recipe view window.

#include "calc/run.h"
#include "documents/window/recipeviewwindow.h"
#include "listswindow/typingfixture.h"
#include "namedchild.h"
#include "platform/printerchoice.h"
#include "results/cellnumber.h"
#include "results/demodatafixture.h"
#include "results/pricebuildup.h"
#include "results/resultgrids.h"
#include "results/window/resultswindow.h"
#include "store/numbertext.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using results::ResultsWindow;
using store::fixedText;
using store::round2;

namespace
{

// A cost run of the demo data and the results window over it, its messages collected.
struct Results {
    roadtest::DemoData demo;
    store::DataModule *dm = nullptr;
    calc::RunResult run;
    std::unique_ptr<ResultsWindow> form;
    QStringList messages;

    // The messages are collected, or shown in the window's own message boxes. change, when
    // given, changes the data before the run, which then takes the ratios in force.
    explicit Results(bool collect = true,
                     const std::function<void(store::DataModule &)> &change = {})
    {
        dm = demo.open();
        if (!dm)
            return;
        if (change)
            change(*dm);
        run = demo.calculate(calc::CalcMode::Cost, bool(change));
        if (run.outcome != calc::RunOutcome::Solution)
            return;
        form = std::make_unique<ResultsWindow>(*dm, run);
        auto *view = new documents::RecipeViewWindow(*dm, form.get());
        form->setRecipeViewOpener([view](int number) {
            view->setArchiveNumber(number);
            view->exec();
        });
        if (collect)
            form->setMessageSink([this](const QString &text) { messages.append(text); });
        form->show();
        QApplication::setActiveWindow(form.get());
        if (!QTest::qWaitForWindowActive(form.get()))
            form.reset();
    }
    bool ok() const { return form != nullptr; }

    QTableWidget *feeds() const { return namedChild<QTableWidget>(form.get(), "feedGrid"); }
    QTableWidget *composition() const
    {
        return namedChild<QTableWidget>(form.get(), "compositionGrid");
    }
    QPushButton *button(const char *name) const
    {
        return namedChild<QPushButton>(form.get(), name);
    }
    QString feedCell(int p, int column) const { return feeds()->item(p - 1, column)->text(); }
    QString compositionCell(int row, int column) const
    {
        return composition()->item(row, column)->text();
    }

    // The composition row of raw material `name` in the current feed type; -1 if none.
    int compositionRow(const QString &name) const
    {
        for (int r = 0; r < composition()->rowCount(); ++r)
            if (compositionCell(r, ResultsWindow::ColRawName) == name)
                return r;
        return -1;
    }

    // Types text into a cell's editor key by key, as the user does.
    void type(QTableWidget *grid, int row, int column, const QString &text)
    {
        grid->setFocus();
        grid->setCurrentCell(row, column);
        grid->editItem(grid->item(row, column));
        QLineEdit *editor = nullptr;
        for (QLineEdit *line : grid->viewport()->findChildren<QLineEdit *>())
            if (line->isVisible())
                editor = line;
        QVERIFY(editor);
        editor->selectAll();
        for (const QChar c : text) {
            QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QCoreApplication::processEvents(); // what the key set off, messages among it
        }
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the editor closes
    }

    // Writes the percentages of the composition grid, as typed in correction mode.
    void setPercents(const QStringList &percents)
    {
        for (int r = 0; r < percents.size(); ++r)
            form->onCompositionCellEdited(ResultsWindow::ColPercent, r, percents.at(r));
    }

    QList<double> percents() const
    {
        QList<double> values;
        for (int r = 0; r < composition()->rowCount(); ++r)
            values.append(store::parseNumber(compositionCell(r, ResultsWindow::ColPercent)));
        return values;
    }
};

// The price build-up by hand with the demo settings: loss 0.5 %, costs 1200, profit 10 %,
// granulation 300.
double priceWithoutTax(double rawCost)
{
    const double full = 1200 + rawCost + round2(0.5 * rawCost / 100);
    return round2(300 + round2(10 * full / 100) + full);
}

int largestRow(const QList<double> &values)
{
    int largest = 0;
    for (int r = 1; r < values.size(); ++r)
        if (values[r] > values[largest])
            largest = r;
    return largest;
}

QStringList texts(const QList<double> &values)
{
    QStringList list;
    for (double v : values)
        list.append(store::fixedText(v, 0, 3));
    return list;
}

double feedTonnes(const calc::RunResult &r, int p, bool withLosses)
{
    double sum = 0;
    for (const calc::RecipeLine &line : r.recipes.feed(p).lines)
        sum += withLosses ? line.withLosses : line.tonnes;
    return sum;
}

// The recipe line shown in row `row` of feed type p's composition grid.
calc::RecipeLine &lineOf(calc::RunResult &r, int p, int row)
{
    calc::FeedRecipe &feed = r.recipes.feed(p);
    return feed.lines[results::compositionLines(feed).at(row)];
}

} // namespace

class TestResultsWindow final : public QObject
{
    Q_OBJECT

private slots:
    void rebuildShowsThePriceBuildUp();
    void detailsFollowTheSelectedFeed();
    void costCellsReprice();
    void priceChangeRepricesEveryFeed();
    void correctionModeLocksTheWindow();
    void correctionNearlyHundred();
    void correctionFillsTheZeroRow();
    void correctionRefused_data();
    void correctionRefused();
    void archiveWritesConsecutiveNumbers();
    void archiveTakesTheCellsAsShown_data();
    void archiveTakesTheCellsAsShown();
    void correctionTakesThePercentsAsShown();
    void printNeedsAnArchiveNumber();
    void printOpensTheRecipe();
    void sensitivityButtonCallsItsOpener();
    void reopeningRebuildsButKeepsNotes();
    void typingGoesOnAfterAMessage_data();
    void typingGoesOnAfterAMessage();
    void typingStopsWhereTheFieldEnds_data();
    void typingStopsWhereTheFieldEnds();
    void numberAndTypeStayInView();
    void ratioFollowsTheCorrection();
};

void TestResultsWindow::rebuildShowsThePriceBuildUp()
{
    Results w;
    QVERIFY(w.ok());
    const calc::RunResult &r = w.run;
    QCOMPARE(w.feeds()->rowCount(), 7);
    QCOMPARE(w.feeds()->columnCount(), 14);
    QCOMPARE(w.feeds()->horizontalHeaderItem(ResultsWindow::ColPriceWithTax)->text(),
             QStringLiteral("Цена 1Т с НДС"));
    QCOMPARE(w.form->currentFeed(), 1);
    for (int p = 1; p <= 7; ++p) {
        double rawCost = 0;
        for (const calc::RecipeLine &line : r.recipes.feed(p).lines)
            rawCost += round2(line.price * line.percent / 100);
        const double noTax = priceWithoutTax(rawCost);
        const QStringList expected = {QString::number(p),
                                      r.recipes.feed(p).type,
                                      QString(),
                                      results::generalText(r.recipes.feed(p).output),
                                      fixedText(rawCost, 13, 2),
                                      "1200",
                                      "10",
                                      "300",
                                      "Г",
                                      "10",
                                      results::generalText(noTax),
                                      results::generalText(noTax + round2(10 * noTax / 100)),
                                      r.selection.feedPurpose[p],
                                      QString()};
        for (int c = 0; c < 14; ++c)
            QCOMPARE(w.feedCell(p, c), expected.at(c));
        QCOMPARE(w.form->price(p).namePrice, noTax + round2(10 * noTax / 100));
    }
    QCOMPARE(w.feedCell(1, ResultsWindow::ColType), QStringLiteral("ПК-5"));
}

void TestResultsWindow::detailsFollowTheSelectedFeed()
{
    Results w;
    QVERIFY(w.ok());
    w.feeds()->setCurrentCell(2, ResultsWindow::ColCosts);
    QCOMPARE(w.form->currentFeed(), 3);
    const calc::RunResult &r = w.run;
    QCOMPARE(w.composition()->rowCount(), int(results::compositionLines(r.recipes.feed(3)).size()));
    double percent = 0;
    double tonnes = 0;
    for (int row = 0; row < w.composition()->rowCount(); ++row) {
        percent += store::parseNumber(w.compositionCell(row, ResultsWindow::ColPercent));
        tonnes += store::parseNumber(w.compositionCell(row, ResultsWindow::ColTonnes));
    }
    QVERIFY(qAbs(percent - 100) < 0.005);
    QVERIFY(qAbs(tonnes - r.recipes.feed(3).output) < 0.0005);
    const QTableWidget *chars = namedChild<QTableWidget>(w.form.get(), "characteristicsGrid");
    QVERIFY(chars->rowCount() > 5);
    for (int row = 0; row < chars->rowCount(); ++row) {
        QVERIFY(chars->item(row, 0)->text() != QStringLiteral("Цена"));
        using results::CellValue;
        const bool red = results::violatesNorm(CellValue::typed(chars->item(row, 1)->text()),
                                               CellValue::typed(chars->item(row, 2)->text()),
                                               CellValue::typed(chars->item(row, 3)->text()));
        const QVariant brush = chars->item(row, 2)->data(Qt::ForegroundRole);
        QCOMPARE(brush.isValid() && brush.value<QBrush>().color() == Qt::red, red);
    }
}

void TestResultsWindow::costCellsReprice()
{
    Results w;
    QVERIFY(w.ok());
    const double rawCost = w.form->price(1).rawCost;
    const auto withTax = [rawCost](double costs) {
        const double full = rawCost + round2(0.5 * rawCost / 100) + costs;
        const double noTax = round2(round2(10 * full / 100) + full + 300);
        return fixedText(noTax + round2(10 * noTax / 100), 12, 2);
    };
    // every keystroke reprices: "1", "15", then "15x" stops at the costs
    w.type(w.feeds(), 0, ResultsWindow::ColCosts, QStringLiteral("15x"));
    QCOMPARE(w.messages, QStringList{"Исправьте издержки... Цена не пересчитана..."});
    QCOMPARE(w.feedCell(1, ResultsWindow::ColPriceWithTax), withTax(15));
    w.messages.clear();

    w.type(w.feeds(), 0, ResultsWindow::ColCosts, QStringLiteral("1500"));
    QVERIFY(w.messages.isEmpty());
    QCOMPARE(w.feedCell(1, ResultsWindow::ColCosts), QStringLiteral("1500"));
    QCOMPARE(w.feedCell(1, ResultsWindow::ColPriceWithTax), withTax(1500));

    // the surcharge takes two decimals, as its archive field (a third is not taken), and
    // is written back; the other feed types stay as they were
    w.type(w.feeds(), 0, ResultsWindow::ColGran, QStringLiteral("250.125"));
    QCOMPARE(w.feedCell(1, ResultsWindow::ColGran), QStringLiteral("      250.12"));
    QCOMPARE(w.feedCell(2, ResultsWindow::ColGran), QStringLiteral("300"));
    w.type(w.feeds(), 0, ResultsWindow::ColVat, QStringLiteral("-"));
    QCOMPARE(w.messages, QStringList{"Исправьте %нал (НДС)... Цена не пересчитана..."});
}

// A raw material's price is shared: every feed type that takes it is priced again, and
// the feed grid stays on its row.
void TestResultsWindow::priceChangeRepricesEveryFeed()
{
    Results w;
    QVERIFY(w.ok());
    calc::RunResult &r = w.run;
    const int row = w.compositionRow(QStringLiteral("Пшеница фуражная"));
    QVERIFY(row >= 0);
    QStringList rawCostsBefore;
    for (int p = 1; p <= 7; ++p)
        rawCostsBefore.append(w.feedCell(p, ResultsWindow::ColRawCost));

    w.type(w.composition(), row, ResultsWindow::ColPrice, QStringLiteral("-"));
    QCOMPARE(w.messages, QStringList{"Недопустимый символ в 2 позиции цены... Исправьте..."});
    w.messages.clear();

    w.type(w.composition(), row, ResultsWindow::ColPrice, QStringLiteral("20000"));
    QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join(u'\n')));
    const calc::RecipeLine &wheat = lineOf(r, 1, row);
    QCOMPARE(wheat.price, 20000.0);
    for (const calc::FeedRecipe &feed : r.recipes.feeds) // in every feed type
        for (const calc::RecipeLine &line : feed.lines)
            QVERIFY(line.raw != wheat.raw || line.price == 20000.0);
    QCOMPARE(w.compositionCell(row, ResultsWindow::ColBatchCost),
             fixedText(20000 * wheat.tonnes, 13, 2));
    const std::vector<double> costs = results::rawCosts(r.recipes);
    int changed = 0;
    for (int p = 1; p <= 7; ++p) {
        QCOMPARE(w.feedCell(p, ResultsWindow::ColRawCost), fixedText(costs[size_t(p)], 13, 2));
        QCOMPARE(w.form->price(p).rawCost, costs[size_t(p)]);
        const double noTax = priceWithoutTax(costs[size_t(p)]);
        QCOMPARE(w.feedCell(p, ResultsWindow::ColPriceNoTax), fixedText(noTax, 12, 2));
        QCOMPARE(w.feedCell(p, ResultsWindow::ColPriceWithTax),
                 fixedText(noTax + round2(10 * noTax / 100), 12, 2));
        changed += w.feedCell(p, ResultsWindow::ColRawCost) != rawCostsBefore.at(p - 1);
    }
    QVERIFY(changed > 1);
    QCOMPARE(w.form->currentFeed(), 1);
    QCOMPARE(w.feeds()->currentRow(), 0);
}

void TestResultsWindow::correctionModeLocksTheWindow()
{
    Results w;
    QVERIFY(w.ok());
    w.button("correctionButton")->click();
    QVERIFY(w.form->correctionMode());
    QCOMPARE(w.button("correctionButton")->text(), QStringLiteral("Корректировка завершена"));
    QVERIFY(!w.feeds()->isEnabled());
    QVERIFY(!w.button("printRecipeButton")->isEnabled());
    QVERIFY(!w.button("writeToArchiveButton")->isEnabled());
    QVERIFY(w.composition()->item(0, ResultsWindow::ColPercent)->flags() & Qt::ItemIsEditable);
    w.type(w.composition(), 0, ResultsWindow::ColPercent, QStringLiteral("4x"));
    QCOMPARE(w.messages,
             QStringList{"Недопустимый символ в 2 позиции процента ввода... Исправьте..."});
    w.messages.clear();
    w.button("correctionButton")->click();
    QCOMPARE(w.messages,
             QStringList{"Имеются нечисловые значения процентов ввода... Исправьте..."});
    QVERIFY(w.form->correctionMode());
}

// 99.996 % is taken with its percentages; the tonnes still add up to the output.
void TestResultsWindow::correctionNearlyHundred()
{
    Results w;
    QVERIFY(w.ok());
    calc::RunResult &r = w.run;
    w.button("correctionButton")->click();
    QList<double> x = w.percents();
    double sum = 0;
    for (double v : x)
        sum += v;
    const int largest = largestRow(x);
    x[largest] = store::round3(x[largest] - (sum - 99.996));
    w.setPercents(texts(x));
    w.button("correctionButton")->click();
    QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join(u'\n')));
    QVERIFY(!w.form->correctionMode());
    QVERIFY(w.feeds()->isEnabled());
    QCOMPARE(lineOf(r, 1, largest).percent, x[largest]);
    QVERIFY(qAbs(feedTonnes(r, 1, false) - r.recipes.feed(1).output) < 1e-9);
    QVERIFY(qAbs(feedTonnes(r, 1, true) - store::round3(100.5 * r.recipes.feed(1).output / 100)) <
            1e-9);
    double rawCost = 0;
    for (int row = 0; row < x.size(); ++row)
        rawCost += round2(
            x[row] * store::parseNumber(w.compositionCell(row, ResultsWindow::ColPrice)) / 100);
    QCOMPARE(w.feedCell(1, ResultsWindow::ColRawCost), fixedText(rawCost, 13, 2));
    QCOMPARE(w.feedCell(1, ResultsWindow::ColPriceNoTax),
             fixedText(priceWithoutTax(rawCost), 12, 2));
}

// 97 % with one row at 0 %: that row gets 3.00 %.
void TestResultsWindow::correctionFillsTheZeroRow()
{
    Results w;
    QVERIFY(w.ok());
    calc::RunResult &r = w.run;
    w.button("correctionButton")->click();
    QList<double> x = w.percents();
    const int largest = largestRow(x);
    const int zero = largest == 0 ? 1 : 0;
    const QString zeroName = w.compositionCell(zero, ResultsWindow::ColRawName);
    x[largest] = store::round3(x[largest] - (3 - x[zero]));
    x[zero] = 0;
    w.setPercents(texts(x));
    w.button("correctionButton")->click();
    QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join(u'\n')));
    const int row = w.compositionRow(zeroName);
    QVERIFY(row >= 0);
    QCOMPARE(w.compositionCell(row, ResultsWindow::ColPercent), QStringLiteral("    3.00"));
    QCOMPARE(lineOf(r, 1, row).percent, 3.0);
    QVERIFY(qAbs(feedTonnes(r, 1, false) - r.recipes.feed(1).output) < 1e-9);
}

void TestResultsWindow::correctionRefused_data()
{
    QTest::addColumn<double>("shift"); // added to the largest row
    QTest::addColumn<QString>("message");
    QTest::newRow("97 without a zero row") << -3.0 << QStringLiteral("Набрано 97%... Исправьте...");
    QTest::newRow("above 100") << 2.5 << QStringLiteral("Набрано 102.5%... Исправьте...");
}

// No row to take the shortfall, or too much: refused, correction mode stays on.
void TestResultsWindow::correctionRefused()
{
    QFETCH(double, shift);
    QFETCH(QString, message);
    Results w;
    QVERIFY(w.ok());
    w.button("correctionButton")->click();
    QList<double> x = w.percents();
    for (double &v : x)
        if (v == 0)
            v = 0.001; // no row at 0 %
    double sum = 0;
    for (double v : x)
        sum += v;
    const int largest = largestRow(x);
    x[largest] = store::round3(x[largest] + 100 - sum + shift);
    w.setPercents(texts(x));
    w.button("correctionButton")->click();
    QCOMPARE(w.messages, QStringList{message});
    QVERIFY(w.form->correctionMode());
    QVERIFY(!w.feeds()->isEnabled());
}

// Two writes without a new calculation, the second after "Да" to its question:
// consecutive numbers, the later one shown.
void TestResultsWindow::archiveWritesConsecutiveNumbers()
{
    Results w;
    QVERIFY(w.ok());
    const int last = w.dm->lastArchiveNumber();
    w.feeds()->setCurrentCell(1, ResultsWindow::ColNote);
    w.type(w.feeds(), 1, ResultsWindow::ColNote, QStringLiteral("партия для фермы"));
    w.button("writeToArchiveButton")->click();
    QCOMPARE(w.feedCell(2, ResultsWindow::ColArchive), QString::number(last + 1));
    {
        typing::MessageCatcher boxes(typing::Dismiss::Mouse); // its first answer, "Да"
        w.button("writeToArchiveButton")->click();
        QCOMPARE(boxes.texts, QStringList{QStringLiteral("Рецепт уже записан в архив под № %1. "
                                                         "Записать еще раз?")
                                              .arg(last + 1)});
    }
    QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join(u'\n')));
    QCOMPARE(w.feedCell(2, ResultsWindow::ColArchive), QString::number(last + 2));
    QCOMPARE(w.dm->lastArchiveNumber(), last + 2);

    // read back from the file, as the next run of the program would
    store::Table arkk;
    arkk.setFileName(w.demo.dataDir() + QStringLiteral("/arkk.dbf"));
    arkk.open();
    const double withTax = store::parseNumber(w.feedCell(2, ResultsWindow::ColPriceWithTax));
    const QString price = QString::number(qint64(store::roundHalfEven(withTax)));
    QStringList names;
    for (arkk.first(); !arkk.eof(); arkk.next()) {
        names.append(arkk.text(QStringLiteral("naim")));
        QCOMPARE(arkk.text(QStringLiteral("prim")), QStringLiteral("партия для фермы"));
        QCOMPARE(arkk.text(QStringLiteral("data")), QStringLiteral("05.03.2026"));
        QCOMPARE(arkk.number(QStringLiteral("izder")), 1200.0);
    }
    const QString type = w.feedCell(2, ResultsWindow::ColType);
    QCOMPARE(names, QStringList({type + u'-' + price + u'-' + QString::number(last + 1) + u'Г',
                                 type + u'-' + price + u'-' + QString::number(last + 2) + u'Г'}));
    store::Table arsir;
    arsir.setFileName(w.demo.dataDir() + QStringLiteral("/arsir.dbf"));
    arsir.open();
    QCOMPARE(arsir.viewCount(), 2 * w.composition()->rowCount());
}

void TestResultsWindow::archiveTakesTheCellsAsShown_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("field");
    QTest::addColumn<double>("stored"); // < 0: refused
    QTest::newRow("surcharge rounded as shown") << int(ResultsWindow::ColGran) << "250.125"
                                                << "gran" << 250.13;
    QTest::newRow("costs as typed") << int(ResultsWindow::ColCosts) << "1500.5"
                                    << "izder" << 1500.5;
    QTest::newRow("costs not a number") << int(ResultsWindow::ColCosts) << "15x"
                                        << "izder" << -1.0;
    QTest::newRow("tax emptied") << int(ResultsWindow::ColVat) << ""
                                 << "nds" << -1.0;
}

// The archive stores the numbers the feed grid shows; a cell that is no number stops
// the write, naming its column.
void TestResultsWindow::archiveTakesTheCellsAsShown()
{
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, field);
    QFETCH(double, stored);
    Results w;
    QVERIFY(w.ok());
    const int last = w.dm->lastArchiveNumber();
    w.form->onFeedCellEdited(column, 0, typed);
    w.messages.clear();
    w.button("writeToArchiveButton")->click();
    if (stored < 0) {
        const QString header = w.feeds()->horizontalHeaderItem(column)->text();
        QCOMPARE(
            w.messages,
            QStringList{QStringLiteral("В колонке \"%1\" не число. Рецепт в архив не записан...")
                            .arg(header)});
        QCOMPARE(w.dm->lastArchiveNumber(), last);
        return;
    }
    QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join(u'\n')));
    store::Table arkk;
    arkk.setFileName(w.demo.dataDir() + QStringLiteral("/arkk.dbf"));
    arkk.open();
    arkk.last();
    QCOMPARE(arkk.number(field), stored);
    QCOMPARE(store::parseNumber(w.feedCell(1, column)), stored);
}

// Percentages with more decimals than the grid shows: finishing a correction without a
// change takes them as shown.
void TestResultsWindow::correctionTakesThePercentsAsShown()
{
    Results w;
    QVERIFY(w.ok());
    calc::RunResult &r = w.run;
    QVERIFY(results::compositionLines(r.recipes.feed(1)).size() >= 2);
    lineOf(r, 1, 0).percent += 0.003;
    lineOf(r, 1, 1).percent -= 0.003;
    w.form->onActivate();
    const QList<double> shown = w.percents();
    w.button("correctionButton")->click();
    w.button("correctionButton")->click();
    QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join(u'\n')));
    QVERIFY(!w.form->correctionMode());
    QCOMPARE(lineOf(r, 1, 0).percent, shown[0]);
    QCOMPARE(lineOf(r, 1, 1).percent, shown[1]);
    QCOMPARE(w.percents(), shown);
}

void TestResultsWindow::printNeedsAnArchiveNumber()
{
    Results w;
    QVERIFY(w.ok());
    w.button("printRecipeButton")->click();
    QCOMPARE(w.messages, QStringList{"Рецепт не записан в архив.  Печать отменена."});
}

// After the write the print button opens the recipe view window on that number; its
// printed page carries the recipe; coming back does not rebuild the grids.
// "Анализ чувствительности" shows only with an opener, under the row of the other
// buttons and clear of them, inside the window; pressing it calls the opener.
void TestResultsWindow::sensitivityButtonCallsItsOpener()
{
    Results w;
    QVERIFY(w.ok());
    QPushButton *button = w.button("sensitivityButton");
    QVERIFY(!button->isVisible());
    const QList<QPushButton *> others = {
        w.button("printRecipeButton"), w.button("writeToArchiveButton"),
        w.button("repeatCalculationButton"), w.button("correctionButton"), w.button("exitButton")};
    QList<QRect> before;
    for (QPushButton *b : others)
        before.append(b->geometry());
    int opened = 0;
    w.form->setSensitivityOpener([&opened] { ++opened; });
    QVERIFY(button->isVisible());
    QCOMPARE(button->text(), QStringLiteral("Анализ чувствительности"));
    QVERIFY(w.form->rect().contains(button->geometry()));
    for (int k = 0; k < others.size(); ++k) {
        QCOMPARE(others.at(k)->geometry(), before.at(k));
        QVERIFY(!others.at(k)->geometry().intersects(button->geometry()));
    }
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(opened, 1);
}

void TestResultsWindow::printOpensTheRecipe()
{
    Results w;
    QVERIFY(w.ok());
    w.button("writeToArchiveButton")->click();
    const int number = w.feedCell(1, ResultsWindow::ColArchive).toInt();
    QVERIFY(number > 0);
    const QString pdf = roadtest::outputPdf(QStringLiteral("results-recipe"));
    QFile::remove(pdf);
    int shownNumber = 0;
    QTimer::singleShot(0, w.form.get(), [&] {
        auto *view = qobject_cast<documents::RecipeViewWindow *>(QApplication::activeModalWidget());
        if (!view)
            return;
        shownNumber = view->archiveNumber();
        qputenv(platform::kForcedPdfVariable, pdf.toUtf8());
        namedChild<QPushButton>(view, "printButton")->click();
        qunsetenv(platform::kForcedPdfVariable);
        view->reject();
    });
    QTimer safety;
    safety.setSingleShot(true);
    connect(&safety, &QTimer::timeout, w.form.get(), [&] {
        if (auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            if (d != w.form.get())
                d->reject();
    });
    safety.start(20000);
    w.button("printRecipeButton")->click();
    QCOMPARE(shownNumber, number);
    const QString text = roadtest::pdfText(pdf);
    QVERIFY2(text.contains(QStringLiteral("-%1Г").arg(number)), qPrintable(text.left(400)));
    QVERIFY(text.contains(QStringLiteral("Пшеница фуражная")));
    QCOMPARE(w.feedCell(1, ResultsWindow::ColArchive), QString::number(number));
}

void TestResultsWindow::reopeningRebuildsButKeepsNotes()
{
    Results w;
    QVERIFY(w.ok());
    w.type(w.feeds(), 2, ResultsWindow::ColNote, QStringLiteral("без мела"));
    w.type(w.feeds(), 2, ResultsWindow::ColCosts, QStringLiteral("999"));
    w.button("writeToArchiveButton")->click();
    w.button("exitButton")->click();
    QVERIFY(w.form->exitRequested());
    QVERIFY(!w.form->isVisible());
    w.form->show();
    QVERIFY(!w.form->exitRequested());
    QCOMPARE(w.feedCell(3, ResultsWindow::ColNote), QStringLiteral("без мела"));
    QCOMPARE(w.feedCell(3, ResultsWindow::ColCosts), QStringLiteral("1200"));
    QCOMPARE(w.feedCell(3, ResultsWindow::ColArchive), QString());
    w.button("repeatCalculationButton")->click();
    QVERIFY(!w.form->exitRequested());
}

void TestResultsWindow::typingStopsWhereTheFieldEnds_data()
{
    QTest::addColumn<bool>("feedGrid");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    const QString note(300, u'ж');
    QTest::newRow("note-254") << true << int(ResultsWindow::ColNote) << note << note.left(254);
    QTest::newRow("costs-largest") << true << int(ResultsWindow::ColCosts) << "999999999.99"
                                   << "999999999.99";
    QTest::newRow("costs-tenth-digit") << true << int(ResultsWindow::ColCosts) << "1234567890"
                                       << "123456789";
    QTest::newRow("profit-fifth-digit") << true << int(ResultsWindow::ColProfit) << "12345"
                                        << "1234";
    QTest::newRow("vat-fourth-decimal") << true << int(ResultsWindow::ColVat) << "10.1234"
                                        << "10.123";
    QTest::newRow("form-one-letter") << true << int(ResultsWindow::ColForm) << "ГК"
                                     << "Г";
    QTest::newRow("percent-fourth-decimal") << false << int(ResultsWindow::ColPercent) << "1.1234"
                                            << "1.123";
    // a character that is no number is typed: the window's message names its position
    QTest::newRow("price-letter-kept") << false << int(ResultsWindow::ColPrice) << "12x"
                                       << "12x";
}

// An editable cell takes what its archive field holds, no more: the note's 254 characters,
// the digits of a number before and after the point.
void TestResultsWindow::typingStopsWhereTheFieldEnds()
{
    QFETCH(bool, feedGrid);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    Results w;
    QVERIFY(w.ok());
    if (!feedGrid) {
        QTest::mouseClick(w.button("correctionButton"), Qt::LeftButton);
        QVERIFY(w.form->correctionMode());
    }
    QTableWidget *grid = feedGrid ? w.feeds() : w.composition();
    w.type(grid, 0, column, typed);
    QCOMPARE(grid->item(0, column)->text(), kept);
}

// Scrolled right to "Примечание", the feed grid still shows "№" and "Тип" of every row,
// and a click on them chooses the feed type.
void TestResultsWindow::numberAndTypeStayInView()
{
    Results w;
    QVERIFY(w.ok());
    QTableWidget *feeds = w.feeds();
    feeds->scrollTo(feeds->model()->index(0, ResultsWindow::ColNote),
                    QAbstractItemView::PositionAtTop);
    QVERIFY(feeds->horizontalScrollBar()->value() > 0);
    QVERIFY(feeds->columnViewportPosition(ResultsWindow::ColType) < 0); // the grid itself scrolled
    auto *frozen = feeds->findChild<QTableView *>(QStringLiteral("feedGridFrozen"));
    QVERIFY(frozen);
    QVERIFY(frozen->isVisible());
    QCOMPARE(frozen->width(), feeds->columnWidth(ResultsWindow::ColNumber) +
                                  feeds->columnWidth(ResultsWindow::ColType));
    for (int c = 0; c < ResultsWindow::FeedColumnCount; ++c)
        QCOMPARE(frozen->isColumnHidden(c), c > ResultsWindow::ColType);
    QCOMPARE(frozen->model()->index(2, ResultsWindow::ColType).data().toString(), w.feedCell(3, 1));
    // it lies over the grid's left edge, level with the grid's rows
    const QRect cell = frozen->visualRect(frozen->model()->index(2, ResultsWindow::ColType));
    QCOMPARE(frozen->viewport()->mapTo(feeds, cell.topLeft()).y(),
             feeds->viewport()
                 ->mapTo(feeds, feeds->visualRect(feeds->model()->index(2, 0)).topLeft())
                 .y());
    const int scrolled = feeds->horizontalScrollBar()->value();
    QTest::mouseClick(frozen->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(w.form->currentFeed(), 3);
    QCOMPARE(feeds->currentRow(), 2);
    QCOMPARE(feeds->horizontalScrollBar()->value(), scrolled); // no jump back to the left
    // the picture a user sees
    feeds->window()->grab().save(QStringLiteral(KP_TEST_OUTPUT "/results-scrolled-right.png"));
}

// ПК-5's calcium to available phosphorus in force at 2.1 at least: the row under the
// characteristics shows it kept; the limestone moved into the largest row by a
// correction takes it below, in red.
void TestResultsWindow::ratioFollowsTheCorrection()
{
    Results w(true, [](store::DataModule &dm) {
        dm.ratios.open();
        dm.ratios.first(); // ПК-5, Кальций/Фосфор доступный
        dm.ratios.setText(QStringLiteral("ON"), QStringLiteral("+"));
        dm.ratios.setNumber(QStringLiteral("RMIN"), 2.1);
        dm.ratios.close();
    });
    QVERIFY(w.ok());
    auto *grid = namedChild<QTableWidget>(w.form.get(), "characteristicsGrid");
    const int last = grid->rowCount() - 1;
    const auto row = [&] {
        QStringList texts;
        for (int c = 0; c < 4; ++c)
            texts << grid->item(last, c)->text();
        return texts;
    };
    QCOMPARE(row(),
             (QStringList{"Кальций/Фосфор доступный", "    2.1000", "    2.1000", "    2.2000"}));
    QVERIFY(grid->item(last, 2)->foreground().color() != QColor(Qt::red));

    w.button("correctionButton")->click();
    QList<double> x = w.percents();
    const int limestone = w.compositionRow(QStringLiteral("Мука известняковая"));
    QVERIFY(limestone >= 0);
    const int largest = largestRow(x);
    x[largest] = store::round3(x[largest] + x[limestone]);
    x[limestone] = 0;
    w.setPercents(texts(x));
    w.button("correctionButton")->click();
    QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join(u'\n')));
    QVERIFY(store::parseNumber(row().at(2)) < 2.1);
    QCOMPARE(grid->item(last, 2)->foreground().color(), QColor(Qt::red));
    w.form->grab().save(QStringLiteral(KP_TEST_OUTPUT "/results-ratio.png"));
}

QTEST_MAIN(TestResultsWindow)
void TestResultsWindow::typingGoesOnAfterAMessage_data()
{
    QTest::addColumn<bool>("feedGrid");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("correction");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("expected"); // the messages, in order
    QTest::addColumn<int>("backspaces");       // then the rest of the typing
    QTest::addColumn<QString>("more");
    QTest::addColumn<QStringList>("whileCorrecting"); // the messages it brings
    QTest::addColumn<QString>("cell");                // the text the cell ends with
    QTest::addColumn<int>("dismiss");                 // typing::Dismiss

    const QString comma = QStringLiteral("Недопустимый символ в 6 позиции цены... Исправьте...");
    const QString letter = QStringLiteral("Недопустимый символ в 2 позиции цены... Исправьте...");
    const QString percent =
        QStringLiteral("Недопустимый символ в 2 позиции процента ввода... Исправьте...");
    const QString costs = QStringLiteral("Исправьте издержки... Цена не пересчитана...");
    const struct {
        const char *name;
        bool feedGrid;
        int column;
        bool correction;
        QString typed;
        QStringList expected;
        int backspaces;
        QString more;
        QStringList whileCorrecting;
        QString cell;
    } cases[] = {
        // "17000,": still not a number after the first backspace
        {"price with a comma",
         false,
         ResultsWindow::ColPrice,
         false,
         "17000,5",
         {comma, comma},
         2,
         "",
         {comma},
         "17000"},
        {"price with a letter",
         false,
         ResultsWindow::ColPrice,
         false,
         "1a",
         {letter},
         1,
         "5",
         {},
         "15"},
        {"percentage", false, ResultsWindow::ColPercent, true, "4a", {percent}, 1, "2", {}, "42"},
        {"costs", true, ResultsWindow::ColCosts, false, "1200x", {costs}, 1, "5", {}, "12005"},
    };
    for (const auto &c : cases)
        for (const auto how : {typing::Dismiss::Key, typing::Dismiss::Mouse})
            QTest::addRow("%s, %s", c.name, how == typing::Dismiss::Key ? "Enter" : "mouse")
                << c.feedGrid << c.column << c.correction << c.typed << c.expected << c.backspaces
                << c.more << c.whileCorrecting << c.cell << int(how);
}

// The window's own message boxes: the message comes up for the bad text; once it is
// dismissed (Enter or a click) the same cell is still being typed in, with the bad text
// and the cursor after it, and typing on corrects it.
void TestResultsWindow::typingGoesOnAfterAMessage()
{
    QFETCH(bool, feedGrid);
    QFETCH(int, column);
    QFETCH(bool, correction);
    QFETCH(QString, typed);
    QFETCH(QStringList, expected);
    QFETCH(int, backspaces);
    QFETCH(QString, more);
    QFETCH(QStringList, whileCorrecting);
    QFETCH(QString, cell);
    QFETCH(int, dismiss);
    Results w(false);
    QVERIFY(w.ok());
    if (correction)
        w.button("correctionButton")->click();
    QTableWidget *grid = feedGrid ? w.feeds() : w.composition();
    grid->setFocus();
    grid->setCurrentCell(0, column);

    typing::MessageCatcher boxes{typing::Dismiss(dismiss)};
    typing::typeKeys(typed);
    QCOMPARE(boxes.texts, expected);
    auto *editor = qobject_cast<QLineEdit *>(typing::keyTarget());
    QVERIFY2(editor && grid->isAncestorOf(editor), "the cell is no longer being typed in");
    QCOMPARE(editor->text(), typed);
    QCOMPARE(editor->cursorPosition(), int(typed.size()));
    for (int k = 0; k < backspaces; ++k)
        typing::pressKey(Qt::Key_Backspace);
    typing::typeKeys(more);
    typing::pressKey(Qt::Key_Return);
    QCOMPARE(boxes.texts, expected + whileCorrecting);
    QCOMPARE(grid->item(0, column)->text(), cell);
    if (column == ResultsWindow::ColPrice) {
        QCOMPARE(lineOf(w.run, 1, 0).price, cell.toDouble());
    }
}

#include "tst_resultswindow.moc"
