// The calculation preparation window on a copy of the shipped demo data: activation,
// modes and marks, the run with its bars and message boxes, the three outcomes with
// their texts and colours, printing the outcome to a PDF file, and the way on to the
// results window and back.

#include "calc/window/outcomeprint.h"
#include "calc/window/preparationwindow.h"
#include "documents/window/recipeviewwindow.h"
#include "namedchild.h"
#include "platform/printerchoice.h"
#include "results/demodatafixture.h"
#include "results/window/resultswindow.h"
#include "store/fieldproblem.h"
#include "store/numbertext.h"
#include "widgets/tablegrid.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <memory>

using calc::CalcMode;
using calc::PreparationWindow;

namespace
{

const QString kCostLabel =
    QStringLiteral("Если расчет рецепта при заданных характеристиках не получается:");
const QString kNoRelaxation =
    QStringLiteral("В этом режиме нарушение требований к рецептам не допускается...");

// The window over a fresh copy of the demo data, its messages collected.
struct Road {
    roadtest::DemoData demo;
    store::DataModule *dm = nullptr;
    std::unique_ptr<PreparationWindow> form;
    QStringList messages;

    Road()
    {
        dm = demo.open();
        if (!dm)
            return;
        form = std::make_unique<PreparationWindow>(*dm);
        form->setMessageSink([this](const QString &text) { messages.append(text); });
        wireResultsWindow();
        form->show();
    }
    ~Road()
    {
        if (form)
            form->reject();
        form.reset();
    }

    // The results window over the preparation window and the recipe view window over
    // it, handed over as the program's start-up does.
    void wireResultsWindow()
    {
        auto *results = new results::ResultsWindow(*dm, form->lastRun(), form.get());
        results->setMessageSink([this](const QString &text) { messages.append(text); });
        auto *view = new documents::RecipeViewWindow(*dm, results);
        results->setRecipeViewOpener([view](int number) {
            view->setArchiveNumber(number);
            view->exec();
        });
        form->setResultsOpener([results] {
            results->exec();
            return results->exitRequested();
        });
    }

    template <class T> T *child(const char *name) const { return namedChild<T>(form.get(), name); }
    QPushButton *button(const char *name) const { return child<QPushButton>(name); }
    QRadioButton *modeButton(CalcMode mode) const
    {
        switch (mode) {
        case CalcMode::Proportional:
            return child<QRadioButton>("proportionalModeButton");
        case CalcMode::Product:
            return child<QRadioButton>("productModeButton");
        case CalcMode::Cost:
            break;
        }
        return child<QRadioButton>("costModeButton");
    }

    // Puts a grid's cursor on the row whose first column reads `text`; false if none.
    static bool goToRow(widgets::TableGrid *grid, const QString &text)
    {
        QAbstractItemModel *model = grid->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->index(row, 0).data().toString() == text) {
                grid->setCurrentIndex(model->index(row, 0));
                return true;
            }
        }
        return false;
    }

    // The records of a cursor's view whose field reads `value`, by their first field.
    static QStringList marked(store::Table &table, const QString &nameField,
                              const QString &value = QStringLiteral("+"))
    {
        QStringList names;
        for (int row = 0; row < table.viewCount(); ++row) {
            const QVariant vib = table.valueAt(row, table.fieldIndex(QStringLiteral("vib")));
            if (vib.toString().trimmed() == value)
                names.append(table.valueAt(row, table.fieldIndex(nameField)).toString().trimmed());
        }
        return names;
    }

    void setKkField(const QString &type, const QString &field, double value)
    {
        store::Table &kk = dm->feedTypes;
        for (kk.first(); !kk.eof(); kk.next()) {
            if (kk.text(QStringLiteral("TIP")).trimmed() == type) {
                kk.setNumber(field, value);
                kk.post();
                return;
            }
        }
        QFAIL("no such feed type");
    }

    void run(CalcMode mode)
    {
        QTest::mouseClick(modeButton(mode), Qt::LeftButton);
        QTest::mouseClick(button("startRunButton"), Qt::LeftButton);
    }

    // Prints what is shown into KP_TEST_OUTPUT/<name>.pdf; the words read back.
    QList<roadtest::PdfWord> print(const QString &name)
    {
        const QString pdf = roadtest::outputPdf(name);
        QFile::remove(pdf);
        qputenv(platform::kForcedPdfVariable, pdf.toUtf8());
        button("printButton")->click();
        qunsetenv(platform::kForcedPdfVariable);
        return roadtest::pdfWords(pdf);
    }
};

QColor rowColour(const QTableWidget *grid, int row)
{
    const QVariant brush = grid->item(row, 0)->data(Qt::ForegroundRole);
    return brush.isValid() ? brush.value<QBrush>().color() : QColor();
}

QStringList rowTexts(const QTableWidget *grid, int row)
{
    QStringList texts;
    for (int c = 0; c < grid->columnCount(); ++c)
        texts.append(grid->item(row, c)->text());
    return texts;
}

