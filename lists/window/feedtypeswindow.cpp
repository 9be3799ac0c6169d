#include "lists/window/feedtypeswindow.h"

#include "lists/feedratios.h"
#include "lists/newentry.h"
#include "lists/selection.h"
#include "lists/window/characteristicpanel.h"
#include "lists/window/fieldwidgets.h"
#include "lists/window/highlightsearch.h"
#include "lists/window/ratiomodel.h"
#include "lists/window/ratiopanel.h"
#include "settings/settings.h"
#include "store/datamodule.h"
#include "store/datasourceoff.h"
#include "store/highlight.h"
#include "store/normroutines.h"
#include "widgets/editmessage.h"
#include "widgets/message.h"
#include "widgets/tablegrid.h"
#include "widgets/windowparts.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace lists
{

namespace
{

constexpr int feedLimit = 400;
const QString normsCaption = QStringLiteral("Нормы ввода сырья");
const QString characteristicsCaption = QStringLiteral("Характеристики");

ListTraits feedTraits(store::DataModule &dm)
{
    return {.table = &dm.feedTypes,
            .counts = &dm.counters,
            .countField = QStringLiteral("KK"),
            .firstPosition = 1,
            .limit = feedLimit,
            .dropsFilter = true,
            .nameNewEntry = [](store::Table &kk, AddPlace place) {
                for (const char *field : {"TIP", "NASN", "GOST"})
                    kk.setText(QLatin1String(field), newEntryName(place));
                kk.setNumber(QStringLiteral("NDS"), settings::currentSettings().taxRate);
            }};
}

} // namespace

FeedTypesWindow::FeedTypesWindow(store::DataModule &dm, QWidget *parent)
    : ListWindow(dm, feedTraits(dm), parent),
      feedTypesGrid(
          new widgets::TableGrid(&dm.feedTypes,
                                 {{QStringLiteral("TIP"), QStringLiteral("Тип"), 90},
                                  {QStringLiteral("NASN"), QStringLiteral("Назначение"), 250},
                                  {QStringLiteral("GOST"), QStringLiteral("ГОСТ"), 90},
                                  {QStringLiteral("NDS"), QStringLiteral("%нал"), 50, 2}},
                                 this)),
      purposeMemo(new FieldMemo(this)),
      characteristicPanel(new CharacteristicPanel({QStringLiteral("mi"), QStringLiteral("ma")},
                                                  {QStringLiteral("Мин."), QStringLiteral("Макс.")},
                                                  3, this)),
      ratioPanel(new RatioPanel(this)), characteristicsPage(new QWidget(this)),
      normsPanel(new QGroupBox(QStringLiteral("Нормы ввода сырья, %"), this)),
      normsGrid(new widgets::TableGrid(
          &dm.rawMaterials,
          {{QStringLiteral("NAIM"), QStringLiteral("Наименование"), 280, -1, true},
           {QStringLiteral("MINOR"), QStringLiteral("Мин.%"), 80},
           {QStringLiteral("MANOR"), QStringLiteral("Макс.%"), 80}},
          normsPanel)),
      addAtEndButton(
          widgets::makeButton(QStringLiteral("Добавить в конец"), this, "addAtEndButton")),
      addAboveButton(widgets::makeButton(QStringLiteral("Добавить выше"), this, "addAboveButton")),
      moveButton(widgets::makeButton(QStringLiteral("Переместить"), this, "moveButton")),
      deleteButton(widgets::makeButton(QStringLiteral("Удалить"), this, "deleteButton")),
      correctButton(widgets::makeButton(QStringLiteral("Уточнить"), this, "correctButton")),
      panelSwitchButton(widgets::makeButton(normsCaption, this, "panelSwitchButton")),
      selectButton(widgets::makeButton(QStringLiteral("Отобрать к расчету"), this, "selectButton")),
      deselectAllButton(
          widgets::makeButton(QStringLiteral("Отменить весь отбор"), this, "deselectAllButton")),
      highlightButton(widgets::makeButton(QStringLiteral("Выделить "), this, "highlightButton")),
      cancelHighlightButton(
          widgets::makeButton(QStringLiteral("Отменить выделение"), this, "cancelHighlightButton")),
      exitButton(widgets::makeButton(QStringLiteral("Выход"), this, "exitButton")),
      rawHighlightButton(
          widgets::makeButton(QStringLiteral("Выделить"), normsPanel, "rawHighlightButton")),
      rawCancelHighlightButton(widgets::makeButton(QStringLiteral("Отменить выделение"), normsPanel,
                                                   "rawCancelHighlightButton")),
      countsLabel(widgets::makeLabel(QString(), this)),
      selectAllButton(widgets::makeButton(QStringLiteral("Отметить все"), this, "selectAllButton")),
      panelStack(new QStackedWidget(this)),
      productChoiceLabel(
          widgets::makeLabel(QStringLiteral("Выбор продукта для расчета смеси: встаньте "
                                            "на нужный тип комбикорма и нажмите «Выход»."),
                             this))
{
    setWindowTitle(QStringLiteral("Работа со списком типов комбикормов"));
    resize(1000, 600);
    widgets::nameObjects({{feedTypesGrid, "feedTypesGrid"},
                          {purposeMemo, "purposeMemo"},
                          {characteristicPanel, "characteristicPanel"},
                          {ratioPanel, "ratioPanel"},
                          {normsPanel, "normsPanel"},
                          {normsGrid, "normsGrid"},
                          {countsLabel, "countsLabel"},
                          {productChoiceLabel, "productChoiceLabel"}});
    feedTypesGrid->gridModel()->setRowFlag(QStringLiteral("ot"));
    feedTypesGrid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    normsGrid->gridModel()->setRowFlag(QStringLiteral("ot"));
    purposeMemo->bind(&dm.feedTypes, QStringLiteral("NASN"));
    purposeMemo->setFixedHeight(purposeMemo->fontMetrics().lineSpacing() * 2 + 12);
    setFrame(feedTypesGrid, countsLabel, QStringLiteral("Типов комбикормов"),
             {.addAtEnd = addAtEndButton,
              .addAbove = addAboveButton,
              .move = moveButton,
              .remove = deleteButton,
              .correct = correctButton,
              .panelSwitch = panelSwitchButton,
              .select = selectButton,
              .selectAll = selectAllButton,
              .deselectAll = deselectAllButton,
              .highlight = highlightButton,
              .cancelHighlight = cancelHighlightButton,
              .exit = exitButton});
    setSelection(&dm.selectedFeedCount, selectionLimit,
                 QStringLiteral("Уже отобрано допустимое количество типов продукции - "),
                 QStringLiteral("типов комбикормов"));
    buildLayout();
    connectButtons();
}

void FeedTypesWindow::connectButtons()
{
    connect(panelSwitchButton, &QPushButton::clicked, this, &FeedTypesWindow::onSwitchPanel);
    connect(deselectAllButton, &QPushButton::clicked, this, &FeedTypesWindow::onDeselectAll);
    connect(highlightButton, &QPushButton::clicked, this, &FeedTypesWindow::onHighlight);
    connect(cancelHighlightButton, &QPushButton::clicked, this,
            &FeedTypesWindow::onCancelHighlight);
    connect(rawHighlightButton, &QPushButton::clicked, this,
            &FeedTypesWindow::onHighlightRawMaterials);
    connect(rawCancelHighlightButton, &QPushButton::clicked, this,
            &FeedTypesWindow::onCancelRawHighlight);
}

FeedTypesWindow::~FeedTypesWindow()
{
    closeIfActive();
}

// The feed types with the purpose under them and the buttons beside them on top (editing
// the list in one column, selection and search in the other); below, either the
// characteristic panel or the norms panel.
void FeedTypesWindow::buildLayout()
{
    auto *normsButtons = new QVBoxLayout;
    normsButtons->addWidget(rawHighlightButton);
    normsButtons->addWidget(rawCancelHighlightButton);
    normsButtons->addStretch(1);
    auto *norms = new QHBoxLayout(normsPanel);
    norms->setContentsMargins(4, 4, 4, 4);
    norms->addWidget(normsGrid, 1);
    norms->addLayout(normsButtons);
    normsGrid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);

    auto *characteristics = new QHBoxLayout(characteristicsPage);
    characteristics->setContentsMargins(0, 0, 0, 0);
    characteristics->addWidget(characteristicPanel, 1);
    characteristics->addWidget(ratioPanel, 0);
    ratioPanel->setFixedWidth(390);
    panelStack->addWidget(characteristicsPage);
    panelStack->addWidget(normsPanel);
    QFont bold = productChoiceLabel->font();
    bold.setBold(true);
    productChoiceLabel->setFont(bold);
    productChoiceLabel->hide();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(productChoiceLabel);
    layout->addLayout(gridAndButtons({purposeMemo, countsLabel},
                                     {{addAtEndButton, addAboveButton, moveButton, deleteButton,
                                       correctButton, panelSwitchButton},
                                      {selectButton, selectAllButton, deselectAllButton,
                                       highlightButton, cancelHighlightButton}}),
                      1);
    layout->addWidget(panelStack, 0);
}

