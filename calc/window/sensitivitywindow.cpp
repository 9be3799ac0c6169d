#include "calc/window/sensitivitywindow.h"

#include "calc/window/outcomeprint.h"
#include "platform/printerchoice.h"
#include "store/numbertext.h"
#include "store/splitline.h"
#include "widgets/message.h"
#include "widgets/windowparts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>

namespace calc
{

namespace
{

// One column of a grid: its header, its width on screen and in printed characters.
struct Column {
    QString header;
    int pixels;
    int chars;
};

const QList<Column> kRequirementColumns = {
    {QStringLiteral("Характеристика"), 170, 20}, {QStringLiteral("Граница"), 80, 8},
    {QStringLiteral("Норма"), 90, 11},           {QStringLiteral("Теневая цена"), 110, 13},
    {QStringLiteral("Норма от"), 100, 12},       {QStringLiteral("Норма до"), 100, 12}};
const QList<Column> kPriceColumns = {{QStringLiteral("Сырье"), 220, 30},
                                     {QStringLiteral("Цена"), 90, 11},
                                     {QStringLiteral("Цена от"), 110, 13},
                                     {QStringLiteral("Цена до"), 90, 11},
                                     {QStringLiteral("Используется в"), 250, 30}};
const QList<Column> kStockColumns = {{QStringLiteral("Сырье"), 220, 30},
                                     {QStringLiteral("Запас Т"), 90, 11},
                                     {QStringLiteral("Ценность 1Т"), 110, 12},
                                     {QStringLiteral("Запас от"), 100, 11},
                                     {QStringLiteral("Запас до"), 100, 11}};

// No end to the range that side.
const QString kOpenEnd = QStringLiteral("—");
// A price is never below zero: a range reaching below it keeps the recipes at any lower
// price.
const QString kNoLowerPrice = QStringLiteral("не ограничена");

QString number(double v, int decimals)
{
    return store::fixedText(v, 0, decimals);
}

QString end(const std::optional<double> &v, int decimals)
{
    return v ? number(*v, decimals) : kOpenEnd;
}

QStringList requirementCells(const RequirementFigure &f)
{
    return {f.name,
            f.side == NormSide::Min ? QStringLiteral("минимум") : QStringLiteral("максимум"),
            number(f.norm, 3),
            number(f.shadowPrice, 2),
            end(f.normFrom, 3),
            end(f.normTo, 3)};
}

// A ratio's bound among the norms of its feed type: the ratio named as the failure
// analysis names it, the bound and its range to four places, as typed in the list.
QStringList ratioCells(const RatioFigure &f)
{
    return {QStringLiteral("Соотношение ") + f.name,
            f.side == NormSide::Min ? QStringLiteral("минимум") : QStringLiteral("максимум"),
            number(f.bound, 4),
            number(f.shadowPrice, 2),
            end(f.boundFrom, 4),
            end(f.boundTo, 4)};
}

QStringList stockCells(const StockFigure &f)
{
    return {f.name, number(f.stock, 3), number(f.valuePerTonne, 2), end(f.stockFrom, 3),
            end(f.stockTo, 3)};
}

QString lowerPrice(const std::optional<double> &from)
{
    return from && *from >= 0 ? number(*from, 2) : kNoLowerPrice;
}

QStringList priceCellsOf(const PriceFigure &f, const QStringList &usedIn)
{
    return {f.name, number(f.price, 2), lowerPrice(f.priceFrom), end(f.priceTo, 2),
            usedIn.isEmpty() ? QStringLiteral("не используется")
                             : usedIn.join(QStringLiteral(", "))};
}

const QString kDegenerateNote =
    QStringLiteral("Решение вырожденное: теневые цены и границы - один из нескольких "
                   "равноправных наборов.");

const QString kAlternativeOptimaNote =
    QStringLiteral("Есть другие рецепты той же стоимости: цена в пределах диапазона не "
                   "меняет стоимость, но может сменить рецепт");

// A printed row: the first cell on the left, the others right-aligned in their widths;
// a text column at the end is wrapped in its width onto the next lines.
QStringList printedRows(const QStringList &cells, const QList<Column> &columns)
{
    QString line;
    QStringList wrapped;
    for (int c = 0; c < cells.size() && c < columns.size(); ++c) {
        const int width = columns.at(c).chars;
        if (c == 0) {
            line += store::padded(cells.at(c), width);
        } else if (c == cells.size() - 1 && width >= 30) {
            line += QStringLiteral("  ");
            wrapped = store::wrapText(cells.at(c), width);
        } else {
            line += QStringLiteral("  ") + store::rightAligned(cells.at(c), width);
        }
    }
    if (wrapped.isEmpty())
        return {line};
    QStringList rows{line + wrapped.first()};
    const QString indent(line.size(), QLatin1Char(' '));
    for (qsizetype i = 1; i < wrapped.size(); ++i)
        rows.append(indent + wrapped.at(i));
    return rows;
}

// A note under a grid, wrapped in the grid's width.
QStringList noteLines(const QString &note, const QList<Column> &columns)
{
    int width = 0;
    for (const Column &c : columns)
        width += c.chars + 2;
    return QStringList{QString()} + store::wrapText(note, width - 2);
}

QStringList headerLine(const QList<Column> &columns)
{
    QStringList headers;
    for (const Column &c : columns)
        headers.append(c.header);
    return printedRows(headers, columns);
}

// Below this a grid shows too few rows to read; the window scrolls instead.
constexpr int kGridMinimumHeight = 150;
// What a window manager's title bar and a desktop's panel may take off the screen.
constexpr int kScreenFurniture = 70;

QSize fittedSize(const QSize &wanted, const QScreen *screen)
{
    if (!screen)
        return wanted;
    const QSize room = screen->availableGeometry().size() - QSize(0, kScreenFurniture);
    return wanted.boundedTo(room);
}

QTableWidget *makeGrid(const QList<Column> &columns, QWidget *parent)
{
    auto *grid = new QTableWidget(0, int(columns.size()), parent);
    for (int c = 0; c < columns.size(); ++c) {
        grid->setHorizontalHeaderItem(c, new QTableWidgetItem(columns.at(c).header));
        grid->setColumnWidth(c, columns.at(c).pixels);
    }
    grid->verticalHeader()->setVisible(false);
    grid->verticalHeader()->setDefaultSectionSize(20);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setWordWrap(false);
    return grid;
}

// textColumns: the columns of words, left-aligned; numbers go to the right.
void fillGrid(QTableWidget *grid, const QList<QStringList> &rows, const QList<int> &textColumns)
{
    grid->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows.at(r).size(); ++c) {
            auto *item = new QTableWidgetItem(rows.at(r).at(c));
            item->setTextAlignment(Qt::AlignVCenter |
                                   (textColumns.contains(c) ? Qt::AlignLeft : Qt::AlignRight));
            item->setToolTip(rows.at(r).at(c));
            grid->setItem(r, c, item);
        }
}

} // namespace