double cellNumber(const QTableWidget *grid, int row, int column)
{
    return store::parseNumber(grid->item(row, column)->text());
}

// Points of a virtual page position on an A4 PDF page (595.28 × 841.89 pt).
double pointsX(double v)
{
    return v * 595.276 / calc::OutcomePrint::kVirtualWidth;
}
double pointsY(double v)
{
    return v * 841.89 / calc::OutcomePrint::kVirtualHeight;
}

const roadtest::PdfWord *findWord(const QList<roadtest::PdfWord> &words, const QString &text,
                                  int page = 0)
{
    for (const roadtest::PdfWord &w : words)
        if (w.text == text && (page == 0 || w.page == page))
            return &w;
    return nullptr;
}

} // namespace

class TestPreparationWindow final : public QObject
{
    Q_OBJECT

private slots:
    void activationRestrictsAndResets();
    void currentProductMarksTheRowUnderTheCursor();
    void fullUseMarks();
    void refinementNeedsASelection();
    void costRunShowsTheSummary();
    void summaryColumnsFitEveryRow();
    void summaryPrintsWhereTheVirtualPageSays();
    void proportionalRunCountsAttempts();
    void runMessagesAreShown();
    void ratiosInForceBindTheRun();
    void stoppedRunLeavesTheTables_data();
    void stoppedRunLeavesTheTables();
    void dataErrorsGiveTheErrorList();
    void errorListWrapsAtTheWindowWidth();
    void typedValuesRefusedInTheUsersWords_data();
    void typedValuesRefusedInTheUsersWords();
    void failedRunGivesTheAnalysis();
    void nextOpensTheResultsWindow();
    void wholeRoadToThePrintedRecipe();
    void backReturnsToTheEntry();
    void closingRemovesTheFilters();
};

void TestPreparationWindow::activationRestrictsAndResets()
{
    Road road;
    QVERIFY(road.dm);
    for (store::Table *t : {&road.dm->feedTypes, &road.dm->rawMaterials}) {
        QCOMPARE(t->filter(), QStringLiteral("ot='+'"));
        QVERIFY(t->filtered());
    }
    QCOMPARE(road.child<widgets::TableGrid>("programmeGrid")->model()->rowCount(),
             road.dm->selectedFeedCount);
    QCOMPARE(road.child<widgets::TableGrid>("stockGrid")->model()->rowCount(),
             road.dm->selectedRawCount);
    QCOMPARE(road.dm->selectedFeedCount, 7);
    QVERIFY(road.modeButton(CalcMode::Cost)->isChecked());
    QVERIFY(!road.child<QRadioButton>("uniformRelaxButton")->isChecked());
    QCOMPARE(road.child<QLabel>("relaxationLabel")->text(), kCostLabel);
    QCOMPARE(road.form->shown(), PreparationWindow::Shown::Entry);
    QVERIFY(road.child<QProgressBar>("solverProgressBar")->isHidden());
    QVERIFY(road.child<QProgressBar>("attemptProgressBar")->isHidden());
    QVERIFY(!road.child<widgets::TableGrid>("programmeGrid")->isReadOnly());
    QVERIFY(!road.child<widgets::TableGrid>("stockGrid")->isReadOnly());
}

// Pressing "Максимизировать текущий продукт" marks exactly the feed type under the grid
// cursor; another mode takes the mark away again.
void TestPreparationWindow::currentProductMarksTheRowUnderTheCursor()
{
    Road road;
    QVERIFY(road.dm);
    QVERIFY(
        Road::goToRow(road.child<widgets::TableGrid>("programmeGrid"), QStringLiteral("ПК-6-2")));
    QTest::mouseClick(road.modeButton(CalcMode::Product), Qt::LeftButton);
    QVERIFY(road.modeButton(CalcMode::Product)->isChecked());
    QCOMPARE(Road::marked(road.dm->feedTypes, QStringLiteral("TIP")), QStringList{"ПК-6-2"});
    QCOMPARE(road.child<QLabel>("relaxationLabel")->text(), kNoRelaxation + u' ');
    QVERIFY(road.child<QRadioButton>("uniformRelaxButton")->isHidden());

    QVERIFY(Road::goToRow(road.child<widgets::TableGrid>("programmeGrid"), QStringLiteral("СК-3")));
    QTest::mouseClick(road.modeButton(CalcMode::Product), Qt::LeftButton);
    QCOMPARE(Road::marked(road.dm->feedTypes, QStringLiteral("TIP")), QStringList{"СК-3"});
    QCOMPARE(road.dm->feedTypes.text(QStringLiteral("TIP")), QStringLiteral("СК-3"));

    QTest::mouseClick(road.modeButton(CalcMode::Proportional), Qt::LeftButton);
    QVERIFY(Road::marked(road.dm->feedTypes, QStringLiteral("TIP")).isEmpty());
    QCOMPARE(road.child<QLabel>("relaxationLabel")->text(), kNoRelaxation);
    QCOMPARE(road.dm->feedTypes.text(QStringLiteral("TIP")), QStringLiteral("СК-3"));

    QTest::mouseClick(road.modeButton(CalcMode::Cost), Qt::LeftButton);
    QCOMPARE(road.child<QLabel>("relaxationLabel")->text(), kCostLabel);
    QVERIFY(!road.child<QRadioButton>("uniformRelaxButton")->isHidden());
}

