#include "archive/window/archivewindow.h"

#include "archive/archivecursors.h"
#include "archive/archivedrecipe.h"
#include "archive/archivenumbers.h"
#include "archive/archiveview.h"
#include "archive/certificatetext.h"
#include "archive/consumption.h"
#include "archive/networkcopy.h"
#include "archive/recipedeletion.h"
#include "archive/recipeselection.h"
#include "archive/window/certificatepage.h"
#include "archive/window/consumptionpage.h"
#include "platform/printerchoice.h"
#include "settings/settings.h"
#include "settings/workingdate.h"
#include "store/datamodule.h"
#include "widgets/fixedpitchfont.h"
#include "widgets/message.h"
#include "widgets/tablegrid.h"
#include "widgets/windowparts.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QVBoxLayout>

namespace archive
{

namespace
{

constexpr int kPanelHeight = 34; // the buttons under the list and the certificate

QWidget *buttonPanel(const QList<QPushButton *> &buttons, QWidget *parent)
{
    auto *panel = new QWidget(parent);
    panel->setAutoFillBackground(true);
    auto *layout = new QHBoxLayout(panel);
    layout->setContentsMargins(6, 3, 6, 3);
    for (QPushButton *b : buttons) {
        b->setParent(panel);
        b->setMinimumWidth(120);
        layout->addWidget(b);
    }
    layout->addStretch();
    return panel;
}

} // namespace

ArchiveWindow::ArchiveWindow(store::DataModule &data, QString netpathFile, QWidget *parent)
    : QDialog(parent), data_(data), netpathFile_(std::move(netpathFile))
{
    setObjectName(QStringLiteral("Form14"));
    setWindowTitle(QStringLiteral("Архив рецептов"));
    buildGrids();
    buildButtons();
    buildOverlays();
    resize(800, 600);
    connect(&data_.archiveHeaders, &store::Table::afterScroll, this,
            &ArchiveWindow::Table6AfterScroll);
}

void ArchiveWindow::setRecipeViewOpener(std::function<void(int)> open)
{
    openRecipeView_ = std::move(open);
}

void ArchiveWindow::setKeyAsker(std::function<QString()> ask)
{
    askKey_ = std::move(ask);
}

void ArchiveWindow::setCertificateExporter(
    std::function<void(const QStringList &, int)> exportCertificate)
{
    exportCertificate_ = std::move(exportCertificate);
    Button17->setEnabled(bool(exportCertificate_));
}

ArchiveCursors ArchiveWindow::cursors() const
{
    return archiveCursors(data_);
}

void ArchiveWindow::buildGrids()
{
    DBGrid1 = new widgets::TableGrid(
        &data_.archiveHeaders,
        {{QStringLiteral("NAIM"), QStringLiteral("Наименование"), 200, -1, true},
         {QStringLiteral("PRIM"), QStringLiteral("Примечание"), 140},
         {QStringLiteral("VES"), QStringLiteral("Вес"), 70, 3},
         {QStringLiteral("NASN"), QStringLiteral("Назначение"), 200, -1, true},
         {QStringLiteral("DATA"), QStringLiteral("Дата"), 80, -1, true},
         {QStringLiteral("GOST"), QStringLiteral("ГОСТ / ТУ"), 100},
         {QStringLiteral("NDS"), QStringLiteral("%нал."), 50, 2}},
        this);
    DBGrid2 = new widgets::TableGrid(&data_.archiveCompositions,
                                     {{QStringLiteral("NAIM"), QStringLiteral("Наименование"), 190},
                                      {QStringLiteral("PROCIN"), QStringLiteral("%ввод."), 60, 3},
                                      {QStringLiteral("PRICE"), QStringLiteral("Цена 1т"), 80, 2}},
                                     this);
    DBGrid3 = new widgets::TableGrid(
        &data_.archiveCharacteristics,
        {{QStringLiteral("PIT"), QStringLiteral("Наименование"), 140, -1, true},
         {QStringLiteral("EDIZ"), QStringLiteral("Ед. измер."), 70, -1, true},
         {QStringLiteral("MI"), QStringLiteral("Min"), 55, 2, true},
         {QStringLiteral("RA"), QStringLiteral("Расчет"), 60, 2, true},
         {QStringLiteral("FA"), QStringLiteral("Факт"), 60, 2},
         {QStringLiteral("MA"), QStringLiteral("Max"), 55, 2, true}},
        this);
    widgets::nameObjects({{DBGrid1, "DBGrid1"}, {DBGrid2, "DBGrid2"}, {DBGrid3, "DBGrid3"}});
    DBGrid1->setReadOnly(false);
    DBGrid2->setReadOnly(true);
    DBGrid3->setReadOnly(false);
}

void ArchiveWindow::buildButtons()
{
    Button1 = widgets::makeButton(QStringLiteral("Просмотр и печать рецепта"), this, "Button1");
    Button2 = widgets::makeButton(QStringLiteral("Печатать удостоверение"), this, "Button2");
    Button3 = widgets::makeButton(QStringLiteral("Выделить"), this, "Button3");
    Button4 = widgets::makeButton(QStringLiteral("Отменить выделение"), this, "Button4");
    Button5 = widgets::makeButton(QStringLiteral("Очистить выработку"), this, "Button5");
    Button6 = widgets::makeButton(QStringLiteral("Подсчитать расход сырья"), this, "Button6");
    Button7 = widgets::makeButton(QStringLiteral("Удалить рецепт"), this, "Button7");
    Button8 =
        widgets::makeButton(QStringLiteral("Удалить рецепты в диапазоне номеров"), this, "Button8");
    Button9 = widgets::makeButton(QStringLiteral("Новая нумерация"), this, "Button9");
    Button10 = widgets::makeButton(QStringLiteral("Выдать архив на сеть"), this, "Button10");
    Button11 = widgets::makeButton(QStringLiteral("Выход"), this, "Button11");

    auto *lower = new QHBoxLayout;
    lower->addWidget(DBGrid2, 4);
    lower->addWidget(DBGrid3, 5);
    auto *buttons = new QGridLayout;
    const QList<QPushButton *> order{Button1, Button2, Button3, Button4,  Button5, Button6,
                                     Button7, Button8, Button9, Button10, Button11};
    for (int i = 0; i < order.size(); ++i)
        buttons->addWidget(order.at(i), i / 4, i % 4);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(DBGrid1, 5);
    layout->addLayout(lower, 4);
    layout->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, &ArchiveWindow::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &ArchiveWindow::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &ArchiveWindow::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &ArchiveWindow::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &ArchiveWindow::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &ArchiveWindow::Button6Click);
    connect(Button7, &QPushButton::clicked, this, &ArchiveWindow::Button7Click);
    connect(Button8, &QPushButton::clicked, this, &ArchiveWindow::Button8Click);
    connect(Button9, &QPushButton::clicked, this, &ArchiveWindow::Button9Click);
    connect(Button10, &QPushButton::clicked, this, &ArchiveWindow::Button10Click);
    connect(Button11, &QPushButton::clicked, this, &QDialog::reject);
}

