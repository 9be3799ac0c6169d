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
    setObjectName(QStringLiteral("archiveWindow"));
    setWindowTitle(QStringLiteral("Архив рецептов"));
    buildGrids();
    buildButtons();
    buildOverlays();
    resize(800, 600);
    connect(&data_.archiveHeaders, &store::Table::afterScroll, this,
            &ArchiveWindow::onHeadScrolled);
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
    certificateExportButton->setEnabled(bool(exportCertificate_));
}

ArchiveCursors ArchiveWindow::cursors() const
{
    return archiveCursors(data_);
}

void ArchiveWindow::buildGrids()
{
    recipeGrid = new widgets::TableGrid(
        &data_.archiveHeaders,
        {{QStringLiteral("NAIM"), QStringLiteral("Наименование"), 200, -1, true},
         {QStringLiteral("PRIM"), QStringLiteral("Примечание"), 140},
         {QStringLiteral("VES"), QStringLiteral("Вес"), 70, 3},
         {QStringLiteral("NASN"), QStringLiteral("Назначение"), 200, -1, true},
         {QStringLiteral("DATA"), QStringLiteral("Дата"), 80, -1, true},
         {QStringLiteral("GOST"), QStringLiteral("ГОСТ / ТУ"), 100},
         {QStringLiteral("NDS"), QStringLiteral("%нал."), 50, 2}},
        this);
    compositionGrid =
        new widgets::TableGrid(&data_.archiveCompositions,
                               {{QStringLiteral("NAIM"), QStringLiteral("Наименование"), 190},
                                {QStringLiteral("PROCIN"), QStringLiteral("%ввод."), 60, 3},
                                {QStringLiteral("PRICE"), QStringLiteral("Цена 1т"), 80, 2}},
                               this);
    characteristicsGrid = new widgets::TableGrid(
        &data_.archiveCharacteristics,
        {{QStringLiteral("PIT"), QStringLiteral("Наименование"), 140, -1, true},
         {QStringLiteral("EDIZ"), QStringLiteral("Ед. измер."), 70, -1, true},
         {QStringLiteral("MI"), QStringLiteral("Min"), 55, 2, true},
         {QStringLiteral("RA"), QStringLiteral("Расчет"), 60, 2, true},
         {QStringLiteral("FA"), QStringLiteral("Факт"), 60, 2},
         {QStringLiteral("MA"), QStringLiteral("Max"), 55, 2, true}},
        this);
    widgets::nameObjects({{recipeGrid, "recipeGrid"},
                          {compositionGrid, "compositionGrid"},
                          {characteristicsGrid, "characteristicsGrid"}});
    recipeGrid->setReadOnly(false);
    compositionGrid->setReadOnly(true);
    characteristicsGrid->setReadOnly(false);
}

void ArchiveWindow::buildButtons()
{
    viewRecipeButton =
        widgets::makeButton(QStringLiteral("Просмотр и печать рецепта"), this, "viewRecipeButton");
    certificateButton =
        widgets::makeButton(QStringLiteral("Печатать удостоверение"), this, "certificateButton");
    selectButton = widgets::makeButton(QStringLiteral("Выделить"), this, "selectButton");
    cancelSelectionButton =
        widgets::makeButton(QStringLiteral("Отменить выделение"), this, "cancelSelectionButton");
    clearOutputButton =
        widgets::makeButton(QStringLiteral("Очистить выработку"), this, "clearOutputButton");
    consumptionButton =
        widgets::makeButton(QStringLiteral("Подсчитать расход сырья"), this, "consumptionButton");
    deleteRecipeButton =
        widgets::makeButton(QStringLiteral("Удалить рецепт"), this, "deleteRecipeButton");
    deleteRangeButton = widgets::makeButton(QStringLiteral("Удалить рецепты в диапазоне номеров"),
                                            this, "deleteRangeButton");
    restartNumberingButton =
        widgets::makeButton(QStringLiteral("Новая нумерация"), this, "restartNumberingButton");
    networkCopyButton =
        widgets::makeButton(QStringLiteral("Выдать архив на сеть"), this, "networkCopyButton");
    exitButton = widgets::makeButton(QStringLiteral("Выход"), this, "exitButton");

    auto *lower = new QHBoxLayout;
    lower->addWidget(compositionGrid, 4);
    lower->addWidget(characteristicsGrid, 5);
    auto *buttons = new QGridLayout;
    const QList<QPushButton *> order{
        viewRecipeButton,       certificateButton, selectButton,       cancelSelectionButton,
        clearOutputButton,      consumptionButton, deleteRecipeButton, deleteRangeButton,
        restartNumberingButton, networkCopyButton, exitButton};
    for (int i = 0; i < order.size(); ++i)
        buttons->addWidget(order.at(i), i / 4, i % 4);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(recipeGrid, 5);
    layout->addLayout(lower, 4);
    layout->addLayout(buttons);

    connect(viewRecipeButton, &QPushButton::clicked, this, &ArchiveWindow::onViewRecipe);
    connect(certificateButton, &QPushButton::clicked, this, &ArchiveWindow::onShowCertificate);
    connect(selectButton, &QPushButton::clicked, this, &ArchiveWindow::onSelect);
    connect(cancelSelectionButton, &QPushButton::clicked, this, &ArchiveWindow::onCancelSelection);
    connect(clearOutputButton, &QPushButton::clicked, this, &ArchiveWindow::onClearOutput);
    connect(consumptionButton, &QPushButton::clicked, this, &ArchiveWindow::onCountConsumption);
    connect(deleteRecipeButton, &QPushButton::clicked, this, &ArchiveWindow::onDeleteRecipe);
    connect(deleteRangeButton, &QPushButton::clicked, this, &ArchiveWindow::onOpenRangePanel);
    connect(restartNumberingButton, &QPushButton::clicked, this,
            &ArchiveWindow::onRestartNumbering);
    connect(networkCopyButton, &QPushButton::clicked, this, &ArchiveWindow::onCopyToNetwork);
    connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);
}