// A stock to be used up is marked and unmarked (a blank then); unlimited stock cannot be.
void TestPreparationWindow::fullUseMarks()
{
    Road road;
    QVERIFY(road.dm);
    store::Table &sir = road.dm->rawMaterials;
    widgets::TableGrid *grid = road.child<widgets::TableGrid>("stockGrid");
    QVERIFY(Road::goToRow(grid, QStringLiteral("Кукуруза")));
    road.button("fullUseButton")->click();
    QCOMPARE(sir.text(QStringLiteral("vib")), QStringLiteral("+"));
    road.button("fullUseButton")->click();
    QCOMPARE(sir.value(QStringLiteral("vib")).toString().trimmed(), QString());
    QVERIFY(road.messages.isEmpty());

    QVERIFY(Road::goToRow(grid, QStringLiteral("Овес")));
    sir.setNumber(QStringLiteral("VES"), 0);
    sir.post();
    road.button("fullUseButton")->click();
    QCOMPARE(road.messages,
             QStringList{"Нельзя полностью сработать сырье с неограниченным запасом!"});
    QCOMPARE(sir.text(QStringLiteral("vib")), QString());

    QVERIFY(Road::goToRow(grid, QStringLiteral("Горох")));
    road.button("fullUseButton")->click();
    QVERIFY(Road::goToRow(grid, QStringLiteral("Ячмень")));
    road.button("fullUseButton")->click();
    QCOMPARE(Road::marked(sir, QStringLiteral("NAIM")).size(), 2);
    road.button("cancelAllFullUseButton")->click();
    QVERIFY(Road::marked(sir, QStringLiteral("NAIM")).isEmpty());
    QCOMPARE(sir.text(QStringLiteral("NAIM")), QStringLiteral("Ячмень"));
}

void TestPreparationWindow::refinementNeedsASelection()
{
    Road road;
    QVERIFY(road.dm);
    int feedOpened = 0;
    int rawOpened = 0;
    road.form->setRefinementOpeners(
        [&] {
            ++feedOpened;
            road.dm->feedTypes.setFiltered(false); // a list window leaves its own state
        },
        [&] { ++rawOpened; });
    road.dm->selectedFeedCount = 0;
    road.dm->selectedRawCount = 0;
    road.button("refineFeedTypesButton")->click();
    road.button("refineRawsButton")->click();
    QCOMPARE(road.messages, QStringList({"Продукция не отобрана", "Сырье не отобрано"}));
    QCOMPARE(feedOpened + rawOpened, 0);

    road.dm->selectedFeedCount = 7;
    road.dm->selectedRawCount = 37;
    road.button("refineFeedTypesButton")->click();
    road.button("refineRawsButton")->click();
    QCOMPARE(feedOpened, 1);
    QCOMPARE(rawOpened, 1);
    QVERIFY(road.dm->feedTypes.filtered());
    QCOMPARE(road.child<widgets::TableGrid>("programmeGrid")->model()->rowCount(), 7);
}

// The demo programme of 730 t needs 730 × 1.005 t of raw materials with the 0.5 % loss.
void TestPreparationWindow::costRunShowsTheSummary()
{
    Road road;
    QVERIFY(road.dm);
    QSignalSpy solverBar(road.child<QProgressBar>("solverProgressBar"),
                         &QProgressBar::valueChanged);
    road.run(CalcMode::Cost);
    QCOMPARE(road.form->shown(), PreparationWindow::Shown::Solution);
    QVERIFY(road.messages.isEmpty());
    QVERIFY(solverBar.count() > 0);
    QVERIFY(road.child<QProgressBar>("solverProgressBar")->isHidden());
    QVERIFY(road.child<QProgressBar>("attemptProgressBar")->isHidden());
    QVERIFY(road.button("nextButton")->isVisible());

    const QTableWidget *grid = road.child<QTableWidget>("summaryGrid");
    QVERIFY(grid->isVisible());
    QCOMPARE(grid->rowCount(), road.dm->selectedRawCount);
    QStringList headers;
    for (int c = 0; c < grid->columnCount(); ++c)
        headers.append(grid->horizontalHeaderItem(c)->text());
    QCOMPARE(headers, QStringList({"Наименование сырья", "Запас Т", "Затраты общие", "Цена 1Т",
                                   "Стоимость затрат"}));
    double consumption = 0;
    double cost = 0;
    for (int r = 0; r < grid->rowCount(); ++r) {
        const double used = cellNumber(grid, r, 2);
        // within the stock, but for the kilograms the rounding into recipes may add
        QVERIFY(used <= cellNumber(grid, r, 1) + 0.01);
        QCOMPARE(grid->item(r, 4)->text(), store::fixedText(cellNumber(grid, r, 3) * used, 13, 2));
        consumption += used;
        cost += store::round2(cellNumber(grid, r, 3) * used);
    }
    QCOMPARE(store::round3(consumption), 733.65);
    const QString title = road.child<QLabel>("outcomeTitleLabel")->text();
    QVERIFY2(title.startsWith(QStringLiteral("Решение получено!    Общие затраты сырья  ") +
                              store::fixedText(733.65, 13, 3) + QStringLiteral("  Т.  на сумму  ")),
             qPrintable(title));
    QVERIFY(title.endsWith(QStringLiteral("  руб.")));
    road.form->grab().save(QStringLiteral(KP_TEST_OUTPUT "/preparation-summary.png"));
    const double titleCost = store::parseNumber(
        title.section(QStringLiteral("на сумму"), 1).section(QStringLiteral("руб."), 0, 0));
    QVERIFY(qAbs(titleCost - cost) < 0.01 * grid->rowCount());
    // the grids are back on their tables
    QVERIFY(road.dm->feedTypes.dataSourceEnabled());
    QVERIFY(road.dm->rawMaterials.dataSourceEnabled());
}

