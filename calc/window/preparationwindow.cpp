#include "calc/window/preparationwindow.h"

#include "calc/outcometext.h"
#include "calc/window/outcomecolours.h"
#include "calc/window/outcomeprint.h"
#include "calc/window/runprogress.h"
#include "calc/window/runworker.h"
#include "platform/printerchoice.h"
#include "settings/settings.h"
#include "store/cursorstate.h"
#include "store/datamodule.h"
#include "store/datasourceoff.h"
#include "store/highlight.h"
#include "store/table.h"
#include "widgets/fixedpitchfont.h"
#include "widgets/message.h"
#include "widgets/tablegrid.h"
#include "widgets/windowparts.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStackedLayout>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace calc
{

namespace
{

const QString kVib = QStringLiteral("vib");
const QString kPlus = QStringLiteral("+");
const QString kCostLabel =
    QStringLiteral("Если расчет рецепта при заданных характеристиках не получается:");
const QString kNoRelaxation =
    QStringLiteral("В этом режиме нарушение требований к рецептам не допускается...");
const QString kAnalysisHead = QStringLiteral("Разбор неудачного расчета.  ");

// The cursor's record by its display position, to come back to after a walk.
// Empties the mark `vib` of every record in the cursor's view, the cursor staying put.
void clearMarks(store::Table &table)
{
    if (!table.isOpen())
        return;
    store::DataSourceOff off(table);
    store::CursorStateGuard keep(table);
    for (table.first(); !table.eof(); table.next()) {
        if (table.text(kVib) == kPlus) {
            table.setText(kVib, QString());
            table.post();
        }
    }
}

// The text colour of each row from what the engine says about it.
template <typename Row, typename Colour>
QList<QColor> rowColours(const QList<Row> &rows, Colour colourOf)
{
    QList<QColor> colours;
    for (const Row &row : rows)
        colours.append(colourOf(row.state));
    return colours;
}

} // namespace

PreparationWindow::PreparationWindow(store::DataModule &data, QWidget *parent)
    : QDialog(parent), data_(data)
{
    setObjectName(QStringLiteral("preparationWindow"));
    setWindowTitle(QStringLiteral("Подготовка расчета рецептов"));
    sink_ = [this](const QString &text) { widgets::showMessage(this, text); };
    buildLayout();
    runObserver_ = std::make_unique<WindowRunObserver>(
        solverProgressBar, attemptProgressBar, [this](const QString &text) { message(text); });
    worker_ = new RunWorker(*runObserver_, this);
    runClock_ = new QTimer(this);
    runClock_->setInterval(250);
    connect(runClock_, &QTimer::timeout, this, &PreparationWindow::showRunTime);
    resize(980, 700);
}

PreparationWindow::~PreparationWindow() = default;

void PreparationWindow::setRefinementOpeners(Opener feedTypes, Opener rawMaterials)
{
    openFeedTypes_ = std::move(feedTypes);
    openRawMaterials_ = std::move(rawMaterials);
}

void PreparationWindow::setResultsOpener(ResultsOpener open)
{
    openResults_ = std::move(open);
}

void PreparationWindow::setMessageSink(MessageSink sink)
{
    sink_ = std::move(sink);
}

void PreparationWindow::message(const QString &text)
{
    if (sink_)
        sink_(text);
}

bool PreparationWindow::report(const std::function<void()> &operation)
{
    return widgets::runReporting(operation, [this](const QString &text) { message(text); });
}

// --- layout ---

void PreparationWindow::buildLayout()
{
    // The bars stand in the entry area, where the run happens; they keep their place
    // while hidden, so that showing one during the run moves nothing.
    solverProgressBar = new QProgressBar(this);
    attemptProgressBar = new QProgressBar(this);
    solverProgressBar->setObjectName(QStringLiteral("solverProgressBar"));
    attemptProgressBar->setObjectName(QStringLiteral("attemptProgressBar"));
    runTimeLabel = new QLabel(this);
    runTimeLabel->setObjectName(QStringLiteral("runTimeLabel"));
    stopRunButton = new QPushButton(QStringLiteral("Прервать расчет"), this);
    stopRunButton->setObjectName(QStringLiteral("stopRunButton"));
    stopRunButton->hide();
    connect(stopRunButton, &QPushButton::clicked, this, &PreparationWindow::onStopRun);
    for (QProgressBar *bar : {solverProgressBar, attemptProgressBar}) {
        bar->setTextVisible(false);
        bar->setValue(0);
        QSizePolicy policy = bar->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        bar->setSizePolicy(policy);
        bar->hide();
    }
    entry_ = buildEntry();
    outcomePanel = buildOutcome();
    stack_ = new QStackedLayout;
    stack_->addWidget(entry_);
    stack_->addWidget(outcomePanel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(stack_, 1);
}

QWidget *PreparationWindow::buildEntry()
{
    auto *page = new QWidget(this);
    auto *programmeTitle = new QHBoxLayout;
    auto *title = widgets::makeLabel(QStringLiteral("Производственная программа"), page);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    programmeTitle->addWidget(title);
    programmeTitle->addWidget(
        widgets::makeLabel(QStringLiteral("(цены отпускные - с грануляцией и НДС)"), page));
    programmeTitle->addStretch();

    programmeGrid = new widgets::TableGrid(
        &data_.feedTypes,
        {{QStringLiteral("TIP"), QStringLiteral("Тип"), 80, -1, true},
         {QStringLiteral("NASN"), QStringLiteral("Назначение"), 420, -1, true},
         {QStringLiteral("VES"), QStringLiteral("Выработка"), 90, -1, false, true},
         {QStringLiteral("MI1"), QStringLiteral("Мин. цена"), 100, -1, false, true},
         {QStringLiteral("MA1"), QStringLiteral("Макс. цена"), 100, -1, false, true}},
        page);
    programmeGrid->setObjectName(QStringLiteral("programmeGrid"));
    programmeGrid->gridModel()->setRowFlag(kVib);

    auto *stockTitle = widgets::makeLabel(QStringLiteral("Наличие сырья  "), page);
    stockTitle->setFont(bold);
    stockGrid = new widgets::TableGrid(
        &data_.rawMaterials,
        {{QStringLiteral("NAIM"), QStringLiteral("Наименование сырья"), 240, -1, true},
         {QStringLiteral("VES"), QStringLiteral("Наличие"), 90, -1, false, true},
         {QStringLiteral("MI1"), QStringLiteral("Цена 1т"), 100, -1, false, true}},
        page);
    stockGrid->setObjectName(QStringLiteral("stockGrid"));
    stockGrid->gridModel()->setRowFlag(kVib);

    auto *stock = new QVBoxLayout;
    stock->addWidget(stockTitle);
    stock->addWidget(stockGrid, 1);
    auto *lower = new QHBoxLayout;
    lower->addLayout(stock, 1);
    lower->addWidget(buildModes(), 0);

    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(programmeTitle);
    layout->addWidget(programmeGrid, 2);
    layout->addLayout(lower, 3);
    return page;
}

// The calculation modes, the relaxation choice, the run's progress and the buttons.
QWidget *PreparationWindow::buildModes()
{
    auto *box = new QWidget(this);
    QWidget *modes = buildModeChoice(box);
    QWidget *relaxation = buildRelaxationChoice(box);
    QGridLayout *buttons = buildRunButtons(box);

    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(modes);
    layout->addWidget(relaxation);
    layout->addStretch();
    layout->addWidget(solverProgressBar);
    layout->addWidget(attemptProgressBar);
    auto *runLine = new QHBoxLayout;
    runLine->addWidget(runTimeLabel, 1);
    runLine->addWidget(stopRunButton);
    layout->addLayout(runLine);
    layout->addLayout(buttons);
    connectModes();
    return box;
}

QWidget *PreparationWindow::buildModeChoice(QWidget *box)
{
    auto *modes = new QFrame(box);
    modes->setFrameShape(QFrame::StyledPanel);
    costModeButton = new QRadioButton(QStringLiteral("Оптимизировать стоимость сырья"), modes);
    proportionalModeButton =
        new QRadioButton(QStringLiteral("Максимизировать выработку в пропорции"), modes);
    productModeButton = new QRadioButton(QStringLiteral("Максимизировать текущий продукт"), modes);
    auto *modeGroup = new QButtonGroup(this);
    auto *modeLayout = new QVBoxLayout(modes);
    for (QRadioButton *b : {costModeButton, proportionalModeButton, productModeButton}) {
        modeGroup->addButton(b);
        modeLayout->addWidget(b);
    }
    widgets::nameObjects({{costModeButton, "costModeButton"},
                          {proportionalModeButton, "proportionalModeButton"},
                          {productModeButton, "productModeButton"}});
    return modes;
}

QWidget *PreparationWindow::buildRelaxationChoice(QWidget *box)
{
    auto *relaxation = new QFrame(box);
    relaxation->setFrameShape(QFrame::StyledPanel);
    relaxationLabel = widgets::makeLabel(kCostLabel, relaxation);
    relaxationLabel->setObjectName(QStringLiteral("relaxationLabel"));
    relaxationLabel->setWordWrap(true);
    relaxationLabel->setMinimumHeight(relaxationLabel->fontMetrics().lineSpacing() * 2 + 4);
    unbalancedRelaxButton = new QRadioButton(
        QStringLiteral("Выходить за границы только небалансируемых характеристик"), relaxation);
    uniformRelaxButton = new QRadioButton(
        QStringLiteral("Равномерно отступать от требований по всем характеристикам "), relaxation);
    auto *relaxGroup = new QButtonGroup(this);
    auto *relaxLayout = new QVBoxLayout(relaxation);
    relaxLayout->addWidget(relaxationLabel);
    for (QRadioButton *b : {unbalancedRelaxButton, uniformRelaxButton}) {
        relaxGroup->addButton(b);
        relaxLayout->addWidget(b);
        QSizePolicy policy = b->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        b->setSizePolicy(policy);
    }
    widgets::nameObjects({{unbalancedRelaxButton, "unbalancedRelaxButton"},
                          {uniformRelaxButton, "uniformRelaxButton"}});
    return relaxation;
}

QGridLayout *PreparationWindow::buildRunButtons(QWidget *box)
{
    fullUseButton =
        widgets::makeButton(QStringLiteral("Полностью сработать / отменить"), box, "fullUseButton");
    cancelAllFullUseButton = widgets::makeButton(QStringLiteral("Отменить полную сработку всем"),
                                                 box, "cancelAllFullUseButton");
    refineRawsButton =
        widgets::makeButton(QStringLiteral("Уточнение по сырью"), box, "refineRawsButton");
    refineFeedTypesButton =
        widgets::makeButton(QStringLiteral("Уточнение по продукции"), box, "refineFeedTypesButton");
    startRunButton = widgets::makeButton(QStringLiteral("Начать расчет"), box, "startRunButton");
    declineRunButton =
        widgets::makeButton(QStringLiteral("Отказ от расчета"), box, "declineRunButton");
    QFont bold = startRunButton->font();
    bold.setBold(true);
    startRunButton->setFont(bold);
    auto *buttons = new QGridLayout;
    buttons->addWidget(fullUseButton, 0, 0);
    buttons->addWidget(cancelAllFullUseButton, 0, 1);
    buttons->addWidget(refineRawsButton, 1, 0);
    buttons->addWidget(refineFeedTypesButton, 1, 1);
    buttons->addWidget(startRunButton, 2, 0);
    buttons->addWidget(declineRunButton, 2, 1);
    for (QPushButton *b : {fullUseButton, cancelAllFullUseButton, refineRawsButton,
                           refineFeedTypesButton, startRunButton, declineRunButton})
        b->setMinimumHeight(30);
    return buttons;
}

void PreparationWindow::connectModes()
{
    connect(costModeButton, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            onCostMode();
    });
    connect(proportionalModeButton, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            onProportionalMode();
    });
    connect(productModeButton, &QRadioButton::pressed, this,
            &PreparationWindow::onProductModePressed);
    // Chosen from the keyboard: the mode's texts, no product marked.
    connect(productModeButton, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            outputModeChosen(kNoRelaxation + u' ');
    });
    connect(fullUseButton, &QPushButton::clicked, this, &PreparationWindow::onToggleFullUse);
    connect(cancelAllFullUseButton, &QPushButton::clicked, this,
            &PreparationWindow::onCancelAllFullUse);
    connect(refineRawsButton, &QPushButton::clicked, this, &PreparationWindow::onRefineRaws);
    connect(refineFeedTypesButton, &QPushButton::clicked, this,
            &PreparationWindow::onRefineFeedTypes);
    connect(startRunButton, &QPushButton::clicked, this, &PreparationWindow::onStartRun);
    connect(declineRunButton, &QPushButton::clicked, this, &PreparationWindow::onDeclineRun);
}

