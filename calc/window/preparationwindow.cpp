#include "calc/window/preparationwindow.h"

#include "calc/outcometext.h"
#include "calc/window/outcomecolours.h"
#include "calc/window/outcomeprint.h"
#include "calc/window/runprogress.h"
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

#include <QApplication>
#include <QButtonGroup>
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
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("Подготовка расчета рецептов"));
    sink_ = [this](const QString &text) { widgets::showMessage(this, text); };
    buildLayout();
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

QRadioButton *PreparationWindow::modeButton(CalcMode mode) const
{
    switch (mode) {
    case CalcMode::Cost:
        return RadioButton1;
    case CalcMode::Proportional:
        return RadioButton2;
    case CalcMode::Product:
        return RadioButton3;
    }
    return RadioButton1;
}

// --- layout ---

void PreparationWindow::buildLayout()
{
    // The bars stand in the entry area, where the run happens; they keep their place
    // while hidden, so that showing one during the run moves nothing.
    ProgressBar1 = new QProgressBar(this);
    ProgressBar2 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar2->setObjectName(QStringLiteral("ProgressBar2"));
    for (QProgressBar *bar : {ProgressBar1, ProgressBar2}) {
        bar->setTextVisible(false);
        bar->setValue(0);
        QSizePolicy policy = bar->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        bar->setSizePolicy(policy);
        bar->hide();
    }
    entry_ = buildEntry();
    Panel1 = buildOutcome();
    stack_ = new QStackedLayout;
    stack_->addWidget(entry_);
    stack_->addWidget(Panel1);
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

    DBGrid1 = new widgets::TableGrid(
        &data_.feedTypes,
        {{QStringLiteral("TIP"), QStringLiteral("Тип"), 80, -1, true},
         {QStringLiteral("NASN"), QStringLiteral("Назначение"), 420, -1, true},
         {QStringLiteral("VES"), QStringLiteral("Выработка"), 90, -1, false, true},
         {QStringLiteral("MI1"), QStringLiteral("Мин. цена"), 100, -1, false, true},
         {QStringLiteral("MA1"), QStringLiteral("Макс. цена"), 100, -1, false, true}},
        page);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->gridModel()->setRowFlag(kVib);

    auto *stockTitle = widgets::makeLabel(QStringLiteral("Наличие сырья  "), page);
    stockTitle->setFont(bold);
    DBGrid2 = new widgets::TableGrid(
        &data_.rawMaterials,
        {{QStringLiteral("NAIM"), QStringLiteral("Наименование сырья"), 240, -1, true},
         {QStringLiteral("VES"), QStringLiteral("Наличие"), 90, -1, false, true},
         {QStringLiteral("MI1"), QStringLiteral("Цена 1т"), 100, -1, false, true}},
        page);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->gridModel()->setRowFlag(kVib);

    auto *stock = new QVBoxLayout;
    stock->addWidget(stockTitle);
    stock->addWidget(DBGrid2, 1);
    auto *lower = new QHBoxLayout;
    lower->addLayout(stock, 1);
    lower->addWidget(buildModes(), 0);

    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(programmeTitle);
    layout->addWidget(DBGrid1, 2);
    layout->addLayout(lower, 3);
    return page;
}