// Every cell's text fits its column, in the rows out of view too: the last raw material
// with a stock of many digits.
void TestPreparationWindow::summaryColumnsFitEveryRow()
{
    Road road;
    QVERIFY(road.dm);
    store::Table &sir = road.dm->rawMaterials;
    sir.setFilter(QStringLiteral("ot='+'"));
    sir.setFiltered(true);
    sir.last();
    const store::FieldDef ves = sir.fields().at(sir.fieldIndex(QStringLiteral("VES")));
    sir.setNumber(QStringLiteral("VES"), store::parseNumber(store::largestFieldNumber(ves)));
    sir.post();
    road.run(CalcMode::Cost);
    QCOMPARE(road.form->shown(), PreparationWindow::Shown::Solution);
    const QTableWidget *grid = road.child<QTableWidget>("summaryGrid");
    QVERIFY(grid->rowAt(grid->viewport()->height() - 1) < grid->rowCount() - 1); // out of view
    const QFontMetrics metrics(grid->font());
    for (int c = 0; c < grid->columnCount(); ++c)
        for (int r = 0; r < grid->rowCount(); ++r)
            QVERIFY2(metrics.horizontalAdvance(grid->item(r, c)->text()) < grid->columnWidth(c),
                     qPrintable(grid->item(r, c)->text()));
}

// Heading at (400, 100), grid row r at (400, 100 r + 300) on the 4676 × 6814 page.
void TestPreparationWindow::summaryPrintsWhereTheVirtualPageSays()
{
    Road road;
    QVERIFY(road.dm);
    road.run(CalcMode::Cost);
    QCOMPARE(road.form->shown(), PreparationWindow::Shown::Solution);
    const QList<roadtest::PdfWord> words = road.print(QStringLiteral("preparation-summary"));
    QVERIFY2(!words.isEmpty(), "pdftotext read nothing");
    QCOMPARE(words.last().page, 1);
    const roadtest::PdfWord *heading = findWord(words, QStringLiteral("Решение"));
    const roadtest::PdfWord *header = findWord(words, QStringLiteral("Наименование"));
    const roadtest::PdfWord *first = findWord(words, QStringLiteral("Пшеница"));
    const roadtest::PdfWord *last = findWord(words, QStringLiteral("П60-1"));
    QVERIFY(heading && header && first && last);
    QVERIFY(qAbs(heading->xMin - pointsX(400)) < 2);
    QVERIFY(qAbs(heading->yMin - pointsY(100)) < 3);
    QVERIFY(qAbs(header->xMin - pointsX(400)) < 2);
    QVERIFY(qAbs(header->yMin - pointsY(300)) < 3);
    QVERIFY(qAbs(first->yMin - pointsY(400)) < 3);
    const int rows = road.child<QTableWidget>("summaryGrid")->rowCount();
    QVERIFY(qAbs(last->yMin - pointsY(100 * rows + 300)) < 3);
    QVERIFY(road.messages.isEmpty());
}

void TestPreparationWindow::proportionalRunCountsAttempts()
{
    Road road;
    QVERIFY(road.dm);
    QSignalSpy attempts(road.child<QProgressBar>("attemptProgressBar"),
                        &QProgressBar::valueChanged);
    road.run(CalcMode::Proportional);
    QCOMPARE(road.form->shown(), PreparationWindow::Shown::Solution);
    QVERIFY(attempts.count() > 3);
    QVERIFY(road.child<QProgressBar>("attemptProgressBar")->isHidden());
    const QString title = road.child<QLabel>("outcomeTitleLabel")->text();
    const double total = store::parseNumber(
        title.section(QStringLiteral("сырья"), 1).section(QStringLiteral("Т."), 0, 0));
    QVERIFY2(total > 733.65, qPrintable(title)); // more than the entered programme
}

