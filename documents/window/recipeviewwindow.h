#pragma once

// RecipeViewWindow: the recipe view and print window. Shows one archived recipe as fixed-pitch
// text and prints it, or exports it to the word processor, in one of three forms, with
// the calculated or the actual characteristic values; the text on the screen follows the
// choice and shows what the form prints.
//
// The opener sets the archive number to print, then opens the window modally:
//     documents::RecipeViewWindow form(*store::dataModule(), this);
//     form.setArchiveNumber(number);
//     form.exec();
// Each showing filters the four archive cursors to that recipe and builds the text;
// closing puts the head cursor back on the recipe under the filter "arnom>0".

#include "documents/recipedocument.h"
#include "documents/window/recipepage.h"

#include <QDialog>

#include <initializer_list>

class QButtonGroup;
class QListWidget;
class QPrinter;
class QPushButton;
class QRadioButton;

namespace store
{
class DataModule;
}

namespace documents
{

class RecipeViewWindow final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RecipeViewWindow)

public:
    explicit RecipeViewWindow(store::DataModule &data, QWidget *parent = nullptr);

    void setArchiveNumber(int number); // the archive number to print
    int archiveNumber() const { return number_; }
    const RecipeDocument &document() const { return document_; }
    RecipeForm selectedForm() const;
    bool actualValuesSelected() const;

    // Draws the document on printer as the radio buttons say (one or two pages).
    // False, with a message, when the printer cannot be started.
    bool paintOn(QPrinter *printer);

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private slots:
    void onPrint();        // "ПЕЧАТАТЬ"
    void onExportToWord(); // "Импорт в Word"
    void onExit();         // "Выход"

private:
    void buildLayout();
    QWidget *buildFormChoice();
    QWidget *buildTypeChoice();
    void showFormOnChoice(std::initializer_list<QRadioButton *> buttons);
    void onShow();
    void showForm();
    void onClose();

    store::DataModule &data_;
    int number_ = 0;
    RecipeDocument document_;

    QListWidget *recipeText = nullptr;         // the recipe as the chosen form prints it
    QRadioButton *fullRecipeButton = nullptr;  // "Полный рецепт"
    QRadioButton *noRawPricesButton = nullptr; // "Без указания" цен сырья
    QRadioButton *noFinanceButton = nullptr; // "Без цен сырья и" финансовых расчетов
    QRadioButton *calculatedValuesButton = nullptr; // "Расчетные"
    QRadioButton *actualValuesButton = nullptr;     // "Фактические"
    QPushButton *printButton = nullptr;             // "ПЕЧАТАТЬ"
    QPushButton *wordExportButton = nullptr;        // "Импорт в Word"
    QPushButton *exitButton = nullptr;              // "Выход"
};

} // namespace documents
