#include "results/window/resultswindow.h"

#include "archive/archivetables.h"
#include "archive/archivewriter.h"
#include "results/cellnumber.h"
#include "results/compositioncorrection.h"
#include "results/resultgrids.h"
#include "results/window/archivequestions.h"
#include "results/window/celleditor.h"
#include "results/window/frozencolumns.h"
#include "settings/settings.h"
#include "settings/workingdate.h"
#include "store/datamodule.h"
#include "store/numbertext.h"
#include "widgets/editmessage.h"
#include "widgets/message.h"
#include "widgets/windowparts.h"

#include <QHeaderView>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShowEvent>
#include <QStyle>
#include <QTableWidget>

#include <algorithm>

namespace results
{

using store::fixedText;

namespace
{

const QString kCorrect = QStringLiteral("Корректировка состава");
const QString kCorrectionDone = QStringLiteral("Корректировка завершена");

// The feed grid's editable columns.
bool feedCellEditable(int column)
{
    switch (column) {
    case ResultsWindow::ColCosts:
    case ResultsWindow::ColProfit:
    case ResultsWindow::ColGran:
    case ResultsWindow::ColForm:
    case ResultsWindow::ColVat:
    case ResultsWindow::ColNote:
        return true;
    default:
        return false;
    }
}

store::FieldDef fieldNamed(const QList<store::FieldDef> &fields, const QString &name)
{
    for (const store::FieldDef &field : fields) {
        if (field.name.compare(name, Qt::CaseInsensitive) == 0)
            return field;
    }
    return {name, 'C', 0, 0};
}

// Each editable cell takes no more than the archive field it is written to.
void limitTyping(QTableWidget *grid, const QList<store::FieldDef> &fields,
                 const QList<std::pair<int, const char *>> &columns)
{
    auto *editor = static_cast<CellEditor *>(grid->itemDelegate());
    for (const auto &[column, name] : columns)
        editor->setColumnField(column, fieldNamed(fields, QString::fromLatin1(name)));
}

// The cell of a feed grid row that a column holds a number of; null for the others.
CellValue *priceCell(PriceCells &cells, int column)
{
    switch (column) {
    case ResultsWindow::ColCosts:
        return &cells.costs;
    case ResultsWindow::ColProfit:
        return &cells.profit;
    case ResultsWindow::ColGran:
        return &cells.gran;
    case ResultsWindow::ColVat:
        return &cells.vat;
    default:
        return nullptr;
    }
}

} // namespace

ResultsWindow::ResultsWindow(store::DataModule &data, calc::RunResult &run, QWidget *parent)
    : QDialog(parent), data_(data), run_(run)
{
    setObjectName(QStringLiteral("resultsWindow"));
    setWindowTitle(QStringLiteral("Обработка результатов расчета"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    sink_ = [this](const QString &text) { widgets::showMessage(this, text); };
    buildLayout();
    setFixedSize(800, 600);
}

ResultsWindow::~ResultsWindow() = default;

void ResultsWindow::setMessageSink(MessageSink sink)
{
    sink_ = std::move(sink);
}

void ResultsWindow::setRecipeViewOpener(std::function<void(int)> open)
{
    openRecipeView_ = std::move(open);
}

bool ResultsWindow::correctionMode() const
{
    return !feedGrid->isEnabled();
}

// A message raised by a keystroke in a cell waits until the key has been handled: a
// box opened under the cell editor's signal would let the grid delete the editor.
void ResultsWindow::message(const QString &text)
{
    if (typing_) {
        widgets::afterEdit(this, [this, text] { message(text); });
        return;
    }
    if (sink_)
        sink_(text);
}

QTableWidget *ResultsWindow::makeGrid(const QStringList &headers, const QList<int> &widths)
{
    auto *grid = new QTableWidget(0, int(headers.size()), this);
    // the compact size of the window's columns
    QFont font = grid->font();
    font.setPointSizeF(std::min(font.pointSizeF(), 8.0));
    grid->setFont(font);
    grid->horizontalHeader()->setFont(font);
    grid->setItemDelegate(new CellEditor(grid));
    grid->setHorizontalHeaderLabels(headers);
    // The widths are those of the window's original font; a wider font widens them so
    // that numbers and headers still fit.
    const QFontMetrics metrics(font);
    const double scale = std::max(1.0, metrics.horizontalAdvance(u'0') / 6.0);
    for (int c = 0; c < widths.size(); ++c)
        grid->setColumnWidth(
            c, std::max(int(widths.at(c) * scale), metrics.horizontalAdvance(headers.at(c)) + 10));
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    grid->setWordWrap(false);
    return grid;
}

void ResultsWindow::buildLayout()
{
    feedGrid =
        makeGrid({QStringLiteral("№"), QStringLiteral("Тип"), QStringLiteral("Архив"),
                  QStringLiteral("Выработка Т"), QStringLiteral("Стоим.сырья на 1Т"),
                  QStringLiteral("Издержки"), QStringLiteral("Прибыль %"),
                  QStringLiteral("За гран. 1Т"), QStringLiteral("Г/К"), QStringLiteral("%нал."),
                  QStringLiteral("Цена 1Т без НДС"), QStringLiteral("Цена 1Т с НДС"),
                  QStringLiteral("Назначение"), QStringLiteral("Примечание")},
                 {19, 64, 34, 68, 100, 57, 60, 60, 21, 60, 94, 90, 160, 740});
    compositionGrid = makeGrid({QStringLiteral("Наименование сырья"), QStringLiteral("% ввода"),
                                QStringLiteral("Цена  1Т."), QStringLiteral("Стоимость"),
                                QStringLiteral("Вес без пот")},
                               {170, 47, 55, 74, 62});
    characteristicsGrid = makeGrid({QStringLiteral("Характеристика"), QStringLiteral("Минимум"),
                                    QStringLiteral("Факт"), QStringLiteral("Максимум")},
                                   {147, 55, 63, 64});
    characteristicsGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    widgets::nameObjects({{feedGrid, "feedGrid"},
                          {compositionGrid, "compositionGrid"},
                          {characteristicsGrid, "characteristicsGrid"}});
    feedGrid->setGeometry(4, 4, 785, 169);
    characteristicsGrid->setGeometry(4, 180, 353, 329);
    compositionGrid->setGeometry(356, 180, 433, 329);
    new FrozenColumns(feedGrid, ColType + 1); // which feed type a note belongs to
    limitTyping(feedGrid, archive::arkkFields(),
                {{ColCosts, "izder"},
                 {ColProfit, "procprib"},
                 {ColGran, "gran"},
                 {ColForm, "gk"},
                 {ColVat, "nds"},
                 {ColNote, "prim"}});
    limitTyping(compositionGrid, archive::arsirFields(),
                {{ColPercent, "procin"}, {ColPrice, "price"}});

    auto *feedEditor = static_cast<CellEditor *>(feedGrid->itemDelegate());
    auto *compositionEditor = static_cast<CellEditor *>(compositionGrid->itemDelegate());
    connect(feedEditor, &CellEditor::textEdited, this, &ResultsWindow::onFeedCellEdited);
    connect(compositionEditor, &CellEditor::textEdited, this,
            &ResultsWindow::onCompositionCellEdited);
    connect(feedGrid, &QTableWidget::currentCellChanged, this,
            [this](int row, int column) { onFeedCellSelected(column, row); });
    connect(compositionGrid, &QTableWidget::currentCellChanged, this,
            [this](int row, int column) { onCompositionCellSelected(column, row); });
    buildButtons();
}

// The row of buttons under the grids, and the sensitivity analysis under them.
void ResultsWindow::buildButtons()
{
    printRecipeButton =
        widgets::makeButton(QStringLiteral("Отпечатать рецепт"), this, "printRecipeButton");
    writeToArchiveButton =
        widgets::makeButton(QStringLiteral("Записать в архив"), this, "writeToArchiveButton");
    repeatCalculationButton =
        widgets::makeButton(QStringLiteral("Повтор расчета"), this, "repeatCalculationButton");
    correctionButton = widgets::makeButton(kCorrect, this, "correctionButton");
    exitButton = widgets::makeButton(QStringLiteral("Выход"), this, "exitButton");
    QPushButton *const row[] = {printRecipeButton, writeToArchiveButton, repeatCalculationButton,
                                correctionButton, exitButton};
    const int widths[] = {140, 140, 130, 190, 120};
    int x = 4;
    for (std::size_t i = 0; i < std::size(row); ++i) {
        row[i]->setGeometry(x, 520, widths[i], 32);
        x += widths[i] + (i == 3 ? 38 : 8); // "Выход" a little apart
    }
    connect(printRecipeButton, &QPushButton::clicked, this, &ResultsWindow::onPrintRecipe);
    connect(writeToArchiveButton, &QPushButton::clicked, this, &ResultsWindow::onWriteToArchive);
    connect(repeatCalculationButton, &QPushButton::clicked, this,
            &ResultsWindow::onRepeatCalculation);
    connect(correctionButton, &QPushButton::clicked, this, &ResultsWindow::onCorrection);
    connect(exitButton, &QPushButton::clicked, this, &ResultsWindow::onExit);
    // below the row of the others, in the room the window has under them
    sensitivityButton =
        widgets::makeButton(QStringLiteral("Анализ чувствительности"), this, "sensitivityButton");
    sensitivityButton->setGeometry(4, 560, 190, 32);
    sensitivityButton->hide();
    connect(sensitivityButton, &QPushButton::clicked, this, &ResultsWindow::onSensitivity);
}

void ResultsWindow::setSensitivityOpener(std::function<void()> open)
{
    openSensitivity_ = std::move(open);
    sensitivityButton->setVisible(bool(openSensitivity_));
}

void ResultsWindow::onSensitivity()
{
    if (openSensitivity_)
        openSensitivity_();
}

void ResultsWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        onActivate();
}

// --- cells ---

void ResultsWindow::setCell(QTableWidget *grid, int row, int column, const QString &text,
                            bool editable)
{
    QTableWidgetItem *item = grid->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        grid->setItem(row, column, item);
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (editable)
        flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    item->setText(text);
    item->setToolTip(editable ? QString() : text.trimmed()); // a name cut by its column
}

QString ResultsWindow::cell(const QTableWidget *grid, int row, int column) const
{
    const QTableWidgetItem *item = grid->item(row, column);
    return item ? item->text() : QString();
}

// The lower grids show all their columns: each number column as wide as its texts
// and its header, the name column takes what is left (at least its given width's half).
void ResultsWindow::fitColumns(QTableWidget *grid, int nameWidth)
{
    const QFontMetrics metrics(grid->font());
    int used = 0;
    for (int c = 1; c < grid->columnCount(); ++c) {
        grid->resizeColumnToContents(c);
        const QString header = grid->horizontalHeaderItem(c)->text();
        const int width = std::max(grid->columnWidth(c), metrics.horizontalAdvance(header) + 10);
        grid->setColumnWidth(c, width);
        used += width;
    }
    const int scrollBar = grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid);
    const int room = grid->width() - 2 * grid->frameWidth() - scrollBar;
    grid->setColumnWidth(0, std::max(nameWidth / 2, room - used));
}

// --- rebuild ---

void ResultsWindow::onActivate()
{
    exitRequested_ = false;
    setNormalMode(true);
    if (printRecipeButton->hasFocus())
        return;
    filling_ = true;
    settings_ = PriceSettings::fromSettings(settings::currentSettings());
    const std::vector<double> costs = rawCosts(run_.recipes);
    prices_.assign(size_t(feedCount()) + 1, FeedPrice());
    feedCells_.assign(size_t(feedCount()) + 1, PriceCells());
    for (int p = 1; p <= feedCount(); ++p) {
        prices_[size_t(p)] = buildPrice(costs[size_t(p)], run_.selection.feedVat[p], settings_);
        feedCells_[size_t(p)] = {CellValue::general(settings_.productionCosts),
                                 CellValue::general(settings_.profitability),
                                 CellValue::general(settings_.granulationSurcharge),
                                 CellValue::general(run_.selection.feedVat[p])};
    }
    setupFeedGrid();
    compositionGrid->setRowCount(0);
    characteristicsGrid->setRowCount(0);
    currentFeed_ = 1;
    if (feedCount() > 0)
        feedGrid->setCurrentCell(0, ColCosts);
    filling_ = false;
    showFeedDetails();
}

void ResultsWindow::setupFeedGrid()
{
    for (int row = 0; row < feedGrid->rowCount(); ++row) {
        while (notes_.size() <= row)
            notes_.append(QString());
        notes_[row] = cell(feedGrid, row, ColNote);
    }
    feedGrid->setRowCount(0);
    feedGrid->setRowCount(feedCount());
    archived_.assign(size_t(feedCount()) + 1, std::nullopt);
    for (int p = 1; p <= feedCount(); ++p)
        fillFeedRow(p);
}

void ResultsWindow::fillFeedRow(int p)
{
    const FeedPrice &price = prices_[size_t(p)];
    const PriceCells &cells = feedCells_[size_t(p)];
    const QStringList texts = {QString::number(p),
                               recipe(p).type,
                               QString(),
                               generalText(recipe(p).output),
                               fixedText(price.rawCost, 13, 2),
                               cells.costs.text,
                               cells.profit.text,
                               cells.gran.text,
                               QStringLiteral("Г"),
                               cells.vat.text,
                               generalText(price.priceNoTax),
                               generalText(price.priceNoTax + price.taxAmount),
                               run_.selection.feedPurpose[p],
                               notes_.value(p - 1)};
    for (int c = 0; c < FeedColumnCount; ++c)
        setCell(feedGrid, p - 1, c, texts.at(c), feedCellEditable(c));
}

void ResultsWindow::showFeedDetails()
{
    const bool wasFilling = filling_;
    filling_ = true;
    fillComposition();
    fillCharacteristics();
    filling_ = wasFilling;
}

void ResultsWindow::fillComposition()
{
    const int row = compositionGrid->currentRow();
    const int column = compositionGrid->currentColumn();
    compositionGrid->setRowCount(0);
    const QList<CompositionRow> rows = compositionRows(recipe(currentFeed_));
    percentCells_.clear();
    rawPriceCells_.clear();
    compositionGrid->setRowCount(int(rows.size()));
    const bool correcting = correctionMode();
    for (int r = 0; r < rows.size(); ++r) {
        const CompositionRow &composition = rows[r];
        percentCells_.append(composition.percent);
        rawPriceCells_.append(composition.price);
        setCell(compositionGrid, r, ColRawName, composition.name);
        setCell(compositionGrid, r, ColPercent, composition.percent.text, correcting);
        setCell(compositionGrid, r, ColPrice, composition.price.text, true);
        setCell(compositionGrid, r, ColBatchCost, composition.batchCost);
        setCell(compositionGrid, r, ColTonnes, composition.tonnes);
    }
    fitColumns(compositionGrid, 170);
    if (rows.isEmpty())
        return;
    const bool exists = row >= 0 && row < rows.size() && column >= 0;
    compositionGrid->setCurrentCell(exists ? row : 0, exists ? column : ColPercent);
    oldPriceRow_ = compositionGrid->currentRow();
    oldPriceText_ = rawPriceCells_.value(oldPriceRow_).text;
}

void ResultsWindow::fillCharacteristics()
{
    characteristicsGrid->setRowCount(0);
    const QList<CharacteristicRow> rows = characteristicRows(recipe(currentFeed_));
    characteristicsGrid->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const CharacteristicRow &row = rows[r];
        const bool red = violatesNorm(row.minimum, row.fact, row.maximum);
        const QStringList texts = {row.name, row.minimum.text, row.fact.text, row.maximum.text};
        for (int c = 0; c < texts.size(); ++c) {
            setCell(characteristicsGrid, r, c, texts.at(c));
            if (red)
                characteristicsGrid->item(r, c)->setForeground(QColor(Qt::red));
        }
    }
    fitColumns(characteristicsGrid, 147);
}