// The run's own message boxes reach the user through the window.
void TestPreparationWindow::runMessagesAreShown()
{
    Road road;
    QVERIFY(road.dm);
    QVERIFY(Road::goToRow(road.child<widgets::TableGrid>("stockGrid"),
                          QStringLiteral("Масло подсолнечное")));
    road.button("fullUseButton")->click();
    road.run(CalcMode::Cost);
    QCOMPARE(road.messages.size(), 1);
    QVERIFY(road.messages.first().startsWith(QStringLiteral("Сырье № ")));
    QVERIFY(road.messages.first().contains(
        QStringLiteral("полностью сработать нельзя!!  Рекомендую сработать")));
    QCOMPARE(road.form->shown(), PreparationWindow::Shown::Solution);
}

// The demo data's ratios, all switched on: the window's run keeps every one of them.
void TestPreparationWindow::ratiosInForceBindTheRun()
{
    Road road;
    QVERIFY(road.dm);
    store::Table &ratios = road.dm->ratios;
    ratios.open(); // the load reads its own cursor; this one is for the switches
    int on = 0;
    for (ratios.first(); !ratios.eof(); ratios.next(), ++on) {
        ratios.setText(QStringLiteral("ON"), QStringLiteral("+"));
        ratios.post();
    }
    QVERIFY(on > 0);
    road.run(CalcMode::Cost);
    QCOMPARE(road.form->shown(), PreparationWindow::Shown::Solution);
    int kept = 0;
    for (const calc::FeedRecipe &feed : road.form->lastRun().recipes.feeds) {
        for (const calc::RecipeRatio &r : feed.ratios) {
            QVERIFY(r.defined);
            QVERIFY2(r.minimum == 0 || r.level >= r.minimum - 1e-6, qPrintable(feed.type));
            QVERIFY2(r.maximum == 0 || r.level <= r.maximum + 1e-6, qPrintable(feed.type));
            ++kept;
        }
    }
    QVERIFY(kept > 0);
}

// "Прервать расчет" or Escape during a run: the run ends at its next step, the window
// says so and stays open, nothing is written.
void TestPreparationWindow::stoppedRunLeavesTheTables_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("stop button") << false;
    QTest::newRow("Escape") << true;
}

void TestPreparationWindow::stoppedRunLeavesTheTables()
{
    QFETCH(bool, escape);
    Road road;
    QVERIFY(road.dm);
    QVERIFY(Road::goToRow(road.child<widgets::TableGrid>("stockGrid"),
                          QStringLiteral("Масло подсолнечное")));
    road.button("fullUseButton")->click();
    const auto files = [&road] {
        QStringList sums;
        const QDir dir(road.demo.dataDir());
        for (const QString &name : dir.entryList(QDir::Files, QDir::Name)) {
            QFile file(dir.filePath(name));
            file.open(QIODevice::ReadOnly);
            sums << name + u' ' +
                        QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex();
        }
        return sums;
    };
    const QStringList before = files();
    // The run's first message box comes while it waits on its worker thread: the
    // user stops it there, and it goes no further than its next step.
    road.form->setMessageSink([&](const QString &text) {
        road.messages.append(text);
        QVERIFY(road.button("stopRunButton")->isVisible());
        QVERIFY(!road.button("startRunButton")->isEnabled());
        if (escape)
            QTest::keyClick(road.form.get(), Qt::Key_Escape);
        else
            road.button("stopRunButton")->click();
    });
    road.run(CalcMode::Cost);
    QCOMPARE(road.messages.size(), 1);
    QCOMPARE(road.form->lastRun().outcome, calc::RunOutcome::Stopped);
    QVERIFY(road.form->isVisible());
    QCOMPARE(road.form->shown(), PreparationWindow::Shown::Entry);
    QCOMPARE(road.child<QLabel>("runTimeLabel")->text(),
             QStringLiteral("Расчет прерван пользователем"));
    QVERIFY(road.button("stopRunButton")->isHidden());
    QVERIFY(road.button("startRunButton")->isEnabled());
    QCOMPARE(files(), before);
}

void TestPreparationWindow::dataErrorsGiveTheErrorList()
{
    Road road;
    QVERIFY(road.dm);
    road.setKkField(QStringLiteral("СК-6"), QStringLiteral("VES"), 100000);
    road.run(CalcMode::Cost);
    QCOMPARE(road.form->shown(), PreparationWindow::Shown::Errors);
    QCOMPARE(road.child<QLabel>("outcomeTitleLabel")->text(),
             QStringLiteral("Ошибки подготовки исходных данных"));
    const QListWidget *list = road.child<QListWidget>("diagnosticsList");
    QVERIFY(list->isVisible());
    QVERIFY(list->count() > 0);
    QVERIFY(!road.button("nextButton")->isVisible());
    QVERIFY(road.child<QTableWidget>("summaryGrid")->isHidden());

    const QList<roadtest::PdfWord> words = road.print(QStringLiteral("preparation-errors"));
    const roadtest::PdfWord *heading = findWord(words, QStringLiteral("Ошибки"));
    QVERIFY(heading);
    QVERIFY(qAbs(heading->yMin - pointsY(100)) < 3);
    // list line 1 stands at 100 × 1 + 300
    const QString firstWord = list->item(0)->text().section(u' ', 0, 0);
    const roadtest::PdfWord *line1 = findWord(words, firstWord);
    QVERIFY(line1);
    QVERIFY(qAbs(line1->yMin - pointsY(400)) < 3);
    QVERIFY(qAbs(line1->xMin - pointsX(400)) < 2);
}

