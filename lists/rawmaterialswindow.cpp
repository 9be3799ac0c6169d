#include "lists/rawmaterialswindow.h"

#include "lists/characteristicpanel.h"
#include "lists/deleteconfirmation.h"
#include "lists/fieldwidgets.h"
#include "lists/message.h"
#include "lists/newentry.h"
#include "lists/selection.h"
#include "lists/selectionkey.h"
#include "lists/tablegrid.h"
#include "store/datamodule.h"
#include "store/highlight.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace
{

constexpr int rawLimit = 400;

lists::ListTraits rawTraits(store::TDataModule2 &dm)
{
    lists::ListTraits traits;
    traits.table = &dm.Table3;
    traits.counts = &dm.Table5;
    traits.countField = QStringLiteral("sir");
    traits.firstPosition = 1;
    traits.limit = rawLimit;
    traits.dropsFilter = true;
    traits.nameNewEntry = [](store::Table &sir, lists::AddPlace place) {
        sir.setText(QStringLiteral("NAIM"),
                    place == lists::AddPlace::Above ? QStringLiteral(" ") : QString());
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

TForm6::TForm6(store::TDataModule2 &dm, QWidget *parent)
    : QDialog(parent),
      DBGrid1(new lists::TableGrid(&dm.Table3,
                                   {{QStringLiteral("NAIM"), QStringLiteral("Наименование"), 300},
                                    {QStringLiteral("PREM"), QStringLiteral("Прем."), 50}},
                                   this)),
      Panel1(new lists::CharacteristicPanel({QStringLiteral("mi")}, {}, 3, this)),
      Button1(makeButton(QStringLiteral("Добавить в конец"), this)),
      Button2(makeButton(QStringLiteral("Добавить выше"), this)),
      Button3(makeButton(QStringLiteral("Переместить"), this)),
      Button4(makeButton(QStringLiteral("Удалить"), this)),
      Button5(makeButton(QStringLiteral("Уточнить"), this)),
      Button6(makeButton(QStringLiteral("Отобрать к расчету"), this)),
      Button7(makeButton(QStringLiteral("Отменить весь отбор"), this)),
      Button8(makeButton(QStringLiteral("Выделить"), this)),
      Button9(makeButton(QStringLiteral("Отменить выделение"), this)),
      Button10(makeButton(QStringLiteral("Выход"), this)), Label1(new QLabel(this)), m_dm(dm),
      m_scheme(rawTraits(dm))
{
    setWindowTitle(QStringLiteral("Работа со списком сырья"));
    resize(800, 600);
    DBGrid1->gridModel()->setRowFlag(QStringLiteral("ot"));

    // Editing the list in one column, selection and search in the other; hidden buttons
    // leave no holes.
    auto *editing = new QVBoxLayout;
    for (QPushButton *button : {Button1, Button2, Button3, Button4, Button5})
        editing->addWidget(button);
    editing->addStretch(1);
    auto *choosing = new QVBoxLayout;
    for (QPushButton *button : {Button6, Button7, Button8, Button9})
        choosing->addWidget(button);
    choosing->addStretch(1);
    choosing->addWidget(Button10);
    auto *top = new QHBoxLayout;
    auto *gridColumn = new QVBoxLayout;
    gridColumn->addWidget(DBGrid1, 1);
    gridColumn->addWidget(Label1);
    top->addLayout(gridColumn, 1);
    top->addLayout(editing);
    top->addLayout(choosing);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(Panel1, 0);
    DBGrid1->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);

    connect(Button1, &QPushButton::clicked, this, &TForm6::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm6::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm6::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm6::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm6::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &TForm6::Button6Click);
    connect(Button7, &QPushButton::clicked, this, &TForm6::Button7Click);
    connect(Button8, &QPushButton::clicked, this, &TForm6::Button8Click);
    connect(Button9, &QPushButton::clicked, this, &TForm6::Button9Click);
    connect(Button10, &QPushButton::clicked, this, &QDialog::reject);
}

TForm6::~TForm6()
{
    if (m_active)
        FormClose();
}

void TForm6::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_active && !event->spontaneous()) {
        m_active = true;
        FormActivate();
    }
}

void TForm6::done(int result)
{
    lists::commitTyping(this);
    if (m_active) {
        m_active = false;
        FormClose();
    }
    QDialog::done(result);
}

QList<QPushButton *> TForm6::listButtons() const
{
    return {Button1, Button2, Button3, Button4, Button5, Button6, Button7, Button8, Button9};
}

void TForm6::setEditorsReadOnly(bool readOnly)
{
    DBGrid1->setReadOnly(readOnly);
    Panel1->setFieldsReadOnly(readOnly);
}

