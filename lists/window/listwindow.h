#pragma once

// ListWindow: what the three list windows (CharacteristicsWindow characteristics,
// RawMaterialsWindow raw materials, FeedTypesWindow feed types) share over one ListScheme. It owns
// the handlers of the list-editing buttons ("Добавить выше", "Добавить в конец", "Удалить", the two
// phases of "Переместить", "Уточнить", "Выход") and of "Отобрать к расчету", the button visibility
// that follows the list's size, the counts line under the grid, and the activation and
// close protocol: activation runs when the opener shows the window, close whatever
// closes it. A list with a selection gets "Отметить все" and a legend of its red rows. A window
// names the role of each of its buttons and fills in what its list does differently: what it loads
// on activation, how a new entry is cleared, which editors it has, which buttons its state forbids.
//
//     setFrame(rawMaterialsGrid, countsLabel, QStringLiteral("Сырья"),
//              {.addAtEnd = addAtEndButton, .addAbove = addAboveButton, ..., .exit = exitButton});
//     setSelection(&dm.selectedRawCount, 50, QStringLiteral("Уже отобрано ... - "),
//                  QStringLiteral("типов сырья"));

#include "lists/listscheme.h"

#include <QDialog>
#include <QList>

class QBoxLayout;
class QLabel;
class QPushButton;

namespace store
{
class DataModule;
}

namespace widgets
{
class TableGrid;
}

namespace lists
{

// The role of each button of a list window; null where the window has no such button.
struct ListButtons {
    QPushButton *addAtEnd = nullptr; // "Добавить в конец"
    QPushButton *addAbove = nullptr; // "Добавить выше"
    QPushButton *move = nullptr; // "Переместить", second phase "Поставить сюда"
    QPushButton *remove = nullptr;      // "Удалить"
    QPushButton *correct = nullptr;     // "Уточнить" ("Уточнить название")
    QPushButton *panelSwitch = nullptr; // feed types: the norms panel; stays in a move
    QPushButton *select = nullptr;      // "Отобрать к расчету"
    QPushButton *selectAll = nullptr;   // "Отметить все"
    QPushButton *deselectAll = nullptr; // "Отменить весь отбор"
    QPushButton *highlight = nullptr;   // "Выделить"
    QPushButton *cancelHighlight = nullptr; // "Отменить выделение"
    QPushButton *exit = nullptr;            // "Выход"
};

class ListWindow : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ListWindow)

public:
    // Writes what is being typed, runs the close, then closes.
    void done(int result) override;

protected:
    ListWindow(store::DataModule &dm, ListTraits traits, QWidget *parent);

    // Called by the window's constructor once its widgets exist: the grid of the list,
    // the counts line ("<countsCaption> в списке: ...") and the buttons, which are wired
    // here to the shared handlers (the others the window wires itself).
    void setFrame(widgets::TableGrid *grid, QLabel *counts, const QString &countsCaption,
                  const ListButtons &buttons);
    // The selection for the next calculation: the data module's selected count, its
    // limit, the message shown at the limit (followed by the count and ".") and what the
    // entries are called after a number ("типов сырья").
    void setSelection(int *count, int limit, const QString &refusal, const QString &entries);

    // The grid column (the grid, stretched, the widgets under it, then the legend of the
    // selection) with the button columns beside it; "Выход" stands at the foot of the last. Hidden
    // buttons leave no holes.
    QBoxLayout *gridAndButtons(const QList<QWidget *> &underGrid,
                               const QList<QList<QPushButton *>> &buttonColumns);

    // Activation: what the window loads when its opener shows it. The frame then puts
    // the grid on the cursor, focuses it, makes the editors read-only and recomputes the
    // buttons.
    virtual void onActivate() = 0;
    // Close, whatever closes the window: the move has already been abandoned (caption
    // "Переместить"); the frame recomputes the buttons afterwards.
    virtual void onClose() = 0;
    // For the window's destructor, as onClose cannot be reached from ours: closes a
    // window that is still active.
    void closeIfActive();

    // --- what each list does differently ---
    // The list operations as the scheme runs them; a window adds what its current entry
    // carries besides the list's own record. An add that was not possible returns false.
    virtual bool addEntry(AddPlace place);
    virtual void deleteEntry();
    // "Отметить все" on the list's records; the refusal when the list exceeds the limit.
    virtual QString selectAllEntries();
    virtual void placeMovedEntry();
    // Clears the columns of the entry an add has just taken from a free slot.
    virtual void clearNewEntry() = 0;
    // The grid and every field that edits the current entry.
    virtual void setEditorsReadOnly(bool readOnly);
    // "Уточнить": the current entry becomes editable until the cursor moves on.
    virtual void onCorrect();
    // After the visibility that follows the list's size: hides what the window's state
    // forbids. By default, while the list is filtered (selection or highlight) no entry
    // is added, moved, deleted, selected or deselected.
    virtual void hideForbiddenButtons(bool any);

    // Any move of the list's cursor makes the editors read-only again (until close).
    void lockEditorsOnScroll();
    void updateButtons();
    void updateCounts();
    // The list's cursor carries a filter: the selection or a highlight.
    bool listFiltered() const;
    // Focuses the grid on the first column of the current row, where typing starts.
    void focusFirstColumn();

    store::DataModule &dm_;
    ListScheme scheme_;

private:
    void showEvent(QShowEvent *event) override;
    QList<QPushButton *> listButtons() const;
    void wireButtons();
    void onAdd(AddPlace place);
    void onDelete();
    void onMove();
    void onSelect();
    void onSelectAll();

    widgets::TableGrid *grid_ = nullptr;
    QLabel *counts_ = nullptr;
    QString countsCaption_;
    ListButtons buttons_;
    int *selectedCount_ = nullptr; // null: the list has no selection
    int selectionLimit_ = 0;
    QString refusal_;
    QString entries_;
    QLabel *legend_ = nullptr; // what the red rows mean; with a selection only
    QMetaObject::Connection scrollLock_;
    bool active_ = false;
};

} // namespace lists