QWidget *PreparationWindow::buildModes()
{
    auto *box = new QWidget(this);
    auto *modes = new QFrame(box);
    modes->setFrameShape(QFrame::StyledPanel);
    RadioButton1 = new QRadioButton(QStringLiteral("Оптимизировать стоимость сырья"), modes);
    RadioButton2 = new QRadioButton(QStringLiteral("Максимизировать выработку в пропорции"), modes);
    RadioButton3 = new QRadioButton(QStringLiteral("Максимизировать текущий продукт"), modes);
    auto *modeGroup = new QButtonGroup(this);
    auto *modeLayout = new QVBoxLayout(modes);
    for (QRadioButton *b : {RadioButton1, RadioButton2, RadioButton3}) {
        modeGroup->addButton(b);
        modeLayout->addWidget(b);
    }

    auto *relaxation = new QFrame(box);
    relaxation->setFrameShape(QFrame::StyledPanel);
    Label4 = widgets::makeLabel(kCostLabel, relaxation);
    Label4->setWordWrap(true);
    Label4->setMinimumHeight(Label4->fontMetrics().lineSpacing() * 2 + 4);
    RadioButton4 = new QRadioButton(
        QStringLiteral("Выходить за границы только небалансируемых характеристик"), relaxation);
    RadioButton5 = new QRadioButton(
        QStringLiteral("Равномерно отступать от требований по всем характеристикам "), relaxation);
    auto *relaxGroup = new QButtonGroup(this);
    auto *relaxLayout = new QVBoxLayout(relaxation);
    relaxLayout->addWidget(Label4);
    for (QRadioButton *b : {RadioButton4, RadioButton5}) {
        relaxGroup->addButton(b);
        relaxLayout->addWidget(b);
        QSizePolicy policy = b->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        b->setSizePolicy(policy);
    }
    widgets::nameObjects({{RadioButton1, "RadioButton1"},
                          {RadioButton2, "RadioButton2"},
                          {RadioButton3, "RadioButton3"},
                          {RadioButton4, "RadioButton4"},
                          {RadioButton5, "RadioButton5"}});

    Button1 = widgets::makeButton(QStringLiteral("Полностью сработать / отменить"), box, "Button1");
    Button2 = widgets::makeButton(QStringLiteral("Отменить полную сработку всем"), box, "Button2");
    Button3 = widgets::makeButton(QStringLiteral("Уточнение по сырью"), box, "Button3");
    Button4 = widgets::makeButton(QStringLiteral("Уточнение по продукции"), box, "Button4");
    Button5 = widgets::makeButton(QStringLiteral("Начать расчет"), box, "Button5");
    Button6 = widgets::makeButton(QStringLiteral("Отказ от расчета"), box, "Button6");
    QFont bold = Button5->font();
    bold.setBold(true);
    Button5->setFont(bold);
    auto *buttons = new QGridLayout;
    buttons->addWidget(Button1, 0, 0);
    buttons->addWidget(Button2, 0, 1);
    buttons->addWidget(Button3, 1, 0);
    buttons->addWidget(Button4, 1, 1);
    buttons->addWidget(Button5, 2, 0);
    buttons->addWidget(Button6, 2, 1);
    for (QPushButton *b : {Button1, Button2, Button3, Button4, Button5, Button6})
        b->setMinimumHeight(30);

    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(modes);
    layout->addWidget(relaxation);
    layout->addStretch();
    layout->addWidget(ProgressBar1);
    layout->addWidget(ProgressBar2);
    layout->addLayout(buttons);

    connect(RadioButton1, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RadioButton1Click();
    });
    connect(RadioButton2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RadioButton2Click();
    });
    connect(RadioButton3, &QRadioButton::pressed, this, &PreparationWindow::RadioButton3MouseDown);
    // Chosen from the keyboard: the mode's texts, no product marked.
    connect(RadioButton3, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            outputModeChosen(kNoRelaxation + u' ');
    });
    connect(Button1, &QPushButton::clicked, this, &PreparationWindow::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &PreparationWindow::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &PreparationWindow::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &PreparationWindow::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &PreparationWindow::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &PreparationWindow::Button6Click);
    return box;
}