QTableWidget *PreparationWindow::makeOutcomeGrid(const char *name)
{
    auto *grid = new QTableWidget(0, 0, outcomePanel);
    grid->setObjectName(QString::fromLatin1(name));
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setWordWrap(false);
    QFont fixed = widgets::fixedPitchFont();
    fixed.setPointSizeF(grid->font().pointSizeF());
    grid->setFont(fixed);
    grid->hide();
    return grid;
}

QWidget *PreparationWindow::buildOutcome()
{
    outcomePanel = new QWidget(this);
    outcomePanel->setObjectName(QStringLiteral("outcomePanel"));
    outcomeTitleLabel = widgets::makeLabel(QString(), outcomePanel);
    outcomeTitleLabel->setObjectName(QStringLiteral("outcomeTitleLabel"));
    outcomeTitleLabel->setWordWrap(true);
    QFont bold = outcomeTitleLabel->font();
    bold.setBold(true);
    outcomeTitleLabel->setFont(bold);
    const QStringList noteTexts = {QStringLiteral("Запасы и затраты сырья уменьшены"),
                                   QStringLiteral("на величину  технологических потерь."),
                                   QStringLiteral("Цены пересчитаны на затраты сырья без учета"),
                                   QStringLiteral(" потерь, издержек, рентабельности и налогов.")};
    auto *notes = new QGridLayout;
    for (int i = 0; i < noteTexts.size(); ++i) {
        auto *note = widgets::makeLabel(noteTexts.at(i), outcomePanel);
        note->hide();
        notes->addWidget(note, i % 2, i / 2);
        notes_.append(note);
    }
    diagnosticsList = new QListWidget(outcomePanel);
    diagnosticsList->setObjectName(QStringLiteral("diagnosticsList"));
    // Each message whole at the window's width: long ones wrap (and wrap again when the
    // window is resized) instead of running past the right edge.
    diagnosticsList->setWordWrap(true);
    diagnosticsList->setTextElideMode(Qt::ElideNone);
    diagnosticsList->setResizeMode(QListView::Adjust);
    diagnosticsList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    diagnosticsList->hide();
    characteristicsGrid = makeOutcomeGrid("characteristicsGrid");
    rawsGrid = makeOutcomeGrid("rawsGrid");
    summaryGrid = makeOutcomeGrid("summaryGrid");

    backButton = widgets::makeButton(QStringLiteral("<<< Назад"), outcomePanel, "backButton");
    nextButton = widgets::makeButton(QStringLiteral("Дальше >>>"), outcomePanel, "nextButton");
    printButton = widgets::makeButton(QStringLiteral("Печатать"), outcomePanel, "printButton");
    exitButton = widgets::makeButton(QStringLiteral("Выход (меню)"), outcomePanel, "exitButton");
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {backButton, nextButton, printButton, exitButton}) {
        b->setMinimumSize(140, 30);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    nextButton->hide();
    connect(backButton, &QPushButton::clicked, this, &PreparationWindow::onBack);
    connect(nextButton, &QPushButton::clicked, this, &PreparationWindow::onNext);
    connect(printButton, &QPushButton::clicked, this, &PreparationWindow::onPrint);
    connect(exitButton, &QPushButton::clicked, this, &PreparationWindow::onExit);

    auto *layout = new QVBoxLayout(outcomePanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(outcomeTitleLabel);
    layout->addLayout(notes);
    layout->addWidget(diagnosticsList, 1);
    layout->addWidget(characteristicsGrid, 1);
    layout->addWidget(rawsGrid, 1);
    layout->addWidget(summaryGrid, 1);
    layout->addLayout(buttons);
    return outcomePanel;
}

// --- activation and modes ---

void PreparationWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        onActivate();
}

