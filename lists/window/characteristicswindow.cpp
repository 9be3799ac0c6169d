#include "lists/window/characteristicswindow.h"

#include "lists/newentry.h"
#include "store/datamodule.h"
#include "widgets/message.h"
#include "widgets/tablegrid.h"
#include "widgets/windowparts.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>

namespace lists
{

namespace
{

constexpr int characteristicLimit = 64;

ListTraits characteristicTraits(store::DataModule &dm)
{
    return {.table = &dm.characteristics,
            .counts = &dm.counters,
            .countField = QStringLiteral("pit"),
            .firstPosition = 2, // 1 is the price
            .limit = characteristicLimit,
            .dropsFilter = false,
            .nameNewEntry = [](store::Table &pit, AddPlace place) {
                pit.setText(QStringLiteral("PIT"), newEntryName(place));
                pit.setText(QStringLiteral("EDIZ"), QStringLiteral(" "));
            }};
}

} // namespace

CharacteristicsWindow::CharacteristicsWindow(store::DataModule &dm, QWidget *parent)
    : ListWindow(dm, characteristicTraits(dm), parent),
      characteristicsGrid(new widgets::TableGrid(
          &dm.characteristics,
          {{QStringLiteral("PIT"), QStringLiteral("Наименование характеристики"), 260},
           {QStringLiteral("EDIZ"), QStringLiteral("Единица измерения"), 140}},
          this)),
      addAboveButton(widgets::makeButton(QStringLiteral("Добавить выше"), this, "addAboveButton")),
      addAtEndButton(
          widgets::makeButton(QStringLiteral("Добавить в конец"), this, "addAtEndButton")),
      deleteButton(widgets::makeButton(QStringLiteral("Удалить"), this, "deleteButton")),
      moveButton(widgets::makeButton(QStringLiteral("Переместить"), this, "moveButton")),
      correctButton(
          widgets::makeButton(QStringLiteral("Уточнить название"), this, "correctButton")),
      exitButton(widgets::makeButton(QStringLiteral("Выход"), this, "exitButton")),
      countsLabel(widgets::makeLabel(QString(), this))
{
    setWindowTitle(QStringLiteral("Работа со списком характеристик комбикормов"));
    resize(620, 560);
    widgets::nameObjects(
        {{characteristicsGrid, "characteristicsGrid"}, {countsLabel, "countsLabel"}});
    setFrame(characteristicsGrid, countsLabel, QStringLiteral("Характеристик"),
             {.addAtEnd = addAtEndButton,
              .addAbove = addAboveButton,
              .move = moveButton,
              .remove = deleteButton,
              .correct = correctButton,
              .exit = exitButton});
    const QList<QPushButton *> buttons{addAboveButton, addAtEndButton, deleteButton, moveButton,
                                       correctButton};
    for (QPushButton *button : buttons)
        button->setMinimumWidth(160);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(gridAndButtons({countsLabel}, {buttons}));
    characteristicsGrid->horizontalHeader()->setStretchLastSection(true);
}

CharacteristicsWindow::~CharacteristicsWindow()
{
    closeIfActive();
}

// Activation: the list without the price record, first entry current; any move to
// another characteristic ends editing.
void CharacteristicsWindow::onActivate()
{
    widgets::runReporting(this, [this] { scheme_.activate(); });
    lockEditorsOnScroll();
}

// Close, whatever closed the window: pit back to its normal range, flushed.
void CharacteristicsWindow::onClose()
{
    widgets::runReporting(this, [this] {
        scheme_.restoreNormalRange();
        dm_.characteristics.flush();
        dm_.characteristics.first();
        dm_.counters.flush();
    });
}

// A new characteristic: its columns in kk and sir emptied. A deleted one keeps them
// until its slot is taken again.
void CharacteristicsWindow::clearNewEntry()
{
    clearCharacteristicColumns(dm_, dm_.characteristics.integer(QStringLiteral("KEY")));
}

// "Уточнить название": the name and unit of the current entry become editable.
void CharacteristicsWindow::onCorrect()
{
    setEditorsReadOnly(false);
    focusFirstColumn();
}

} // namespace lists
