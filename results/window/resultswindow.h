#pragma once

// ResultsWindow, "Обработка результатов расчета": the results window. Shows the recipes of the
// last calculation (the run the preparation window keeps): the price build-up of every feed type
// (feed grid), and for the feed type selected there its composition and the characteristics it
// reaches against its norms (norm violations in red). Prices of raw materials and the feed grid's
// cost cells can be changed, the composition corrected by hand; every change reprices at once; they
// change the run's recipes. The recipe of the selected feed type is written to the archive and
// printed through the recipe view window.
//
// Created once at start-up over the preparation window, which opens it modally after a
// successful run through the opener the shell hands it:
//     auto *resultsWindow = new results::ResultsWindow(dataModule, preparationWindow->lastRun(),
//     preparationWindow); resultsWindow->setRecipeViewOpener([&](int number) { /* RecipeViewWindow
//     on that number, exec */ }); resultsWindow->exec(); if (resultsWindow->exitRequested()) ...
//     close the preparation window too ("Выход")
//
// Rows: feed type p stands in row p - 1 of the feed grid (the header is the grid's
// header); the handlers take the grids' own 0-based rows and columns.

#include "archive/reciperows.h"
#include "calc/run.h"
#include "results/pricebuildup.h"

#include <QDialog>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class QPushButton;
class QTableWidget;

namespace archive
{
struct FeedGridRow;
}
namespace store
{
class DataModule;
}

namespace results
{

class ResultsWindow final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ResultsWindow)

public:
    using MessageSink = std::function<void(const QString &text)>;

    // Feed grid columns.
    enum FeedColumn {
        ColNumber,
        ColType,
        ColArchive,
        ColOutput,
        ColRawCost,
        ColCosts,
        ColProfit,
        ColGran,
        ColForm,
        ColVat,
        ColPriceNoTax,
        ColPriceWithTax,
        ColPurpose,
        ColNote,
        FeedColumnCount
    };
    // Composition grid columns.
    enum CompositionColumn {
        ColRawName,
        ColPercent,
        ColPrice,
        ColBatchCost,
        ColTonnes,
        CompositionColumnCount
    };

    ResultsWindow(store::DataModule &data, calc::RunResult &run, QWidget *parent = nullptr);
    ~ResultsWindow() override;

    // Where the window's messages go: a message box by default; tests collect them.
    void setMessageSink(MessageSink sink);
    // The recipe view window (RecipeViewWindow) on an archived recipe: "Отпечатать рецепт".
    void setRecipeViewOpener(std::function<void(int number)> open);
    // Opens the sensitivity analysis of the calculation ("Анализ чувствительности");
    // without an opener the button is hidden.
    void setSensitivityOpener(std::function<void()> open);

    // "Выход" was pressed: the opener closes too, back to the main menu.
    bool exitRequested() const { return exitRequested_; }
    int currentFeed() const { return currentFeed_; }
    bool correctionMode() const;
    const FeedPrice &price(int p) const { return prices_.at(size_t(p)); }

    // Rebuilds from the run's recipes and the settings, as each showing does.
    void onActivate();
    // A cell's text as typed, keystroke by keystroke (0-based grid rows and columns).
    void onFeedCellEdited(int column, int row, const QString &text);
    void onCompositionCellEdited(int column, int row, const QString &text);

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void onFeedCellSelected(int column, int row);
    void onCompositionCellSelected(int column, int row);
    void onPrintRecipe();       // "Отпечатать рецепт"
    void onWriteToArchive();    // "Записать в архив"
    void onRepeatCalculation(); // "Повтор расчета"
    void onCorrection(); // "Корректировка состава" / "Корректировка завершена"
    void onExit();        // "Выход"
    void onSensitivity(); // "Анализ чувствительности"

private:
    // Builds the price of the current feed type again from the numbers of its feed grid
    // cells.
    void recomputePrice();
    // Refills the composition and characteristics grids for the current feed type.
    void showFeedDetails();
    void buildLayout();
    void buildButtons();
    QTableWidget *makeGrid(const QStringList &headers, const QList<int> &widths);
    void setupFeedGrid();
    void fillFeedRow(int p);
    void setCell(QTableWidget *grid, int row, int column, const QString &text,
                 bool editable = false);
    QString cell(const QTableWidget *grid, int row, int column) const;
    void fitColumns(QTableWidget *grid, int nameWidth);
    void fillComposition();
    void fillCharacteristics();
    void setPercentEditable(bool editable);
    void changePrice(int row);
    void checkPercent(int row);
    void enterCorrection();
    void finishCorrection();
    void setNormalMode(bool normal);
    bool readFeedGridRow(int p, archive::FeedGridRow *grid);
    bool mayWrite(int p, const archive::FeedGridRow &grid);
    void message(const QString &text);
    int feedCount() const { return run_.recipes.feedCount(); }
    calc::FeedRecipe &recipe(int p) { return run_.recipes.feed(p); }

    store::DataModule &data_;
    calc::RunResult &run_;
    MessageSink sink_;
    PriceSettings settings_;
    std::vector<FeedPrice> prices_;     // [p], slot 0 unused
    std::vector<PriceCells> feedCells_; // [p]: the feed grid's editable numbers
    // A recipe as written to the archive: its number and the rows stored, to tell a
    // second write of the same recipe from a write of a changed one.
    struct Archived {
        int number = 0;
        archive::RecipeRows rows;
    };
    std::vector<std::optional<Archived>> archived_; // [p]
    QList<CellValue> percentCells_;                 // composition rows' "% ввода"
    QList<CellValue> rawPriceCells_;                // composition rows' "Цена  1Т."
    QStringList notes_; // "Примечание" of each row, kept over rebuilds
    int currentFeed_ = 1;
    QString oldPriceText_;
    int oldPriceRow_ = -1;
    bool exitRequested_ = false;
    bool filling_ = false; // the window itself changes the grids
    bool typing_ = false;  // a keystroke in a cell is being handled

    QTableWidget *feedGrid = nullptr;               // price build-up per feed type
    QTableWidget *compositionGrid = nullptr;        // composition of the current feed type
    QTableWidget *characteristicsGrid = nullptr;    // characteristics of the current feed type
    QPushButton *printRecipeButton = nullptr;       // "Отпечатать рецепт"
    QPushButton *writeToArchiveButton = nullptr;    // "Записать в архив"
    QPushButton *repeatCalculationButton = nullptr; // "Повтор расчета"
    QPushButton *correctionButton = nullptr;        // "Корректировка состава"
    QPushButton *exitButton = nullptr;              // "Выход"
    QPushButton *sensitivityButton = nullptr; // "Анализ чувствительности"
    std::function<void(int number)> openRecipeView_;
    std::function<void()> openSensitivity_;
};

} // namespace results