void ArchiveWindow::buildOverlays()
{
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true);
    MaskEdit1 = new QLineEdit(Panel1);
    MaskEdit2 = new QLineEdit(Panel1);
    widgets::nameObjects({{MaskEdit1, "MaskEdit1"}, {MaskEdit2, "MaskEdit2"}});
    for (QLineEdit *edit : {MaskEdit1, MaskEdit2}) {
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,6}")), edit));
        edit->setMaxLength(6);
        edit->setFixedWidth(80);
    }
    Button12 = widgets::makeButton(QStringLiteral("Удалить"), Panel1, "Button12");
    Button13 = widgets::makeButton(QStringLiteral("Выход"), Panel1, "Button13");
    auto *range = new QGridLayout(Panel1);
    range->addWidget(
        widgets::makeLabel(QStringLiteral("Введите диапазон номеров удаляемых рецептов"), Panel1),
        0, 0, 1, 5);
    range->addWidget(widgets::makeLabel(QStringLiteral("(включительно) с"), Panel1), 1, 0);
    range->addWidget(MaskEdit1, 1, 1);
    range->addWidget(widgets::makeLabel(QStringLiteral("по"), Panel1), 1, 2);
    range->addWidget(MaskEdit2, 1, 3);
    range->addWidget(Button12, 2, 1);
    range->addWidget(Button13, 2, 3);
    range->setColumnStretch(4, 1);
    range->setRowStretch(3, 1);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setFont(widgets::fixedPitchFontInPoints(10));
    Button14 = widgets::makeButton(QStringLiteral("Печатать"), this, "Button14");
    Button15 = widgets::makeButton(QStringLiteral("Выход"), this, "Button15");
    Panel2 = buttonPanel({Button14, Button15}, this);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setFont(widgets::fixedPitchFontInPoints(8));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Button16 = widgets::makeButton(QStringLiteral("Печатать"), this, "Button16");
    Button17 = widgets::makeButton(QStringLiteral("Импорт в Word"), this, "Button17");
    Button18 = widgets::makeButton(QStringLiteral("Выход"), this, "Button18");
    Button17->setEnabled(false); // until the shell hands the export
    Panel3 = buttonPanel({Button16, Button17, Button18}, this);

    connect(Button12, &QPushButton::clicked, this, &ArchiveWindow::Button12Click);
    connect(Button13, &QPushButton::clicked, this, &ArchiveWindow::Button13Click);
    connect(Button14, &QPushButton::clicked, this, &ArchiveWindow::Button14Click);
    connect(Button15, &QPushButton::clicked, this, &ArchiveWindow::Button15Click);
    connect(Button16, &QPushButton::clicked, this, &ArchiveWindow::Button16Click);
    connect(Button17, &QPushButton::clicked, this, &ArchiveWindow::Button17Click);
    connect(Button18, &QPushButton::clicked, this, &ArchiveWindow::Button15Click);
    hideOverlays();
}