void ResultsWindow::setPercentEditable(bool editable)
{
    for (int r = 0; r < compositionGrid->rowCount(); ++r)
        setCell(compositionGrid, r, ColPercent, percentCells_.value(r).text, editable);
}

// --- feed grid ---

void ResultsWindow::onFeedCellSelected(int, int row)
{
    if (filling_ || row < 0 || row + 1 == currentFeed_)
        return;
    currentFeed_ = row + 1;
    showFeedDetails();
}

void ResultsWindow::onFeedCellEdited(int column, int row, const QString &text)
{
    if (row < 0 || row >= feedGrid->rowCount() || size_t(row) + 1 >= feedCells_.size())
        return;
    const QScopedValueRollback typing(typing_, true);
    setCell(feedGrid, row, column, text, feedCellEditable(column));
    CellValue *number = priceCell(feedCells_[size_t(row) + 1], column);
    if (!number)
        return;
    *number = CellValue::typed(text);
    if (text.isEmpty())
        return;
    currentFeed_ = row + 1;
    recomputePrice();
}

void ResultsWindow::recomputePrice()
{
    const int p = currentFeed_;
    if (p < 1 || p > feedCount())
        return;
    const int row = p - 1;
    PriceCells &cells = feedCells_[size_t(p)];
    const PriceRecompute result = results::recomputePrice(prices_[size_t(p)], cells, settings_);
    if (result.gran) {
        cells.gran = *result.gran;
        setCell(feedGrid, row, ColGran, cells.gran.text, true);
    }
    if (result.priceNoTax)
        setCell(feedGrid, row, ColPriceNoTax, *result.priceNoTax);
    if (result.priceWithTax)
        setCell(feedGrid, row, ColPriceWithTax, *result.priceWithTax);
    if (!result.message.isEmpty())
        message(result.message);
}