// Long messages wrap at the list's width: nothing runs past the right edge, no
// sideways scrolling; narrowing the window wraps them again.
void TestPreparationWindow::errorListWrapsAtTheWindowWidth()
{
    Road road;
    QVERIFY(road.dm);
    store::Table &kk = road.dm->feedTypes;
    for (kk.first(); !kk.eof(); kk.next()) { // every minimum above its maximum
        kk.setNumber(QStringLiteral("MI6"), 99);
        kk.post();
    }
    road.run(CalcMode::Cost);
    QCOMPARE(road.form->shown(), PreparationWindow::Shown::Errors);
    QListWidget *list = road.child<QListWidget>("diagnosticsList");
    QVERIFY(list->count() > 3);
    for (const int width : {980, 640}) {
        road.form->resize(width, 700);
        QCoreApplication::processEvents();
        list->doItemsLayout();
        QCOMPARE(list->horizontalScrollBar()->maximum(), 0);
        const int room = list->viewport()->width();
        bool wrapped = false;
        for (int i = 0; i < list->count(); ++i) {
            const QRect rect = list->visualItemRect(list->item(i));
            QVERIFY2(rect.right() < room, qPrintable(list->item(i)->text()));
            const int oneLine = list->fontMetrics().horizontalAdvance(list->item(i)->text());
            if (oneLine > room) {
                wrapped = true;
                QVERIFY2(rect.height() >= 2 * list->fontMetrics().height(),
                         qPrintable(list->item(i)->text()));
            }
        }
        QVERIFY(wrapped);
        if (width == 980)
            road.form->grab().save(QStringLiteral(KP_TEST_OUTPUT "/preparation-errors.png"));
    }
}

void TestPreparationWindow::typedValuesRefusedInTheUsersWords_data()
{
    QTest::addColumn<bool>("stock"); // the stock grid, else the programme grid
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("says"); // empty: taken
    QTest::newRow("stock-negative") << true << "Овес" << 1 << "-30"
                                    << "\"Овес\", колонка \"Наличие\": число не может быть "
                                       "отрицательным.";
    QTest::newRow("stock-taken") << true << "Овес" << 1 << "30"
                                 << "";
    QTest::newRow("price-negative") << true << "Овес" << 2 << "-1"
                                    << "\"Овес\", колонка \"Цена 1т\": число не может быть "
                                       "отрицательным.";
    QTest::newRow("output-negative") << false << "СК-6" << 2 << "-5"
                                     << "\"СК-6\", колонка \"Выработка\": число не может быть "
                                        "отрицательным.";
    QTest::newRow("output-too-large") << false << "СК-6" << 2 << "1e20"
                                      << "\"СК-6\", колонка \"Выработка\": число";
}

// Stock, output and prices are refused negative where they are typed, naming the entry
// and the column; a number too large says the largest the column holds, no file or field.
void TestPreparationWindow::typedValuesRefusedInTheUsersWords()
{
    QFETCH(bool, stock);
    QFETCH(QString, entry);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, says);
    Road road;
    QVERIFY(road.dm);
    widgets::TableGrid *grid = stock ? road.child<widgets::TableGrid>("stockGrid")
                                     : road.child<widgets::TableGrid>("programmeGrid");
    QVERIFY(Road::goToRow(grid, entry));
    QSignalSpy failed(grid->gridModel(), &widgets::TableGridModel::editFailed);
    const QModelIndex cell = grid->model()->index(grid->currentIndex().row(), column);
    const QString before = cell.data().toString();
    const bool taken = grid->model()->setData(cell, typed);
    QCOMPARE(taken, says.isEmpty());
    if (taken) {
        QCOMPARE(store::parseNumber(cell.data().toString()), store::parseNumber(typed));
        return;
    }
    QCOMPARE(failed.count(), 1);
    const QString message = failed.first().first().toString();
    QVERIFY2(message.startsWith(says), qPrintable(message));
    QVERIFY2(!message.contains(QStringLiteral("dbf")) && !message.contains(QStringLiteral("поле")),
             qPrintable(message));
    QCOMPARE(cell.data().toString(), before);
}

