#include "lists/window/rawmaterialswindow.h"

#include "lists/newentry.h"
#include "lists/selection.h"
#include "lists/window/characteristicpanel.h"
#include "lists/window/highlightsearch.h"
#include "store/datamodule.h"
#include "store/highlight.h"
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

constexpr int rawLimit = 400;

ListTraits rawTraits(store::DataModule &dm)
{
    return {.table = &dm.rawMaterials,
            .counts = &dm.counters,
            .countField = QStringLiteral("sir"),
            .firstPosition = 1,
            .limit = rawLimit,
            .dropsFilter = true,
            .nameNewEntry = [](store::Table &sir, AddPlace place) {
                sir.setText(QStringLiteral("NAIM"), newEntryName(place));
            }};
}

} // namespace

RawMaterialsWindow::RawMaterialsWindow(store::DataModule &dm, QWidget *parent)
    : ListWindow(dm, rawTraits(dm), parent),
      rawMaterialsGrid(
          new widgets::TableGrid(&dm.rawMaterials,
                                 {{QStringLiteral("NAIM"), QStringLiteral("Наименование"), 300},
                                  {QStringLiteral("PREM"), QStringLiteral("Прем."), 50}},
                                 this)),
      characteristicPanel(new CharacteristicPanel({QStringLiteral("mi")}, {}, 3, this)),
      addAtEndButton(
          widgets::makeButton(QStringLiteral("Добавить в конец"), this, "addAtEndButton")),
      addAboveButton(widgets::makeButton(QStringLiteral("Добавить выше"), this, "addAboveButton")),
      moveButton(widgets::makeButton(QStringLiteral("Переместить"), this, "moveButton")),
      deleteButton(widgets::makeButton(QStringLiteral("Удалить"), this, "deleteButton")),
      correctButton(widgets::makeButton(QStringLiteral("Уточнить"), this, "correctButton")),
      selectButton(widgets::makeButton(QStringLiteral("Отобрать к расчету"), this, "selectButton")),
      deselectAllButton(
          widgets::makeButton(QStringLiteral("Отменить весь отбор"), this, "deselectAllButton")),
      highlightButton(widgets::makeButton(QStringLiteral("Выделить"), this, "highlightButton")),
      cancelHighlightButton(
          widgets::makeButton(QStringLiteral("Отменить выделение"), this, "cancelHighlightButton")),
      exitButton(widgets::makeButton(QStringLiteral("Выход"), this, "exitButton")),
      selectAllButton(widgets::makeButton(QStringLiteral("Отметить все"), this, "selectAllButton")),
      countsLabel(widgets::makeLabel(QString(), this))
{
    setWindowTitle(QStringLiteral("Работа со списком сырья"));
    resize(800, 600);
    widgets::nameObjects({{rawMaterialsGrid, "rawMaterialsGrid"},
                          {characteristicPanel, "characteristicPanel"},
                          {countsLabel, "countsLabel"}});
    rawMaterialsGrid->gridModel()->setRowFlag(QStringLiteral("ot"));
    setFrame(rawMaterialsGrid, countsLabel, QStringLiteral("Сырья"),
             {.addAtEnd = addAtEndButton,
              .addAbove = addAboveButton,
              .move = moveButton,
              .remove = deleteButton,
              .correct = correctButton,
              .select = selectButton,
              .selectAll = selectAllButton,
              .deselectAll = deselectAllButton,
              .highlight = highlightButton,
              .cancelHighlight = cancelHighlightButton,
              .exit = exitButton});
    setSelection(&dm.selectedRawCount, selectionLimit,
                 QStringLiteral("Уже отобрано допустимое количество типов сырья - "),
                 QStringLiteral("типов сырья"));

    // Editing the list in one column, selection and search in the other.
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(
        gridAndButtons({countsLabel},
                       {{addAtEndButton, addAboveButton, moveButton, deleteButton, correctButton},
                        {selectButton, selectAllButton, deselectAllButton, highlightButton,
                         cancelHighlightButton}}),
        1);
    layout->addWidget(characteristicPanel, 0);
    rawMaterialsGrid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);

    connect(deselectAllButton, &QPushButton::clicked, this, &RawMaterialsWindow::onDeselectAll);
    connect(highlightButton, &QPushButton::clicked, this, &RawMaterialsWindow::onHighlight);
    connect(cancelHighlightButton, &QPushButton::clicked, this,
            &RawMaterialsWindow::onCancelHighlight);
}

RawMaterialsWindow::~RawMaterialsWindow()
{
    closeIfActive();
}

void RawMaterialsWindow::setEditorsReadOnly(bool readOnly)
{
    rawMaterialsGrid->setReadOnly(readOnly);
    characteristicPanel->setFieldsReadOnly(readOnly);
}

// Activation: the selected count, the panel bound to the characteristics in use, the
// first raw material current; any move to another raw material ends editing.
void RawMaterialsWindow::onActivate()
{
    characteristicPanel->hideAll();
    widgets::runReporting(this, [this] {
        scheme_.activate();
        dm_.selectedRawCount = countSelected(dm_.rawMaterials);
        characteristicPanel->bindTo(dm_.characteristics, dm_.rawMaterials);
        dm_.rawMaterials.first();
    });
    lockEditorsOnScroll();
}

// Close, whatever closed the window: no highlight left, sir flushed.
void RawMaterialsWindow::onClose()
{
    characteristicPanel->hideAll(); // unbound until the next activation
    widgets::runReporting(this, [this] {
        store::cancelHighlight(dm_.rawMaterials);
        dm_.rawMaterials.flush();
        dm_.counters.flush();
    });
}

// A new raw material starts empty. A selected raw material that is deleted still counts
// until the next activation recounts.
void RawMaterialsWindow::clearNewEntry()
{
    clearNewRawMaterial(dm_);
}

// "Отменить весь отбор"
void RawMaterialsWindow::onDeselectAll()
{
    widgets::runReporting(this, [this] {
        dm_.selectedRawCount = 0;
        clearAllSelections(dm_.rawMaterials);
    });
    updateButtons();
    rawMaterialsGrid->setFocus();
}

// "Выделить": marks the raw materials whose name holds the key and shows only them.
void RawMaterialsWindow::onHighlight()
{
    if (!highlightByKey(this, dm_.rawMaterials, {QStringLiteral("NAIM")}))
        return;
    updateButtons();
    rawMaterialsGrid->setFocus();
}

// "Отменить выделение"
void RawMaterialsWindow::onCancelHighlight()
{
    widgets::runReporting(this, [this] { store::cancelHighlight(dm_.rawMaterials); });
    updateButtons();
    rawMaterialsGrid->setFocus();
}

} // namespace lists