// --- composition grid ---

void ResultsWindow::onCompositionCellSelected(int, int row)
{
    if (filling_ || row < 0)
        return;
    oldPriceText_ = rawPriceCells_.value(row).text;
    oldPriceRow_ = row;
}

void ResultsWindow::onCompositionCellEdited(int column, int row, const QString &text)
{
    if (row < 0 || row >= compositionGrid->rowCount() || row >= percentCells_.size())
        return;
    const QScopedValueRollback typing(typing_, true);
    setCell(compositionGrid, row, column, text,
            column == ColPrice || (column == ColPercent && correctionMode()));
    if (column == ColPrice) {
        rawPriceCells_[row] = CellValue::typed(text);
        changePrice(row);
    } else if (column == ColPercent) {
        percentCells_[row] = CellValue::typed(text);
        checkPercent(row);
    }
}

void ResultsWindow::changePrice(int row)
{
    const QString text = rawPriceCells_[row].text;
    if (text.isEmpty() || text == oldPriceText_ || row != oldPriceRow_)
        return;
    const CellNumber &number = rawPriceCells_[row].number;
    if (!number.ok()) {
        message(QStringLiteral("Недопустимый символ в ") + QString::number(number.errorPosition) +
                QStringLiteral(" позиции цены... Исправьте..."));
        return;
    }
    const QList<int> lines = compositionLines(recipe(currentFeed_));
    if (row >= lines.size())
        return;
    const calc::RecipeLine &line = recipe(currentFeed_).lines.at(lines.at(row));
    const double price = store::round2(number.value);
    run_.recipes.setPrice(line.raw, price); // in every feed type that takes it
    setCell(compositionGrid, row, ColBatchCost, batchCostText(price, line.tonnes));

    const std::vector<double> costs = rawCosts(run_.recipes);
    const int selected = currentFeed_;
    for (int p = 1; p <= feedCount(); ++p) {
        prices_[size_t(p)].rawCost = costs[size_t(p)];
        setCell(feedGrid, p - 1, ColRawCost, fixedText(costs[size_t(p)], 13, 2));
        currentFeed_ = p;
        recomputePrice();
    }
    currentFeed_ = selected;
    oldPriceText_ = text;
}

