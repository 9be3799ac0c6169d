#pragma once

// The cell editor of the results window's grids: a line edit that reports every change
// of its text at once (the window checks and reprices while the user types). The
// window keeps the cell's text in step with the editor itself, so the editor neither
// takes the text back from the cell while it is open nor writes it on closing.
// A number written right-aligned with leading blanks is drawn without them at the
// right edge of its cell, so that it stays readable in a narrow column; the cell's
// text itself is not changed.
// A column written to a table field takes no more typing than that field holds: its
// width, and for a number its digits before and after the point.

#include "store/table.h"

#include <QHash>
#include <QStyledItemDelegate>

namespace results
{

class CellEditor final : public QStyledItemDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CellEditor)

public:
    explicit CellEditor(QObject *parent = nullptr);

    // The field a column's cells are written to.
    void setColumnField(int column, const store::FieldDef &field);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    QHash<int, store::FieldDef> fields_; // by column

signals:
    // The editor of the cell (row, column) now holds text.
    void textEdited(int column, int row, const QString &text);
};

} // namespace results
