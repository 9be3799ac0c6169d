#include "lists/characteristicswindow.h"

#include "lists/deleteconfirmation.h"
#include "lists/fieldwidgets.h"
#include "lists/message.h"
#include "lists/newentry.h"
#include "lists/tablegrid.h"
#include "store/datamodule.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace
{

constexpr int characteristicLimit = 64;

lists::ListTraits characteristicTraits(store::TDataModule2 &dm)
{
    lists::ListTraits traits;
    traits.table = &dm.Table1;
    traits.counts = &dm.Table5;
    traits.countField = QStringLiteral("pit");
    traits.firstPosition = 2;
    traits.limit = characteristicLimit;
    traits.dropsFilter = false;
    traits.nameNewEntry = [](store::Table &pit, lists::AddPlace place) {
        pit.setText(QStringLiteral("PIT"),
                    place == lists::AddPlace::Above ? QStringLiteral(" ") : QString());
        pit.setText(QStringLiteral("EDIZ"), QStringLiteral(" "));
    };
    return traits;
}

} // namespace

TForm3::TForm3(store::TDataModule2 &dm, QWidget *parent)
    : QDialog(parent),
      DBGrid1(new lists::TableGrid(
          &dm.Table1,
          {{QStringLiteral("PIT"), QStringLiteral("Наименование характеристики"), 260},
           {QStringLiteral("EDIZ"), QStringLiteral("Единица измерения"), 140}},
          this)),
      Button1(new QPushButton(QStringLiteral("Добавить выше"), this)),
      Button2(new QPushButton(QStringLiteral("Добавить в конец"), this)),
      Button3(new QPushButton(QStringLiteral("Удалить"), this)),
      Button4(new QPushButton(QStringLiteral("Переместить"), this)),
      Button5(new QPushButton(QStringLiteral("Уточнить название"), this)),
      Button6(new QPushButton(QStringLiteral("Выход"), this)), Label1(new QLabel(this)), m_dm(dm),
      m_scheme(characteristicTraits(dm))
{
    setWindowTitle(QStringLiteral("Работа со списком характеристик комбикормов"));
    resize(620, 560);
    auto *buttons = new QVBoxLayout;
    for (QPushButton *button : {Button1, Button2, Button3, Button4, Button5}) {
        button->setAutoDefault(false);
        button->setMinimumWidth(160);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    buttons->addWidget(Button6);
    Button6->setAutoDefault(false);
    auto *left = new QVBoxLayout;
    left->addWidget(DBGrid1, 1);
    left->addWidget(Label1);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    connect(Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm3::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm3::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm3::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm3::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &QDialog::reject);
}

TForm3::~TForm3()
{
    if (m_active)
        FormClose();
}

void TForm3::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_active && !event->spontaneous()) {
        m_active = true;
        FormActivate();
    }
}

void TForm3::done(int result)
{
    lists::commitTyping(this);
    if (m_active) {
        m_active = false;
        FormClose();
    }
    QDialog::done(result);
}

// Activation: the list without the price record, first entry current, read-only.
void TForm3::FormActivate()
{
    lists::runReporting(this, [this] { m_scheme.activate(); });
    // Any move to another characteristic ends editing.
    m_scrollEvent = connect(&m_dm.Table1, &store::Table::afterScroll, this,
                            [this] { DBGrid1->setReadOnly(true); });
    DBGrid1->followCursor();
    DBGrid1->setFocus();
    DBGrid1->setReadOnly(true);
    updateButtons();
}

// Close, whatever closed the window: pit back to its normal range, flushed.
void TForm3::FormClose()
{
    disconnect(m_scrollEvent);
    m_scheme.abandonMove();
    Button4->setText(QStringLiteral("Переместить"));
    lists::runReporting(this, [this] {
        m_scheme.restoreNormalRange();
        m_dm.Table1.flush();
        m_dm.Table1.first();
        m_dm.Table5.flush();
    });
    updateButtons();
    Button6->show();
}

void TForm3::updateButtons()
{
    if (m_scheme.moving())
        return;
    const int visible = m_scheme.visibleCount();
    const bool any = visible > 0;
    Button3->setVisible(any);
    Button4->setVisible(any);
    Button5->setVisible(any);
    Button1->setVisible(any && m_scheme.canAdd());
    Button2->setVisible(m_scheme.canAdd());
    Label1->setText(
        QStringLiteral("Характеристик в списке: %1 из %2").arg(visible).arg(characteristicLimit));
}

void TForm3::makeEditable()
{
    DBGrid1->setReadOnly(false);
    DBGrid1->setFocus();
    DBGrid1->setCurrentIndex(DBGrid1->model()->index(DBGrid1->currentIndex().row(), 0));
}

// "Добавить выше": a blank characteristic above the current one, its columns emptied.
void TForm3::Button1Click()
{
    lists::runReporting(this, [this] {
        m_scheme.addAbove();
        lists::clearCharacteristicColumns(m_dm, m_dm.Table1.integer(QStringLiteral("KEY")));
    });
    updateButtons();
    makeEditable();
}

// "Добавить в конец": a blank characteristic at the end of the list.
void TForm3::Button2Click()
{
    lists::runReporting(this, [this] {
        m_scheme.addAtEnd();
        lists::clearCharacteristicColumns(m_dm, m_dm.Table1.integer(QStringLiteral("KEY")));
    });
    updateButtons();
    makeEditable();
}

// "Удалить" after confirmation; the columns of the characteristic keep their values
// until its slot is taken again.
void TForm3::Button3Click()
{
    if (TForm7::ask(this))
        lists::runReporting(this, [this] { m_scheme.deleteCurrent(); });
    updateButtons();
    DBGrid1->setFocus();
}

// "Переместить": first press remembers the entry, second press ("Поставить сюда") puts
// it where the cursor stands.
void TForm3::Button4Click()
{
    if (!m_scheme.moving()) {
        lists::runReporting(this, [this] { m_scheme.beginMove(); });
        if (!m_scheme.moving())
            return;
        Button4->setText(QStringLiteral("Поставить сюда"));
        for (QPushButton *button : {Button1, Button3, Button6, Button2, Button5})
            button->hide();
        DBGrid1->setFocus();
        return;
    }
    Button4->setText(QStringLiteral("Переместить"));
    lists::runReporting(this, [this] { m_scheme.finishMove(); });
    updateButtons();
    Button6->show();
    DBGrid1->setFocus();
}

// "Уточнить название": the name and unit of the current entry become editable.
void TForm3::Button5Click()
{
    makeEditable();
}
