#include "documents/window/recipeviewwindow.h"

#include "archive/archivedrecipe.h"
#include "archive/archiveview.h"
#include "documents/recipeexport.h"
#include "documents/recipeform.h"
#include "documents/window/recipepage.h"
#include "documents/window/wordexport.h"
#include "platform/printerchoice.h"
#include "settings/settings.h"
#include "settings/workingdate.h"
#include "store/datamodule.h"
#include "widgets/fixedpitchfont.h"
#include "widgets/message.h"
#include "widgets/windowparts.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace documents
{

namespace
{

const QString kNoWeight = QStringLiteral("Вес не задан!");

// A radio button with a second caption line under it, as the form choices have.
QWidget *radioWithNote(QRadioButton *button, const QString &note, QWidget *parent)
{
    auto *box = new QWidget(parent);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(button);
    auto *second = widgets::makeLabel(note, box);
    second->setIndent(20);
    layout->addWidget(second);
    return box;
}

} // namespace

RecipeViewWindow::RecipeViewWindow(store::DataModule &data, QWidget *parent)
    : QDialog(parent), data_(data)
{
    setObjectName(QStringLiteral("recipeViewWindow"));
    setWindowTitle(QStringLiteral("Просмотр и печать рецепта"));
    buildLayout();
    resize(800, 600);
    connect(printButton, &QPushButton::clicked, this, &RecipeViewWindow::onPrint);
    connect(wordExportButton, &QPushButton::clicked, this, &RecipeViewWindow::onExportToWord);
    connect(exitButton, &QPushButton::clicked, this, &RecipeViewWindow::onExit);
}

void RecipeViewWindow::buildLayout()
{
    recipeText = new QListWidget(this);
    recipeText->setObjectName(QStringLiteral("recipeText"));
    recipeText->setFont(widgets::fixedPitchFont(12));
    QWidget *formBox = buildFormChoice();
    QWidget *typePanel = buildTypeChoice();
    auto *typeLabels = new QVBoxLayout;
    typeLabels->setSpacing(0);
    typeLabels->addWidget(widgets::makeLabel(QStringLiteral("Укажите тип"), this));
    typeLabels->addWidget(widgets::makeLabel(QStringLiteral(" характеристик в рецепте:"), this));
    typeLabels->addStretch();

    printButton = widgets::makeButton(QStringLiteral("ПЕЧАТАТЬ"), this, "printButton");
    wordExportButton =
        widgets::makeButton(QStringLiteral("Импорт в Word"), this, "wordExportButton");
    exitButton = widgets::makeButton(QStringLiteral("Выход"), this, "exitButton");
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {printButton, wordExportButton, exitButton}) {
        b->setMinimumWidth(130);
        buttons->addWidget(b);
    }

    auto *choices = new QHBoxLayout;
    choices->addWidget(formBox);
    choices->addSpacing(24);
    choices->addLayout(typeLabels);
    choices->addWidget(typePanel);
    choices->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(recipeText, 1);
    layout->addLayout(choices);
    layout->addLayout(buttons);
}

// "Укажите форму рецепта:" and its three forms, each caption on two lines.
QWidget *RecipeViewWindow::buildFormChoice()
{
    auto *formBox = new QWidget(this);
    auto *formLayout = new QGridLayout(formBox);
    formLayout->setContentsMargins(0, 0, 0, 0);
    auto *formLabels = new QVBoxLayout;
    formLabels->setSpacing(0);
    formLabels->addWidget(widgets::makeLabel(QStringLiteral("Укажите форму"), formBox));
    formLabels->addWidget(widgets::makeLabel(QStringLiteral("рецепта:"), formBox));
    formLabels->addStretch();
    formLayout->addLayout(formLabels, 0, 0, 2, 1);
    fullRecipeButton = new QRadioButton(QStringLiteral("Полный рецепт"), formBox);
    noRawPricesButton = new QRadioButton(QStringLiteral("Без указания"), formBox);
    noFinanceButton = new QRadioButton(QStringLiteral("Без цен сырья и"), formBox);
    formLayout->addWidget(fullRecipeButton, 0, 1, Qt::AlignTop);
    formLayout->addWidget(radioWithNote(noRawPricesButton, QStringLiteral("цен сырья"), formBox), 0,
                          2, 2, 1, Qt::AlignTop);
    formLayout->addWidget(
        radioWithNote(noFinanceButton, QStringLiteral("финансовых расчетов"), formBox), 0, 3, 2, 1,
        Qt::AlignTop);
    widgets::nameObjects({{fullRecipeButton, "fullRecipeButton"},
                          {noRawPricesButton, "noRawPricesButton"},
                          {noFinanceButton, "noFinanceButton"}});
    showFormOnChoice({fullRecipeButton, noRawPricesButton, noFinanceButton});
    return formBox;
}

