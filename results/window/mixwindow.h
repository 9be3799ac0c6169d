#pragma once

// MixWindow, "Расчет характеристик смеси": the mix characteristics window. The user types,
// for raw materials of the raw materials list, their percentage in a mix or their mass;
// the window computes the mix's level of every characteristic against the norms of a
// product chosen from the feed types list, its price of one tonne and the recipe name
// with that price; a mix without a filler can be written to the recipe archive and
// printed. A level outside the product's norms is shaded, with an arrow beside it (red is
// the rows marked for printing). The inputs are the window's own (MixInputs), emptied each
// time it opens; the raw material list shows them beside the names and prices, and of sir
// only a price typed there (MI1) is ever written.
//
// The shell hands it two openers: the feed types window, to choose the product (with its
// selection buttons disabled), and the recipe view window on an archive number:
//     results::MixWindow form(dataModule, menu);
//     form.setProductChooser([&] { ... feedTypes.exec(); ... });
//     form.setRecipePrinter([&](int number) { view.setArchiveNumber(number); view.exec(); });
//     form.exec();

#include "archive/mixarchivewriter.h"
#include "results/mixcells.h"
#include "results/mixinputs.h"

#include <QDialog>
#include <QList>

#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTableWidgetItem;

namespace store
{
class DataModule;
}
namespace widgets
{
class KeptNumbers;
class TableGrid;
} // namespace widgets

namespace results
{

class MixWindow final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MixWindow)

public:
    using MessageSink = std::function<void(const QString &text)>;

    // Characteristics grid columns.
    enum CharacteristicColumn { ColName, ColUnit, ColMinimum, ColFact, ColMaximum, ColumnCount };

    explicit MixWindow(store::DataModule &data, QWidget *parent = nullptr);
    ~MixWindow() override;

    // Opens the feed types window modally; the feed type current when it closes is the
    // product.
    void setProductChooser(std::function<void()> choose);
    // Opens the recipe view and print window on an archive number.
    void setRecipePrinter(std::function<void(int number)> print);
    // Where the window's messages go: a message box by default; tests collect them.
    void setMessageSink(MessageSink sink);

    MixMode mode() const;
    ProductForm productForm() const;
    bool rowSelected(int row) const { return selected_.value(row); }
    const MixResult &lastResult() const { return result_; }

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private slots:
    void onActivate();             // initialise
    void onSelectedList();         // "Список отобранного сырья"
    void onFullList();             // "Полный список сырья"
    void switchMode(MixMode mode); // "По проценту ввода" / "По массе сырья"
    void onToggleMark();           // "Отбор характеристики к печати"
    void onMarkAll();              // "Отобрать все характеристики"
    void onUnmarkAll();            // "Отменить весь отбор"
    void onChooseProduct();        // "Выбрать продукт"
    void onCompute();              // "Подсчитать характеристики"
    void onRecompute();            // "Перерасчет"
    void onPrintRecipe();          // "Печатать рецепт"
    void onWriteToArchive();       // "Записать в архив"

private:
    QRadioButton *formButton(ProductForm form) const;
    void buildLayout();
    void buildFields();
    void buildChoices();
    void buildButtons();
    void buildCharacteristicRows();
    void setCell(int row, int column, const QString &text);
    CellValue *numberCell(int row, int column);
    void writeNumber(int row, int column, const CellValue &value);
    void numberEdited(QTableWidgetItem *item);
    void markDeviation(int row);
    void setRowSelected(int row, bool selected);
    void bindInputColumn(MixMode mode, bool readOnly);
    void setInputsLocked(bool locked);
    void removeOldPrice();
    void showResult();
    void clearLabels();
    double fieldNumber(const QLineEdit *field) const;
    void message(const QString &text);
    bool runReporting(const std::function<void()> &operation);
    bool mayWrite(const archive::MixRecipe &recipe);

    store::DataModule &data_;
    std::function<void()> chooseProduct_;
    std::function<void(int)> printRecipe_;
    MessageSink sink_;
    QList<MixCharacteristic> rows_;
    MixInputs inputs_;
    std::unique_ptr<widgets::KeptNumbers> percentColumn_; // inputs_ in the raw-material grid
    std::unique_ptr<widgets::KeptNumbers> massColumn_;
    QList<bool> selected_;              // mixCharSelected, per row
    QList<MixCells> cells_;             // the numbers of the grid's number columns, per row
    MixResult result_;                  // the last computation
    std::optional<int> archived_;       // the number archiveNumberLabel shows, once archived
    archive::MixRecipe archivedRecipe_; // what was written under archived_
    QString lastNamePrice_;

    widgets::TableGrid *rawMaterialsGrid = nullptr; // sir: name, price, input
    QTableWidget *characteristicsGrid = nullptr;    // the mix's characteristics
    QLineEdit *productField = nullptr;              // "Продукция"
    QLineEdit *standardField = nullptr;             // "Стандарт"
    QLineEdit *taxField = nullptr;                  // "Налог%"
    QLineEdit *purposeField = nullptr;              // "Назначение продукции"
    QLineEdit *volumeField = nullptr;               // "Объем выработки"
    QLineEdit *noteField = nullptr;                 // "Примечание"
    QLabel *priceLabel = nullptr;                   // the selling price
    QLabel *archiveNumberLabel = nullptr;           // "Арх.№", then the archive number
    QLabel *fillerLabel = nullptr;                  // the filler
    QRadioButton *selectedListButton = nullptr; // "Список отобранного сырья"
    QRadioButton *fullListButton = nullptr;     // "Полный список сырья"
    QRadioButton *percentButton = nullptr;      // "По проценту ввода"
    QRadioButton *massButton = nullptr;         // "По массе сырья"
    QRadioButton *granulesButton = nullptr;     // "Гранулы"
    QRadioButton *crumbsButton = nullptr;       // "Крупка"
    QRadioButton *looseButton = nullptr;        // "Россыпь"
    QPushButton *toggleMarkButton = nullptr; // "Отбор характеристики к печати"
    QPushButton *markAllButton = nullptr; // "Отобрать все характеристики"
    QPushButton *unmarkAllButton = nullptr;     // "Отменить весь отбор"
    QPushButton *chooseProductButton = nullptr; // "Выбрать продукт"
    QPushButton *computeButton = nullptr;     // "Подсчитать характеристики"
    QPushButton *recomputeButton = nullptr;   // "Перерасчет"
    QPushButton *printRecipeButton = nullptr; // "Печатать рецепт"
    QPushButton *writeToArchiveButton = nullptr; // "Записать в архив"
    QPushButton *exitButton = nullptr;           // "Выход"
};

} // namespace results
