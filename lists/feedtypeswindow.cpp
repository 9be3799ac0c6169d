#include "lists/feedtypeswindow.h"

#include "lists/characteristicpanel.h"
#include "lists/deleteconfirmation.h"
#include "lists/fieldwidgets.h"
#include "lists/message.h"
#include "lists/newentry.h"
#include "lists/selection.h"
#include "lists/selectionkey.h"
#include "lists/tablegrid.h"
#include "settings/settings.h"
#include "store/datamodule.h"
#include "store/datasourceoff.h"
#include "store/highlight.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace
{

constexpr int feedLimit = 400;
const QString normsCaption = QStringLiteral("Нормы ввода сырья");
const QString characteristicsCaption = QStringLiteral("Характеристики");

lists::ListTraits feedTraits(store::TDataModule2 &dm)
{
    lists::ListTraits traits;
    traits.table = &dm.Table2;
    traits.counts = &dm.Table5;
    traits.countField = QStringLiteral("KK");
    traits.firstPosition = 1;
    traits.limit = feedLimit;
    traits.dropsFilter = true;
    traits.nameNewEntry = [](store::Table &kk, lists::AddPlace place) {
        const QString name = place == lists::AddPlace::Above ? QStringLiteral(" ") : QString();
        for (const char *field : {"TIP", "NASN", "GOST"})
            kk.setText(QLatin1String(field), name);
        kk.setNumber(QStringLiteral("NDS"), settings::currentSettings().taxRate);
    };
    return traits;
}

QPushButton *makeButton(const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TForm5::TForm5(store::TDataModule2 &dm, QWidget *parent)
    : QDialog(parent),
      DBGrid1(new lists::TableGrid(&dm.Table2,
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
      DBGrid2(new lists::TableGrid(
          &dm.Table3,
          {{QStringLiteral("NAIM"), QStringLiteral("Наименование"), 280, -1, true},
           {QStringLiteral("MINOR"), QStringLiteral("Мин.%"), 80},
           {QStringLiteral("MANOR"), QStringLiteral("Макс.%"), 80}},
          Panel2)),
      Button1(makeButton(QStringLiteral("Добавить в конец"), this)),
      Button2(makeButton(QStringLiteral("Добавить выше"), this)),
      Button3(makeButton(QStringLiteral("Переместить"), this)),
      Button4(makeButton(QStringLiteral("Удалить"), this)),
      Button5(makeButton(QStringLiteral("Уточнить"), this)),
      Button6(makeButton(normsCaption, this)),
      Button7(makeButton(QStringLiteral("Отобрать к расчету"), this)),
      Button8(makeButton(QStringLiteral("Отменить весь отбор"), this)),
      Button9(makeButton(QStringLiteral("Выделить "), this)),
      Button10(makeButton(QStringLiteral("Отменить выделение"), this)),
      Button11(makeButton(QStringLiteral("Выход"), this)),
      Button12(makeButton(QStringLiteral("Выделить"), Panel2)),
      Button13(makeButton(QStringLiteral("Отменить выделение"), Panel2)), Label1(new QLabel(this)),
      m_dm(dm), m_scheme(feedTraits(dm)), m_bottom(new QStackedWidget(this))
{
    setWindowTitle(QStringLiteral("Работа со списком типов комбикормов"));
    resize(800, 600);
    DBGrid1->gridModel()->setRowFlag(QStringLiteral("ot"));
    DBGrid1->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    DBGrid2->gridModel()->setRowFlag(QStringLiteral("ot"));
    DBMemo1->bind(&dm.Table2, QStringLiteral("NASN"));
    DBMemo1->setFixedHeight(DBMemo1->fontMetrics().lineSpacing() * 2 + 12);
    buildLayout();

    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm5::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm5::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm5::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm5::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &TForm5::Button6Click);
    connect(Button7, &QPushButton::clicked, this, &TForm5::Button7Click);
    connect(Button8, &QPushButton::clicked, this, &TForm5::Button8Click);
    connect(Button9, &QPushButton::clicked, this, &TForm5::Button9Click);
    connect(Button10, &QPushButton::clicked, this, &TForm5::Button10Click);
    connect(Button11, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button12, &QPushButton::clicked, this, &TForm5::Button12Click);
    connect(Button13, &QPushButton::clicked, this, &TForm5::Button13Click);
}

TForm5::~TForm5()
{
    if (m_active)
        FormClose();
}

// The feed types with the purpose under them and the buttons beside them on top; below,
// either the characteristic panel or the norms panel.
void TForm5::buildLayout()
{
    // Editing the list in one column, selection and search in the other; hidden buttons
    // leave no holes.
    auto *editing = new QVBoxLayout;
    for (QPushButton *button : {Button1, Button2, Button3, Button4, Button5, Button6})
        editing->addWidget(button);
    editing->addStretch(1);
    auto *choosing = new QVBoxLayout;
    for (QPushButton *button : {Button7, Button8, Button9, Button10})
        choosing->addWidget(button);
    choosing->addStretch(1);
    choosing->addWidget(Button11);

    auto *gridColumn = new QVBoxLayout;
    gridColumn->addWidget(DBGrid1, 1);
    gridColumn->addWidget(DBMemo1);
    gridColumn->addWidget(Label1);
    auto *top = new QHBoxLayout;
    top->addLayout(gridColumn, 1);
    top->addLayout(editing);
    top->addLayout(choosing);

    auto *normsButtons = new QVBoxLayout;
    normsButtons->addWidget(Button12);
    normsButtons->addWidget(Button13);
    normsButtons->addStretch(1);
    auto *norms = new QHBoxLayout(Panel2);
    norms->setContentsMargins(4, 4, 4, 4);
    norms->addWidget(DBGrid2, 1);
    norms->addLayout(normsButtons);
    DBGrid2->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);

    m_bottom->addWidget(Panel1);
    m_bottom->addWidget(Panel2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(m_bottom, 0);
}

void TForm5::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_active && !event->spontaneous()) {
        m_active = true;
        FormActivate();
    }
}

void TForm5::done(int result)
{
    lists::commitTyping(this);
    if (m_active) {
        m_active = false;
        FormClose();
    }
    QDialog::done(result);
}

bool TForm5::normsPanelShown() const
{
    return m_bottom->currentWidget() == Panel2;
}

QList<QPushButton *> TForm5::listButtons() const
{
    return {Button1, Button2, Button3, Button4, Button5,
            Button6, Button7, Button8, Button9, Button10};
}

// --- what the inclusion-limit routines do to this window ---

void TForm5::focusFeedTypesGrid()
{
    DBGrid1->setFocus();
}

void TForm5::lockFeedTypeEditors()
{
    DBGrid1->setReadOnly(true);
    DBGrid2->setReadOnly(true);
    Panel1->setFieldsReadOnly(true);
    DBMemo1->setReadOnly(true);
}

bool TForm5::normsGridReadOnly() const
{
    return DBGrid2->isReadOnly();
}

void TForm5::setNormsGridReadOnly(bool readOnly)
{
    DBGrid2->setReadOnly(readOnly);
}

void TForm5::reportNormError(const QString &message)
{
    // Shown after the scroll that raised it has finished.
    QMetaObject::invokeMethod(
        this, [this, message] { lists::showMessage(this, message); }, Qt::QueuedConnection);
}

// Writes the limits on screen back to norm (a raw-material highlight dropped first).
void TForm5::saveLimits()
{
    store::DropRawHighlight(m_dm, this);
    store::SaveNorms(m_dm);
}

void TForm5::loadLimits()
{
    store::LoadNorms(m_dm, this);
}

// --- activation and close ---

void TForm5::FormActivate()
{
    Panel1->hideAll();
    setNormsPanelShown(false);
    lists::runReporting(this, [this] {
        m_scheme.activate();
        {
            store::DataSourceOff kkOff(m_dm.Table2);
            m_dm.selectedFeedCount = lists::countSelected(m_dm.Table2);
            loadLimits();
        }
        {
            store::DataSourceOff sirOff(m_dm.Table3);
            m_dm.Table3.first();
        }
        Panel1->bindTo(m_dm.Table1, m_dm.Table2);
    });
    store::FeedTypesWindowLink &link = *this;
    m_scrollEvents = std::make_unique<store::FeedTypeScrollEvents>(m_dm, link);
    DBGrid1->followCursor();
    DBGrid2->followCursor();
    DBGrid1->setFocus();
    lockFeedTypeEditors();
    updateButtons();
}

// Close, whatever closed the window: the limits on screen written, no highlight left,
// the tables flushed.
void TForm5::FormClose()
{
    m_scheme.abandonMove();
    Button3->setText(QStringLiteral("Переместить"));
    for (QPushButton *button : listButtons())
        button->show();
    lists::runReporting(this, [this] { saveLimits(); });
    m_scrollEvents.reset();
    Panel1->hideAll(); // unbound until the next activation
    lists::runReporting(this, [this] {
        {
            store::DataSourceOff kkOff(m_dm.Table2);
            store::cancelHighlight(m_dm.Table2);
        }
        m_dm.Table2.flush();
        m_dm.Table3.flush();
        m_dm.Table5.flush();
        const bool wasOpen = m_dm.Table4.isOpen();
        m_dm.Table4.open();
        m_dm.Table4.flush();
        if (!wasOpen)
            m_dm.Table4.close();
    });
    updateButtons();
}

// --- buttons ---

void TForm5::updateCounts()
{
    Label1->setText(QStringLiteral("Типов комбикормов в списке: %1.  Отобрано к расчету: %2 из %3")
                        .arg(m_scheme.visibleCount())
                        .arg(m_dm.selectedFeedCount)
                        .arg(selectionLimit));
}

void TForm5::updateButtons()
{
    updateCounts();
    if (m_scheme.moving())
        return;
    const bool any = m_scheme.visibleCount() > 0;
    for (QPushButton *button : listButtons())
        button->setVisible(any);
    Button1->setVisible(m_scheme.canAdd());
    Button2->setVisible(any && m_scheme.canAdd());
    Button11->show();
    if (!any)
        return;
    if (normsPanelShown()) {
        for (QPushButton *button : {Button1, Button2, Button3, Button4})
            button->hide();
    }
    const store::Table &kk = m_dm.Table2;
    if (kk.filtered() && !kk.filter().trimmed().isEmpty()) {
        for (QPushButton *button : {Button1, Button2, Button3, Button4, Button7, Button8})
            button->hide();
    }
}

void TForm5::setNormsPanelShown(bool shown)
{
    m_bottom->setCurrentWidget(shown ? Panel2 : static_cast<QWidget *>(Panel1));
    Button6->setText(shown ? characteristicsCaption : normsCaption);
}

void TForm5::afterAdd(bool normsEditable)
{
    lists::clearNewFeedType(m_dm);
    {
        store::DataSourceOff sirOff(m_dm.Table3);
        loadLimits();
        m_dm.Table3.first();
    }
    DBGrid1->followCursor();
    updateButtons();
    DBGrid1->setReadOnly(false);
    Panel1->setFieldsReadOnly(false);
    DBMemo1->setReadOnly(false);
    DBGrid2->setReadOnly(!normsEditable);
    DBGrid1->setFocus();
    DBGrid1->setCurrentIndex(DBGrid1->model()->index(DBGrid1->currentIndex().row(), 0));
}

// "Добавить в конец": the move to the new entry passes through the scroll events, which
// write the limits of the feed type left.
void TForm5::Button1Click()
{
    lists::runReporting(this, [this] {
        m_scheme.addAtEnd();
        afterAdd(true);
    });
}

// "Добавить выше": the limits on screen are written first, so nothing typed is lost.
void TForm5::Button2Click()
{
    lists::runReporting(this, [this] {
        saveLimits();
        m_scheme.addAbove();
        afterAdd(true);
    });
}

// "Переместить" / "Поставить сюда"
void TForm5::Button3Click()
{
    if (!m_scheme.moving()) {
        lists::runReporting(this, [this] { m_scheme.beginMove(); });
        if (!m_scheme.moving())
            return;
        Button3->setText(QStringLiteral("Поставить сюда"));
        for (QPushButton *button : listButtons())
            button->setVisible(button == Button3 || button == Button6);
        Button11->hide();
        DBGrid1->setFocus();
        return;
    }
    Button3->setText(QStringLiteral("Переместить"));
    for (QPushButton *button : listButtons())
        button->show();
    Button11->show();
    lists::runReporting(this, [this] {
        saveLimits(); // the limits of the entry the cursor stands on
        m_scheme.finishMove();
        loadLimits(); // those of the moved entry, now current
    });
    updateButtons();
    DBGrid1->setFocus();
}

// "Удалить" after confirmation; the limits shown are then those of the new current entry.
void TForm5::Button4Click()
{
    if (TForm7::ask(this)) {
        lists::runReporting(this, [this] {
            m_scheme.deleteCurrent();
            loadLimits();
        });
    }
    updateButtons();
    DBGrid1->setFocus();
}

// "Уточнить": the feed type's names and either its norms or its inclusion limits become
// editable until the cursor moves to another feed type.
void TForm5::Button5Click()
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
void TForm5::Button6Click()
{
    if (!normsPanelShown()) {
        DBGrid2->setReadOnly(true);
        setNormsPanelShown(true);
    } else {
        lists::runReporting(this, [this] {
            store::DataSourceOff sirOff(m_dm.Table3);
            store::cancelHighlight(m_dm.Table3);
        });
        setNormsPanelShown(false);
    }
    updateButtons();
}

// "Отобрать к расчету"
void TForm5::Button7Click()
{
    QString refusal;
    lists::runReporting(this, [this, &refusal] {
        refusal = lists::toggleSelection(
            m_dm.Table2, m_dm.selectedFeedCount, selectionLimit,
            QStringLiteral("Уже отобрано допустимое количество типов продукции - "));
    });
    if (!refusal.isEmpty())
        lists::showMessage(this, refusal);
    updateCounts();
    DBGrid1->setFocus();
}

// "Отменить весь отбор"
void TForm5::Button8Click()
{
    const bool panelShown = normsPanelShown();
    lists::runReporting(this, [this] {
        saveLimits();
        setNormsPanelShown(false);
        store::DataSourceOff kkOff(m_dm.Table2);
        lists::clearAllSelections(m_dm.Table2);
        m_dm.selectedFeedCount = 0;
        loadLimits();
    });
    DBGrid1->setFocus();
    setNormsPanelShown(panelShown);
    updateButtons();
}

// "Выделить ": marks the feed types whose purpose, type or standard holds the key and
// shows only them; the norms panel stays as it was.
void TForm5::Button9Click()
{
    const QString key = TForm9::ask(this);
    if (!store::isSearchKey(key))
        return;
    int matches = 0;
    lists::runReporting(this, [this, &key, &matches] {
        store::DataSourceOff kkOff(m_dm.Table2);
        store::DataSourceOff sirOff(m_dm.Table3);
        saveLimits();
        matches = store::highlightRecords(
            m_dm.Table2, key,
            {QStringLiteral("NASN"), QStringLiteral("TIP"), QStringLiteral("GOST")});
        loadLimits();
    });
    if (matches == 0)
        lists::showMessage(this, QStringLiteral("Записей, соответствующих ключу, нет..."));
    lists::runReporting(this, [this] { loadLimits(); });
    updateButtons();
    DBGrid1->setFocus();
}

// "Отменить выделение" of the feed types
void TForm5::Button10Click()
{
    if (!store::hasHighlight(m_dm.Table2)) {
        DBGrid1->setFocus();
        return;
    }
    lists::runReporting(this, [this] {
        saveLimits();
        {
            store::DataSourceOff kkOff(m_dm.Table2);
            store::cancelHighlight(m_dm.Table2);
        }
        loadLimits();
    });
    updateButtons();
    DBGrid1->setFocus();
}

// "Выделить" on the norms panel: the raw-material highlight.
void TForm5::Button12Click()
{
    const QString key = TForm9::ask(this);
    if (!store::isSearchKey(key))
        return;
    int matches = 0;
    lists::runReporting(this, [this, &key, &matches] {
        matches = store::highlightRecords(m_dm.Table3, key, {QStringLiteral("NAIM")});
    });
    if (matches == 0)
        lists::showMessage(this, QStringLiteral("Записей, соответствующих ключу, нет..."));
    DBGrid2->setFocus();
}

// "Отменить выделение" on the norms panel
void TForm5::Button13Click()
{
    lists::runReporting(this, [this] { store::cancelHighlight(m_dm.Table3); });
    DBGrid2->setFocus();
}