void FeedTypesWindow::setProductChoice(bool choosing)
{
    for (QPushButton *button : {selectButton, selectAllButton, deselectAllButton})
        button->setEnabled(!choosing);
    productChoiceLabel->setVisible(choosing);
}

bool FeedTypesWindow::normsPanelShown() const
{
    return panelStack->currentWidget() == normsPanel;
}

// Writes the limits on screen back to norm (a raw-material highlight dropped first;
// without one the feed types grid takes the focus).
void FeedTypesWindow::saveLimits()
{
    if (!store::DropRawHighlight(dm_))
        feedTypesGrid->setFocus();
    store::SaveNorms(dm_);
    saveRatios();
}

// The editors locked, then the limits of the current feed type shown.
void FeedTypesWindow::loadLimits()
{
    setEditorsReadOnly(true);
    store::LoadNorms(dm_);
    loadRatios();
}

// The ratios on screen, when changed, written back to the feed type they were loaded for.
void FeedTypesWindow::saveRatios()
{
    ratioPanel->commitEdit();
    RatioModel *ratios = ratioPanel->model();
    if (!ratios->changed())
        return;
    writeFeedRatios(dm_.ratios, ratios->feed(), ratios->rows());
    ratios->markSaved();
}

// The ratios of the current feed type (none while the list is empty).
void FeedTypesWindow::loadRatios()
{
    const int kodkk = dm_.feedTypes.isEmpty() ? -1 : dm_.feedTypes.integer(QStringLiteral("kodkk"));
    ratioPanel->model()->setRows(kodkk, readFeedRatios(dm_.ratios, kodkk));
}