// The range panel from 2 pixels under the raw-material grid to the bottom; the list and
// the certificate over the whole window with their buttons under them.
void ArchiveWindow::placeOverlays()
{
    const QRect client = rect();
    const int top = DBGrid2->geometry().bottom() + 2;
    Panel1->setGeometry(0, top, client.width(), client.height() - top);
    const int listHeight = client.height() - kPanelHeight;
    for (QWidget *w : {static_cast<QWidget *>(ListBox1), static_cast<QWidget *>(Memo1)})
        w->setGeometry(0, 0, client.width(), listHeight);
    for (QWidget *panel : {Panel2, Panel3})
        panel->setGeometry(0, listHeight, client.width(), kPanelHeight);
}

void ArchiveWindow::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    placeOverlays();
}

void ArchiveWindow::hideOverlays()
{
    for (QWidget *w :
         {Panel1, static_cast<QWidget *>(ListBox1), Panel2, static_cast<QWidget *>(Memo1), Panel3})
        w->hide();
}

bool ArchiveWindow::run(const std::function<void()> &operation)
{
    const bool ok = widgets::runReporting(this, operation);
    followCursors();
    return ok;
}

void ArchiveWindow::followCursors()
{
    for (widgets::TableGrid *grid : {DBGrid1, DBGrid2, DBGrid3})
        grid->followCursor();
}

void ArchiveWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void ArchiveWindow::FormShow()
{
    const bool withTax = settings::currentSettings().namePriceWithTax;
    widgets::GridColumn nds = DBGrid1->gridModel()->columns().last();
    nds.readOnly = withTax;
    DBGrid1->gridModel()->setColumn(DBGrid1->gridModel()->columns().size() - 1, nds);
    DBGrid2->setReadOnly(true);
    hideOverlays();
    placeOverlays();
    linking_ = true;
    run([this] {
        showAllRecipes(data_.archiveHeaders);
        linkToHead(cursors());
    });
    DBGrid1->setFocus();
}

