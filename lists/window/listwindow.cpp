#include "lists/window/listwindow.h"

#include "lists/selection.h"
#include "lists/window/deleteconfirmation.h"
#include "lists/window/fieldwidgets.h"
#include "store/table.h"
#include "widgets/message.h"
#include "widgets/tablegrid.h"
#include "widgets/windowparts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace lists
{

namespace
{

const QString moveCaption = QStringLiteral("Переместить");
const QString placeCaption = QStringLiteral("Поставить сюда");

} // namespace

ListWindow::ListWindow(store::DataModule &dm, ListTraits traits, QWidget *parent)
    : QDialog(parent), dm_(dm), scheme_(std::move(traits))
{
}

void ListWindow::setFrame(widgets::TableGrid *grid, QLabel *counts, const QString &countsCaption,
                          const ListButtons &buttons)
{
    grid_ = grid;
    counts_ = counts;
    countsCaption_ = countsCaption;
    buttons_ = buttons;
    wireButtons();
}

void ListWindow::setSelection(int *count, int limit, const QString &refusal, const QString &entries)
{
    selectedCount_ = count;
    selectionLimit_ = limit;
    refusal_ = refusal;
    entries_ = entries;
    legend_ = widgets::makeLabel(QStringLiteral("Красные строки — отобранные к расчету"), this);
    QPalette palette = legend_->palette();
    palette.setColor(QPalette::WindowText, Qt::red); // as the grid draws them
    legend_->setPalette(palette);
}

void ListWindow::wireButtons()
{
    const ListButtons &b = buttons_;
    connect(b.addAtEnd, &QPushButton::clicked, this, [this] { onAdd(AddPlace::AtEnd); });
    connect(b.addAbove, &QPushButton::clicked, this, [this] { onAdd(AddPlace::Above); });
    connect(b.move, &QPushButton::clicked, this, &ListWindow::onMove);
    connect(b.remove, &QPushButton::clicked, this, &ListWindow::onDelete);
    connect(b.correct, &QPushButton::clicked, this, &ListWindow::onCorrect);
    if (b.select)
        connect(b.select, &QPushButton::clicked, this, &ListWindow::onSelect);
    if (b.selectAll)
        connect(b.selectAll, &QPushButton::clicked, this, &ListWindow::onSelectAll);
    connect(b.exit, &QPushButton::clicked, this, &QDialog::reject);
}

QBoxLayout *ListWindow::gridAndButtons(const QList<QWidget *> &underGrid,
                                       const QList<QList<QPushButton *>> &buttonColumns)
{
    auto *gridColumn = new QVBoxLayout;
    gridColumn->addWidget(grid_, 1);
    for (QWidget *widget : underGrid)
        gridColumn->addWidget(widget);
    if (legend_)
        gridColumn->addWidget(legend_);
    auto *row = new QHBoxLayout;
    row->addLayout(gridColumn, 1);
    for (const QList<QPushButton *> &buttons : buttonColumns) {
        auto *column = new QVBoxLayout;
        for (QPushButton *button : buttons)
            column->addWidget(button);
        column->addStretch(1);
        if (&buttons == &buttonColumns.last())
            column->addWidget(buttons_.exit);
        row->addLayout(column);
    }
    return row;
}

QList<QPushButton *> ListWindow::listButtons() const
{
    const ListButtons &b = buttons_;
    QList<QPushButton *> buttons;
    for (QPushButton *button :
         {b.addAtEnd, b.addAbove, b.move, b.remove, b.correct, b.panelSwitch, b.select, b.selectAll,
          b.deselectAll, b.highlight, b.cancelHighlight}) {
        if (button)
            buttons.append(button);
    }
    return buttons;
}

// --- activation and close ---

void ListWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (active_ || event->spontaneous())
        return;
    active_ = true;
    onActivate();
    grid_->followCursor();
    grid_->setFocus();
    setEditorsReadOnly(true);
    updateButtons();
}

void ListWindow::done(int result)
{
    commitTyping(this);
    closeIfActive();
    QDialog::done(result);
}

void ListWindow::closeIfActive()
{
    if (!active_)
        return;
    active_ = false;
    disconnect(scrollLock_);
    scheme_.abandonMove();
    buttons_.move->setText(moveCaption);
    onClose();
    updateButtons();
}

void ListWindow::lockEditorsOnScroll()
{
    scrollLock_ = connect(&scheme_.table(), &store::Table::afterScroll, this,
                          [this] { setEditorsReadOnly(true); });
}

// --- buttons ---

