#pragma once

// A grid over a shared table cursor: the model shows the cursor's view (index order,
// range, filter) row by row, the view keeps its current row and the cursor's record
// together in both directions, and an edited cell is written to the record and posted
// at once. Rows never appear through the grid: there is no insert, and moving past the
// last row adds nothing. While the cursor's data source is switched off (a bulk
// operation walks the table) the grid ignores the cursor; it re-reads everything when
// the data source comes back on.
//
//     widgets::TableGrid grid(dm.rawMaterials, {{"NAIM", "Наименование", 260},
//                                       {"PREM", "Прем.", 50}}, this);
//     grid.gridModel()->setRowFlag("ot");   // rows with ot = "+" drawn red
//     grid.setReadOnly(false);              // cells become editable
//
// A column may show numbers that the grid's owner keeps beside the table instead of a
// field (KeptNumbers): typed and refused as a number field of their format would be,
// they never reach the table.

#include <QAbstractTableModel>
#include <QColor>
#include <QList>
#include <QString>
#include <QTableView>

namespace store
{
class Table;
struct FieldDef;
} // namespace store

namespace widgets
{

// Numbers that a grid's owner keeps beside the table, one per record, found by the value
// of the record's key field. The owner keeps them for as long as the grid shows them.
class KeptNumbers
{
public:
    virtual ~KeptNumbers() = default;
    // The number field the numbers are typed as ('N', width, decimals).
    virtual store::FieldDef format() const = 0;
    // An invalid QVariant is a blank number.
    virtual QVariant number(const QVariant &key) const = 0;
    virtual void setNumber(const QVariant &key, const QVariant &number) = 0;
};

// One column of a grid: the table field it shows, its header and width in pixels.
// decimals >= 0 shows a number with that many decimals, right-aligned; -1 shows text
// (numbers then in their shortest form).
struct GridColumn {
    QString field;
    QString caption;
    int width = 100;
    int decimals = -1;
    bool readOnly = false;
    bool nonNegative = false;    // a typed negative number is refused (stock, output, price)
    KeptNumbers *kept = nullptr; // shows these numbers, field being their key, not the field
};

// The model part: rows are the records of the cursor's view.
class TableGridModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TableGridModel)

public:
    TableGridModel(store::Table *table, QList<GridColumn> columns, QObject *parent = nullptr);

    store::Table *table() const { return table_; }
    const QList<GridColumn> &columns() const { return columns_; }
    void setColumns(QList<GridColumn> columns);
    void setColumn(int column, const GridColumn &definition);

    // Read-only grids refuse every edit; an editable grid still keeps columns marked
    // readOnly closed.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return readOnly_; }

    // Rows whose field holds value (trailing blanks ignored) are drawn in color.
    void setRowFlag(const QString &field, const QString &value = QStringLiteral("+"),
                    const QColor &color = QColor(Qt::red));

    // Re-reads the whole view from the cursor (also done when the data source comes on).
    void refresh();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

signals:
    // The cursor stands on another record (or the view was re-read): row of the cursor,
    // -1 when the view is empty.
    void cursorRowChanged(int row);
    // An edit could not be stored (not a number, too wide for the field...).
    void editFailed(const QString &message);

private:
    bool live() const;
    void onViewChanged();
    void onRecordChanged(int position);
    void onAfterScroll();
    void onDataSourceToggled(bool on);
    bool isFlagged(int row) const;
    QVariant cellValue(int row, int column) const;
    store::FieldDef cellFormat(int column) const;
    QString refusal(const QModelIndex &index, const store::FieldDef &def,
                    const QVariant &stored) const;

    store::Table *table_;
    QList<GridColumn> columns_;
    QList<int> fieldIndexes_; // per column, -1 until the table is open
    int rows_ = 0;
    bool readOnly_ = true;
    bool stale_ = false; // records changed while the data source was off
    bool moved_ = false; // the cursor moved while the data source was off
    QString flagField_;
    QString flagValue_;
    QColor flagColor_;
};

// The view part: a row-selecting table view whose current row is the cursor's record.
class TableGrid final : public QTableView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TableGrid)

public:
    TableGrid(store::Table *table, QList<GridColumn> columns, QWidget *parent = nullptr);

    TableGridModel *gridModel() const { return model_; }
    store::Table *table() const { return model_->table(); }
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return model_->isReadOnly(); }
    void setColumns(QList<GridColumn> columns);
    // Puts the view's current row on the cursor's record.
    void followCursor();
    // Writes what is being typed in a cell, if anything (before the window closes).
    void commitEdit();

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    void applyWidths();
    void showRow(int row);
    void reportEditFailure(const QString &message);

    TableGridModel *model_;
    bool following_ = false;
};

} // namespace widgets