QTableWidget *PreparationWindow::makeOutcomeGrid(const char *name)
{
    auto *grid = new QTableWidget(0, 0, Panel1);
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
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Label5 = widgets::makeLabel(QString(), Panel1);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->setWordWrap(true);
    QFont bold = Label5->font();
    bold.setBold(true);
    Label5->setFont(bold);
    const QStringList noteTexts = {QStringLiteral("Запасы и затраты сырья уменьшены"),
                                   QStringLiteral("на величину  технологических потерь."),
                                   QStringLiteral("Цены пересчитаны на затраты сырья без учета"),
                                   QStringLiteral(" потерь, издержек, рентабельности и налогов.")};
    auto *notes = new QGridLayout;
    for (int i = 0; i < noteTexts.size(); ++i) {
        auto *note = widgets::makeLabel(noteTexts.at(i), Panel1);
        note->hide();
        notes->addWidget(note, i % 2, i / 2);
        notes_.append(note);
    }
    ListBox1 = new QListWidget(Panel1);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    // Each message whole at the window's width: long ones wrap (and wrap again when the
    // window is resized) instead of running past the right edge.
    ListBox1->setWordWrap(true);
    ListBox1->setTextElideMode(Qt::ElideNone);
    ListBox1->setResizeMode(QListView::Adjust);
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox1->hide();
    StringGrid1 = makeOutcomeGrid("StringGrid1");
    StringGrid2 = makeOutcomeGrid("StringGrid2");
    StringGrid3 = makeOutcomeGrid("StringGrid3");

    Button7 = widgets::makeButton(QStringLiteral("<<< Назад"), Panel1, "Button7");
    Button8 = widgets::makeButton(QStringLiteral("Дальше >>>"), Panel1, "Button8");
    Button9 = widgets::makeButton(QStringLiteral("Печатать"), Panel1, "Button9");
    Button10 = widgets::makeButton(QStringLiteral("Выход (меню)"), Panel1, "Button10");
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {Button7, Button8, Button9, Button10}) {
        b->setMinimumSize(140, 30);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    Button8->hide();
    connect(Button7, &QPushButton::clicked, this, &PreparationWindow::Button7Click);
    connect(Button8, &QPushButton::clicked, this, &PreparationWindow::Button8Click);
    connect(Button9, &QPushButton::clicked, this, &PreparationWindow::Button9Click);
    connect(Button10, &QPushButton::clicked, this, &PreparationWindow::Button10Click);

    auto *layout = new QVBoxLayout(Panel1);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Label5);
    layout->addLayout(notes);
    layout->addWidget(ListBox1, 1);
    layout->addWidget(StringGrid1, 1);
    layout->addWidget(StringGrid2, 1);
    layout->addWidget(StringGrid3, 1);
    layout->addLayout(buttons);
    return Panel1;
}

// --- activation and modes ---

void PreparationWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void PreparationWindow::FormActivate()
{
    report([this] {
        RadioButton4->setChecked(true);
        {
            const QSignalBlocker blocker(RadioButton1);
            RadioButton1->setChecked(true);
        }
        RadioButton1Click();
        showEntry();
        ProgressBar1->hide();
        ProgressBar2->hide();
        restrictToSelection();
        DBGrid1->setReadOnly(false);
        DBGrid2->setReadOnly(false);
    });
    DBGrid1->setFocus();
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

void PreparationWindow::RadioButton1Click()
{
    report([this] { clearProductMarks(); });
    RadioButton4->show();
    RadioButton5->show();
    Label4->setText(kCostLabel);
}

void PreparationWindow::outputModeChosen(const QString &label)
{
    RadioButton4->hide();
    RadioButton5->hide();
    Label4->setText(label);
}

void PreparationWindow::RadioButton2Click()
{
    report([this] { clearProductMarks(); });
    outputModeChosen(kNoRelaxation);
}

void PreparationWindow::RadioButton3MouseDown()
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

void PreparationWindow::Button1Click()
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
    DBGrid2->setFocus();
}

void PreparationWindow::Button2Click()
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

void PreparationWindow::Button3Click()
{
    refine(openRawMaterials_, data_.selectedRawCount, QStringLiteral("Сырье не отобрано"));
}

void PreparationWindow::Button4Click()
{
    refine(openFeedTypes_, data_.selectedFeedCount, QStringLiteral("Продукция не отобрана"));
}

// --- the run ---

CalcMode PreparationWindow::chosenMode() const
{
    if (RadioButton2->isChecked())
        return CalcMode::Proportional;
    if (RadioButton3->isChecked())
        return CalcMode::Product;
    return CalcMode::Cost;
}

