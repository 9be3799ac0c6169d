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

namespace
{

constexpr int characteristicLimit = 64;

lists::ListTraits characteristicTraits(store::DataModule &dm)
{
    return {.table = &dm.characteristics,
            .counts = &dm.counters,
            .countField = QStringLiteral("pit"),
            .firstPosition = 2, // 1 is the price
            .limit = characteristicLimit,
            .dropsFilter = false,
            .nameNewEntry = [](store::Table &pit, lists::AddPlace place) {
                pit.setText(QStringLiteral("PIT"), lists::newEntryName(place));
                pit.setText(QStringLiteral("EDIZ"), QStringLiteral(" "));
            }};
}

} // namespace

CharacteristicsWindow::CharacteristicsWindow(store::DataModule &dm, QWidget *parent)
    : ListWindow(dm, characteristicTraits(dm), parent),
      DBGrid1(new widgets::TableGrid(
          &dm.characteristics,
          {{QStringLiteral("PIT"), QStringLiteral("Наименование характеристики"), 260},
           {QStringLiteral("EDIZ"), QStringLiteral("Единица измерения"), 140}},
          this)),
      Button1(widgets::makeButton(QStringLiteral("Добавить выше"), this)),
      Button2(widgets::makeButton(QStringLiteral("Добавить в конец"), this)),
      Button3(widgets::makeButton(QStringLiteral("Удалить"), this)),
      Button4(widgets::makeButton(QStringLiteral("Переместить"), this)),
      Button5(widgets::makeButton(QStringLiteral("Уточнить название"), this)),
      Button6(widgets::makeButton(QStringLiteral("Выход"), this)),
      Label1(widgets::makeLabel(QString(), this))
{
    setWindowTitle(QStringLiteral("Работа со списком характеристик комбикормов"));
    resize(620, 560);
    setFrame(DBGrid1, Label1, QStringLiteral("Характеристик"),
             {.addAtEnd = Button2,
              .addAbove = Button1,
              .move = Button4,
              .remove = Button3,
              .correct = Button5,
              .exit = Button6});
    const QList<QPushButton *> buttons{Button1, Button2, Button3, Button4, Button5};
    for (QPushButton *button : buttons)
        button->setMinimumWidth(160);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(gridAndButtons({Label1}, {buttons}));
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
}

CharacteristicsWindow::~CharacteristicsWindow()
{
    closeIfActive();
}

// Activation: the list without the price record, first entry current; any move to
// another characteristic ends editing.
void CharacteristicsWindow::FormActivate()
{
    widgets::runReporting(this, [this] { scheme_.activate(); });
    lockEditorsOnScroll();
}

// Close, whatever closed the window: pit back to its normal range, flushed.
void CharacteristicsWindow::FormClose()
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
    lists::clearCharacteristicColumns(dm_, dm_.characteristics.integer(QStringLiteral("KEY")));
}

// "Уточнить название": the name and unit of the current entry become editable.
void CharacteristicsWindow::correctClick()
{
    setEditorsReadOnly(false);
    focusFirstColumn();
}