// Activation: the selected count, the panel bound to the characteristics in use, the
// first raw material current and read-only.
void TForm6::FormActivate()
{
    Panel1->hideAll();
    lists::runReporting(this, [this] {
        m_scheme.activate();
        m_dm.selectedRawCount = lists::countSelected(m_dm.Table3);
        Panel1->bindTo(m_dm.Table1, m_dm.Table3);
        m_dm.Table3.first();
    });
    // Any move to another raw material ends editing.
    m_scrollEvent = connect(&m_dm.Table3, &store::Table::afterScroll, this,
                            [this] { setEditorsReadOnly(true); });
    DBGrid1->followCursor();
    DBGrid1->setFocus();
    setEditorsReadOnly(true);
    updateButtons();
}

// Close, whatever closed the window: no highlight left, sir flushed.
void TForm6::FormClose()
{
    disconnect(m_scrollEvent);
    m_scheme.abandonMove();
    Panel1->hideAll(); // unbound until the next activation
    Button3->setText(QStringLiteral("Переместить"));
    lists::runReporting(this, [this] {
        store::cancelHighlight(m_dm.Table3);
        m_dm.Table3.flush();
        m_dm.Table5.flush();
    });
    updateButtons();
}

void TForm6::updateCounts()
{
    Label1->setText(QStringLiteral("Сырья в списке: %1.  Отобрано к расчету: %2 из %3")
                        .arg(m_scheme.visibleCount())
                        .arg(m_dm.selectedRawCount)
                        .arg(selectionLimit));
}

void TForm6::updateButtons()
{
    updateCounts();
    if (m_scheme.moving())
        return;
    const bool any = m_scheme.visibleCount() > 0;
    for (QPushButton *button : listButtons())
        button->setVisible(any);
    Button1->setVisible(m_scheme.canAdd());
    Button2->setVisible(any && m_scheme.canAdd());
    Button10->show();
    const store::Table &sir = m_dm.Table3;
    if (sir.filtered() && !sir.filter().trimmed().isEmpty()) {
        for (QPushButton *button : {Button1, Button2, Button6, Button3, Button4, Button7})
            button->hide();
    }
}

void TForm6::afterAdd()
{
    lists::clearNewRawMaterial(m_dm);
    DBGrid1->followCursor();
    updateButtons();
    setEditorsReadOnly(false);
    DBGrid1->setFocus();
    DBGrid1->setCurrentIndex(DBGrid1->model()->index(DBGrid1->currentIndex().row(), 0));
}

// "Добавить в конец"
void TForm6::Button1Click()
{
    lists::runReporting(this, [this] {
        m_scheme.addAtEnd();
        afterAdd();
    });
}

// "Добавить выше"
void TForm6::Button2Click()
{
    lists::runReporting(this, [this] {
        m_scheme.addAbove();
        afterAdd();
    });
}

// "Переместить" / "Поставить сюда"
void TForm6::Button3Click()
{
    if (!m_scheme.moving()) {
        lists::runReporting(this, [this] { m_scheme.beginMove(); });
        if (!m_scheme.moving())
            return;
        Button3->setText(QStringLiteral("Поставить сюда"));
        for (QPushButton *button : listButtons())
            button->setVisible(button == Button3);
        Button10->hide();
        DBGrid1->setFocus();
        return;
    }
    Button3->setText(QStringLiteral("Переместить"));
    for (QPushButton *button : listButtons())
        button->show();
    Button10->show();
    lists::runReporting(this, [this] { m_scheme.finishMove(); });
    updateButtons();
    DBGrid1->setFocus();
}

// "Удалить" after confirmation. A selected raw material that is deleted still counts
// until the next activation recounts.
void TForm6::Button4Click()
{
    if (TForm7::ask(this))
        lists::runReporting(this, [this] { m_scheme.deleteCurrent(); });
    updateButtons();
    DBGrid1->setFocus();
}

// "Уточнить": the name, premix mark and contents of the current raw material become
// editable until the cursor moves on.
void TForm6::Button5Click()
{
    setEditorsReadOnly(false);
    DBGrid1->setFocus();
}

// "Отобрать к расчету": toggles the selection of the current raw material.
void TForm6::Button6Click()
{
    QString refusal;
    lists::runReporting(this, [this, &refusal] {
        refusal = lists::toggleSelection(
            m_dm.Table3, m_dm.selectedRawCount, selectionLimit,
            QStringLiteral("Уже отобрано допустимое количество типов сырья - "));
    });
    if (!refusal.isEmpty())
        lists::showMessage(this, refusal);
    updateCounts();
    DBGrid1->setFocus();
}

// "Отменить весь отбор"
void TForm6::Button7Click()
{
    lists::runReporting(this, [this] {
        m_dm.selectedRawCount = 0;
        lists::clearAllSelections(m_dm.Table3);
    });
    updateButtons();
    DBGrid1->setFocus();
}

// "Выделить": marks the raw materials whose name holds the key and shows only them.
void TForm6::Button8Click()
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
    updateButtons();
    DBGrid1->setFocus();
}

// "Отменить выделение"
void TForm6::Button9Click()
{
    lists::runReporting(this, [this] { store::cancelHighlight(m_dm.Table3); });
    updateButtons();
    DBGrid1->setFocus();
}