void ResultsWindow::checkPercent(int row)
{
    if (percentCells_[row].text.isEmpty())
        return;
    const CellNumber &number = percentCells_[row].number;
    if (!number.ok())
        message(QStringLiteral("Недопустимый символ в ") + QString::number(number.errorPosition) +
                QStringLiteral(" позиции процента ввода... Исправьте..."));
}

// --- correction ---

void ResultsWindow::onCorrection()
{
    if (correctionMode())
        finishCorrection();
    else
        enterCorrection();
}

void ResultsWindow::setNormalMode(bool normal)
{
    feedGrid->setEnabled(normal);
    printRecipeButton->setEnabled(normal);
    writeToArchiveButton->setEnabled(normal);
    repeatCalculationButton->setEnabled(true);
    correctionButton->setEnabled(true);
    correctionButton->setText(normal ? kCorrect : kCorrectionDone);
}

void ResultsWindow::enterCorrection()
{
    setNormalMode(false);
    setPercentEditable(true);
}

void ResultsWindow::finishCorrection()
{
    const int p = currentFeed_;
    const CorrectionResult result = results::finishCorrection(
        recipe(p), run_.selection, percentCells_, rawPriceCells_, settings_.lossNorm);
    for (int r = 0; r < percentCells_.size(); ++r)
        setCell(compositionGrid, r, ColPercent, percentCells_.at(r).text, true);
    if (!result.ok()) {
        message(result.message);
        return;
    }
    prices_[size_t(p)].rawCost = result.rawCost;
    recomputePrice();
    setCell(feedGrid, p - 1, ColRawCost, fixedText(result.rawCost, 13, 2));
    setNormalMode(true);
    showFeedDetails();
}