// Linked browsing: whenever the head cursor moves while the window works with it, the
// lower grids show the rows of the recipe under it.
void ArchiveWindow::Table6AfterScroll()
{
    if (!linking_ || !data_.archiveHeaders.dataSourceEnabled() || !ListBox1->isHidden())
        return;
    widgets::runReporting(this, [this] { linkToHead(cursors()); });
}

void ArchiveWindow::Button1Click()
{
    const int number = currentNumber(data_.archiveHeaders);
    if (number == 0 || !openRecipeView_)
        return;
    DBGrid1->commitEdit();
    DBGrid3->commitEdit();
    linking_ = false;
    openRecipeView_(number);
    linking_ = true;
    followCursors();
}

void ArchiveWindow::Button2Click()
{
    rememberedNumber_ = currentNumber(data_.archiveHeaders);
    if (rememberedNumber_ == 0)
        return;
    DBGrid1->commitEdit();
    DBGrid3->commitEdit();
    CertificateText text;
    const auto c = cursors();
    linking_ = false;
    const bool read = run([&] {
        const ArchivedRecipe recipe =
            readArchivedRecipe(*c.arkk, *c.arsir, *c.arpit, *c.arprem, rememberedNumber_);
        text = buildCertificateText(recipe, settings::currentSettings(), settings::workingDate());
    });
    linking_ = true;
    if (!read) {
        backToBrowsing();
        return;
    }
    hideOverlays();
    Memo1->setPlainText(text.plainText());
    Memo1->show();
    Panel3->show();
    Memo1->raise();
    Panel3->raise();
    Memo1->setFocus();
}

void ArchiveWindow::Button3Click()
{
    if (!askKey_)
        return;
    const QString key = askKey_();
    std::optional<int> matched;
    run([&] { matched = selectByKey(data_.archiveHeaders, key); });
    if (matched && *matched == 0)
        widgets::showMessage(this, kNoMatchMessage);
    DBGrid1->setFocus();
}

void ArchiveWindow::Button4Click()
{
    run([this] {
        cancelSelection(data_.archiveHeaders);
        linkToHead(cursors());
    });
    DBGrid1->setFocus();
}

void ArchiveWindow::Button5Click()
{
    DBGrid1->commitEdit();
    const int count = data_.archiveHeaders.viewCount();
    if (count == 0 ||
        !widgets::askYesNo(this, QStringLiteral("Очистить выработку у рецептов списка (всего %1)? "
                                                "Их вес станет 0.")
                                     .arg(count)))
        return;
    DBGrid1->setEnabled(false);
    run([this] { clearOutput(data_.archiveHeaders); });
    DBGrid1->setEnabled(true);
}

void ArchiveWindow::Button6Click()
{
    DBGrid1->commitEdit();
    rememberedNumber_ = currentNumber(data_.archiveHeaders);
    QStringList lines;
    linking_ = false;
    const bool ok =
        run([&] { lines = consumptionLines(cursors(), settings::currentSettings().lossNorm); });
    linking_ = true;
    if (!ok)
        return;
    hideOverlays();
    ListBox1->clear();
    ListBox1->addItems(lines);
    ListBox1->show();
    Panel2->show();
    ListBox1->raise();
    Panel2->raise();
}

void ArchiveWindow::Button7Click()
{
    int number = 0;
    QString name;
    run([&] {
        number = currentNumber(data_.archiveHeaders);
        name = data_.archiveHeaders.text(QStringLiteral("naim")).trimmed();
    });
    if (number == 0 ||
        !widgets::askYesNo(
            this, QStringLiteral("Удалить из архива рецепт № %1 «%2»?").arg(number).arg(name)))
        return;
    run([this] { deleteCurrentRecipe(cursors()); });
}

void ArchiveWindow::Button8Click()
{
    placeOverlays();
    Panel1->show();
    Panel1->raise();
    MaskEdit1->setFocus();
}

void ArchiveWindow::Button9Click()
{
    if (widgets::askYesNo(this, QStringLiteral("Следующий рецепт получит № 1 и заменит рецепт № 1 "
                                               "в архиве, если он есть. Продолжить?")))
        run([this] { restartNumbering(data_.counters); });
}

