#include "widgets/tablegrid.h"

#include "lists/fieldtext.h"
#include "widgets/editmessage.h"
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
    : QAbstractTableModel(parent), m_table(table), m_columns(std::move(columns))
{
    connect(table, &store::Table::viewChanged, this, &TableGridModel::onViewChanged);
    connect(table, &store::Table::recordChanged, this, &TableGridModel::onRecordChanged);
    connect(table, &store::Table::afterScroll, this, &TableGridModel::onAfterScroll);
    connect(table, &store::Table::dataSourceToggled, this, &TableGridModel::onDataSourceToggled);
    refresh();
}

void TableGridModel::setColumns(QList<GridColumn> columns)
{
    m_columns = std::move(columns);
    refresh();
}

void TableGridModel::setColumn(int column, const GridColumn &definition)
{
    if (column < 0 || column >= m_columns.size())
        return;
    m_columns[column] = definition;
    refresh();
}

void TableGridModel::setReadOnly(bool readOnly)
{
    if (m_readOnly == readOnly)
        return;
    m_readOnly = readOnly;
    if (m_rows > 0)
        emit dataChanged(index(0, 0), index(m_rows - 1, columnCount() - 1), {});
}

void TableGridModel::setRowFlag(const QString &field, const QString &value, const QColor &color)
{
    m_flagField = field;
    m_flagValue = value;
    m_flagColor = color;
    refresh();
}

void TableGridModel::refresh()
{
    beginResetModel();
    const bool open = m_table->isOpen();
    m_rows = open ? m_table->viewCount() : 0;
    m_stale = false;
    m_moved = false;
    m_fieldIndexes.clear();
    for (const GridColumn &column : std::as_const(m_columns))
        m_fieldIndexes.append(open ? m_table->fieldIndex(column.field) : -1);
    endResetModel();
    emit cursorRowChanged(open ? m_table->viewPosition() : -1);
}

int TableGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int TableGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant TableGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows || index.column() >= m_columns.size())
        return {};
    if (!m_table->isOpen() || index.row() >= m_table->viewCount())
        return {};
    const int field = m_fieldIndexes.value(index.column(), -1);
    if (field < 0)
        return {};
    const GridColumn &column = m_columns.at(index.column());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return lists::fieldDisplayText(m_table->valueAt(index.row(), field), column.decimals);
    case Qt::ForegroundRole:
        return isFlagged(index.row()) ? QVariant(m_flagColor) : QVariant();
    case Qt::BackgroundRole: // a number that cannot be read stands out
        return store::isUnreadableNumber(m_table->valueAt(index.row(), field))
                   ? QVariant(QColor(255, 200, 200))
                   : QVariant();
    case Qt::ToolTipRole:
        return lists::unreadableHint(m_table->valueAt(index.row(), field));
    case Qt::TextAlignmentRole: {
        const bool numeric = lists::isNumericField(m_table->fields().at(field));
        return int((numeric ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    case Qt::UserRole: { // the width an edited text may take
        const store::FieldDef def = m_table->fields().at(field);
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
    return section < m_columns.size() ? m_columns.at(section).caption : QString();
}

Qt::ItemFlags TableGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!m_readOnly && !m_columns.at(index.column()).readOnly)
        result |= Qt::ItemIsEditable;
    return result;
}

bool TableGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable) || !live())
        return false;
    if (index.row() >= m_table->viewCount() || m_fieldIndexes.value(index.column(), -1) < 0)
        return false;
    QString error;
    const store::FieldDef def = m_table->fields().at(m_fieldIndexes.at(index.column()));
    const QVariant stored = lists::fieldInput(def, value.toString(), &error);
    if (error.isEmpty())
        error = refusal(index, def, stored);
    if (!error.isEmpty()) {
        emit editFailed(error);
        return false;
    }
    try {
        if (m_table->viewPosition() != index.row())
            m_table->moveTo(index.row());
        m_table->setValue(m_columns.at(index.column()).field, stored);
        m_table->post();
    } catch (const store::TableError &e) {
        try {
            m_table->cancel();
        } catch (const store::TableError &) {
        }
        emit editFailed(e.message());
        return false;
    }
    emit dataChanged(index, index);
    return true;
}

