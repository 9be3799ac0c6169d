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

namespace lists
{

class CharacteristicsWindow final : public ListWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CharacteristicsWindow)

public:
    explicit CharacteristicsWindow(store::DataModule &dm, QWidget *parent = nullptr);
    ~CharacteristicsWindow() override;

private:
    void onActivate() override;
    void onClose() override;
    void clearNewEntry() override;
    void onCorrect() override;

    widgets::TableGrid
        *characteristicsGrid; // pit: "Наименование характеристики", "Единица измерения"
    QPushButton *addAboveButton;
    QPushButton *addAtEndButton;
    QPushButton *deleteButton;
    QPushButton *moveButton;    // second phase "Поставить сюда"
    QPushButton *correctButton; // "Уточнить название"
    QPushButton *exitButton;
    QLabel *countsLabel; // how many characteristics the list holds
};

} // namespace lists