RunResult PreparationWindow::run()
{
    store::Table &kk = data_.feedTypes;
    store::Table &sir = data_.rawMaterials;
    RunResult result;
    {
        // The grids are taken off their tables while the run walks them; the cursors
        // come back to where they stood.
        store::DataSourceOff kkOff(kk);
        store::DataSourceOff sirOff(sir);
        store::CursorStateGuard keepKk(kk);
        store::CursorStateGuard keepSir(sir);
        RunOptions options;
        options.mode = chosenMode();
        options.uniformRelax = RadioButton5->isChecked();
        options.parameters = CalcParameters::fromSettings(settings::currentSettings());
        const CalcTables tables{&data_.characteristics, &data_.feedTypes, &data_.rawMaterials,
                                &data_.inclusionNorms, &data_.counters};
        WindowRunObserver observer(ProgressBar1, ProgressBar2,
                                   [this](const QString &text) { message(text); });
        QApplication::setOverrideCursor(Qt::WaitCursor);
        try {
            result = runCalculation(tables, options, observer);
        } catch (const store::TableError &e) {
            result.outcome = RunOutcome::Errors;
            result.dataError = e.message();
            result.diagnostics = {e.message()};
        }
        QApplication::restoreOverrideCursor();
        ProgressBar1->hide();
        ProgressBar2->hide();
    }
    return result;
}

void PreparationWindow::Button5Click()
{
    Button8->hide();
    lastRun_ = run();
    present(lastRun_);
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
        ListBox1->clear();
        ListBox1->addItems(result.diagnostics);
        Label5->setText(QStringLiteral("Ошибки подготовки исходных данных"));
        showPanel(Shown::Errors);
        ListBox1->setFocus();
        break;
    case RunOutcome::FailureAnalysis:
        Label5->setText(calc::analysisTitle(result.analysis));
        fillGrid(StringGrid1, calc::characteristicsGrid(result.analysis),
                 rowColours(result.analysis.characteristics, characteristicRowColour));
        fillGrid(StringGrid2, calc::rawsGrid(result.analysis),
                 rowColours(result.analysis.raws, rawRowColour));
        showPanel(Shown::Analysis);
        StringGrid1->setFocus();
        break;
    case RunOutcome::Solution:
        Label5->setText(calc::summaryTitle(result.summary));
        fillGrid(StringGrid3, calc::summaryGrid(result.summary), {});
        showPanel(Shown::Solution);
        StringGrid3->setFocus();
        break;
    default: // the run's message box said it all
        showEntry();
        break;
    }
}

void PreparationWindow::showPanel(Shown what)
{
    shown_ = what;
    ListBox1->setVisible(what == Shown::Errors);
    StringGrid1->setVisible(what == Shown::Analysis);
    StringGrid2->setVisible(what == Shown::Analysis);
    for (QLabel *note : std::as_const(notes_))
        note->setVisible(what == Shown::Analysis);
    StringGrid3->setVisible(what == Shown::Solution);
    Button8->setVisible(what == Shown::Solution);
    stack_->setCurrentWidget(what == Shown::Entry ? entry_ : Panel1);
}

void PreparationWindow::showEntry()
{
    ListBox1->clear();
    showPanel(Shown::Entry);
}

// --- outcome panel ---

void PreparationWindow::Button7Click()
{
    showEntry();
    DBGrid1->setFocus();
}

void PreparationWindow::Button8Click()
{
    showEntry();
    if (openResults_ && openResults_()) {
        reject();
        return;
    }
    DBGrid1->setFocus();
}

QList<OutcomeBlock> PreparationWindow::outcomeBlocks() const
{
    const QString title = Label5->text();
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
        for (int i = 0; i < ListBox1->count(); ++i)
            lines.append(ListBox1->item(i)->text());
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

void PreparationWindow::Button9Click()
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

void PreparationWindow::Button6Click()
{
    reject();
}

void PreparationWindow::Button10Click()
{
    reject();
}

// --- closing ---

void PreparationWindow::done(int result)
{
    report([this] { FormClose(); });
    QDialog::done(result);
}

void PreparationWindow::FormClose()
{
    for (store::Table *table : {&data_.feedTypes, &data_.rawMaterials}) {
        table->setFilter(QString());
        table->setFiltered(false);
    }
}

} // namespace calc
