#include "lists/window/listwindow.h"

#include "lists/selection.h"
#include "lists/window/deleteconfirmation.h"
#include "lists/window/fieldwidgets.h"
#include "store/table.h"
#include "widgets/message.h"
#include "widgets/tablegrid.h"

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

ListWindow::ListWindow(store::TDataModule2 &dm, ListTraits traits, QWidget *parent)
    : QDialog(parent), m_dm(dm), m_scheme(std::move(traits))
{
}

void ListWindow::setFrame(widgets::TableGrid *grid, QLabel *counts, const QString &countsCaption,
                          const ListButtons &buttons)
{
    m_grid = grid;
    m_counts = counts;
    m_countsCaption = countsCaption;
    m_buttons = buttons;
    wireButtons();
}

void ListWindow::setSelection(int *count, int limit, const QString &refusal)
{
    m_selectedCount = count;
    m_selectionLimit = limit;
    m_refusal = refusal;
}

void ListWindow::wireButtons()
{
    const ListButtons &b = m_buttons;
    connect(b.addAtEnd, &QPushButton::clicked, this, [this] { addClick(AddPlace::AtEnd); });
    connect(b.addAbove, &QPushButton::clicked, this, [this] { addClick(AddPlace::Above); });
    connect(b.move, &QPushButton::clicked, this, &ListWindow::moveClick);
    connect(b.remove, &QPushButton::clicked, this, &ListWindow::deleteClick);
    connect(b.correct, &QPushButton::clicked, this, &ListWindow::correctClick);
    if (b.select)
        connect(b.select, &QPushButton::clicked, this, &ListWindow::selectClick);
    connect(b.exit, &QPushButton::clicked, this, &QDialog::reject);
}

QBoxLayout *ListWindow::gridAndButtons(const QList<QWidget *> &underGrid,
                                       const QList<QList<QPushButton *>> &buttonColumns)
{
    auto *gridColumn = new QVBoxLayout;
    gridColumn->addWidget(m_grid, 1);
    for (QWidget *widget : underGrid)
        gridColumn->addWidget(widget);
    auto *row = new QHBoxLayout;
    row->addLayout(gridColumn, 1);
    for (const QList<QPushButton *> &buttons : buttonColumns) {
        auto *column = new QVBoxLayout;
        for (QPushButton *button : buttons)
            column->addWidget(button);
        column->addStretch(1);
        if (&buttons == &buttonColumns.last())
            column->addWidget(m_buttons.exit);
        row->addLayout(column);
    }
    return row;
}

QList<QPushButton *> ListWindow::listButtons() const
{
    const ListButtons &b = m_buttons;
    QList<QPushButton *> buttons;
    for (QPushButton *button : {b.addAtEnd, b.addAbove, b.move, b.remove, b.correct, b.panelSwitch,
                                b.select, b.deselectAll, b.highlight, b.cancelHighlight}) {
        if (button)
            buttons.append(button);
    }
    return buttons;
}

// --- activation and close ---

void ListWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_active || event->spontaneous())
        return;
    m_active = true;
    FormActivate();
    m_grid->followCursor();
    m_grid->setFocus();
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
    if (!m_active)
        return;
    m_active = false;
    disconnect(m_scrollLock);
    m_scheme.abandonMove();
    m_buttons.move->setText(moveCaption);
    FormClose();
    updateButtons();
}

void ListWindow::lockEditorsOnScroll()
{
    m_scrollLock = connect(&m_scheme.table(), &store::Table::afterScroll, this,
                           [this] { setEditorsReadOnly(true); });
}

// --- buttons ---

void ListWindow::updateCounts()
{
    QString text =
        QStringLiteral("%1 в списке: %2").arg(m_countsCaption).arg(m_scheme.visibleCount());
    if (m_selectedCount) {
        text += QStringLiteral(".  Отобрано к расчету: %1 из %2")
                    .arg(*m_selectedCount)
                    .arg(m_selectionLimit);
    } else {
        text += QStringLiteral(" из %1").arg(m_scheme.traits().limit);
    }
    m_counts->setText(text);
}

