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

    widgets::TableGrid *rawGrid() const { return DBGrid1; }
    QTableWidget *characteristicsGrid() const { return StringGrid1; }
    QLineEdit *productField() const { return Edit1; }
    QLineEdit *standardField() const { return Edit2; }
    QLineEdit *taxField() const { return MaskEdit1; }
    QLineEdit *purposeField() const { return Edit3; }
    QLineEdit *volumeField() const { return MaskEdit2; }
    QLineEdit *noteField() const { return Edit4; }
    QLabel *priceLabel() const { return Label8; }
    QLabel *archiveLabel() const { return Label9; }
    QLabel *fillerLabel() const { return Label10; }
    QRadioButton *selectedListButton() const { return RadioButton1; }
    QRadioButton *fullListButton() const { return RadioButton2; }
    QRadioButton *percentButton() const { return RadioButton3; }
    QRadioButton *massButton() const { return RadioButton4; }
    QRadioButton *formButton(ProductForm form) const;
    QPushButton *toggleMarkButton() const { return Button1; }
    QPushButton *markAllButton() const { return Button2; }
    QPushButton *unmarkAllButton() const { return Button3; }
    QPushButton *chooseProductButton() const { return Button4; }
    QPushButton *computeButton() const { return Button5; }
    QPushButton *recomputeButton() const { return Button6; }
    QPushButton *printButton() const { return Button7; }
    QPushButton *archiveButton() const { return Button8; }
    QPushButton *exitButton() const { return Button9; }

    // --- events ---
    void FormActivate();           // initialise
    void RadioButton1Click();      // "Список отобранного сырья"
    void RadioButton2Click();      // "Полный список сырья"
    void switchMode(MixMode mode); // "По проценту ввода" / "По массе сырья"
    void Button1Click();           // "Отбор характеристики к печати"
    void Button2Click();           // "Отобрать все характеристики"
    void Button3Click();           // "Отменить весь отбор"
    void Button4Click();           // "Выбрать продукт"
    void Button5Click();           // "Подсчитать характеристики"
    void Button6Click();           // "Перерасчет"
    void Button7Click();           // "Печатать рецепт"
    void Button8Click();           // "Записать в архив"

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
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
    std::optional<int> archived_;       // the number Label9 shows, once the mix is archived
    archive::MixRecipe archivedRecipe_; // what was written under archived_
    QString lastNamePrice_;

    widgets::TableGrid *DBGrid1 = nullptr; // sir: name, price, input
    QTableWidget *StringGrid1 = nullptr;   // the mix's characteristics
    QLineEdit *Edit1 = nullptr;            // "Продукция"
    QLineEdit *Edit2 = nullptr;            // "Стандарт"
    QLineEdit *MaskEdit1 = nullptr;        // "Налог%"
    QLineEdit *Edit3 = nullptr;            // "Назначение продукции"
    QLineEdit *MaskEdit2 = nullptr;        // "Объем выработки"
    QLineEdit *Edit4 = nullptr;            // "Примечание"
    QLabel *Label8 = nullptr;              // the selling price
    QLabel *Label9 = nullptr;              // "Арх.№", then the archive number
    QLabel *Label10 = nullptr;             // the filler
    QRadioButton *RadioButton1 = nullptr;  // "Список отобранного сырья"
    QRadioButton *RadioButton2 = nullptr;  // "Полный список сырья"
    QRadioButton *RadioButton3 = nullptr;  // "По проценту ввода"
    QRadioButton *RadioButton4 = nullptr;  // "По массе сырья"
    QRadioButton *RadioButton5 = nullptr;  // "Гранулы"
    QRadioButton *RadioButton6 = nullptr;  // "Крупка"
    QRadioButton *RadioButton7 = nullptr;  // "Россыпь"
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    QPushButton *Button3 = nullptr;
    QPushButton *Button4 = nullptr;
    QPushButton *Button5 = nullptr;
    QPushButton *Button6 = nullptr;
    QPushButton *Button7 = nullptr;
    QPushButton *Button8 = nullptr;
    QPushButton *Button9 = nullptr;
};

} // namespace results