// Why a typed value cannot be kept, in the user's words: the entry (the row's first text
// column), the column title, what the column holds. Empty when it can.
QString TableGridModel::refusal(const QModelIndex &index, const store::FieldDef &def,
                                const QVariant &stored) const
{
    const GridColumn &column = m_columns.at(index.column());
    QString entry;
    const int first = m_fieldIndexes.value(0, -1);
    if (first >= 0 && m_table->fields().at(first).type == 'C')
        entry = m_table->valueAt(index.row(), first).toString().trimmed();
    const store::FieldPlace place{QString(), column.caption, entry};
    if (column.nonNegative && stored.isValid() && stored.toDouble() < 0)
        return store::negativeNumberProblem(place);
    return store::fieldProblem(def, stored, place);
}

bool TableGridModel::live() const
{
    return m_table->isOpen() && m_table->dataSourceEnabled();
}

void TableGridModel::onViewChanged()
{
    if (live())
        refresh();
    else
        m_stale = true;
}

void TableGridModel::onRecordChanged(int position)
{
    if (!live()) {
        m_stale = true;
        return;
    }
    if (position < 0 || position >= m_rows || m_rows != m_table->viewCount()) {
        refresh();
        return;
    }
    emit dataChanged(index(position, 0), index(position, columnCount() - 1));
}

void TableGridModel::onAfterScroll()
{
    if (!live()) {
        m_moved = true;
        return;
    }
    if (m_rows != m_table->viewCount() || m_fieldIndexes.contains(-1))
        refresh();
    else
        emit cursorRowChanged(m_table->viewPosition());
}

// Back on after a bulk operation: re-read what changed meanwhile, nothing more, so that
// switching the data source off and on around a look at the table disturbs no one.
void TableGridModel::onDataSourceToggled(bool on)
{
    if (!on)
        return;
    if (m_stale || !m_table->isOpen() || m_rows != m_table->viewCount())
        refresh();
    else if (m_moved)
        emit cursorRowChanged(m_table->viewPosition());
    m_moved = false;
}

bool TableGridModel::isFlagged(int row) const
{
    if (m_flagField.isEmpty())
        return false;
    const int field = m_table->fieldIndex(m_flagField);
    return field >= 0 && lists::fieldDisplayText(m_table->valueAt(row, field)) == m_flagValue;
}

// --- TableGrid ---

TableGrid::TableGrid(store::Table *table, QList<GridColumn> columns, QWidget *parent)
    : QTableView(parent), m_model(new TableGridModel(table, std::move(columns), this))
{
    setModel(m_model);
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
    connect(m_model, &TableGridModel::cursorRowChanged, this, &TableGrid::showRow);
    connect(m_model, &TableGridModel::editFailed, this, &TableGrid::reportEditFailure);
    followCursor();
}

void TableGrid::setReadOnly(bool readOnly)
{
    m_model->setReadOnly(readOnly);
}

void TableGrid::setColumns(QList<GridColumn> columns)
{
    m_model->setColumns(std::move(columns));
    applyWidths();
}

void TableGrid::followCursor()
{
    const store::Table *table = m_model->table();
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
    const QList<GridColumn> &columns = m_model->columns();
    for (int i = 0; i < columns.size(); ++i)
        setColumnWidth(i, columns.at(i).width);
}

void TableGrid::showRow(int row)
{
    m_following = true;
    if (row < 0 || row >= m_model->rowCount()) {
        selectionModel()->clear();
    } else {
        const int column = currentIndex().isValid() ? currentIndex().column() : 0;
        const QModelIndex target = m_model->index(row, column);
        if (currentIndex() != target || !selectionModel()->isRowSelected(row, {}))
            selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect |
                                                          QItemSelectionModel::Rows);
        scrollTo(target);
    }
    m_following = false;
}

void TableGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (m_following || !current.isValid())
        return;
    store::Table *table = m_model->table();
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