SensitivityWindow::SensitivityWindow(const Sensitivity &figures, const QStringList &feedTypes,
                                     QWidget *parent)
    : QDialog(parent), figures_(figures), feedTypes_(feedTypes)
{
    setWindowTitle(QStringLiteral("Анализ чувствительности"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    buildLayout();
    for (int p = 1; p <= feedTypes_.size(); ++p)
        feedChoice->addItem(feedLabel(p));
    connect(feedChoice, &QComboBox::currentIndexChanged, this,
            [this](int index) { chooseFeed(index + 1); });
    fillPrices();
    fillStock();
    chooseFeed(1);
}

// The grids scroll inside the window when the screen is too low for them; the buttons
// stay under them in sight.
void SensitivityWindow::buildLayout()
{
    auto *scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto *content = new QWidget(scroll);
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *choice = new QHBoxLayout;
    choice->addWidget(widgets::makeLabel(QStringLiteral("Продукт:"), content));
    feedChoice = new QComboBox(content);
    feedChoice->setObjectName(QStringLiteral("feedChoice"));
    feedChoice->setMinimumWidth(400);
    choice->addWidget(feedChoice);
    choice->addStretch();
    layout->addLayout(choice);
    requirementsGrid = makeGrid(kRequirementColumns, content);
    pricesGrid = makeGrid(kPriceColumns, content);
    stockGrid = makeGrid(kStockColumns, content);
    pricesGrid->horizontalHeader()->setStretchLastSection(true); // the feed types using it
    widgets::nameObjects({{requirementsGrid, "requirementsGrid"},
                          {pricesGrid, "pricesGrid"},
                          {stockGrid, "stockGrid"}});
    const QList<std::pair<QTableWidget *, QString>> grids = {
        {requirementsGrid, QStringLiteral("Ограничения")},
        {pricesGrid, QStringLiteral("Цены сырья")},
        {stockGrid, QStringLiteral("Запасы")}};
    for (int g = 0; g < grids.size(); ++g) {
        QTableWidget *grid = grids.at(g).first;
        grid->setMinimumHeight(kGridMinimumHeight);
        layout->addWidget(widgets::makeLabel(grids.at(g).second, content));
        layout->addWidget(grid, g == 2 ? 2 : 3);
        if (grid == pricesGrid) {
            alternativeOptimaNote = widgets::makeLabel(kAlternativeOptimaNote, content);
            alternativeOptimaNote->setObjectName(QStringLiteral("alternativeOptimaNote"));
            alternativeOptimaNote->setWordWrap(true);
            alternativeOptimaNote->setVisible(figures_.held && figures_.alternativeOptima);
            layout->addWidget(alternativeOptimaNote);
        }
    }
    degenerateNote = widgets::makeLabel(QString(), content);
    degenerateNote->setObjectName(QStringLiteral("degenerateNote"));
    degenerateNote->setWordWrap(true);
    layout->addWidget(degenerateNote);
    scroll->setWidget(content);

    auto *buttons = new QHBoxLayout;
    printButton = widgets::makeButton(QStringLiteral("Отпечатать"), this, "printButton");
    exitButton = widgets::makeButton(QStringLiteral("Выход"), this, "exitButton");
    for (QPushButton *b : {printButton, exitButton}) {
        b->setMinimumWidth(130);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    auto *page = new QVBoxLayout(this);
    page->addWidget(scroll, 1);
    page->addLayout(buttons);
    connect(printButton, &QPushButton::clicked, this, &SensitivityWindow::onPrint);
    connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);
    resize(fittedSize(QSize(840, 880), screen()));
}

QString SensitivityWindow::feedLabel(int p) const
{
    return QStringLiteral("%1 - %2").arg(p).arg(feedTypes_.value(p - 1));
}

QStringList SensitivityWindow::requirementLines(int p) const
{
    QStringList lines;
    for (const RequirementFigure &f : figures_.requirements)
        if (f.feed == p)
            lines += printedRows(requirementCells(f), kRequirementColumns);
    for (const RatioFigure &f : figures_.ratios)
        if (f.feed == p)
            lines += printedRows(ratioCells(f), kRequirementColumns);
    return lines;
}

QStringList SensitivityWindow::usedIn(const PriceFigure &f) const
{
    QStringList names;
    for (const int p : f.feeds)
        names.append(feedTypes_.value(p - 1));
    return names;
}

void SensitivityWindow::chooseFeed(int p)
{
    if (feedChoice->currentIndex() != p - 1 && p >= 1 && p <= feedChoice->count())
        feedChoice->setCurrentIndex(p - 1); // comes back here through the signal
    QList<QStringList> rows;
    for (const RequirementFigure &f : figures_.requirements)
        if (f.feed == p)
            rows.append(requirementCells(f));
    for (const RatioFigure &f : figures_.ratios)
        if (f.feed == p)
            rows.append(ratioCells(f));
    fillGrid(requirementsGrid, rows, {ColCharacteristic, ColSide});
    degenerateNote->setText(
        !figures_.held        ? QStringLiteral("Нет решения, по которому можно оценить чувствительность.")
        : figures_.degenerate ? kDegenerateNote
                              : QString());
}

void SensitivityWindow::fillPrices()
{
    QList<QStringList> rows;
    for (const PriceFigure &f : figures_.prices)
        rows.append(priceCellsOf(f, usedIn(f)));
    fillGrid(pricesGrid, rows, {ColRaw, ColUsedIn});
}

void SensitivityWindow::fillStock()
{
    QList<QStringList> rows;
    for (const StockFigure &f : figures_.stock)
        rows.append(stockCells(f));
    fillGrid(stockGrid, rows, {ColStockRaw});
}

// The blocks follow each other on the page, so that a few norms of each feed type do
// not take a page of their own.
QList<OutcomeBlock> SensitivityWindow::printBlocks() const
{
    QList<OutcomeBlock> blocks;
    for (int p = 1; p <= feedTypes_.size(); ++p)
        blocks.append(
            {QStringLiteral("Анализ чувствительности. Ограничения продукта ") + feedLabel(p),
             headerLine(kRequirementColumns) + requirementLines(p), OutcomeBlock::Kind::Grid,
             p > 1});
    QStringList prices = headerLine(kPriceColumns);
    for (const PriceFigure &f : figures_.prices)
        prices += printedRows(priceCellsOf(f, usedIn(f)), kPriceColumns);
    if (figures_.alternativeOptima)
        prices += noteLines(kAlternativeOptimaNote, kPriceColumns);
    blocks.append({QStringLiteral("Анализ чувствительности. Цены сырья"), prices,
                   OutcomeBlock::Kind::Grid, !blocks.isEmpty()});
    QStringList stock = headerLine(kStockColumns);
    for (const StockFigure &f : figures_.stock)
        stock += printedRows(stockCells(f), kStockColumns);
    blocks.append(
        {QStringLiteral("Анализ чувствительности. Запасы"), stock, OutcomeBlock::Kind::Grid, true});
    if (figures_.degenerate)
        blocks.last().lines += noteLines(kDegenerateNote, kStockColumns);
    return blocks;
}

int SensitivityWindow::paint(QPainter *painter, const std::function<bool()> &newPage) const
{
    OutcomePrint print(painter, newPage);
    return print.draw(printBlocks());
}

void SensitivityWindow::onPrint()
{
    const platform::PrinterChoice choice =
        platform::choosePrinter(this, QStringLiteral("Анализ чувствительности"));
    if (!choice)
        return;
    platform::printWithChoice(this, choice, [this](QPrinter *printer) {
        QPainter painter;
        if (!painter.begin(printer)) {
            widgets::showMessage(this, QStringLiteral("Не удалось начать печать на принтере %1")
                                           .arg(printer->printerName()));
            return;
        }
        paint(&painter, [printer] { return printer->newPage(); });
        painter.end();
    });
}

} // namespace calc