// An impossible protein minimum for ПК-5 in the proportional mode: the analysis at once.
void TestPreparationWindow::failedRunGivesTheAnalysis()
{
    Road road;
    QVERIFY(road.dm);
    road.setKkField(QStringLiteral("ПК-5"), QStringLiteral("MI6"), 40);
    road.setKkField(QStringLiteral("ПК-5"), QStringLiteral("MA6"), 45);
    road.run(CalcMode::Proportional);
    QCOMPARE(road.form->shown(), PreparationWindow::Shown::Analysis);
    const QString title = road.child<QLabel>("outcomeTitleLabel")->text();
    QVERIFY2(title.startsWith(QStringLiteral("Комбикорм № 1 типа ПК-5 не получается. Вес ")),
             qPrintable(title));
    for (const QString &note : {QStringLiteral("Запасы и затраты сырья уменьшены"),
                                QStringLiteral("на величину  технологических потерь."),
                                QStringLiteral("Цены пересчитаны на затраты сырья без учета"),
                                QStringLiteral(" потерь, издержек, рентабельности и налогов.")}) {
        bool shown = false;
        for (const QLabel *label : road.form->findChildren<QLabel *>())
            shown = shown || (label->text() == note && label->isVisible());
        QVERIFY2(shown, qPrintable(note));
    }

    const QTableWidget *chars = road.child<QTableWidget>("characteristicsGrid");
    QVERIFY(chars->isVisible() && road.child<QTableWidget>("rawsGrid")->isVisible());
    QCOMPARE(chars->columnCount(), 5);
    int red = 0;
    int navy = 0;
    for (int r = 0; r < chars->rowCount(); ++r) {
        const QString comment = chars->item(r, 1)->text();
        QColor expected;
        if (comment == QStringLiteral(" на минимуме      ") ||
            comment == QStringLiteral(" на максимуме     "))
            expected = Qt::red;
        else if (comment == QStringLiteral(" меньше минимума  "))
            expected = QColor(0, 0, 128);
        else if (comment == QStringLiteral(" больше максимума "))
            expected = QColor(128, 0, 0);
        QCOMPARE(rowColour(chars, r), expected);
        red += expected == QColor(Qt::red);
        navy += expected == QColor(0, 0, 128);
    }
    QVERIFY(red > 0 && navy > 0);
    int protein = -1;
    for (int r = 0; r < chars->rowCount(); ++r)
        if (chars->item(r, 0)->text() == QStringLiteral("Сырой протеин"))
            protein = r;
    QVERIFY(protein >= 0);
    QCOMPARE(chars->item(protein, 1)->text(), QStringLiteral(" меньше минимума  "));
    QCOMPARE(chars->item(protein, 2)->text(), QStringLiteral("    40.00"));

    const QTableWidget *raws = road.child<QTableWidget>("rawsGrid");
    QCOMPARE(raws->columnCount(), 9);
    int quiet = 0;
    for (int r = 0; r < raws->rowCount(); ++r) {
        const QStringList row = rowTexts(raws, r);
        const bool plain = row[4].isEmpty() && row[8] == QStringLiteral(" в норме          ");
        QCOMPARE(rowColour(raws, r), plain ? QColor() : QColor(Qt::red));
        quiet += plain;
    }
    QVERIFY(quiet > 0 && quiet < raws->rowCount());

    const QList<roadtest::PdfWord> words = road.print(QStringLiteral("preparation-analysis"));
    QCOMPARE(words.isEmpty() ? 0 : words.last().page, 2);
    const roadtest::PdfWord *head1 = findWord(words, QStringLiteral("Характеристики."), 1);
    const roadtest::PdfWord *head2 = findWord(words, QStringLiteral("сырья."), 2);
    QVERIFY(head1 && head2);
    QVERIFY(qAbs(head1->yMin - pointsY(100)) < 3);
    QVERIFY(qAbs(head2->yMin - pointsY(100)) < 3);
    const roadtest::PdfWord *charHeader = findWord(words, QStringLiteral("Характеристика"), 1);
    QVERIFY(charHeader && qAbs(charHeader->yMin - pointsY(300)) < 3);
    const roadtest::PdfWord *rawHeader = findWord(words, QStringLiteral("Наименование"), 2);
    QVERIFY(rawHeader && qAbs(rawHeader->yMin - pointsY(300)) < 3);
}