void ListWindow::updateButtons()
{
    updateCounts();
    if (m_scheme.moving())
        return;
    const bool any = m_scheme.visibleCount() > 0;
    for (QPushButton *button : listButtons())
        button->setVisible(any);
    m_buttons.addAtEnd->setVisible(m_scheme.canAdd());
    m_buttons.addAbove->setVisible(any && m_scheme.canAdd());
    m_buttons.exit->show();
    hideForbiddenButtons(any);
}

bool ListWindow::listFiltered() const
{
    const store::Table &list = m_scheme.table();
    return list.filtered() && !list.filter().trimmed().isEmpty();
}

void ListWindow::hideForbiddenButtons(bool /*any*/)
{
    if (!m_selectedCount || !listFiltered())
        return;
    const ListButtons &b = m_buttons;
    for (QPushButton *button : {b.addAtEnd, b.addAbove, b.move, b.remove, b.select, b.deselectAll})
        button->hide();
}

void ListWindow::setEditorsReadOnly(bool readOnly)
{
    m_grid->setReadOnly(readOnly);
}

void ListWindow::focusFirstColumn()
{
    m_grid->setFocus();
    m_grid->setCurrentIndex(m_grid->model()->index(m_grid->currentIndex().row(), 0));
}

bool ListWindow::addEntry(AddPlace place)
{
    return place == AddPlace::Above ? m_scheme.addAbove() : m_scheme.addAtEnd();
}

void ListWindow::deleteEntry()
{
    m_scheme.deleteCurrent();
}

void ListWindow::placeMovedEntry()
{
    m_scheme.finishMove();
}

// "Добавить в конец", "Добавить выше": the new entry cleared, current and editable. With
// the list full nothing is added, and the current entry is not cleared either.
void ListWindow::addClick(AddPlace place)
{
    widgets::runReporting(this, [this, place] {
        if (!addEntry(place)) {
            updateButtons();
            return;
        }
        clearNewEntry();
        m_grid->followCursor();
        updateButtons();
        setEditorsReadOnly(false);
        focusFirstColumn();
    });
}

// "Удалить" after confirmation.
void ListWindow::deleteClick()
{
    if (TForm7::ask(this))
        widgets::runReporting(this, [this] { deleteEntry(); });
    updateButtons();
    m_grid->setFocus();
}

// "Переместить": the first press remembers the entry and hides every other list button
// (the panel switch stays); the second press ("Поставить сюда") shows them again and puts
// the entry where the cursor stands.
void ListWindow::moveClick()
{
    const QList<QPushButton *> buttons = listButtons();
    if (!m_scheme.moving()) {
        widgets::runReporting(this, [this] { m_scheme.beginMove(); });
        if (!m_scheme.moving())
            return;
        m_buttons.move->setText(placeCaption);
        for (QPushButton *button : buttons)
            button->setVisible(button == m_buttons.move || button == m_buttons.panelSwitch);
        m_buttons.exit->hide();
        m_grid->setFocus();
        return;
    }
    m_buttons.move->setText(moveCaption);
    for (QPushButton *button : buttons)
        button->show();
    m_buttons.exit->show();
    widgets::runReporting(this, [this] { placeMovedEntry(); });
    updateButtons();
    m_grid->setFocus();
}

void ListWindow::correctClick()
{
    setEditorsReadOnly(false);
    m_grid->setFocus();
}

// "Отобрать к расчету": toggles the selection of the current entry.
void ListWindow::selectClick()
{
    QString refusal;
    widgets::runReporting(this, [this, &refusal] {
        refusal = toggleSelection(m_scheme.table(), *m_selectedCount, m_selectionLimit, m_refusal);
    });
    if (!refusal.isEmpty())
        widgets::showMessage(this, refusal);
    updateCounts();
    m_grid->setFocus();
}

} // namespace lists
