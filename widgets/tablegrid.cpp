#include "widgets/tablegrid.h"

#include "widgets/editmessage.h"
#include "widgets/fieldtext.h"
#include "widgets/message.h"

#include "store/fieldproblem.h"
#include "store/table.h"
#include "store/unreadablenumber.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>

namespace widgets
{

namespace
{

// Keeps a flagged row's colour when the row is selected, and limits typing in a text
// cell to the width of its field.
class GridDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QVariant foreground = index.data(Qt::ForegroundRole);
        if (foreground.isValid())
            option->palette.setBrush(QPalette::HighlightedText, foreground.value<QBrush>());
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        const int width = index.data(Qt::UserRole).toInt();
        if (auto *line = qobject_cast<QLineEdit *>(editor); line && width > 0)
            line->setMaxLength(width);
        return editor;
    }
};

} // namespace

TableGridModel::TableGridModel(store::Table *table, QList<GridColumn> columns, QObject *parent)
    : QAbstractTableModel(parent), table_(table), columns_(std::move(columns))
{
    connect(table, &store::Table::viewChanged, this, &TableGridModel::onViewChanged);
    connect(table, &store::Table::recordChanged, this, &TableGridModel::onRecordChanged);
    connect(table, &store::Table::afterScroll, this, &TableGridModel::onAfterScroll);
    connect(table, &store::Table::dataSourceToggled, this, &TableGridModel::onDataSourceToggled);
    refresh();
}

void TableGridModel::setColumns(QList<GridColumn> columns)
{
    columns_ = std::move(columns);
    refresh();
}

void TableGridModel::setColumn(int column, const GridColumn &definition)
{
    if (column < 0 || column >= columns_.size())
        return;
    columns_[column] = definition;
    refresh();
}

void TableGridModel::setReadOnly(bool readOnly)
{
    if (readOnly_ == readOnly)
        return;
    readOnly_ = readOnly;
    if (rows_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1), {});
}

void TableGridModel::setRowFlag(const QString &field, const QString &value, const QColor &color)
{
    flagField_ = field;
    flagValue_ = value;
    flagColor_ = color;
    refresh();
}

void TableGridModel::refresh()
{
    beginResetModel();
    const bool open = table_->isOpen();
    rows_ = open ? table_->viewCount() : 0;
    stale_ = false;
    moved_ = false;
    fieldIndexes_.clear();
    for (const GridColumn &column : std::as_const(columns_))
        fieldIndexes_.append(open ? table_->fieldIndex(column.field) : -1);
    endResetModel();
    emit cursorRowChanged(open ? table_->viewPosition() : -1);
}

int TableGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int TableGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant TableGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows_ || index.column() >= columns_.size())
        return {};
    if (!table_->isOpen() || index.row() >= table_->viewCount())
        return {};
    const int field = fieldIndexes_.value(index.column(), -1);
    if (field < 0)
        return {};
    const GridColumn &column = columns_.at(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return fieldDisplayText(cellValue(index.row(), index.column()), column.decimals);
    case Qt::ForegroundRole:
        return isFlagged(index.row()) ? QVariant(flagColor_) : QVariant();
    case Qt::BackgroundRole: // a number that cannot be read stands out
        return store::isUnreadableNumber(cellValue(index.row(), index.column()))
                   ? QVariant(QColor(255, 200, 200))
                   : QVariant();
    case Qt::ToolTipRole:
        return unreadableHint(cellValue(index.row(), index.column()));
    case Qt::TextAlignmentRole: {
        const bool numeric = isNumericField(cellFormat(index.column()));
        return int((numeric ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    case Qt::UserRole: { // the width an edited text may take
        const store::FieldDef def = cellFormat(index.column());
        return def.type == 'C' ? def.width : 0;
    }
    default:
        return {};
    }
}

QVariant TableGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return section < columns_.size() ? columns_.at(section).caption : QString();
}

Qt::ItemFlags TableGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!readOnly_ && !columns_.at(index.column()).readOnly)
        result |= Qt::ItemIsEditable;
    return result;
}

bool TableGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable) || !live())
        return false;
    if (index.row() >= table_->viewCount() || fieldIndexes_.value(index.column(), -1) < 0)
        return false;
    QString error;
    const store::FieldDef def = cellFormat(index.column());
    const QVariant stored = fieldInput(def, value.toString(), &error);
    if (error.isEmpty())
        error = refusal(index, def, stored);
    if (!error.isEmpty()) {
        emit editFailed(error);
        return false;
    }
    if (KeptNumbers *kept = columns_.at(index.column()).kept) {
        kept->setNumber(table_->valueAt(index.row(), fieldIndexes_.at(index.column())), stored);
        emit dataChanged(index, index);
        return true;
    }
    try {
        if (table_->viewPosition() != index.row())
            table_->moveTo(index.row());
        table_->setValue(columns_.at(index.column()).field, stored);
        table_->post();
    } catch (const store::TableError &e) {
        try {
            table_->cancel();
        } catch (const store::TableError &) {
        }
        emit editFailed(e.message());
        return false;
    }
    emit dataChanged(index, index);
    return true;
}

// What a cell shows: its record's field, or the owner's number kept under the field's value.
QVariant TableGridModel::cellValue(int row, int column) const
{
    const QVariant value = table_->valueAt(row, fieldIndexes_.at(column));
    const KeptNumbers *kept = columns_.at(column).kept;
    return kept ? kept->number(value) : value;
}

