#include "lists/window/feedtypeswindow.h"

#include "lists/newentry.h"
#include "lists/selection.h"
#include "lists/window/characteristicpanel.h"
#include "lists/window/fieldwidgets.h"
#include "lists/window/highlightsearch.h"
#include "settings/settings.h"
#include "store/datamodule.h"
#include "store/datasourceoff.h"
#include "store/highlight.h"
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

namespace
{

constexpr int feedLimit = 400;
const QString normsCaption = QStringLiteral("Нормы ввода сырья");
const QString characteristicsCaption = QStringLiteral("Характеристики");

lists::ListTraits feedTraits(store::DataModule &dm)
{
    return {.table = &dm.feedTypes,
            .counts = &dm.counters,
            .countField = QStringLiteral("KK"),
            .firstPosition = 1,
            .limit = feedLimit,
            .dropsFilter = true,
            .nameNewEntry = [](store::Table &kk, lists::AddPlace place) {
                for (const char *field : {"TIP", "NASN", "GOST"})
                    kk.setText(QLatin1String(field), lists::newEntryName(place));
                kk.setNumber(QStringLiteral("NDS"), settings::currentSettings().taxRate);
            }};
}

} // namespace

FeedTypesWindow::FeedTypesWindow(store::DataModule &dm, QWidget *parent)
    : ListWindow(dm, feedTraits(dm), parent),
      DBGrid1(new widgets::TableGrid(&dm.feedTypes,
                                     {{QStringLiteral("TIP"), QStringLiteral("Тип"), 90},
                                      {QStringLiteral("NASN"), QStringLiteral("Назначение"), 250},
                                      {QStringLiteral("GOST"), QStringLiteral("ГОСТ"), 90},
                                      {QStringLiteral("NDS"), QStringLiteral("%нал"), 50, 2}},
                                     this)),
      DBMemo1(new lists::FieldMemo(this)),
      Panel1(new lists::CharacteristicPanel({QStringLiteral("mi"), QStringLiteral("ma")},
                                            {QStringLiteral("Мин."), QStringLiteral("Макс.")}, 3,
                                            this)),
      Panel2(new QGroupBox(QStringLiteral("Нормы ввода сырья, %"), this)),
      DBGrid2(new widgets::TableGrid(
          &dm.rawMaterials,
          {{QStringLiteral("NAIM"), QStringLiteral("Наименование"), 280, -1, true},
           {QStringLiteral("MINOR"), QStringLiteral("Мин.%"), 80},
           {QStringLiteral("MANOR"), QStringLiteral("Макс.%"), 80}},
          Panel2)),
      Button1(widgets::makeButton(QStringLiteral("Добавить в конец"), this)),
      Button2(widgets::makeButton(QStringLiteral("Добавить выше"), this)),
      Button3(widgets::makeButton(QStringLiteral("Переместить"), this)),
      Button4(widgets::makeButton(QStringLiteral("Удалить"), this)),
      Button5(widgets::makeButton(QStringLiteral("Уточнить"), this)),
      Button6(widgets::makeButton(normsCaption, this)),
      Button7(widgets::makeButton(QStringLiteral("Отобрать к расчету"), this)),
      Button8(widgets::makeButton(QStringLiteral("Отменить весь отбор"), this)),
      Button9(widgets::makeButton(QStringLiteral("Выделить "), this)),
      Button10(widgets::makeButton(QStringLiteral("Отменить выделение"), this)),
      Button11(widgets::makeButton(QStringLiteral("Выход"), this)),
      Button12(widgets::makeButton(QStringLiteral("Выделить"), Panel2)),
      Button13(widgets::makeButton(QStringLiteral("Отменить выделение"), Panel2)),
      Label1(widgets::makeLabel(QString(), this)),
      selectAllButton(widgets::makeButton(QStringLiteral("Отметить все"), this)),
      bottom_(new QStackedWidget(this)),
      choiceHint_(widgets::makeLabel(QStringLiteral("Выбор продукта для расчета смеси: встаньте "
                                                    "на нужный тип комбикорма и нажмите «Выход»."),
                                     this))
{
    setWindowTitle(QStringLiteral("Работа со списком типов комбикормов"));
    resize(800, 600);
    DBGrid1->gridModel()->setRowFlag(QStringLiteral("ot"));
    DBGrid1->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    DBGrid2->gridModel()->setRowFlag(QStringLiteral("ot"));
    DBMemo1->bind(&dm.feedTypes, QStringLiteral("NASN"));
    DBMemo1->setFixedHeight(DBMemo1->fontMetrics().lineSpacing() * 2 + 12);
    setFrame(DBGrid1, Label1, QStringLiteral("Типов комбикормов"),
             {.addAtEnd = Button1,
              .addAbove = Button2,
              .move = Button3,
              .remove = Button4,
              .correct = Button5,
              .panelSwitch = Button6,
              .select = Button7,
              .selectAll = selectAllButton,
              .deselectAll = Button8,
              .highlight = Button9,
              .cancelHighlight = Button10,
              .exit = Button11});
    setSelection(&dm.selectedFeedCount, selectionLimit,
                 QStringLiteral("Уже отобрано допустимое количество типов продукции - "),
                 QStringLiteral("типов комбикормов"));
    buildLayout();

    connect(Button6, &QPushButton::clicked, this, &FeedTypesWindow::Button6Click);
    connect(Button8, &QPushButton::clicked, this, &FeedTypesWindow::Button8Click);
    connect(Button9, &QPushButton::clicked, this, &FeedTypesWindow::Button9Click);
    connect(Button10, &QPushButton::clicked, this, &FeedTypesWindow::Button10Click);
    connect(Button12, &QPushButton::clicked, this, &FeedTypesWindow::Button12Click);
    connect(Button13, &QPushButton::clicked, this, &FeedTypesWindow::Button13Click);
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
    normsButtons->addWidget(Button12);
    normsButtons->addWidget(Button13);
    normsButtons->addStretch(1);
    auto *norms = new QHBoxLayout(Panel2);
    norms->setContentsMargins(4, 4, 4, 4);
    norms->addWidget(DBGrid2, 1);
    norms->addLayout(normsButtons);
    DBGrid2->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);

    bottom_->addWidget(Panel1);
    bottom_->addWidget(Panel2);
    QFont bold = choiceHint_->font();
    bold.setBold(true);
    choiceHint_->setFont(bold);
    choiceHint_->hide();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(choiceHint_);
    layout->addLayout(
        gridAndButtons({DBMemo1, Label1}, {{Button1, Button2, Button3, Button4, Button5, Button6},
                                           {Button7, selectAllButton, Button8, Button9, Button10}}),
        1);
    layout->addWidget(bottom_, 0);
}