// The calculated or the actual values, in a frame.
QWidget *RecipeViewWindow::buildTypeChoice()
{
    auto *typePanel = new QFrame(this);
    typePanel->setFrameShape(QFrame::StyledPanel);
    auto *typeLayout = new QVBoxLayout(typePanel);
    calculatedValuesButton = new QRadioButton(QStringLiteral("Расчетные"), typePanel);
    actualValuesButton = new QRadioButton(QStringLiteral("Фактические"), typePanel);
    typeLayout->addWidget(calculatedValuesButton);
    typeLayout->addWidget(actualValuesButton);
    widgets::nameObjects({{calculatedValuesButton, "calculatedValuesButton"},
                          {actualValuesButton, "actualValuesButton"}});
    showFormOnChoice({calculatedValuesButton, actualValuesButton});
    return typePanel;
}

// The buttons become one group of exclusive choices; a new choice shows the recipe again.
void RecipeViewWindow::showFormOnChoice(std::initializer_list<QRadioButton *> buttons)
{
    auto *group = new QButtonGroup(this);
    for (QRadioButton *b : buttons)
        group->addButton(b);
    connect(group, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            showForm();
    });
}

void RecipeViewWindow::setArchiveNumber(int number)
{
    number_ = number;
}

RecipeForm RecipeViewWindow::selectedForm() const
{
    if (fullRecipeButton->isChecked())
        return RecipeForm::Full;
    return noFinanceButton->isChecked() ? RecipeForm::NoFinance : RecipeForm::NoRawPrices;
}

bool RecipeViewWindow::actualValuesSelected() const
{
    return actualValuesButton->isChecked();
}

void RecipeViewWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        onShow();
}

// Each showing: the recipe of the archive number, form 2 and the calculated values.
void RecipeViewWindow::onShow()
{
    recipeText->clear();
    document_ = RecipeDocument();
    noRawPricesButton->setChecked(true);
    calculatedValuesButton->setChecked(true);
    bool found = false;
    archive::ArchivedRecipe recipe;
    const bool read = widgets::runReporting(this, [&] {
        recipe = archive::readArchivedRecipe(data_.archiveHeaders, data_.archiveCompositions,
                                             data_.archiveCharacteristics, data_.archivePremixes,
                                             number_, &found);
    });
    if (!read)
        return;
    const settings::Settings &values = settings::currentSettings();
    document_ = RecipeDocument::build(recipe, values.taxName,
                                      settings::shortDateText(settings::workingDate()));
    if (document_.isEmpty()) {
        // Said once the window stands on the screen.
        const QString text =
            found ? kNoWeight : QStringLiteral("Рецепта № %1 в архиве нет").arg(number_);
        QTimer::singleShot(0, this, [this, text] { widgets::showMessage(this, text); });
        return;
    }
    showForm();
    recipeText->setFocus();
}

// The list shows what the chosen form prints: its columns and lines, the chosen values,
// and the batch amounts balanced as the next print balances them.
void RecipeViewWindow::showForm()
{
    const int row = recipeText->currentRow();
    recipeText->clear();
    RecipeDocument printed = document_;
    printed.balanceBatch();
    recipeText->addItems(formText(printed, selectedForm(), actualValuesSelected()));
    recipeText->setCurrentRow(std::min(row, recipeText->count() - 1));
}

void RecipeViewWindow::onPrint()
{
    if (document_.isEmpty()) {
        widgets::showMessage(this, kNoWeight);
        return;
    }
    const bool forced = !platform::forcedPdfPath().isEmpty();
    if (!forced)
        widgets::showMessage(this, QStringLiteral("Подготовьте принтер"));
    const platform::PrinterChoice choice =
        platform::choosePrinter(this, QStringLiteral("Рецепт ") + QString::number(number_));
    if (!choice)
        return;
    document_.balanceBatch();
    platform::printWithChoice(this, choice, [this](QPrinter *printer) { paintOn(printer); });
    showForm();
}

bool RecipeViewWindow::paintOn(QPrinter *printer)
{
    QPainter painter;
    if (!painter.begin(printer)) {
        widgets::showMessage(
            this,
            QStringLiteral("Не удалось начать печать на принтере %1").arg(printer->printerName()));
        return false;
    }
    RecipePage page(&painter, [printer] { return printer->newPage(); });
    page.draw(document_,
              RecipePageTexts::fromSettings(settings::currentSettings(),
                                            settings::shortDateText(settings::workingDate())),
              selectedForm(), actualValuesSelected());
    return painter.end();
}

// The document for the word processor, balanced as for printing.
void RecipeViewWindow::onExportToWord()
{
    if (document_.isEmpty()) {
        widgets::showMessage(this, kNoWeight);
        return;
    }
    document_.balanceBatch();
    const RecipePageTexts texts = RecipePageTexts::fromSettings(
        settings::currentSettings(), settings::shortDateText(settings::workingDate()));
    exportToWord(this, recipeDocx(document_, texts, selectedForm(), actualValuesSelected()),
                 QStringLiteral("Рецепт ") + QString::number(number_));
}

void RecipeViewWindow::onExit()
{
    reject();
}

void RecipeViewWindow::done(int result)
{
    widgets::runReporting(this, [this] { onClose(); });
    QDialog::done(result);
}

// Back to the archive window's view: all recipes, the head cursor on this one, the lower
// tables linked to it.
void RecipeViewWindow::onClose()
{
    archive::returnToRecipe(archive::archiveCursors(data_), number_);
    recipeText->clear();
    document_ = RecipeDocument();
}

} // namespace documents