void ArchiveWindow::buildOverlays()
{
    rangePanel = new QWidget(this);
    rangePanel->setObjectName(QStringLiteral("rangePanel"));
    rangePanel->setAutoFillBackground(true);
    rangeFromEdit = new QLineEdit(rangePanel);
    rangeToEdit = new QLineEdit(rangePanel);
    widgets::nameObjects({{rangeFromEdit, "rangeFromEdit"}, {rangeToEdit, "rangeToEdit"}});
    for (QLineEdit *edit : {rangeFromEdit, rangeToEdit}) {
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,6}")), edit));
        edit->setMaxLength(6);
        edit->setFixedWidth(80);
    }
    rangeDeleteButton =
        widgets::makeButton(QStringLiteral("Удалить"), rangePanel, "rangeDeleteButton");
    rangeExitButton = widgets::makeButton(QStringLiteral("Выход"), rangePanel, "rangeExitButton");
    auto *range = new QGridLayout(rangePanel);
    range->addWidget(widgets::makeLabel(
                         QStringLiteral("Введите диапазон номеров удаляемых рецептов"), rangePanel),
                     0, 0, 1, 5);
    range->addWidget(widgets::makeLabel(QStringLiteral("(включительно) с"), rangePanel), 1, 0);
    range->addWidget(rangeFromEdit, 1, 1);
    range->addWidget(widgets::makeLabel(QStringLiteral("по"), rangePanel), 1, 2);
    range->addWidget(rangeToEdit, 1, 3);
    range->addWidget(rangeDeleteButton, 2, 1);
    range->addWidget(rangeExitButton, 2, 3);
    range->setColumnStretch(4, 1);
    range->setRowStretch(3, 1);

    consumptionList = new QListWidget(this);
    consumptionList->setObjectName(QStringLiteral("consumptionList"));
    consumptionList->setFont(widgets::fixedPitchFontInPoints(10));
    consumptionPrintButton =
        widgets::makeButton(QStringLiteral("Печатать"), this, "consumptionPrintButton");
    consumptionExitButton =
        widgets::makeButton(QStringLiteral("Выход"), this, "consumptionExitButton");
    consumptionPanel = buttonPanel({consumptionPrintButton, consumptionExitButton}, this);

    certificateEdit = new QPlainTextEdit(this);
    certificateEdit->setObjectName(QStringLiteral("certificateEdit"));
    certificateEdit->setFont(widgets::fixedPitchFontInPoints(8));
    certificateEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    certificatePrintButton =
        widgets::makeButton(QStringLiteral("Печатать"), this, "certificatePrintButton");
    certificateExportButton =
        widgets::makeButton(QStringLiteral("Импорт в Word"), this, "certificateExportButton");
    certificateExitButton =
        widgets::makeButton(QStringLiteral("Выход"), this, "certificateExitButton");
    certificateExportButton->setEnabled(false); // until the shell hands the export
    certificatePanel =
        buttonPanel({certificatePrintButton, certificateExportButton, certificateExitButton}, this);
    widgets::nameObjects(
        {{consumptionPanel, "consumptionPanel"}, {certificatePanel, "certificatePanel"}});

    connect(rangeDeleteButton, &QPushButton::clicked, this, &ArchiveWindow::onDeleteRange);
    connect(rangeExitButton, &QPushButton::clicked, this, &ArchiveWindow::onLeaveRangePanel);
    connect(consumptionPrintButton, &QPushButton::clicked, this,
            &ArchiveWindow::onPrintConsumption);
    connect(consumptionExitButton, &QPushButton::clicked, this, &ArchiveWindow::backToBrowsing);
    connect(certificatePrintButton, &QPushButton::clicked, this,
            &ArchiveWindow::onPrintCertificate);
    connect(certificateExportButton, &QPushButton::clicked, this,
            &ArchiveWindow::onExportCertificate);
    connect(certificateExitButton, &QPushButton::clicked, this, &ArchiveWindow::backToBrowsing);
    hideOverlays();
}