void FeedTypesWindow::setProductChoice(bool choosing)
{
    for (QPushButton *button : {Button7, selectAllButton, Button8})
        button->setEnabled(!choosing);
    choiceHint_->setVisible(choosing);
}

bool FeedTypesWindow::normsPanelShown() const
{
    return bottom_->currentWidget() == Panel2;
}

// --- what the inclusion-limit routines do to this window ---

void FeedTypesWindow::focusFeedTypesGrid()
{
    DBGrid1->setFocus();
}

void FeedTypesWindow::lockFeedTypeEditors()
{
    setEditorsReadOnly(true);
}

bool FeedTypesWindow::normsGridReadOnly() const
{
    return DBGrid2->isReadOnly();
}

void FeedTypesWindow::setNormsGridReadOnly(bool readOnly)
{
    DBGrid2->setReadOnly(readOnly);
}

void FeedTypesWindow::reportNormError(const QString &message)
{
    // Shown after the scroll that raised it has finished.
    widgets::showMessageAfterEdit(this, message);
}

// Writes the limits on screen back to norm (a raw-material highlight dropped first).
void FeedTypesWindow::saveLimits()
{
    store::DropRawHighlight(dm_, this);
    store::SaveNorms(dm_);
}

void FeedTypesWindow::loadLimits()
{
    store::LoadNorms(dm_, this);
}

// --- activation and close ---

