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

namespace
{

constexpr int rawLimit = 400;

lists::ListTraits rawTraits(store::DataModule &dm)
{
    return {.table = &dm.rawMaterials,
            .counts = &dm.counters,
            .countField = QStringLiteral("sir"),
            .firstPosition = 1,
            .limit = rawLimit,
            .dropsFilter = true,
            .nameNewEntry = [](store::Table &sir, lists::AddPlace place) {
                sir.setText(QStringLiteral("NAIM"), lists::newEntryName(place));
            }};
}

} // namespace

RawMaterialsWindow::RawMaterialsWindow(store::DataModule &dm, QWidget *parent)
    : ListWindow(dm, rawTraits(dm), parent),
      DBGrid1(new widgets::TableGrid(&dm.rawMaterials,
                                     {{QStringLiteral("NAIM"), QStringLiteral("Наименование"), 300},
                                      {QStringLiteral("PREM"), QStringLiteral("Прем."), 50}},
                                     this)),
      Panel1(new lists::CharacteristicPanel({QStringLiteral("mi")}, {}, 3, this)),
      Button1(widgets::makeButton(QStringLiteral("Добавить в конец"), this)),
      Button2(widgets::makeButton(QStringLiteral("Добавить выше"), this)),
      Button3(widgets::makeButton(QStringLiteral("Переместить"), this)),
      Button4(widgets::makeButton(QStringLiteral("Удалить"), this)),
      Button5(widgets::makeButton(QStringLiteral("Уточнить"), this)),
      Button6(widgets::makeButton(QStringLiteral("Отобрать к расчету"), this)),
      Button7(widgets::makeButton(QStringLiteral("Отменить весь отбор"), this)),
      Button8(widgets::makeButton(QStringLiteral("Выделить"), this)),
      Button9(widgets::makeButton(QStringLiteral("Отменить выделение"), this)),
      Button10(widgets::makeButton(QStringLiteral("Выход"), this)),
      selectAllButton(widgets::makeButton(QStringLiteral("Отметить все"), this)),
      Label1(widgets::makeLabel(QString(), this))
{
    setWindowTitle(QStringLiteral("Работа со списком сырья"));
    resize(800, 600);
    DBGrid1->gridModel()->setRowFlag(QStringLiteral("ot"));
    setFrame(DBGrid1, Label1, QStringLiteral("Сырья"),
             {.addAtEnd = Button1,
              .addAbove = Button2,
              .move = Button3,
              .remove = Button4,
              .correct = Button5,
              .select = Button6,
              .selectAll = selectAllButton,
              .deselectAll = Button7,
              .highlight = Button8,
              .cancelHighlight = Button9,
              .exit = Button10});
    setSelection(&dm.selectedRawCount, selectionLimit,
                 QStringLiteral("Уже отобрано допустимое количество типов сырья - "),
                 QStringLiteral("типов сырья"));

    // Editing the list in one column, selection and search in the other.
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(
        gridAndButtons({Label1}, {{Button1, Button2, Button3, Button4, Button5},
                                  {Button6, selectAllButton, Button7, Button8, Button9}}),
        1);
    layout->addWidget(Panel1, 0);
    DBGrid1->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);

    connect(Button7, &QPushButton::clicked, this, &RawMaterialsWindow::Button7Click);
    connect(Button8, &QPushButton::clicked, this, &RawMaterialsWindow::Button8Click);
    connect(Button9, &QPushButton::clicked, this, &RawMaterialsWindow::Button9Click);
}

RawMaterialsWindow::~RawMaterialsWindow()
{
    closeIfActive();
}

void RawMaterialsWindow::setEditorsReadOnly(bool readOnly)
{
    DBGrid1->setReadOnly(readOnly);
    Panel1->setFieldsReadOnly(readOnly);
}

// Activation: the selected count, the panel bound to the characteristics in use, the
// first raw material current; any move to another raw material ends editing.
void RawMaterialsWindow::FormActivate()
{
    Panel1->hideAll();
    widgets::runReporting(this, [this] {
        scheme_.activate();
        dm_.selectedRawCount = lists::countSelected(dm_.rawMaterials);
        Panel1->bindTo(dm_.characteristics, dm_.rawMaterials);
        dm_.rawMaterials.first();
    });
    lockEditorsOnScroll();
}

// Close, whatever closed the window: no highlight left, sir flushed.
void RawMaterialsWindow::FormClose()
{
    Panel1->hideAll(); // unbound until the next activation
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
    lists::clearNewRawMaterial(dm_);
}

// "Отменить весь отбор"
void RawMaterialsWindow::Button7Click()
{
    widgets::runReporting(this, [this] {
        dm_.selectedRawCount = 0;
        lists::clearAllSelections(dm_.rawMaterials);
    });
    updateButtons();
    DBGrid1->setFocus();
}

// "Выделить": marks the raw materials whose name holds the key and shows only them.
void RawMaterialsWindow::Button8Click()
{
    if (!lists::highlightByKey(this, dm_.rawMaterials, {QStringLiteral("NAIM")}))
        return;
    updateButtons();
    DBGrid1->setFocus();
}

// "Отменить выделение"
void RawMaterialsWindow::Button9Click()
{
    widgets::runReporting(this, [this] { store::cancelHighlight(dm_.rawMaterials); });
    updateButtons();
    DBGrid1->setFocus();
}