// The range panel from 2 pixels under the raw-material grid to the bottom; the list and
// the certificate over the whole window with their buttons under them.
void ArchiveWindow::placeOverlays()
{
    const QRect client = rect();
    const int top = compositionGrid->geometry().bottom() + 2;
    rangePanel->setGeometry(0, top, client.width(), client.height() - top);
    const int listHeight = client.height() - kPanelHeight;
    for (QWidget *w :
         {static_cast<QWidget *>(consumptionList), static_cast<QWidget *>(certificateEdit)})
        w->setGeometry(0, 0, client.width(), listHeight);
    for (QWidget *panel : {consumptionPanel, certificatePanel})
        panel->setGeometry(0, listHeight, client.width(), kPanelHeight);
}

void ArchiveWindow::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    placeOverlays();
}

void ArchiveWindow::hideOverlays()
{
    for (QWidget *w : {rangePanel, static_cast<QWidget *>(consumptionList), consumptionPanel,
                       static_cast<QWidget *>(certificateEdit), certificatePanel})
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
    for (widgets::TableGrid *grid : {recipeGrid, compositionGrid, characteristicsGrid})
        grid->followCursor();
}

void ArchiveWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        onShow();
}

void ArchiveWindow::onShow()
{
    const bool withTax = settings::currentSettings().namePriceWithTax;
    widgets::GridColumn nds = recipeGrid->gridModel()->columns().last();
    nds.readOnly = withTax;
    recipeGrid->gridModel()->setColumn(recipeGrid->gridModel()->columns().size() - 1, nds);
    compositionGrid->setReadOnly(true);
    hideOverlays();
    placeOverlays();
    linking_ = true;
    run([this] {
        showAllRecipes(data_.archiveHeaders);
        linkToHead(cursors());
    });
    recipeGrid->setFocus();
}

// Linked browsing: whenever the head cursor moves while the window works with it, the
// lower grids show the rows of the recipe under it.
void ArchiveWindow::onHeadScrolled()
{
    if (!linking_ || !data_.archiveHeaders.dataSourceEnabled() || !consumptionList->isHidden())
        return;
    widgets::runReporting(this, [this] { linkToHead(cursors()); });
}

void ArchiveWindow::onViewRecipe()
{
    const int number = currentNumber(data_.archiveHeaders);
    if (number == 0 || !openRecipeView_)
        return;
    recipeGrid->commitEdit();
    characteristicsGrid->commitEdit();
    linking_ = false;
    openRecipeView_(number);
    linking_ = true;
    followCursors();
}

void ArchiveWindow::onShowCertificate()
{
    rememberedNumber_ = currentNumber(data_.archiveHeaders);
    if (rememberedNumber_ == 0)
        return;
    recipeGrid->commitEdit();
    characteristicsGrid->commitEdit();
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
    certificateEdit->setPlainText(text.plainText());
    certificateEdit->show();
    certificatePanel->show();
    certificateEdit->raise();
    certificatePanel->raise();
    certificateEdit->setFocus();
}

void ArchiveWindow::onSelect()
{
    if (!askKey_)
        return;
    const QString key = askKey_();
    std::optional<int> matched;
    run([&] { matched = selectByKey(data_.archiveHeaders, key); });
    if (matched && *matched == 0)
        widgets::showMessage(this, kNoMatchMessage);
    recipeGrid->setFocus();
}