// Before kk's cursor leaves a feed type its limits are written (a highlight on sir
// dropped first, so that limits of hidden raw materials are written too); only while kk's
// data source is on.
void FeedTypesWindow::beforeFeedTypeMove()
{
    if (movingLimits_ || !dm_.feedTypes.dataSourceEnabled() || dm_.feedTypes.isEmpty())
        return;
    movingLimits_ = true;
    const bool normsReadOnly = normsGrid->isReadOnly();
    try {
        store::DataSourceOff kkOff(dm_.feedTypes);
        store::DataSourceOff sirOff(dm_.rawMaterials);
        normsGrid->setReadOnly(true);
        saveLimits();
    } catch (const store::TableError &e) {
        widgets::showMessageAfterEdit(this, e.message()); // after the scroll has finished
    }
    normsGrid->setReadOnly(normsReadOnly);
    movingLimits_ = false;
}

// After it the limits of the new feed type are loaded.
void FeedTypesWindow::afterFeedTypeMove()
{
    if (movingLimits_ || !dm_.feedTypes.dataSourceEnabled())
        return;
    movingLimits_ = true;
    try {
        loadLimits();
    } catch (const store::TableError &e) {
        widgets::showMessageAfterEdit(this, e.message());
    }
    movingLimits_ = false;
}

