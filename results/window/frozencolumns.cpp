#include "results/window/frozencolumns.h"

#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>

namespace results
{

FrozenColumns::FrozenColumns(QTableView *grid, int count)
    : QObject(grid), grid_(grid), frozen_(new QTableView(grid)), count_(count)
{
    frozen_->setObjectName(grid->objectName() + QStringLiteral("Frozen"));
    frozen_->setModel(grid->model());
    frozen_->setSelectionModel(grid->selectionModel());
    frozen_->setFont(grid->font());
    frozen_->horizontalHeader()->setFont(grid->horizontalHeader()->font());
    frozen_->setFocusPolicy(Qt::NoFocus);
    frozen_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    frozen_->setSelectionMode(grid->selectionMode());
    frozen_->setWordWrap(grid->wordWrap());
    frozen_->verticalHeader()->hide();
    frozen_->verticalHeader()->setDefaultSectionSize(grid->verticalHeader()->defaultSectionSize());
    frozen_->horizontalHeader()->setHighlightSections(false);
    frozen_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollMode(grid->verticalScrollMode());
    frozen_->setFrameShape(QFrame::NoFrame);
    frozen_->setStyleSheet(QStringLiteral("QTableView { border-right: 1px solid palette(mid); }"));

    connect(grid->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int size) {
                if (column < count_) {
                    frozen_->setColumnWidth(column, size);
                    placeOverGrid();
                }
            });
    connect(grid->verticalHeader(), &QHeaderView::sectionResized, this,
            [this](int row, int, int size) { frozen_->setRowHeight(row, size); });
    connect(grid->verticalScrollBar(), &QScrollBar::valueChanged, frozen_->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(frozen_->verticalScrollBar(), &QScrollBar::valueChanged, grid->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(grid->model(), &QAbstractItemModel::columnsInserted, this, &FrozenColumns::showColumns);
    connect(grid->model(), &QAbstractItemModel::modelReset, this, &FrozenColumns::showColumns);
    // A QTableWidget deletes its headers before its model, and the model resets as it
    // goes: by then the grid is half destroyed and must not be measured.
    connect(grid->horizontalHeader(), &QObject::destroyed, this,
            [this] { disconnect(grid_->model(), nullptr, this, nullptr); });
    grid->installEventFilter(this);
    frozen_->viewport()->installEventFilter(this);
    showColumns();
    frozen_->show();
}

void FrozenColumns::showColumns()
{
    const int columns = grid_->model()->columnCount();
    for (int c = 0; c < columns; ++c) {
        frozen_->setColumnHidden(c, c >= count_);
        if (c < count_)
            frozen_->setColumnWidth(c, grid_->columnWidth(c));
    }
    placeOverGrid();
}

// Over the grid's frozen columns, from the top of its header to the bottom of its rows.
void FrozenColumns::placeOverGrid()
{
    int width = 0;
    for (int c = 0; c < count_; ++c)
        width += grid_->columnWidth(c);
    const int frame = grid_->frameWidth();
    const int left =
        frame + (grid_->verticalHeader()->isVisible() ? grid_->verticalHeader()->width() : 0);
    frozen_->setGeometry(left, frame, width,
                         grid_->viewport()->height() + grid_->horizontalHeader()->height());
    frozen_->verticalScrollBar()->setValue(grid_->verticalScrollBar()->value());
}

// The grid's column the user is looking at: its current one when that is not frozen,
// else the one just right of the frozen columns.
int FrozenColumns::columnInView() const
{
    const int current = grid_->currentIndex().column();
    if (current >= count_)
        return current;
    const int c = grid_->columnAt(frozen_->width());
    return c >= count_ ? c : count_;
}

bool FrozenColumns::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == grid_ && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        placeOverGrid();
    // A click on a frozen cell chooses its row, in the column the grid shows, so that the
    // grid does not jump back to its left edge.
    if (watched == frozen_->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto *press = static_cast<QMouseEvent *>(event);
        const int row = frozen_->rowAt(press->position().toPoint().y());
        if (row >= 0) {
            QScrollBar *across = grid_->horizontalScrollBar();
            const int scrolled = across->value();
            grid_->setCurrentIndex(grid_->model()->index(row, columnInView()));
            across->setValue(scrolled);
            grid_->setFocus(Qt::MouseFocusReason);
        }
        return true;
    }
    if (watched == frozen_->viewport() &&
        (event->type() == QEvent::MouseButtonDblClick ||
         event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseMove))
        return true;
    return QObject::eventFilter(watched, event);
}

} // namespace results