void ListWindow::updateCounts()
{
    QString text =
        QStringLiteral("%1 в списке: %2").arg(countsCaption_).arg(scheme_.visibleCount());
    if (selectedCount_) {
        text += QStringLiteral(".  Отобрано к расчету: %1 из %2")
                    .arg(*selectedCount_)
                    .arg(selectionLimit_);
    } else {
        text += QStringLiteral(" из %1").arg(scheme_.traits().limit);
    }
    counts_->setText(text);
}

void ListWindow::updateButtons()
{
    updateCounts();
    if (scheme_.moving())
        return;
    const bool any = scheme_.visibleCount() > 0;
    for (QPushButton *button : listButtons())
        button->setVisible(any);
    buttons_.addAtEnd->setVisible(scheme_.canAdd());
    buttons_.addAbove->setVisible(any && scheme_.canAdd());
    buttons_.exit->show();
    hideForbiddenButtons(any);
}

bool ListWindow::listFiltered() const
{
    const store::Table &list = scheme_.table();
    return list.filtered() && !list.filter().trimmed().isEmpty();
}

void ListWindow::hideForbiddenButtons(bool /*any*/)
{
    if (!selectedCount_ || !listFiltered())
        return;
    const ListButtons &b = buttons_;
    for (QPushButton *button :
         {b.addAtEnd, b.addAbove, b.move, b.remove, b.select, b.selectAll, b.deselectAll}) {
        if (button)
            button->hide();
    }
}

void ListWindow::setEditorsReadOnly(bool readOnly)
{
    grid_->setReadOnly(readOnly);
}

void ListWindow::focusFirstColumn()
{
    grid_->setFocus();
    grid_->setCurrentIndex(grid_->model()->index(grid_->currentIndex().row(), 0));
}

bool ListWindow::addEntry(AddPlace place)
{
    return place == AddPlace::Above ? scheme_.addAbove() : scheme_.addAtEnd();
}

void ListWindow::deleteEntry()
{
    scheme_.deleteCurrent();
}

QString ListWindow::selectAllEntries()
{
    return selectAll(scheme_.table(), *selectedCount_, selectionLimit_, entries_);
}

void ListWindow::placeMovedEntry()
{
    scheme_.finishMove();
}

// "Добавить в конец", "Добавить выше": the new entry cleared, current and editable. With
// the list full nothing is added, and the current entry is not cleared either.
void ListWindow::onAdd(AddPlace place)
{
    widgets::runReporting(this, [this, place] {
        if (!addEntry(place)) {
            updateButtons();
            return;
        }
        clearNewEntry();
        grid_->followCursor();
        updateButtons();
        setEditorsReadOnly(false);
        focusFirstColumn();
    });
}

// "Удалить" after confirmation.
void ListWindow::onDelete()
{
    if (DeleteConfirmation::ask(this))
        widgets::runReporting(this, [this] { deleteEntry(); });
    updateButtons();
    grid_->setFocus();
}

// "Переместить": the first press remembers the entry and hides every other list button
// (the panel switch stays); the second press ("Поставить сюда") shows them again and puts
// the entry where the cursor stands.
void ListWindow::onMove()
{
    const QList<QPushButton *> buttons = listButtons();
    if (!scheme_.moving()) {
        widgets::runReporting(this, [this] { scheme_.beginMove(); });
        if (!scheme_.moving())
            return;
        buttons_.move->setText(placeCaption);
        for (QPushButton *button : buttons)
            button->setVisible(button == buttons_.move || button == buttons_.panelSwitch);
        buttons_.exit->hide();
        grid_->setFocus();
        return;
    }
    buttons_.move->setText(moveCaption);
    for (QPushButton *button : buttons)
        button->show();
    buttons_.exit->show();
    widgets::runReporting(this, [this] { placeMovedEntry(); });
    updateButtons();
    grid_->setFocus();
}

void ListWindow::onCorrect()
{
    setEditorsReadOnly(false);
    grid_->setFocus();
}

// "Отобрать к расчету": toggles the selection of the current entry.
void ListWindow::onSelect()
{
    QString refusal;
    widgets::runReporting(this, [this, &refusal] {
        refusal = toggleSelection(scheme_.table(), *selectedCount_, selectionLimit_, refusal_);
    });
    if (!refusal.isEmpty())
        widgets::showMessage(this, refusal);
    updateCounts();
    grid_->setFocus();
}

// "Отметить все": every entry selected, or none when they are more than the limit.
void ListWindow::onSelectAll()
{
    QString refusal;
    widgets::runReporting(this, [this, &refusal] { refusal = selectAllEntries(); });
    if (!refusal.isEmpty())
        widgets::showMessage(this, refusal);
    updateButtons();
    grid_->setFocus();
}

} // namespace lists