// --- archive and printing ---

// The feed grid row of feed type p with its numbers read; false, said, when a cell holds
// no number.
bool ResultsWindow::readFeedGridRow(int p, archive::FeedGridRow *grid)
{
    const int row = p - 1;
    grid->type = recipe(p).type;
    grid->gk = cell(feedGrid, row, ColForm);
    grid->note = cell(feedGrid, row, ColNote);
    grid->namePrice = prices_[size_t(p)].namePrice;
    const QList<std::pair<int, double *>> numbers = {{ColCosts, &grid->izder},
                                                     {ColProfit, &grid->procprib},
                                                     {ColGran, &grid->gran},
                                                     {ColVat, &grid->nds}};
    for (const auto &[column, target] : numbers) {
        const CellNumber &n = priceCell(feedCells_[size_t(p)], column)->number;
        if (!n.ok()) {
            const QString header = feedGrid->horizontalHeaderItem(column)->text();
            message(QStringLiteral("В колонке \"%1\" не число. Рецепт в архив не записан...")
                        .arg(header));
            return false;
        }
        *target = n.value;
    }
    return true;
}

// Asks before a second write of the recipe as it was written (any edit, price or new
// computation since makes other rows) and before a write onto a number still held.
bool ResultsWindow::mayWrite(int p, const archive::FeedGridRow &grid)
{
    const std::optional<Archived> &archived = archived_[size_t(p)];
    if (archived &&
        archive::resultRecipeRows(run_.selection, recipe(p), grid, settings::currentSettings(),
                                  settings::workingDate(), archived->number) == archived->rows &&
        !confirmWriteAgain(this, archived->number))
        return false;
    bool go = false;
    widgets::runReporting([&] { go = confirmArchiveNumber(this, archive::archiveCursors(data_)); },
                          [this](const QString &text) { message(text); });
    return go;
}