void PreparationWindow::onActivate()
{
    report([this] {
        unbalancedRelaxButton->setChecked(true);
        {
            const QSignalBlocker blocker(costModeButton);
            costModeButton->setChecked(true);
        }
        onCostMode();
        showEntry();
        solverProgressBar->hide();
        attemptProgressBar->hide();
        runTimeLabel->clear();
        restrictToSelection();
        programmeGrid->setReadOnly(false);
        stockGrid->setReadOnly(false);
    });
    programmeGrid->setFocus();
}

void PreparationWindow::restrictToSelection()
{
    for (store::Table *table : {&data_.feedTypes, &data_.rawMaterials}) {
        table->setFilter(store::selectionFilterText);
        table->setFiltered(true);
    }
}

void PreparationWindow::clearProductMarks()
{
    clearMarks(data_.feedTypes);
}

void PreparationWindow::onCostMode()
{
    report([this] { clearProductMarks(); });
    unbalancedRelaxButton->show();
    uniformRelaxButton->show();
    relaxationLabel->setText(kCostLabel);
}

void PreparationWindow::outputModeChosen(const QString &label)
{
    unbalancedRelaxButton->hide();
    uniformRelaxButton->hide();
    relaxationLabel->setText(label);
}

void PreparationWindow::onProportionalMode()
{
    report([this] { clearProductMarks(); });
    outputModeChosen(kNoRelaxation);
}