void ArchiveWindow::onCancelSelection()
{
    run([this] {
        cancelSelection(data_.archiveHeaders);
        linkToHead(cursors());
    });
    recipeGrid->setFocus();
}

void ArchiveWindow::onClearOutput()
{
    recipeGrid->commitEdit();
    const int count = data_.archiveHeaders.viewCount();
    if (count == 0 ||
        !widgets::askYesNo(this, QStringLiteral("Очистить выработку у рецептов списка (всего %1)? "
                                                "Их вес станет 0.")
                                     .arg(count)))
        return;
    recipeGrid->setEnabled(false);
    run([this] { clearOutput(data_.archiveHeaders); });
    recipeGrid->setEnabled(true);
}

void ArchiveWindow::onCountConsumption()
{
    recipeGrid->commitEdit();
    rememberedNumber_ = currentNumber(data_.archiveHeaders);
    QStringList lines;
    linking_ = false;
    const bool ok =
        run([&] { lines = consumptionLines(cursors(), settings::currentSettings().lossNorm); });
    linking_ = true;
    if (!ok)
        return;
    hideOverlays();
    consumptionList->clear();
    consumptionList->addItems(lines);
    consumptionList->show();
    consumptionPanel->show();
    consumptionList->raise();
    consumptionPanel->raise();
}

void ArchiveWindow::onDeleteRecipe()
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

void ArchiveWindow::onOpenRangePanel()
{
    placeOverlays();
    rangePanel->show();
    rangePanel->raise();
    rangeFromEdit->setFocus();
}

void ArchiveWindow::onRestartNumbering()
{
    if (widgets::askYesNo(this, QStringLiteral("Следующий рецепт получит № 1 и заменит рецепт № 1 "
                                               "в архиве, если он есть. Продолжить?")))
        run([this] { restartNumbering(data_.counters); });
}

void ArchiveWindow::onCopyToNetwork()
{
    recipeGrid->commitEdit();
    characteristicsGrid->commitEdit();
    NetworkCopyResult result;
    run([&] { result = copyArchiveToNetwork(cursors(), data_.scratch, netpathFile_); });
    if (!result.ok())
        widgets::showMessage(this, result.error);
    recipeGrid->setFocus();
}

void ArchiveWindow::onDeleteRange()
{
    const int from = rangeFieldNumber(rangeFromEdit->text());
    const int to = rangeFieldNumber(rangeToEdit->text());
    if (rangeRefused(from, to)) {
        widgets::showMessage(this, kBadRangeMessage);
        onLeaveRangePanel();
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

void ArchiveWindow::onLeaveRangePanel()
{
    run([this] {
        showAllRecipes(data_.archiveHeaders);
        linkToHead(cursors());
    });
    hideOverlays();
    recipeGrid->setFocus();
}

void ArchiveWindow::onPrintConsumption()
{
    QStringList lines;
    for (int i = 0; i < consumptionList->count(); ++i)
        lines << consumptionList->item(i)->text();
    print(QStringLiteral("Расход сырья"),
          [lines](QPainter *painter) { ConsumptionPage(painter).draw(lines); });
}

void ArchiveWindow::onPrintCertificate()
{
    const CertificateText text = CertificateText::fromPlainText(certificateEdit->toPlainText());
    print(QStringLiteral("Удостоверение ") + QString::number(rememberedNumber_),
          [text](QPainter *painter) { CertificatePage(painter).draw(text); });
}

// The export takes the text exactly as the print does, the user's edits included.
void ArchiveWindow::onExportCertificate()
{
    if (!exportCertificate_)
        return;
    const CertificateText text = CertificateText::fromPlainText(certificateEdit->toPlainText());
    exportCertificate_(text.lines, rememberedNumber_);
}

void ArchiveWindow::backToBrowsing()
{
    hideOverlays();
    run([this] { returnToRecipe(cursors(), rememberedNumber_); });
    recipeGrid->setFocus();
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
    onClose();
    QDialog::done(result);
}

// Leaving: what was typed is posted and the archive tables the window edits are saved.
void ArchiveWindow::onClose()
{
    recipeGrid->commitEdit();
    characteristicsGrid->commitEdit();
    linking_ = false;
    widgets::runReporting(this, [this] {
        for (store::Table *table :
             {&data_.archiveHeaders, &data_.archiveCompositions, &data_.archiveCharacteristics})
            table->flush();
    });
    hideOverlays();
}

} // namespace archive
