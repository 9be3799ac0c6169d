#pragma once

// CharacteristicsWindow: the nutrient characteristics list window ("Работа со списком характеристик
// комбикормов"): add, delete, move and rename the characteristics of pit. The price
// record at position 1 is neither shown nor reachable while the window is open.
//
//     CharacteristicsWindow form(*store::dataModule(), parent);
//     form.exec();

#include "lists/window/listwindow.h"

class QLabel;
class QPushButton;

namespace widgets
{
class TableGrid;
}

class CharacteristicsWindow final : public lists::ListWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CharacteristicsWindow)

public:
    explicit CharacteristicsWindow(store::DataModule &dm, QWidget *parent = nullptr);
    ~CharacteristicsWindow() override;

    widgets::TableGrid *DBGrid1; // pit: "Наименование характеристики", "Единица измерения"
    QPushButton *Button1; // "Добавить выше"
    QPushButton *Button2; // "Добавить в конец"
    QPushButton *Button3; // "Удалить"
    QPushButton *Button4; // "Переместить", second phase "Поставить сюда"
    QPushButton *Button5; // "Уточнить название"
    QPushButton *Button6; // "Выход"
    QLabel *Label1;       // how many characteristics the list holds

private:
    void FormActivate() override;
    void FormClose() override;
    void clearNewEntry() override;
    void correctClick() override;
};