void ResultsWindow::onWriteToArchive()
{
    const int p = currentFeed_;
    archive::FeedGridRow grid;
    if (p < 1 || p > feedCount() || !readFeedGridRow(p, &grid) || !mayWrite(p, grid))
        return;
    const settings::Settings &values = settings::currentSettings();
    const QDate date = settings::workingDate();
    const archive::ArchiveWriteResult written = archive::writeResultToArchive(
        archive::archiveCursors(data_), run_.selection, recipe(p), grid, values, date);
    if (!written.ok()) {
        message(written.error);
        return;
    }
    archived_[size_t(p)] =
        Archived{written.number, archive::resultRecipeRows(run_.selection, recipe(p), grid, values,
                                                           date, written.number)};
    setCell(feedGrid, p - 1, ColArchive, QString::number(written.number));
    feedGrid->setFocus();
}

void ResultsWindow::onPrintRecipe()
{
    const int p = currentFeed_;
    const bool written = p >= 1 && size_t(p) < archived_.size() && archived_[size_t(p)];
    if (!written) {
        message(QStringLiteral("Рецепт не записан в архив.  Печать отменена."));
        return;
    }
    if (openRecipeView_)
        openRecipeView_(archived_[size_t(p)]->number);
}

void ResultsWindow::onRepeatCalculation()
{
    reject();
}

void ResultsWindow::onExit()
{
    exitRequested_ = true;
    reject();
}

} // namespace results
