#pragma once

// PreparationWindow, "Подготовка расчета рецептов": the calculation preparation window. The user
// states the production programme (outputs and price limits of the selected feed
// types) and the stock and prices of the selected raw materials, chooses the mode, runs
// the calculation and sees its outcome: the error list, the failure analysis, or the
// solution summary, from which the results window is opened ("Дальше >>>").
//
// Created once at start-up over the data module, then opened modally from the main menu;
// it keeps the last run (lastRun()), whose recipes the results window works on:
//     auto *preparationWindow = new calc::PreparationWindow(*dataModule, mainWindow);
//     preparationWindow->setRefinementOpeners([] { /* FeedTypesWindow exec */ }, [] { /*
//     RawMaterialsWindow exec */ }); preparationWindow->setResultsOpener([] { /* ResultsWindow exec
//     */ return /* its exitRequested() */; }); preparationWindow->exec();
// While it is open kk and sir carry the selection filter "ot='+'"; closing removes it.

#include "calc/outcometext.h"
#include "calc/run.h"

#include <QColor>
#include <QDialog>
#include <QStringList>

#include <functional>

class QLabel;
class QPainter;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStackedLayout;
class QTableWidget;
class QWidget;

namespace store
{
class DataModule;
class Table;
} // namespace store
namespace widgets
{
class TableGrid;
}

namespace calc
{

struct OutcomeBlock;

class PreparationWindow final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PreparationWindow)

public:
    using MessageSink = std::function<void(const QString &text)>;
    using Opener = std::function<void()>;
    // Opens the results window modally; true when it asks to close this window too.
    using ResultsOpener = std::function<bool()>;

    // What the outcome panel shows.
    enum class Shown { Entry, Errors, Analysis, Solution };

    explicit PreparationWindow(store::DataModule &data, QWidget *parent = nullptr);
    ~PreparationWindow() override;

    // The feed types window (FeedTypesWindow) and the raw materials window (RawMaterialsWindow),
    // opened modally for "Уточнение по продукции" and "Уточнение по сырью".
    void setRefinementOpeners(Opener feedTypes, Opener rawMaterials);
    // The results window (ResultsWindow), opened by "Дальше >>>".
    void setResultsOpener(ResultsOpener open);
    // Where the window's and the run's messages go: a message box over the window by
    // default.
    void setMessageSink(MessageSink sink);

    Shown shown() const { return shown_; }
    const RunResult &lastRun() const { return lastRun_; }
    // The results window works on the last run's recipes (corrections, new prices).
    RunResult &lastRun() { return lastRun_; }
    // The printed form of what is shown: one block per page.
    QList<OutcomeBlock> outcomeBlocks() const;
    // Draws the outcome on a printer (or any paged device); the number of pages.
    int paintOutcome(QPainter *painter, const std::function<bool()> &newPage) const;

    widgets::TableGrid *programmeGrid() const { return DBGrid1; }
    widgets::TableGrid *stockGrid() const { return DBGrid2; }
    QRadioButton *modeButton(CalcMode mode) const;
    QRadioButton *uniformButton() const { return RadioButton5; }
    QLabel *relaxationLabel() const { return Label4; }
    QLabel *titleLabel() const { return Label5; }
    QListWidget *diagnosticsList() const { return ListBox1; }
    QTableWidget *characteristicsGrid() const { return StringGrid1; }
    QTableWidget *rawsGrid() const { return StringGrid2; }
    QTableWidget *summaryGrid() const { return StringGrid3; }
    QProgressBar *solverBar() const { return ProgressBar1; }
    QProgressBar *attemptBar() const { return ProgressBar2; }
    QPushButton *nextButton() const { return Button8; }

    // --- events ---
    void FormActivate();      // reset
    void RadioButton1Click(); // "Оптимизировать стоимость сырья"
    void RadioButton2Click(); // "Максимизировать выработку в пропорции"
    void RadioButton3MouseDown(); // "Максимизировать текущий продукт", pressed with the mouse
    void Button1Click();  // "Полностью сработать / отменить"
    void Button2Click();  // "Отменить полную сработку всем"
    void Button3Click();  // "Уточнение по сырью"
    void Button4Click();  // "Уточнение по продукции"
    void Button5Click();  // "Начать расчет"
    void Button6Click();  // "Отказ от расчета"
    void Button7Click();  // "<<< Назад"
    void Button8Click();  // "Дальше >>>"
    void Button9Click();  // "Печатать"
    void Button10Click(); // "Выход (меню)"

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildLayout();
    QWidget *buildEntry();
    QWidget *buildModes();
    QWidget *buildOutcome();
    QTableWidget *makeOutcomeGrid(const char *name);
    void outputModeChosen(const QString &label);
    void clearProductMarks();
    void restrictToSelection();
    void refine(const Opener &open, int count, const QString &none);
    CalcMode chosenMode() const;
    RunResult run();
    void present(const RunResult &result);
    void showPanel(Shown what);
    void showEntry();
    // Rows without a colour (an invalid one, or none given) are drawn in black.
    void fillGrid(QTableWidget *grid, const TextGrid &text, const QList<QColor> &colours);
    void FormClose();
    bool report(const std::function<void()> &operation);
    void message(const QString &text);

    store::DataModule &data_;
    MessageSink sink_;
    Opener openFeedTypes_;
    Opener openRawMaterials_;
    RunResult lastRun_;
    Shown shown_ = Shown::Entry;
    ResultsOpener openResults_;

    QStackedLayout *stack_ = nullptr;
    QWidget *entry_ = nullptr;
    QWidget *Panel1 = nullptr;             // outcome panel
    widgets::TableGrid *DBGrid1 = nullptr; // production programme on kk
    widgets::TableGrid *DBGrid2 = nullptr; // stock on sir
    QRadioButton *RadioButton1 = nullptr; // "Оптимизировать стоимость сырья"
    QRadioButton *RadioButton2 = nullptr; // "Максимизировать выработку в пропорции"
    QRadioButton *RadioButton3 = nullptr; // "Максимизировать текущий продукт"
    QRadioButton *RadioButton4 = nullptr; // only the unbalanced characteristics relax
    QRadioButton *RadioButton5 = nullptr; // all characteristics relax evenly
    QLabel *Label4 = nullptr;             // relaxation label
    QLabel *Label5 = nullptr;             // outcome title
    QList<QLabel *> notes_;               // the four note labels of the analysis
    QListWidget *ListBox1 = nullptr;      // diagnostics
    QTableWidget *StringGrid1 = nullptr;  // characteristics analysis
    QTableWidget *StringGrid2 = nullptr;  // raw materials analysis
    QTableWidget *StringGrid3 = nullptr;  // solution summary
    QProgressBar *ProgressBar1 = nullptr; // the solver's progress
    QProgressBar *ProgressBar2 = nullptr; // attempts of the output modes
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    QPushButton *Button3 = nullptr;
    QPushButton *Button4 = nullptr;
    QPushButton *Button5 = nullptr;
    QPushButton *Button6 = nullptr;
    QPushButton *Button7 = nullptr;
    QPushButton *Button8 = nullptr;
    QPushButton *Button9 = nullptr;
    QPushButton *Button10 = nullptr;
};

} // namespace calc