// "Дальше >>>" opens the results window on the run; its "Выход" closes both windows.
void TestPreparationWindow::nextOpensTheResultsWindow()
{
    Road road;
    QVERIFY(road.dm);
    road.run(CalcMode::Cost);
    QCOMPARE(road.form->shown(), PreparationWindow::Shown::Solution);
    int feedRows = -1;
    bool wasResults = false;
    QTimer::singleShot(0, road.form.get(), [&] {
        auto *resultsWindow =
            qobject_cast<results::ResultsWindow *>(QApplication::activeModalWidget());
        wasResults = resultsWindow != nullptr;
        if (!resultsWindow)
            return;
        feedRows = namedChild<QTableWidget>(resultsWindow, "feedGrid")->rowCount();
        namedChild<QPushButton>(resultsWindow, "exitButton")->click();
    });
    QTimer safety;
    safety.setSingleShot(true);
    connect(&safety, &QTimer::timeout, road.form.get(), [&] {
        if (auto *w = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            if (w != road.form.get())
                w->reject();
    });
    safety.start(20000);
    QTest::mouseClick(road.button("nextButton"), Qt::LeftButton);
    QVERIFY(wasResults);
    QCOMPARE(feedRows, 7);
    QVERIFY(!road.form->isVisible());
    QCOMPARE(road.form->result(), int(QDialog::Rejected));
    QVERIFY(!road.dm->feedTypes.filtered()); // closing took the selection filters off
    QVERIFY(!road.dm->rawMaterials.filtered());
}

// The whole road: run, "Дальше >>>", a price change, the archive write and the printed
// recipe through the recipe view window (form 2, without raw-material prices), then
// "Выход" back to the menu.
void TestPreparationWindow::wholeRoadToThePrintedRecipe()
{
    Road road;
    QVERIFY(road.dm);
    road.run(CalcMode::Cost);
    QCOMPARE(road.form->shown(), PreparationWindow::Shown::Solution);
    const QString pdf = roadtest::outputPdf(QStringLiteral("road-recipe"));
    QFile::remove(pdf);
    QString archived;
    QString name;
    int printedNumber = 0;
    QTimer::singleShot(0, road.form.get(), [&] {
        auto *resultsWindow =
            qobject_cast<results::ResultsWindow *>(QApplication::activeModalWidget());
        if (!resultsWindow)
            return;
        QTableWidget *composition = namedChild<QTableWidget>(resultsWindow, "compositionGrid");
        composition->setCurrentCell(0, results::ResultsWindow::ColPrice);
        resultsWindow->onCompositionCellEdited(results::ResultsWindow::ColPrice, 0,
                                               QStringLiteral("16000"));
        namedChild<QPushButton>(resultsWindow, "writeToArchiveButton")->click();
        archived = namedChild<QTableWidget>(resultsWindow, "feedGrid")
                       ->item(0, results::ResultsWindow::ColArchive)
                       ->text();
        QTimer::singleShot(0, resultsWindow, [&] {
            auto *view =
                qobject_cast<documents::RecipeViewWindow *>(QApplication::activeModalWidget());
            if (!view)
                return;
            printedNumber = view->archiveNumber();
            name = view->document().recipe().naim;
            qputenv(platform::kForcedPdfVariable, pdf.toUtf8());
            namedChild<QPushButton>(view, "printButton")->click();
            qunsetenv(platform::kForcedPdfVariable);
            view->reject();
        });
        namedChild<QPushButton>(resultsWindow, "printRecipeButton")->click();
        namedChild<QPushButton>(resultsWindow, "exitButton")->click();
    });
    QTimer safety;
    safety.setSingleShot(true);
    connect(&safety, &QTimer::timeout, road.form.get(), [&] {
        if (auto *w = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            if (w != road.form.get())
                w->reject();
    });
    safety.start(30000);
    road.button("nextButton")->click();
    QVERIFY2(road.messages.isEmpty(), qPrintable(road.messages.join(u'\n')));
    QCOMPARE(archived, QStringLiteral("1"));
    QCOMPARE(printedNumber, 1);
    QVERIFY(name.startsWith(QStringLiteral("ПК-5-")));
    QVERIFY(name.endsWith(QStringLiteral("-1Г")));
    const QString text = roadtest::pdfText(pdf);
    QVERIFY2(text.contains(name), qPrintable(text.left(300)));
    QVERIFY(!road.form->isVisible());
}

void TestPreparationWindow::backReturnsToTheEntry()
{
    Road road;
    QVERIFY(road.dm);
    road.run(CalcMode::Cost);
    road.button("backButton")->click();
    QCOMPARE(road.form->shown(), PreparationWindow::Shown::Entry);
    QVERIFY(road.child<widgets::TableGrid>("programmeGrid")->isVisible());
    QVERIFY(!road.button("nextButton")->isVisible());
    QCOMPARE(road.child<QListWidget>("diagnosticsList")->count(), 0);

    // "Повтор расчета" in the results window comes back to the entry, window open.
    road.run(CalcMode::Cost);
    QTimer::singleShot(0, road.form.get(), [] {
        if (auto *resultsWindow =
                qobject_cast<results::ResultsWindow *>(QApplication::activeModalWidget()))
            namedChild<QPushButton>(resultsWindow, "repeatCalculationButton")->click();
    });
    road.button("nextButton")->click();
    QVERIFY(road.form->isVisible());
    QCOMPARE(road.form->shown(), PreparationWindow::Shown::Entry);
    QVERIFY(road.dm->feedTypes.filtered());
}

void TestPreparationWindow::closingRemovesTheFilters()
{
    Road road;
    QVERIFY(road.dm);
    road.button("declineRunButton")->click();
    QVERIFY(!road.form->isVisible());
    for (store::Table *t : {&road.dm->feedTypes, &road.dm->rawMaterials}) {
        QVERIFY(!t->filtered());
        QVERIFY(t->filter().isEmpty());
    }
    QCOMPARE(road.dm->feedTypes.viewCount(), road.dm->kkCount());
}

QTEST_MAIN(TestPreparationWindow)
#include "tst_preparationwindow.moc"