store::FieldDef TableGridModel::cellFormat(int column) const
{
    const KeptNumbers *kept = columns_.at(column).kept;
    return kept ? kept->format() : table_->fields().at(fieldIndexes_.at(column));
}

// Why a typed value cannot be kept, in the user's words: the entry (the row's first text
// column), the column title, what the column holds. Empty when it can.
QString TableGridModel::refusal(const QModelIndex &index, const store::FieldDef &def,
                                const QVariant &stored) const
{
    const GridColumn &column = columns_.at(index.column());
    QString entry;
    const int first = fieldIndexes_.value(0, -1);
    if (first >= 0 && table_->fields().at(first).type == 'C')
        entry = table_->valueAt(index.row(), first).toString().trimmed();
    const store::FieldPlace place{QString(), column.caption, entry};
    if (column.nonNegative && stored.isValid() && stored.toDouble() < 0)
        return store::negativeNumberProblem(place);
    return store::fieldProblem(def, stored, place);
}

bool TableGridModel::live() const
{
    return table_->isOpen() && table_->dataSourceEnabled();
}

void TableGridModel::onViewChanged()
{
    if (live())
        refresh();
    else
        stale_ = true;
}

void TableGridModel::onRecordChanged(int position)
{
    if (!live()) {
        stale_ = true;
        return;
    }
    if (position < 0 || position >= rows_ || rows_ != table_->viewCount()) {
        refresh();
        return;
    }
    emit dataChanged(index(position, 0), index(position, columnCount() - 1));
}

void TableGridModel::onAfterScroll()
{
    if (!live()) {
        moved_ = true;
        return;
    }
    if (rows_ != table_->viewCount() || fieldIndexes_.contains(-1))
        refresh();
    else
        emit cursorRowChanged(table_->viewPosition());
}

// Back on after a bulk operation: re-read what changed meanwhile, nothing more, so that
// switching the data source off and on around a look at the table disturbs no one.
void TableGridModel::onDataSourceToggled(bool on)
{
    if (!on)
        return;
    if (stale_ || !table_->isOpen() || rows_ != table_->viewCount())
        refresh();
    else if (moved_)
        emit cursorRowChanged(table_->viewPosition());
    moved_ = false;
}

bool TableGridModel::isFlagged(int row) const
{
    if (flagField_.isEmpty())
        return false;
    const int field = table_->fieldIndex(flagField_);
    return field >= 0 && fieldDisplayText(table_->valueAt(row, field)) == flagValue_;
}

// --- TableGrid ---

TableGrid::TableGrid(store::Table *table, QList<GridColumn> columns, QWidget *parent)
    : QTableView(parent), model_(new TableGridModel(table, std::move(columns), this))
{
    setModel(model_);
    setItemDelegate(new GridDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setAlternatingRowColors(true);
    setWordWrap(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    // A light current-row colour, so that a red row stays readable when it is current.
    QPalette colours = palette();
    colours.setColor(QPalette::Highlight, QColor(0xcc, 0xe4, 0xf7));
    colours.setColor(QPalette::HighlightedText, QColor(Qt::black));
    setPalette(colours);
    applyWidths();
    connect(model_, &TableGridModel::cursorRowChanged, this, &TableGrid::showRow);
    connect(model_, &TableGridModel::editFailed, this, &TableGrid::reportEditFailure);
    followCursor();
}

void TableGrid::setReadOnly(bool readOnly)
{
    model_->setReadOnly(readOnly);
}

void TableGrid::setColumns(QList<GridColumn> columns)
{
    model_->setColumns(std::move(columns));
    applyWidths();
}

void TableGrid::followCursor()
{
    const store::Table *table = model_->table();
    showRow(table->isOpen() && table->dataSourceEnabled() ? table->viewPosition() : -1);
}

void TableGrid::commitEdit()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    QWidget *editor = window()->focusWidget();
    if (!editor || !viewport()->isAncestorOf(editor))
        return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void TableGrid::applyWidths()
{
    const QList<GridColumn> &columns = model_->columns();
    for (int i = 0; i < columns.size(); ++i)
        setColumnWidth(i, columns.at(i).width);
}

void TableGrid::showRow(int row)
{
    following_ = true;
    if (row < 0 || row >= model_->rowCount()) {
        selectionModel()->clear();
    } else {
        const int column = currentIndex().isValid() ? currentIndex().column() : 0;
        const QModelIndex target = model_->index(row, column);
        if (currentIndex() != target || !selectionModel()->isRowSelected(row, {}))
            selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect |
                                                          QItemSelectionModel::Rows);
        scrollTo(target);
    }
    following_ = false;
}

void TableGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (following_ || !current.isValid())
        return;
    store::Table *table = model_->table();
    if (!table->isOpen() || !table->dataSourceEnabled())
        return;
    if (current.row() == table->viewPosition())
        return;
    try {
        table->moveTo(current.row());
    } catch (const store::TableError &e) {
        reportEditFailure(e.message());
    }
    if (table->viewPosition() != current.row())
        followCursor();
}

// Raised while the cell's editor hands its text over: shown once that is done.
void TableGrid::reportEditFailure(const QString &message)
{
    afterEdit(this, [this, message] { showMessage(this, message); });
}

} // namespace widgets