void PreparationWindow::onProductModePressed()
{
    report([this] {
        clearProductMarks();
        outputModeChosen(kNoRelaxation + u' ');
        store::Table &kk = data_.feedTypes;
        if (kk.isEmpty() || kk.eof())
            return;
        kk.setText(kVib, kPlus);
        kk.post();
    });
}

// --- stock marks and refinement ---

void PreparationWindow::onToggleFullUse()
{
    report([this] {
        store::Table &sir = data_.rawMaterials;
        if (!sir.isOpen() || sir.isEmpty() || sir.eof())
            return;
        const QString vib = sir.text(kVib);
        if (sir.number(QStringLiteral("VES")) == 0 && vib.trimmed().isEmpty()) {
            message(QStringLiteral("Нельзя полностью сработать сырье с неограниченным запасом!"));
            return;
        }
        sir.setText(kVib, vib == kPlus ? QStringLiteral(" ") : kPlus);
        sir.post();
    });
    stockGrid->setFocus();
}

void PreparationWindow::onCancelAllFullUse()
{
    report([this] { clearMarks(data_.rawMaterials); });
}

void PreparationWindow::refine(const Opener &open, int count, const QString &none)
{
    if (count == 0) {
        message(none);
        return;
    }
    if (!open)
        return;
    open();
    // The list window may leave its own filter: the programme shows the selection again.
    report([this] { restrictToSelection(); });
}