// --- activation and close ---

// Activation: the norms panel hidden, the selected count, the limits of the first feed
// type, the panel bound to the characteristics in use; from now on a move to another feed
// type writes the limits of the one left and loads those of the new one.
void FeedTypesWindow::onActivate()
{
    characteristicPanel->hideAll();
    setNormsPanelShown(false);
    widgets::runReporting(this, [this] {
        scheme_.activate();
        {
            store::DataSourceOff kkOff(dm_.feedTypes);
            dm_.selectedFeedCount = countSelected(dm_.feedTypes);
            loadLimits();
        }
        {
            store::DataSourceOff sirOff(dm_.rawMaterials);
            dm_.rawMaterials.first();
        }
        characteristicPanel->bindTo(dm_.characteristics, dm_.feedTypes);
        ratioPanel->model()->setCharacteristics(ratioCharacteristics(dm_.characteristics));
    });
    limitsOnMove_ = {connect(&dm_.feedTypes, &store::Table::beforeScroll, this,
                             &FeedTypesWindow::beforeFeedTypeMove),
                     connect(&dm_.feedTypes, &store::Table::afterScroll, this,
                             &FeedTypesWindow::afterFeedTypeMove)};
    normsGrid->followCursor();
}

// Close, whatever closed the window: the limits on screen written, no highlight left,
// the tables flushed.
void FeedTypesWindow::onClose()
{
    widgets::runReporting(this, [this] { saveLimits(); });
    for (const QMetaObject::Connection &connection : limitsOnMove_)
        disconnect(connection);
    characteristicPanel->hideAll(); // unbound until the next activation
    widgets::runReporting(this, [this] {
        {
            store::DataSourceOff kkOff(dm_.feedTypes);
            store::cancelHighlight(dm_.feedTypes);
        }
        dm_.feedTypes.flush();
        dm_.rawMaterials.flush();
        dm_.counters.flush();
        const bool wasOpen = dm_.inclusionNorms.isOpen();
        dm_.inclusionNorms.open();
        dm_.inclusionNorms.flush();
        if (!wasOpen)
            dm_.inclusionNorms.close();
    });
}

// --- the list operations: limits written before the cursor leaves, read after ---

// "Добавить в конец" moves to the new entry through the scroll events, which write the
// limits of the feed type left; "Добавить выше" runs with the data source off, so the
// limits on screen are written first and nothing typed is lost.
bool FeedTypesWindow::addEntry(AddPlace place)
{
    if (place == AddPlace::Above)
        saveLimits();
    return ListWindow::addEntry(place);
}

// The limits shown are then those of the new current entry.
void FeedTypesWindow::deleteEntry()
{
    ListWindow::deleteEntry();
    loadLimits();
}

void FeedTypesWindow::placeMovedEntry()
{
    saveLimits(); // the limits of the entry the cursor stands on
    ListWindow::placeMovedEntry();
    loadLimits(); // those of the moved entry, now current
}

// A new feed type starts with empty norms and zero limits.
void FeedTypesWindow::clearNewEntry()
{
    clearNewFeedType(dm_);
    store::DataSourceOff sirOff(dm_.rawMaterials);
    loadLimits();
    dm_.rawMaterials.first();
}

// The grid, the purpose, the 128 norm fields, the ratios and the norms grid.
void FeedTypesWindow::setEditorsReadOnly(bool readOnly)
{
    feedTypesGrid->setReadOnly(readOnly);
    normsGrid->setReadOnly(readOnly);
    characteristicPanel->setFieldsReadOnly(readOnly);
    ratioPanel->setReadOnly(readOnly);
    purposeMemo->setReadOnly(readOnly);
}

// --- buttons ---

// No adding, moving or deleting while the norms panel is shown.
void FeedTypesWindow::hideForbiddenButtons(bool any)
{
    if (!any)
        return;
    if (normsPanelShown()) {
        for (QPushButton *button : {addAtEndButton, addAboveButton, moveButton, deleteButton})
            button->hide();
    }
    ListWindow::hideForbiddenButtons(any);
}

