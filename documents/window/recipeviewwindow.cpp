#include "documents/window/recipeviewwindow.h"

#include "archive/archivedrecipe.h"
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
    setObjectName(QStringLiteral("Form15"));
    setWindowTitle(QStringLiteral("Просмотр и печать рецепта"));
    buildLayout();
    resize(800, 600);
    connect(Button1, &QPushButton::clicked, this, &RecipeViewWindow::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &RecipeViewWindow::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &RecipeViewWindow::Button3Click);
}

void RecipeViewWindow::buildLayout()
{
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setFont(widgets::fixedPitchFont(12));

    auto *formBox = new QWidget(this);
    auto *formLayout = new QGridLayout(formBox);
    formLayout->setContentsMargins(0, 0, 0, 0);
    auto *formLabels = new QVBoxLayout;
    formLabels->setSpacing(0);
    formLabels->addWidget(widgets::makeLabel(QStringLiteral("Укажите форму"), formBox));
    formLabels->addWidget(widgets::makeLabel(QStringLiteral("рецепта:"), formBox));
    formLabels->addStretch();
    formLayout->addLayout(formLabels, 0, 0, 2, 1);
    RadioButton1 = new QRadioButton(QStringLiteral("Полный рецепт"), formBox);
    RadioButton2 = new QRadioButton(QStringLiteral("Без указания"), formBox);
    RadioButton3 = new QRadioButton(QStringLiteral("Без цен сырья и"), formBox);
    formLayout->addWidget(RadioButton1, 0, 1, Qt::AlignTop);
    formLayout->addWidget(radioWithNote(RadioButton2, QStringLiteral("цен сырья"), formBox), 0, 2,
                          2, 1, Qt::AlignTop);
    formLayout->addWidget(
        radioWithNote(RadioButton3, QStringLiteral("финансовых расчетов"), formBox), 0, 3, 2, 1,
        Qt::AlignTop);
    auto *forms = new QButtonGroup(this);
    for (QRadioButton *b : {RadioButton1, RadioButton2, RadioButton3})
        forms->addButton(b);

    auto *typePanel = new QFrame(this);
    typePanel->setFrameShape(QFrame::StyledPanel);
    auto *typeLayout = new QVBoxLayout(typePanel);
    RadioButton4 = new QRadioButton(QStringLiteral("Расчетные"), typePanel);
    RadioButton5 = new QRadioButton(QStringLiteral("Фактические"), typePanel);
    typeLayout->addWidget(RadioButton4);
    typeLayout->addWidget(RadioButton5);
    auto *types = new QButtonGroup(this);
    types->addButton(RadioButton4);
    types->addButton(RadioButton5);
    for (QButtonGroup *group : {forms, types}) {
        connect(group, &QButtonGroup::idToggled, this, [this](int, bool checked) {
            if (checked)
                showForm();
        });
    }
    auto *typeLabels = new QVBoxLayout;
    typeLabels->setSpacing(0);
    typeLabels->addWidget(widgets::makeLabel(QStringLiteral("Укажите тип"), this));
    typeLabels->addWidget(widgets::makeLabel(QStringLiteral(" характеристик в рецепте:"), this));
    typeLabels->addStretch();

    Button1 = widgets::makeButton(QStringLiteral("ПЕЧАТАТЬ"), this, "Button1");
    Button2 = widgets::makeButton(QStringLiteral("Импорт в Word"), this, "Button2");
    Button3 = widgets::makeButton(QStringLiteral("Выход"), this, "Button3");
    widgets::nameObjects({{RadioButton1, "RadioButton1"},
                          {RadioButton2, "RadioButton2"},
                          {RadioButton3, "RadioButton3"},
                          {RadioButton4, "RadioButton4"},
                          {RadioButton5, "RadioButton5"}});

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {Button1, Button2, Button3}) {
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
    layout->addWidget(ListBox1, 1);
    layout->addLayout(choices);
    layout->addLayout(buttons);
}

void RecipeViewWindow::setArchiveNumber(int number)
{
    number_ = number;
}

RecipeForm RecipeViewWindow::selectedForm() const
{
    if (RadioButton1->isChecked())
        return RecipeForm::Full;
    return RadioButton3->isChecked() ? RecipeForm::NoFinance : RecipeForm::NoRawPrices;
}

bool RecipeViewWindow::actualValuesSelected() const
{
    return RadioButton5->isChecked();
}

void RecipeViewWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

// Each showing: the recipe of the archive number, form 2 and the calculated values.
void RecipeViewWindow::FormShow()
{
    ListBox1->clear();
    document_ = RecipeDocument();
    RadioButton2->setChecked(true);
    RadioButton4->setChecked(true);
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
    ListBox1->setFocus();
}

// The list shows what the chosen form prints: its columns and lines, the chosen values,
// and the batch amounts balanced as the next print balances them.
void RecipeViewWindow::showForm()
{
    const int row = ListBox1->currentRow();
    ListBox1->clear();
    RecipeDocument printed = document_;
    printed.balanceBatch();
    ListBox1->addItems(formText(printed, selectedForm(), actualValuesSelected()));
    ListBox1->setCurrentRow(std::min(row, ListBox1->count() - 1));
}

void RecipeViewWindow::Button1Click()
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
void RecipeViewWindow::Button2Click()
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

void RecipeViewWindow::Button3Click()
{
    reject();
}

void RecipeViewWindow::done(int result)
{
    widgets::runReporting(this, [this] { FormClose(); });
    QDialog::done(result);
}

// Back to the archive window's view: the head cursor on this recipe under "arnom>0",
// the composition and characteristics filtered to it.
void RecipeViewWindow::FormClose()
{
    store::Table &arkk = data_.archiveHeaders;
    if (arkk.eof() && !arkk.isEmpty())
        arkk.prior();
    arkk.setFilter(QStringLiteral("arnom>0"));
    arkk.setFiltered(true);
    for (arkk.first(); !arkk.eof(); arkk.next()) {
        if (arkk.integer(QStringLiteral("arnom")) == number_)
            break;
    }
    const QString filter = QStringLiteral("arnom=") + QString::number(number_);
    for (store::Table *table : {&data_.archiveCompositions, &data_.archiveCharacteristics}) {
        table->setFilter(filter);
        table->setFiltered(true);
        table->first();
    }
    ListBox1->clear();
    document_ = RecipeDocument();
}

} // namespace documents