void PreparationWindow::onRefineRaws()
{
    refine(openRawMaterials_, data_.selectedRawCount, QStringLiteral("Сырье не отобрано"));
}

void PreparationWindow::onRefineFeedTypes()
{
    refine(openFeedTypes_, data_.selectedFeedCount, QStringLiteral("Продукция не отобрана"));
}

// --- the run ---

CalcMode PreparationWindow::chosenMode() const
{
    if (proportionalModeButton->isChecked())
        return CalcMode::Proportional;
    if (productModeButton->isChecked())
        return CalcMode::Product;
    return CalcMode::Cost;
}

RunResult PreparationWindow::run()
{
    RunOptions options;
    options.mode = chosenMode();
    options.uniformRelax = uniformRelaxButton->isChecked();
    options.parameters = CalcParameters::fromSettings(settings::currentSettings());
    LoadedData data;
    {
        // The grids are taken off their tables while the load walks them; the cursors
        // come back to where they stood. The tables are read here, on this thread only.
        store::Table &kk = data_.feedTypes;
        store::Table &sir = data_.rawMaterials;
        store::DataSourceOff kkOff(kk);
        store::DataSourceOff sirOff(sir);
        store::CursorStateGuard keepKk(kk);
        store::CursorStateGuard keepSir(sir);
        const CalcTables tables{&data_.characteristics, &data_.feedTypes, &data_.rawMaterials,
                                &data_.inclusionNorms,  &data_.counters,  &data_.ratios};
        QApplication::setOverrideCursor(Qt::WaitCursor);
        try {
            data = loadRun(tables, options);
        } catch (const store::TableError &e) {
            data.dataError = e.message();
        }
        QApplication::restoreOverrideCursor();
    }
    setRunning(true);
    RunResult result = worker_->run(std::move(data), options);
    setRunning(false);
    solverProgressBar->hide();
    attemptProgressBar->hide();
    return result;
}