// Activation: the norms panel hidden, the selected count, the limits of the first feed
// type, the panel bound to the characteristics in use; from now on a move to another feed
// type writes the limits of the one left and loads those of the new one.
void FeedTypesWindow::FormActivate()
{
    Panel1->hideAll();
    setNormsPanelShown(false);
    widgets::runReporting(this, [this] {
        scheme_.activate();
        {
            store::DataSourceOff kkOff(dm_.feedTypes);
            dm_.selectedFeedCount = lists::countSelected(dm_.feedTypes);
            loadLimits();
        }
        {
            store::DataSourceOff sirOff(dm_.rawMaterials);
            dm_.rawMaterials.first();
        }
        Panel1->bindTo(dm_.characteristics, dm_.feedTypes);
    });
    store::FeedTypesWindowLink &link = *this;
    scrollEvents_ = std::make_unique<store::FeedTypeScrollEvents>(dm_, link);
    DBGrid2->followCursor();
}

// Close, whatever closed the window: the limits on screen written, no highlight left,
// the tables flushed.
void FeedTypesWindow::FormClose()
{
    widgets::runReporting(this, [this] { saveLimits(); });
    scrollEvents_.reset();
    Panel1->hideAll(); // unbound until the next activation
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
bool FeedTypesWindow::addEntry(lists::AddPlace place)
{
    if (place == lists::AddPlace::Above)
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
    lists::clearNewFeedType(dm_);
    store::DataSourceOff sirOff(dm_.rawMaterials);
    loadLimits();
    dm_.rawMaterials.first();
}

// The grid, the purpose, the 128 norm fields and the norms grid.
void FeedTypesWindow::setEditorsReadOnly(bool readOnly)
{
    DBGrid1->setReadOnly(readOnly);
    DBGrid2->setReadOnly(readOnly);
    Panel1->setFieldsReadOnly(readOnly);
    DBMemo1->setReadOnly(readOnly);
}

// --- buttons ---

// No adding, moving or deleting while the norms panel is shown.
void FeedTypesWindow::hideForbiddenButtons(bool any)
{
    if (!any)
        return;
    if (normsPanelShown()) {
        for (QPushButton *button : {Button1, Button2, Button3, Button4})
            button->hide();
    }
    ListWindow::hideForbiddenButtons(any);
}

void FeedTypesWindow::setNormsPanelShown(bool shown)
{
    bottom_->setCurrentWidget(shown ? Panel2 : static_cast<QWidget *>(Panel1));
    Button6->setText(shown ? characteristicsCaption : normsCaption);
}

// "Уточнить": the feed type's names and either its norms or its inclusion limits become
// editable until the cursor moves to another feed type.
void FeedTypesWindow::correctClick()
{
    DBMemo1->setReadOnly(false);
    DBGrid1->setReadOnly(false);
    if (normsPanelShown())
        DBGrid2->setReadOnly(false);
    else
        Panel1->setFieldsReadOnly(false);
    DBGrid1->setFocus();
}

// "Нормы ввода сырья" / "Характеристики"
void FeedTypesWindow::Button6Click()
{
    if (!normsPanelShown()) {
        DBGrid2->setReadOnly(true);
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
void FeedTypesWindow::Button8Click()
{
    const bool panelShown = normsPanelShown();
    widgets::runReporting(this, [this] {
        saveLimits();
        setNormsPanelShown(false);
        store::DataSourceOff kkOff(dm_.feedTypes);
        lists::clearAllSelections(dm_.feedTypes);
        dm_.selectedFeedCount = 0;
        loadLimits();
    });
    DBGrid1->setFocus();
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
void FeedTypesWindow::Button9Click()
{
    const bool searched = lists::searchByKey(this, [this](const QString &key) {
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
    DBGrid1->setFocus();
}

// "Отменить выделение" of the feed types
void FeedTypesWindow::Button10Click()
{
    if (!store::hasHighlight(dm_.feedTypes)) {
        DBGrid1->setFocus();
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
    DBGrid1->setFocus();
}

// "Выделить" on the norms panel: the raw-material highlight.
void FeedTypesWindow::Button12Click()
{
    if (lists::highlightByKey(this, dm_.rawMaterials, {QStringLiteral("NAIM")}))
        DBGrid2->setFocus();
}

// "Отменить выделение" on the norms panel
void FeedTypesWindow::Button13Click()
{
    widgets::runReporting(this, [this] { store::cancelHighlight(dm_.rawMaterials); });
    DBGrid2->setFocus();
}