void ArchiveWindow::Button10Click()
{
    DBGrid1->commitEdit();
    DBGrid3->commitEdit();
    NetworkCopyResult result;
    run([&] { result = copyArchiveToNetwork(cursors(), data_.scratch, netpathFile_); });
    if (!result.ok())
        widgets::showMessage(this, result.error);
    DBGrid1->setFocus();
}

void ArchiveWindow::Button12Click()
{
    const int from = rangeFieldNumber(MaskEdit1->text());
    const int to = rangeFieldNumber(MaskEdit2->text());
    if (rangeRefused(from, to)) {
        widgets::showMessage(this, kBadRangeMessage);
        Button13Click();
        return;
    }
    qsizetype count = 0;
    if (!run([&] { count = recipesInRange(data_.archiveHeaders, from, to).size(); }))
        return;
    if (count == 0) {
        widgets::showMessage(
            this,
            QStringLiteral("В архиве нет рецептов с номерами от %1 до %2.").arg(from).arg(to));
        return;
    }
    if (!widgets::askYesNo(this, QStringLiteral("Удалить из архива рецепты с № %1 по № %2 "
                                                "(всего %3)?")
                                     .arg(from)
                                     .arg(to)
                                     .arg(count)))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    run([&] { deleteRecipeRange(cursors(), from, to); });
    QApplication::restoreOverrideCursor();
}

void ArchiveWindow::Button13Click()
{
    run([this] {
        showAllRecipes(data_.archiveHeaders);
        linkToHead(cursors());
    });
    hideOverlays();
    DBGrid1->setFocus();
}

void ArchiveWindow::Button14Click()
{
    QStringList lines;
    for (int i = 0; i < ListBox1->count(); ++i)
        lines << ListBox1->item(i)->text();
    print(QStringLiteral("Расход сырья"),
          [lines](QPainter *painter) { ConsumptionPage(painter).draw(lines); });
}

void ArchiveWindow::Button15Click()
{
    backToBrowsing();
}

void ArchiveWindow::Button16Click()
{
    const CertificateText text = CertificateText::fromPlainText(Memo1->toPlainText());
    print(QStringLiteral("Удостоверение ") + QString::number(rememberedNumber_),
          [text](QPainter *painter) { CertificatePage(painter).draw(text); });
}

// The export takes the text exactly as the print does, the user's edits included.
void ArchiveWindow::Button17Click()
{
    if (!exportCertificate_)
        return;
    const CertificateText text = CertificateText::fromPlainText(Memo1->toPlainText());
    exportCertificate_(text.lines, rememberedNumber_);
}

void ArchiveWindow::backToBrowsing()
{
    hideOverlays();
    run([this] { returnToRecipe(cursors(), rememberedNumber_); });
    DBGrid1->setFocus();
}

void ArchiveWindow::print(const QString &documentName, const std::function<void(QPainter *)> &draw)
{
    const platform::PrinterChoice choice = platform::choosePrinter(this, documentName, forcedPdf_);
    if (!choice)
        return;
    platform::printWithChoice(this, choice, [this, &draw](QPrinter *printer) {
        QPainter painter;
        if (!painter.begin(printer)) {
            widgets::showMessage(this, QStringLiteral("Не удалось начать печать на принтере %1")
                                           .arg(printer->printerName()));
            return;
        }
        draw(&painter);
        painter.end();
    });
}

void ArchiveWindow::done(int result)
{
    FormClose();
    QDialog::done(result);
}

// Leaving: what was typed is posted and the archive tables the window edits are saved.
void ArchiveWindow::FormClose()
{
    DBGrid1->commitEdit();
    DBGrid3->commitEdit();
    linking_ = false;
    widgets::runReporting(this, [this] {
        for (store::Table *table :
             {&data_.archiveHeaders, &data_.archiveCompositions, &data_.archiveCharacteristics})
            table->flush();
    });
    hideOverlays();
}

} // namespace archive