bool PreparationWindow::running() const
{
    return worker_->running();
}

void PreparationWindow::setRunning(bool on)
{
    if (on) {
        lockedForRun_.clear();
        for (QWidget *w : findChildren<QWidget *>()) {
            const bool control =
                qobject_cast<QAbstractButton *>(w) || qobject_cast<QAbstractItemView *>(w);
            if (control && w != stopRunButton && w->window() == this && w->isEnabled()) {
                w->setEnabled(false);
                lockedForRun_.append(w);
            }
        }
        runTime_.start();
        showRunTime();
        runClock_->start();
        stopRunButton->setEnabled(true);
        stopRunButton->show();
        stopRunButton->setFocus();
        QApplication::setOverrideCursor(Qt::BusyCursor);
        return;
    }
    QApplication::restoreOverrideCursor();
    runClock_->stop();
    stopRunButton->hide();
    runTimeLabel->clear();
    for (QWidget *w : std::as_const(lockedForRun_))
        w->setEnabled(true);
    lockedForRun_.clear();
}

void PreparationWindow::showRunTime()
{
    if (worker_->stopRequested()) {
        runTimeLabel->setText(QStringLiteral("Расчет прерывается..."));
        return;
    }
    const qint64 seconds = runTime_.elapsed() / 1000;
    runTimeLabel->setText(QStringLiteral("Идет расчет: %1:%2")
                              .arg(seconds / 60)
                              .arg(seconds % 60, 2, 10, QLatin1Char('0')));
}

void PreparationWindow::onStopRun()
{
    if (!running())
        return;
    worker_->stop();
    stopRunButton->setEnabled(false);
    showRunTime();
}

void PreparationWindow::onStartRun()
{
    nextButton->hide();
    lastRun_ = run();
    present(lastRun_);
    if (lastRun_.outcome == RunOutcome::Stopped)
        runTimeLabel->setText(QStringLiteral("Расчет прерван пользователем"));
    if (closeAfterRun_) {
        closeAfterRun_ = false;
        QDialog::reject();
    }
}

void PreparationWindow::reject()
{
    if (running())
        return onStopRun();
    QDialog::reject();
}

void PreparationWindow::closeEvent(QCloseEvent *event)
{
    if (!running())
        return QDialog::closeEvent(event);
    event->ignore();
    if (closeAfterRun_ ||
        !widgets::askYesNo(this, QStringLiteral("Идет расчет. Прервать его и закрыть окно?")))
        return;
    closeAfterRun_ = true;
    onStopRun();
}

void PreparationWindow::fillGrid(QTableWidget *grid, const TextGrid &text,
                                 const QList<QColor> &colours)
{
    grid->clear();
    grid->setColumnCount(int(text.header.size()));
    grid->setRowCount(int(text.rows.size()));
    grid->setHorizontalHeaderLabels(text.header);
    for (int r = 0; r < text.rows.size(); ++r) {
        const QStringList &row = text.rows.at(r);
        const QColor colour = colours.value(r);
        for (int c = 0; c < row.size(); ++c) {
            auto *item = new QTableWidgetItem(row.at(c));
            if (text.numeric.value(c))
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (colour.isValid())
                item->setForeground(colour);
            grid->setItem(r, c, item);
        }
    }
    grid->resizeColumnsToContents();
}

