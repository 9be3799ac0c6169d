#pragma once

// "Анализ чувствительности": what the optimum of the last calculation is worth at the
// margin (calc/sensitivity.h). A choice of feed type with the norms that hold its
// recipe ("Ограничения": side, norm, shadow price, the range where it holds), the
// range of every raw material's price within which the recipes stay the cheapest
// ("Цены сырья", with a note where other recipes cost the same, since a price moved
// within its range may then change a recipe), and what one more tonne of every
// binding stock is worth ("Запасы"). Printed on the virtual page as the calculation
// outcome is, every feed type's norms included.
//
// The shell makes it when the results window asks for it:
//     calc::SensitivityWindow window(run.sensitivity, feedTypes, resultsWindow);
//     window.exec();

#include "calc/sensitivity.h"

#include <QDialog>
#include <QList>
#include <QStringList>

#include <functional>

class QComboBox;
class QLabel;
class QPainter;
class QPushButton;
class QTableWidget;

namespace calc
{

struct OutcomeBlock;

class SensitivityWindow final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SensitivityWindow)

public:
    enum RequirementColumn {
        ColCharacteristic,
        ColSide,
        ColNorm,
        ColShadow,
        ColNormFrom,
        ColNormTo
    };
    enum PriceColumn { ColRaw, ColPrice, ColPriceFrom, ColPriceTo, ColUsedIn };
    enum StockColumn { ColStockRaw, ColStock, ColValue, ColStockFrom, ColStockTo };

    // feedTypes: the code of feed type p at index p − 1.
    SensitivityWindow(const Sensitivity &figures, const QStringList &feedTypes,
                      QWidget *parent = nullptr);

    // Shows the norms of feed type p (1-based).
    void chooseFeed(int p);
    // The printed form: every feed type's norms, the prices, the stock.
    QList<OutcomeBlock> printBlocks() const;
    int paint(QPainter *painter, const std::function<bool()> &newPage) const;

private:
    void onPrint(); // "Отпечатать"
    void buildLayout();
    void fillPrices();
    void fillStock();
    QString feedLabel(int p) const;
    QStringList requirementLines(int p) const;
    QStringList usedIn(const PriceFigure &f) const; // the names of the feed types

    Sensitivity figures_;
    QStringList feedTypes_;

    QComboBox *feedChoice = nullptr;          // the feed type
    QTableWidget *requirementsGrid = nullptr; // "Ограничения"
    QTableWidget *pricesGrid = nullptr;       // "Цены сырья"
    QTableWidget *stockGrid = nullptr;        // "Запасы"
    QLabel *degenerateNote = nullptr;         // the degenerate optimum's note
    // under the prices: other recipes cost the same
    QLabel *alternativeOptimaNote = nullptr;
    QPushButton *printButton = nullptr; // "Отпечатать"
    QPushButton *exitButton = nullptr;  // "Выход"
};

} // namespace calc
