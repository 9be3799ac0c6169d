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

#include <QElapsedTimer>

#include <functional>
#include <memory>

class QGridLayout;
class QLabel;
class QCloseEvent;
class QTimer;
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
class RunWorker;
class WindowRunObserver;

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

    void done(int result) override;
    // Escape and "Выход" during a run stop the run instead of closing the window.
    void reject() override;
    // A run is going on (the window is live, the rest of it disabled).
    bool running() const;

protected:
    void showEvent(QShowEvent *event) override;
    // Closing during a run asks first, then stops the run and closes when it has ended.
    void closeEvent(QCloseEvent *event) override;

private:
    // --- events ---
    void onActivate();         // reset
    void onCostMode();         // "Оптимизировать стоимость сырья"
    void onProportionalMode(); // "Максимизировать выработку в пропорции"
    void onProductModePressed(); // "Максимизировать текущий продукт", pressed with the mouse
    void onToggleFullUse();    // "Полностью сработать / отменить"
    void onCancelAllFullUse(); // "Отменить полную сработку всем"
    void onRefineRaws();       // "Уточнение по сырью"
    void onRefineFeedTypes();  // "Уточнение по продукции"
    void onStartRun();         // "Начать расчет"
    void onStopRun();          // "Прервать расчет" (and Escape) during a run
    void onDeclineRun();       // "Отказ от расчета"
    void onBack();             // "<<< Назад"
    void onNext();             // "Дальше >>>"
    void onPrint();            // "Печатать"
    void onExit();             // "Выход (меню)"
    void onClose();            // the selection filters come off

    void buildLayout();
    QWidget *buildEntry();
    QWidget *buildModes();
    QWidget *buildModeChoice(QWidget *box);
    QWidget *buildRelaxationChoice(QWidget *box);
    QGridLayout *buildRunButtons(QWidget *box);
    void connectModes();
    QWidget *buildOutcome();
    QTableWidget *makeOutcomeGrid(const char *name);
    void outputModeChosen(const QString &label);
    void clearProductMarks();
    void restrictToSelection();
    void refine(const Opener &open, int count, const QString &none);
    CalcMode chosenMode() const;
    RunResult run();
    // During a run only the stop button, the bars and the time line take part.
    void setRunning(bool on);
    void showRunTime();
    void present(const RunResult &result);
    void showPanel(Shown what);
    void showEntry();
    // Rows without a colour (an invalid one, or none given) are drawn in black.
    void fillGrid(QTableWidget *grid, const TextGrid &text, const QList<QColor> &colours);
    bool report(const std::function<void()> &operation);
    void message(const QString &text);

    store::DataModule &data_;
    MessageSink sink_;
    Opener openFeedTypes_;
    Opener openRawMaterials_;
    RunResult lastRun_;
    Shown shown_ = Shown::Entry;
    ResultsOpener openResults_;
    std::unique_ptr<WindowRunObserver> runObserver_;
    RunWorker *worker_ = nullptr;
    QList<QWidget *> lockedForRun_; // the controls the run disabled, enabled again after
    QElapsedTimer runTime_;
    QTimer *runClock_ = nullptr;
    bool closeAfterRun_ = false;

    QStackedLayout *stack_ = nullptr;
    QWidget *entry_ = nullptr;
    QWidget *outcomePanel = nullptr;
    widgets::TableGrid *programmeGrid = nullptr; // production programme on kk
    widgets::TableGrid *stockGrid = nullptr;     // stock on sir
    QRadioButton *costModeButton = nullptr;
    QRadioButton *proportionalModeButton = nullptr;
    QRadioButton *productModeButton = nullptr;
    QRadioButton *unbalancedRelaxButton = nullptr; // only the unbalanced characteristics relax
    QRadioButton *uniformRelaxButton = nullptr;    // all characteristics relax evenly
    QLabel *relaxationLabel = nullptr;
    QLabel *outcomeTitleLabel = nullptr;
    QList<QLabel *> notes_; // the four note labels of the analysis
    QListWidget *diagnosticsList = nullptr;
    QTableWidget *characteristicsGrid = nullptr; // failure analysis: characteristics
    QTableWidget *rawsGrid = nullptr;            // failure analysis: raw materials
    QTableWidget *summaryGrid = nullptr;         // solution summary
    QProgressBar *solverProgressBar = nullptr;
    QProgressBar *attemptProgressBar = nullptr; // attempts of the output modes
    QLabel *runTimeLabel = nullptr;       // the time run so far; "прерван" after a stop
    QPushButton *stopRunButton = nullptr; // "Прервать расчет", shown during a run
    QPushButton *fullUseButton = nullptr;
    QPushButton *cancelAllFullUseButton = nullptr;
    QPushButton *refineRawsButton = nullptr;
    QPushButton *refineFeedTypesButton = nullptr;
    QPushButton *startRunButton = nullptr;
    QPushButton *declineRunButton = nullptr;
    QPushButton *backButton = nullptr;
    QPushButton *nextButton = nullptr;
    QPushButton *printButton = nullptr;
    QPushButton *exitButton = nullptr;
};

} // namespace calc