void PreparationWindow::present(const RunResult &result)
{
    switch (result.outcome) {
    case RunOutcome::Errors:
        diagnosticsList->clear();
        diagnosticsList->addItems(result.diagnostics);
        outcomeTitleLabel->setText(QStringLiteral("Ошибки подготовки исходных данных"));
        showPanel(Shown::Errors);
        diagnosticsList->setFocus();
        break;
    case RunOutcome::FailureAnalysis:
        outcomeTitleLabel->setText(calc::analysisTitle(result.analysis));
        fillGrid(characteristicsGrid, calc::characteristicsGrid(result.analysis),
                 rowColours(result.analysis.characteristics, characteristicRowColour));
        fillGrid(rawsGrid, calc::rawsGrid(result.analysis),
                 rowColours(result.analysis.raws, rawRowColour));
        showPanel(Shown::Analysis);
        characteristicsGrid->setFocus();
        break;
    case RunOutcome::Solution:
        outcomeTitleLabel->setText(calc::summaryTitle(result.summary));
        fillGrid(summaryGrid, calc::summaryGrid(result.summary), {});
        showPanel(Shown::Solution);
        summaryGrid->setFocus();
        break;
    default: // the run's message box said it all, or the user stopped it
        showEntry();
        break;
    }
}

void PreparationWindow::showPanel(Shown what)
{
    shown_ = what;
    diagnosticsList->setVisible(what == Shown::Errors);
    characteristicsGrid->setVisible(what == Shown::Analysis);
    rawsGrid->setVisible(what == Shown::Analysis);
    for (QLabel *note : std::as_const(notes_))
        note->setVisible(what == Shown::Analysis);
    summaryGrid->setVisible(what == Shown::Solution);
    nextButton->setVisible(what == Shown::Solution);
    stack_->setCurrentWidget(what == Shown::Entry ? entry_ : outcomePanel);
}

void PreparationWindow::showEntry()
{
    diagnosticsList->clear();
    showPanel(Shown::Entry);
}

// --- outcome panel ---

void PreparationWindow::onBack()
{
    showEntry();
    programmeGrid->setFocus();
}

void PreparationWindow::onNext()
{
    showEntry();
    if (openResults_ && openResults_()) {
        reject();
        return;
    }
    programmeGrid->setFocus();
}

QList<OutcomeBlock> PreparationWindow::outcomeBlocks() const
{
    const QString title = outcomeTitleLabel->text();
    switch (shown_) {
    case Shown::Solution:
        return {{title, gridLines(calc::summaryGrid(lastRun_.summary)), OutcomeBlock::Kind::Grid}};
    case Shown::Analysis:
        return {{kAnalysisHead + title + QStringLiteral(" Характеристики."),
                 gridLines(calc::characteristicsGrid(lastRun_.analysis)), OutcomeBlock::Kind::Grid},
                {kAnalysisHead + title + QStringLiteral(" Вложение сырья. "),
                 gridLines(calc::rawsGrid(lastRun_.analysis)), OutcomeBlock::Kind::Grid}};
    case Shown::Errors: {
        QStringList lines;
        for (int i = 0; i < diagnosticsList->count(); ++i)
            lines.append(diagnosticsList->item(i)->text());
        return {{title, lines, OutcomeBlock::Kind::List}};
    }
    case Shown::Entry:
        break;
    }
    return {};
}

int PreparationWindow::paintOutcome(QPainter *painter, const std::function<bool()> &newPage) const
{
    OutcomePrint print(painter, newPage);
    return print.draw(outcomeBlocks());
}

void PreparationWindow::onPrint()
{
    if (shown_ == Shown::Entry)
        return;
    if (platform::forcedPdfPath().isEmpty())
        message(QStringLiteral("Подготовьте принтер"));
    const platform::PrinterChoice choice =
        platform::choosePrinter(this, QStringLiteral("Результат расчета"));
    if (!choice)
        return;
    platform::printWithChoice(this, choice, [this](QPrinter *printer) {
        QPainter painter;
        if (!painter.begin(printer)) {
            message(QStringLiteral("Не удалось начать печать на принтере %1")
                        .arg(printer->printerName()));
            return;
        }
        paintOutcome(&painter, [printer] { return printer->newPage(); });
        painter.end();
    });
}

void PreparationWindow::onDeclineRun()
{
    reject();
}

void PreparationWindow::onExit()
{
    reject();
}

// --- closing ---

void PreparationWindow::done(int result)
{
    report([this] { onClose(); });
    QDialog::done(result);
}

void PreparationWindow::onClose()
{
    for (store::Table *table : {&data_.feedTypes, &data_.rawMaterials}) {
        table->setFilter(QString());
        table->setFiltered(false);
    }
}

} // namespace calc
