#pragma once

// The first columns of a grid kept in view while the grid scrolls sideways: a second
// view over the same model and selection lies over the grid's left edge and shows only
// those columns, in step with the grid's rows, widths and vertical scrolling. Clicking
// a frozen cell chooses its row in the grid, in the column the grid has in view.
//
//     new FrozenColumns(feedGrid, 2); // "№" and "Тип" stay where they are

#include <QObject>

class QTableView;

namespace results
{

class FrozenColumns final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FrozenColumns)

public:
    // Owned by the grid.
    FrozenColumns(QTableView *grid, int count);

    QTableView *view() const { return frozen_; }
    int count() const { return count_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showColumns();
    void placeOverGrid();
    int columnInView() const;

    QTableView *grid_;
    QTableView *frozen_;
    int count_;
};

} // namespace results
