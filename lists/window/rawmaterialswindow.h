#pragma once

// RawMaterialsWindow: the raw materials list window ("Работа со списком сырья"): names, premix mark
// and the content of every nutrient characteristic of sir; selection of raw materials for
// the next calculation (at most 50) and the highlight search by a key. Opened from the
// main menu, and from the calculation preparation window while sir carries the selection
// filter: then only correcting and highlighting are offered.
//
//     RawMaterialsWindow form(*store::dataModule(), parent);
//     form.exec();

#include "lists/window/listwindow.h"

class QLabel;
class QPushButton;

namespace widgets
{
class TableGrid;
}

namespace lists
{

class CharacteristicPanel;

class RawMaterialsWindow final : public ListWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RawMaterialsWindow)

public:
    static constexpr int selectionLimit = 50;

    explicit RawMaterialsWindow(store::DataModule &dm, QWidget *parent = nullptr);
    ~RawMaterialsWindow() override;

private:
    void onActivate() override;
    void onClose() override;
    void clearNewEntry() override;
    void setEditorsReadOnly(bool readOnly) override;
    void onDeselectAll();
    void onHighlight();
    void onCancelHighlight();

    widgets::TableGrid *rawMaterialsGrid; // sir: "Наименование", "Прем."; selected rows red
    CharacteristicPanel *characteristicPanel; // the 64 caption and content pairs
    QPushButton *addAtEndButton;              // "Добавить в конец"
    QPushButton *addAboveButton;              // "Добавить выше"
    QPushButton *moveButton; // "Переместить", second phase "Поставить сюда"
    QPushButton *deleteButton;          // "Удалить"
    QPushButton *correctButton;         // "Уточнить"
    QPushButton *selectButton;          // "Отобрать к расчету"
    QPushButton *deselectAllButton;     // "Отменить весь отбор"
    QPushButton *highlightButton;       // "Выделить"
    QPushButton *cancelHighlightButton; // "Отменить выделение"
    QPushButton *exitButton;            // "Выход"
    QPushButton *selectAllButton;       // "Отметить все"
    QLabel *countsLabel;                // list size and selected count
};

} // namespace lists
