#include "results/window/mixwindow.h"

#include "archive/mixarchivewriter.h"
#include "results/cellnumber.h"
#include "results/mixsource.h"
#include "results/window/archivequestions.h"
#include "results/window/celleditor.h"
#include "settings/settings.h"
#include "settings/workingdate.h"
#include "store/datamodule.h"
#include "store/numbertext.h"
#include "store/table.h"
#include "widgets/message.h"
#include "widgets/tablegrid.h"
#include "widgets/windowparts.h"

#include <QButtonGroup>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QShowEvent>
#include <QTableWidget>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace results
{

namespace
{

const QString kArchivePrefix = QStringLiteral("Арх.  № ");
constexpr int kProductLength = 37;
constexpr int kLeft = 4;
const QColor kOutOfNormBackground(255, 214, 120); // amber: a level outside its norms

// Every value the archive rows of a mix are made of.
bool sameMixRecipe(const archive::MixRecipe &a, const archive::MixRecipe &b)
{
    const auto head = [](const archive::MixRecipe &r) {
        return std::tie(r.product, r.standard, r.purpose, r.note, r.volume, r.taxRate,
                        r.formLetter);
    };
    const auto line = [](const archive::MixRecipe::Line &l) {
        return std::tie(l.name, l.percent, l.price, l.premix, l.contents);
    };
    const auto row = [](const archive::MixRecipe::Characteristic &c) {
        return std::tie(c.name, c.unit, c.minimum, c.maximum, c.fact, c.marked);
    };
    return head(a) == head(b) &&
           std::equal(a.lines.begin(), a.lines.end(), b.lines.begin(), b.lines.end(),
                      [&](const auto &x, const auto &y) { return line(x) == line(y); }) &&
           std::equal(a.characteristics.begin(), a.characteristics.end(), b.characteristics.begin(),
                      b.characteristics.end(),
                      [&](const auto &x, const auto &y) { return row(x) == row(y); });
}

QLabel *caption(const QString &text, QWidget *parent, const QRect &geometry)
{
    QLabel *label = widgets::makeLabel(text, parent);
    label->setGeometry(geometry);
    return label;
}

QLineEdit *lineEdit(QWidget *parent, const QRect &geometry, int maxLength = 32767)
{
    auto *edit = new QLineEdit(parent);
    edit->setGeometry(geometry);
    edit->setMaxLength(maxLength);
    return edit;
}

// A number field with a fixed decimal point: in Qt's masks "0" is a digit that may be
// left blank.
QLineEdit *maskedEdit(QWidget *parent, const QRect &geometry, const QString &mask)
{
    QLineEdit *edit = lineEdit(parent, geometry);
    edit->setInputMask(mask);
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

// The mask's places for a number with the given decimals, widened for a longer text.
QString numberMask(const QString &text, int integerPlaces, int decimals)
{
    const int point = text.indexOf(QLatin1Char('.'));
    const int places = std::max(integerPlaces, point < 0 ? int(text.size()) : point);
    return QString(places, QLatin1Char('0')) + QLatin1Char('.') +
           QString(decimals, QLatin1Char('0'));
}

void setMaskedNumber(QLineEdit *edit, double value, int integerPlaces, int decimals)
{
    if (!edit->text().contains(QRegularExpression(QStringLiteral("[0-9]"))) && value == 0) {
        edit->clear(); // left empty: nothing to overtype
        return;
    }
    const QString text = store::fixedText(value, integerPlaces + 1 + decimals, decimals);
    edit->setInputMask(numberMask(text.trimmed(), integerPlaces, decimals));
    edit->setText(text);
}

// The input column of the raw-material grid: the window's inputs of one mode, found by
// the raw material's key.
class InputColumn final : public widgets::KeptNumbers
{
public:
    InputColumn(MixInputs &inputs, MixMode mode) : inputs_(inputs), mode_(mode) {}

    store::FieldDef format() const override { return mixInputFormat(mode_); }
    QVariant number(const QVariant &key) const override
    {
        const double input = inputs_.input(kods(key), mode_);
        return input == 0 ? QVariant() : QVariant(input);
    }
    void setNumber(const QVariant &key, const QVariant &number) override
    {
        inputs_.setInput(kods(key), mode_, number.toDouble());
    }

private:
    // as sir.integer("kods") reads it
    static int kods(const QVariant &key) { return int(std::lround(key.toDouble())); }

    MixInputs &inputs_;
    MixMode mode_;
};

} // namespace

MixWindow::MixWindow(store::DataModule &data, QWidget *parent)
    : QDialog(parent), data_(data),
      percentColumn_(std::make_unique<InputColumn>(inputs_, MixMode::Percent)),
      massColumn_(std::make_unique<InputColumn>(inputs_, MixMode::Mass))
{
    setObjectName(QStringLiteral("mixWindow"));
    setWindowTitle(QStringLiteral("Расчет характеристик смеси"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    sink_ = [this](const QString &text) { widgets::showMessage(this, text); };
    buildLayout();
    setFixedSize(800, 600);
}

MixWindow::~MixWindow() = default;

void MixWindow::setProductChooser(std::function<void()> choose)
{
    chooseProduct_ = std::move(choose);
}

void MixWindow::setRecipePrinter(std::function<void(int)> print)
{
    printRecipe_ = std::move(print);
}

void MixWindow::setMessageSink(MessageSink sink)
{
    sink_ = std::move(sink);
}

void MixWindow::message(const QString &text)
{
    if (sink_)
        sink_(text);
}

bool MixWindow::runReporting(const std::function<void()> &operation)
{
    return widgets::runReporting(operation, [this](const QString &text) { message(text); });
}

MixMode MixWindow::mode() const
{
    return massButton->isChecked() ? MixMode::Mass : MixMode::Percent;
}

ProductForm MixWindow::productForm() const
{
    if (crumbsButton->isChecked())
        return ProductForm::Crumbs;
    if (looseButton->isChecked())
        return ProductForm::Loose;
    return ProductForm::Granules;
}

QRadioButton *MixWindow::formButton(ProductForm form) const
{
    switch (form) {
    case ProductForm::Granules:
        return granulesButton;
    case ProductForm::Crumbs:
        return crumbsButton;
    case ProductForm::Loose:
        break;
    }
    return looseButton;
}

// --- layout ---

void MixWindow::buildLayout()
{
    rawMaterialsGrid = new widgets::TableGrid(&data_.rawMaterials, {}, this);
    rawMaterialsGrid->setObjectName(QStringLiteral("rawMaterialsGrid"));
    rawMaterialsGrid->setGeometry(kLeft, 4, 357, 333);
    rawMaterialsGrid->setReadOnly(false);
    rawMaterialsGrid->verticalHeader()->hide();
    bindInputColumn(MixMode::Percent, false);
    // A typed input the grid cannot store is refused by the grid itself, once the edit
    // is over (a box under the editor's commit would let the grid delete the editor).

    characteristicsGrid = new QTableWidget(0, ColumnCount, this);
    characteristicsGrid->setObjectName(QStringLiteral("characteristicsGrid"));
    characteristicsGrid->setGeometry(367, 4, 413, 313);
    // the compact size of the window's columns; numbers drawn without their leading blanks
    QFont font = characteristicsGrid->font();
    font.setPointSizeF(std::min(font.pointSizeF(), 8.0));
    characteristicsGrid->setFont(font);
    characteristicsGrid->horizontalHeader()->setFont(font);
    auto *editor = new CellEditor(characteristicsGrid);
    characteristicsGrid->setItemDelegate(editor);
    connect(editor, &CellEditor::textEdited, this,
            [this](int column, int row, const QString &text) { setCell(row, column, text); });
    // a norm typed into the grid, by the editor or otherwise, is read once, as it changes
    connect(characteristicsGrid, &QTableWidget::itemChanged, this, &MixWindow::numberEdited);
    characteristicsGrid->setHorizontalHeaderLabels(
        {QStringLiteral("Характеристики смеси"), QStringLiteral("Ед.изм."),
         mixColumnTitle(MixNumberColumn::Minimum), mixColumnTitle(MixNumberColumn::Fact),
         mixColumnTitle(MixNumberColumn::Maximum)});
    const int widths[] = {141, 56, 62, 64, 64};
    for (int c = 0; c < ColumnCount; ++c)
        characteristicsGrid->setColumnWidth(c, widths[c]);
    characteristicsGrid->horizontalHeader()->setStretchLastSection(true);
    characteristicsGrid->verticalHeader()->hide();
    characteristicsGrid->verticalHeader()->setDefaultSectionSize(
        characteristicsGrid->fontMetrics().height() + 4);
    characteristicsGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    characteristicsGrid->setWordWrap(false);
    QLabel *legend =
        caption(QStringLiteral("Красные — к печати и в архив;   ↓ ниже нормы,  ↑ выше нормы"), this,
                {369, 318, 411, 18});
    legend->setFont(font);

    buildFields();
    buildChoices();
    buildButtons();
}

void MixWindow::buildFields()
{
    caption(QStringLiteral("Продукция"), this, {kLeft, 346, 70, 22});
    productField = lineEdit(this, {76, 344, 250, 24}, kProductLength);
    caption(QStringLiteral("Стандарт"), this, {336, 346, 60, 22});
    standardField = lineEdit(this, {398, 344, 140, 24}, 15);
    caption(QStringLiteral("Налог%"), this, {548, 346, 50, 22});
    taxField = maskedEdit(this, {600, 344, 50, 24}, QStringLiteral("00.0"));

    caption(QStringLiteral("Назначение продукции"), this, {kLeft, 374, 160, 22});
    purposeField = lineEdit(this, {166, 372, 614, 24}, 123);

    caption(QStringLiteral("Объем выработки"), this, {kLeft, 402, 120, 22});
    volumeField = maskedEdit(this, {126, 400, 100, 24}, QStringLiteral("000000.000"));
    priceLabel = caption(QString(), this, {236, 402, 300, 22});
    archiveNumberLabel = caption(QStringLiteral("Арх.№"), this, {540, 402, 110, 22});
    fillerLabel = caption(QString(), this, {652, 402, 140, 22});
    fillerLabel->hide();
    for (QLabel *label : {priceLabel, archiveNumberLabel, fillerLabel}) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }

    caption(QStringLiteral("Примечание"), this, {kLeft, 430, 80, 22});
    noteField = lineEdit(this, {86, 428, 694, 24});

    widgets::nameObjects({{productField, "productField"},
                          {standardField, "standardField"},
                          {purposeField, "purposeField"},
                          {noteField, "noteField"},
                          {taxField, "taxField"},
                          {volumeField, "volumeField"},
                          {priceLabel, "priceLabel"},
                          {archiveNumberLabel, "archiveNumberLabel"},
                          {fillerLabel, "fillerLabel"}});
    // a typed "2.5" stands as "2 .5": once the field is left it shows " 2.5" again
    connect(taxField, &QLineEdit::editingFinished, this,
            [this] { setMaskedNumber(taxField, fieldNumber(taxField), 2, 1); });
    connect(volumeField, &QLineEdit::editingFinished, this,
            [this] { setMaskedNumber(volumeField, fieldNumber(volumeField), 6, 3); });
}

void MixWindow::buildChoices()
{
    auto radio = [this](const QString &text, const QRect &geometry, QButtonGroup *group) {
        auto *button = new QRadioButton(text, this);
        button->setGeometry(geometry);
        group->addButton(button);
        return button;
    };
    auto *list = new QButtonGroup(this);
    selectedListButton =
        radio(QStringLiteral("Список отобранного сырья"), {kLeft, 458, 200, 22}, list);
    fullListButton = radio(QStringLiteral("Полный список сырья"), {kLeft, 480, 200, 22}, list);
    auto *modes = new QButtonGroup(this);
    percentButton = radio(QStringLiteral("По проценту ввода"), {212, 458, 170, 22}, modes);
    massButton = radio(QStringLiteral("По массе сырья"), {212, 480, 170, 22}, modes);
    caption(QStringLiteral("Укажите вид продукта"), this, {400, 458, 180, 18});
    caption(QStringLiteral("для учета в цене и      -->"), this, {400, 474, 180, 18});
    caption(QStringLiteral("наименовании рецепта"), this, {400, 490, 180, 18});
    auto *forms = new QButtonGroup(this);
    granulesButton = radio(QStringLiteral("Гранулы"), {590, 456, 100, 18}, forms);
    crumbsButton = radio(QStringLiteral("Крупка"), {590, 474, 100, 18}, forms);
    looseButton = radio(QStringLiteral("Россыпь"), {590, 492, 100, 18}, forms);
    widgets::nameObjects({{selectedListButton, "selectedListButton"},
                          {fullListButton, "fullListButton"},
                          {percentButton, "percentButton"},
                          {massButton, "massButton"},
                          {granulesButton, "granulesButton"},
                          {crumbsButton, "crumbsButton"},
                          {looseButton, "looseButton"}});

    connect(selectedListButton, &QRadioButton::clicked, this, &MixWindow::onSelectedList);
    connect(fullListButton, &QRadioButton::clicked, this, &MixWindow::onFullList);
    connect(percentButton, &QRadioButton::clicked, this, [this] { switchMode(MixMode::Percent); });
    connect(massButton, &QRadioButton::clicked, this, [this] { switchMode(MixMode::Mass); });
}

void MixWindow::buildButtons()
{
    toggleMarkButton = widgets::makeButton(QStringLiteral("Отбор характеристики к печати"), this,
                                           "toggleMarkButton");
    markAllButton =
        widgets::makeButton(QStringLiteral("Отобрать все характеристики"), this, "markAllButton");
    unmarkAllButton =
        widgets::makeButton(QStringLiteral("Отменить весь отбор"), this, "unmarkAllButton");
    chooseProductButton =
        widgets::makeButton(QStringLiteral("Выбрать продукт"), this, "chooseProductButton");
    computeButton =
        widgets::makeButton(QStringLiteral("Подсчитать характеристики"), this, "computeButton");
    recomputeButton = widgets::makeButton(QStringLiteral("Перерасчет"), this, "recomputeButton");
    printRecipeButton =
        widgets::makeButton(QStringLiteral("Печатать рецепт"), this, "printRecipeButton");
    writeToArchiveButton =
        widgets::makeButton(QStringLiteral("Записать в архив"), this, "writeToArchiveButton");
    exitButton = widgets::makeButton(QStringLiteral("Выход"), this, "exitButton");
    // two rows: the characteristic marks and the product on top, the mix below
    QPushButton *const row[] = {toggleMarkButton,    markAllButton,        unmarkAllButton,
                                chooseProductButton, computeButton,        recomputeButton,
                                printRecipeButton,   writeToArchiveButton, exitButton};
    const QRect places[] = {{kLeft, 522, 220, 30}, {228, 522, 210, 30},   {442, 522, 170, 30},
                            {616, 522, 164, 30},   {kLeft, 558, 220, 30}, {228, 558, 130, 30},
                            {362, 558, 150, 30},   {516, 558, 150, 30},   {670, 558, 110, 30}};
    for (std::size_t i = 0; i < std::size(row); ++i)
        row[i]->setGeometry(places[i]);
    chooseProductButton->setToolTip(
        QStringLiteral("Откроется список типов комбикормов: встаньте на нужный "
                       "продукт и нажмите «Выход». Его нормы встанут в колонки "
                       "«Минимум» и «Максимум»."));
    connect(toggleMarkButton, &QPushButton::clicked, this, &MixWindow::onToggleMark);
    connect(markAllButton, &QPushButton::clicked, this, &MixWindow::onMarkAll);
    connect(unmarkAllButton, &QPushButton::clicked, this, &MixWindow::onUnmarkAll);
    connect(chooseProductButton, &QPushButton::clicked, this, &MixWindow::onChooseProduct);
    connect(computeButton, &QPushButton::clicked, this, &MixWindow::onCompute);
    connect(recomputeButton, &QPushButton::clicked, this, &MixWindow::onRecompute);
    connect(printRecipeButton, &QPushButton::clicked, this, &MixWindow::onPrintRecipe);
    connect(writeToArchiveButton, &QPushButton::clicked, this, &MixWindow::onWriteToArchive);
    connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);
}

// --- the characteristics grid ---

void MixWindow::setCell(int row, int column, const QString &text)
{
    QTableWidgetItem *item = characteristicsGrid->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        characteristicsGrid->setItem(row, column, item);
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (column == ColMinimum || column == ColMaximum)
        flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    if (column != ColName && column != ColUnit)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    item->setText(text);
}

// The number a norm or level cell stands for; null for the name and unit cells.
CellValue *MixWindow::numberCell(int row, int column)
{
    if (row < 0 || row >= cells_.size())
        return nullptr;
    MixCells &cells = cells_[row];
    switch (column) {
    case ColMinimum:
        return &cells.minimum;
    case ColFact:
        return &cells.fact;
    case ColMaximum:
        return &cells.maximum;
    default:
        return nullptr;
    }
}

// The window writes a number cell together with the number its text shows; the number
// goes in last, over what the cell's change notices took for typing.
void MixWindow::writeNumber(int row, int column, const CellValue &value)
{
    setCell(row, column, value.text);
    if (CellValue *number = numberCell(row, column))
        *number = value;
    markDeviation(row);
}

// A text the window did not write is a typed norm (only the norms can be typed into); the
// level's mark follows it.
void MixWindow::numberEdited(QTableWidgetItem *item)
{
    if (item->column() != ColMinimum && item->column() != ColMaximum)
        return;
    CellValue *number = numberCell(item->row(), item->column());
    if (!number || item->text() == number->text)
        return;
    *number = typedNormCell(item->text());
    markDeviation(item->row());
}

// A level outside the row's norms: the "Факт" cell on a shaded background, with an arrow
// beside the figure. Red is taken: it marks the rows selected for printing.
void MixWindow::markDeviation(int row)
{
    QTableWidgetItem *item = characteristicsGrid->item(row, ColFact);
    if (!item || row >= cells_.size())
        return;
    const MixCells &cells = cells_.at(row);
    // the price row's level is the raw-material price, not the selling price its norms bound
    const NormDeviation deviation = row == 0 ? NormDeviation::Within : normDeviation(cells);
    QString text = cells.fact.text;
    QString tip;
    if (deviation == NormDeviation::BelowMinimum) {
        text = QStringLiteral("↓ ") + text.trimmed();
        tip = QStringLiteral("Ниже минимума ") + cells.minimum.text.trimmed();
    } else if (deviation == NormDeviation::AboveMaximum) {
        text = QStringLiteral("↑ ") + text.trimmed();
        tip = QStringLiteral("Выше максимума ") + cells.maximum.text.trimmed();
    }
    const bool outside = deviation != NormDeviation::Within;
    item->setText(text);
    item->setToolTip(tip);
    item->setBackground(outside ? QBrush(kOutOfNormBackground) : QBrush());
}

// Red means marked for printing and for the archive.
void MixWindow::setRowSelected(int row, bool selected)
{
    if (row < 0 || row >= selected_.size())
        return;
    selected_[row] = selected;
    const QBrush brush = selected ? QBrush(Qt::red) : characteristicsGrid->palette().text();
    for (int c = 0; c < ColumnCount; ++c)
        if (QTableWidgetItem *item = characteristicsGrid->item(row, c))
            item->setForeground(brush);
}

// One row per characteristic; the norms of the product chosen last stay.
void MixWindow::buildCharacteristicRows()
{
    rows_ = readMixCharacteristics(data_.characteristics);
    const QList<MixCells> old = cells_;
    cells_ = QList<MixCells>(rows_.size());
    characteristicsGrid->setRowCount(int(rows_.size()));
    selected_ = QList<bool>(rows_.size(), false);
    for (int m = 0; m < rows_.size(); ++m) {
        setCell(m, ColName, rows_.at(m).name);
        setCell(m, ColUnit, rows_.at(m).unit);
        writeNumber(m, ColFact, {});
        writeNumber(m, ColMinimum, old.value(m).minimum);
        writeNumber(m, ColMaximum, old.value(m).maximum);
        setRowSelected(m, false);
    }
}

// --- inputs ---

void MixWindow::bindInputColumn(MixMode mode, bool readOnly)
{
    const bool percent = mode == MixMode::Percent;
    rawMaterialsGrid->setColumns(
        {{QStringLiteral("NAIM"), QStringLiteral("Наименование сырья"), 185, -1, true},
         {QStringLiteral("MI1"), QStringLiteral("Цена 1т"), 76, 2},
         {QStringLiteral("kods"),
          percent ? QStringLiteral("% ввода") : QStringLiteral("Масса ввода"), 73, -1, readOnly,
          false, percent ? percentColumn_.get() : massColumn_.get()}});
}

// After a computation without filler the inputs stand still until "Перерасчет".
void MixWindow::setInputsLocked(bool locked)
{
    bindInputColumn(mode(), locked);
    taxField->setReadOnly(locked);
    productField->setReadOnly(locked);
    for (ProductForm form : {ProductForm::Granules, ProductForm::Crumbs, ProductForm::Loose})
        formButton(form)->setEnabled(!locked);
    writeToArchiveButton->setEnabled(locked);
    recomputeButton->setEnabled(locked);
}

double MixWindow::fieldNumber(const QLineEdit *field) const
{
    QString text = field->text();
    text.remove(QLatin1Char(' '));
    if (text.isEmpty() || text == QLatin1String("."))
        return 0;
    return readCellNumber(text).value;
}

void MixWindow::clearLabels()
{
    fillerLabel->clear();
    priceLabel->clear();
    archiveNumberLabel->clear();
    archived_.reset();
}

void MixWindow::removeOldPrice()
{
    if (lastNamePrice_.isEmpty())
        return;
    const QString product = productWithoutPrice(productField->text(), lastNamePrice_);
    if (product != productField->text()) {
        productField->setMaxLength(kProductLength);
        productField->setText(product);
        lastNamePrice_.clear();
    }
}

// --- events ---

void MixWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        onActivate();
}

void MixWindow::onActivate()
{
    granulesButton->setChecked(true);
    for (QLineEdit *field : {noteField, volumeField, standardField, productField, purposeField})
        field->clear();
    productField->setMaxLength(kProductLength);
    setMaskedNumber(taxField, settings::currentSettings().taxRate, 2, 1);
    lastNamePrice_.clear();
    result_ = MixResult();
    fillerLabel->hide();
    clearLabels();
    selectedListButton->setChecked(true);
    percentButton->setChecked(true);
    setInputsLocked(false);
    inputs_.clear();
    runReporting([this] {
        buildCharacteristicRows();
        listMixRawMaterials(data_.rawMaterials, true);
    });
    rawMaterialsGrid->viewport()->update();
    rawMaterialsGrid->followCursor();
    rawMaterialsGrid->setFocus();
}

void MixWindow::done(int result)
{
    rawMaterialsGrid->commitEdit();
    runReporting([this] { listMixRawMaterials(data_.rawMaterials, false); });
    QDialog::done(result);
}

void MixWindow::onSelectedList()
{
    runReporting([this] { listMixRawMaterials(data_.rawMaterials, true); });
}

void MixWindow::onFullList()
{
    runReporting([this] { listMixRawMaterials(data_.rawMaterials, false); });
}

void MixWindow::switchMode(MixMode mode)
{
    rawMaterialsGrid->commitEdit();
    (mode == MixMode::Mass ? massButton : percentButton)->setChecked(true);
    removeOldPrice();
    setInputsLocked(false);
    clearLabels();
}

void MixWindow::onToggleMark()
{
    const int row = characteristicsGrid->currentRow();
    setRowSelected(row, !selected_.value(row));
}

void MixWindow::onMarkAll()
{
    for (int m = 0; m < selected_.size(); ++m)
        setRowSelected(m, true);
}

void MixWindow::onUnmarkAll()
{
    for (int m = 0; m < selected_.size(); ++m)
        setRowSelected(m, false);
}

// The feed types window leaves sir filtered its own way: the list goes back as it was.
void MixWindow::onChooseProduct()
{
    rawMaterialsGrid->commitEdit();
    setInputsLocked(false);
    if (chooseProduct_)
        chooseProduct_();
    runReporting(
        [this] { listMixRawMaterials(data_.rawMaterials, selectedListButton->isChecked()); });
    rawMaterialsGrid->followCursor();
    const ProductNorms product = readProductNorms(data_.feedTypes, rows_);
    if (product.type.isEmpty() && product.norms.isEmpty())
        return;
    productField->setMaxLength(kProductLength);
    productField->setText(product.type);
    purposeField->setText(product.purpose);
    standardField->setText(product.standard);
    lastNamePrice_.clear();
    for (int m = 0; m < rows_.size(); ++m) {
        const auto [minimum, maximum] = product.norms.value(m);
        writeNumber(m, ColMinimum, normCell(minimum));
        writeNumber(m, ColMaximum, normCell(maximum));
        writeNumber(m, ColFact, {});
        setRowSelected(m, product.marked(m));
    }
    clearLabels();
}

void MixWindow::onCompute()
{
    rawMaterialsGrid->commitEdit();
    fillerLabel->hide();
    MixInput input;
    input.mode = mode();
    input.volume = fieldNumber(volumeField);
    input.characteristics = rows_;
    input.taxRate = fieldNumber(taxField);
    setMaskedNumber(taxField, input.taxRate, 2, 1);
    setMaskedNumber(volumeField, input.volume, 6, 3);
    input.form = productForm();
    if (!runReporting([this, &input] {
            input.lines = readMixLines(data_.rawMaterials, inputs_, input.mode);
        }))
        return;
    rawMaterialsGrid->followCursor();
    MixResult result = computeMix(input, settings::currentSettings());
    if (input.mode == MixMode::Mass && result.refusal != MixRefusal::NegativeInput)
        setMaskedNumber(volumeField, result.total, 6, 3);
    if (!result.ok()) {
        message(result.error);
        rawMaterialsGrid->setFocus();
        return;
    }
    result_ = std::move(result);
    showResult();
}

void MixWindow::showResult()
{
    // New figures are no archived recipe yet: printing must not hand over the one written
    // before "Перерасчет" under the number the label still showed.
    archiveNumberLabel->clear();
    archived_.reset();
    if (result_.fillerAdded) {
        message(result_.fillerMessage);
        fillerLabel->setText(result_.fillerLabel);
        fillerLabel->show();
    }
    for (int m = 0; m < result_.facts.size(); ++m)
        writeNumber(m, ColFact, result_.facts.at(m));
    removeOldPrice();
    priceLabel->setText(result_.price.label);
    lastNamePrice_ = result_.price.nameText;
    const QString product = productWithPrice(productField->text(), lastNamePrice_);
    // the price must not be cut off the name by the field's length
    productField->setMaxLength(std::max(kProductLength, int(product.size())));
    productField->setText(product);
    setInputsLocked(result_.archivable());
}

void MixWindow::onRecompute()
{
    setInputsLocked(false);
}

void MixWindow::onPrintRecipe()
{
    if (!archived_) {
        message(QStringLiteral("Рецепт не записан в архив. Печать отменена..."));
        return;
    }
    if (printRecipe_)
        printRecipe_(*archived_);
}

void MixWindow::onWriteToArchive()
{
    if (!result_.archivable())
        return;
    archive::MixRecipe recipe;
    recipe.product = productField->text();
    recipe.standard = standardField->text();
    recipe.purpose = purposeField->text();
    recipe.note = noteField->text();
    recipe.volume = fieldNumber(volumeField);
    recipe.taxRate = fieldNumber(taxField);
    recipe.formLetter = productFormLetter(productForm());
    for (const MixLine &line : result_.lines) {
        archive::MixRecipe::Line archived{line.name, line.percent, line.price, line.premix, {}};
        for (const MixCharacteristic &row : rows_)
            archived.contents.append(line.content(row.key));
        recipe.lines.append(archived);
    }
    MixArchiveRows characteristics = archivedCharacteristics(rows_, cells_, selected_);
    if (!characteristics.ok()) {
        message(characteristics.error);
        return;
    }
    recipe.characteristics = std::move(characteristics.rows);
    if (!mayWrite(recipe))
        return;
    const archive::ArchiveWriteResult written =
        archive::writeMixToArchive(archive::archiveCursors(data_), recipe,
                                   settings::currentSettings(), settings::workingDate());
    if (!written.ok()) {
        message(written.error);
        return;
    }
    archived_ = written.number;
    archivedRecipe_ = recipe;
    archiveNumberLabel->setText(kArchivePrefix +
                                archive::mixNumberText(written.number, recipe.formLetter));
    characteristicsGrid->setFocus();
}

// Asks before a second write of the mix as it was written (a new computation empties
// archived_) and before a write onto a number still held.
bool MixWindow::mayWrite(const archive::MixRecipe &recipe)
{
    if (archived_ && sameMixRecipe(recipe, archivedRecipe_) && !confirmWriteAgain(this, *archived_))
        return false;
    bool go = false;
    runReporting([&] { go = confirmArchiveNumber(this, archive::archiveCursors(data_)); });
    return go;
}

} // namespace results