void FeedTypesWindow::setNormsPanelShown(bool shown)
{
    panelStack->setCurrentWidget(shown ? normsPanel : characteristicsPage);
    panelSwitchButton->setText(shown ? characteristicsCaption : normsCaption);
}

// "Уточнить": the feed type's names and either its norms or its inclusion limits become
// editable until the cursor moves to another feed type.
void FeedTypesWindow::onCorrect()
{
    purposeMemo->setReadOnly(false);
    feedTypesGrid->setReadOnly(false);
    if (normsPanelShown()) {
        normsGrid->setReadOnly(false);
    } else {
        characteristicPanel->setFieldsReadOnly(false);
        ratioPanel->setReadOnly(false);
    }
    feedTypesGrid->setFocus();
}

// "Нормы ввода сырья" / "Характеристики"
void FeedTypesWindow::onSwitchPanel()
{
    if (!normsPanelShown()) {
        normsGrid->setReadOnly(true);
        setNormsPanelShown(true);
    } else {
        widgets::runReporting(this, [this] {
            store::DataSourceOff sirOff(dm_.rawMaterials);
            store::cancelHighlight(dm_.rawMaterials);
        });
        setNormsPanelShown(false);
    }
    updateButtons();
}

// "Отменить весь отбор"
void FeedTypesWindow::onDeselectAll()
{
    const bool panelShown = normsPanelShown();
    widgets::runReporting(this, [this] {
        saveLimits();
        setNormsPanelShown(false);
        store::DataSourceOff kkOff(dm_.feedTypes);
        clearAllSelections(dm_.feedTypes);
        dm_.selectedFeedCount = 0;
        loadLimits();
    });
    feedTypesGrid->setFocus();
    setNormsPanelShown(panelShown);
    updateButtons();
}

// "Отметить все", the limits on screen written first and those of the current feed type
// loaded after, as "Отменить весь отбор" does.
QString FeedTypesWindow::selectAllEntries()
{
    saveLimits();
    store::DataSourceOff kkOff(dm_.feedTypes);
    const QString refusal = ListWindow::selectAllEntries();
    loadLimits();
    return refusal;
}

// "Выделить ": marks the feed types whose purpose, type or standard holds the key and
// shows only them; the norms panel stays as it was.
void FeedTypesWindow::onHighlight()
{
    const bool searched = searchByKey(this, [this](const QString &key) {
        store::DataSourceOff kkOff(dm_.feedTypes);
        store::DataSourceOff sirOff(dm_.rawMaterials);
        saveLimits();
        const int matches = store::highlightRecords(
            dm_.feedTypes, key,
            {QStringLiteral("NASN"), QStringLiteral("TIP"), QStringLiteral("GOST")});
        loadLimits();
        return matches;
    });
    if (!searched)
        return;
    widgets::runReporting(this, [this] { loadLimits(); });
    updateButtons();
    feedTypesGrid->setFocus();
}

// "Отменить выделение" of the feed types
void FeedTypesWindow::onCancelHighlight()
{
    if (!store::hasHighlight(dm_.feedTypes)) {
        feedTypesGrid->setFocus();
        return;
    }
    widgets::runReporting(this, [this] {
        saveLimits();
        {
            store::DataSourceOff kkOff(dm_.feedTypes);
            store::cancelHighlight(dm_.feedTypes);
        }
        loadLimits();
    });
    updateButtons();
    feedTypesGrid->setFocus();
}

// "Выделить" on the norms panel: the raw-material highlight.
void FeedTypesWindow::onHighlightRawMaterials()
{
    if (highlightByKey(this, dm_.rawMaterials, {QStringLiteral("NAIM")}))
        normsGrid->setFocus();
}

// "Отменить выделение" on the norms panel
void FeedTypesWindow::onCancelRawHighlight()
{
    widgets::runReporting(this, [this] { store::cancelHighlight(dm_.rawMaterials); });
    normsGrid->setFocus();
}

} // namespace lists
