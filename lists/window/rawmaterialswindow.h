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

namespace lists
{
class CharacteristicPanel;
} // namespace lists

namespace widgets
{
class TableGrid;
}

class RawMaterialsWindow final : public lists::ListWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RawMaterialsWindow)

public:
    static constexpr int selectionLimit = 50;

    explicit RawMaterialsWindow(store::DataModule &dm, QWidget *parent = nullptr);
    ~RawMaterialsWindow() override;

    widgets::TableGrid *DBGrid1; // sir: "Наименование", "Прем."; selected rows red
    lists::CharacteristicPanel *Panel1; // the 64 caption and content pairs
    QPushButton *Button1;               // "Добавить в конец"
    QPushButton *Button2;               // "Добавить выше"
    QPushButton *Button3;  // "Переместить", second phase "Поставить сюда"
    QPushButton *Button4;  // "Удалить"
    QPushButton *Button5;  // "Уточнить"
    QPushButton *Button6;  // "Отобрать к расчету"
    QPushButton *Button7;  // "Отменить весь отбор"
    QPushButton *Button8;  // "Выделить"
    QPushButton *Button9;  // "Отменить выделение"
    QPushButton *Button10; // "Выход"
    QPushButton *selectAllButton; // "Отметить все"
    QLabel *Label1;               // list size and selected count

private:
    void FormActivate() override;
    void FormClose() override;
    void clearNewEntry() override;
    void setEditorsReadOnly(bool readOnly) override;
    void Button7Click();
    void Button8Click();
    void Button9Click();
};
