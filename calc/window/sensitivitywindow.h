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

    QComboBox *feedChoice() const { return ComboBox1; }
    QTableWidget *requirementsGrid() const { return StringGrid1; }
    QTableWidget *pricesGrid() const { return StringGrid2; }
    QTableWidget *stockGrid() const { return StringGrid3; }
    QLabel *degenerateNote() const { return Label4; }
    QLabel *alternativeOptimaNote() const { return alternativeOptimaNote_; }
    QPushButton *printButton() const { return Button1; }

    // Shows the norms of feed type p (1-based).
    void chooseFeed(int p);
    // The printed form: every feed type's norms, the prices, the stock.
    QList<OutcomeBlock> printBlocks() const;
    int paint(QPainter *painter, const std::function<bool()> &newPage) const;

    void Button1Click(); // "Отпечатать"

private:
    void buildLayout();
    void fillPrices();
    void fillStock();
    QString feedLabel(int p) const;
    QStringList requirementLines(int p) const;
    QStringList usedIn(const PriceFigure &f) const; // the names of the feed types

    Sensitivity figures_;
    QStringList feedTypes_;

    QComboBox *ComboBox1 = nullptr;      // the feed type
    QTableWidget *StringGrid1 = nullptr; // "Ограничения"
    QTableWidget *StringGrid2 = nullptr; // "Цены сырья"
    QTableWidget *StringGrid3 = nullptr; // "Запасы"
    QLabel *Label4 = nullptr;            // the degenerate optimum's note
    // under the prices: other recipes cost the same
    QLabel *alternativeOptimaNote_ = nullptr;
    QPushButton *Button1 = nullptr; // "Отпечатать"
    QPushButton *Button2 = nullptr; // "Выход"
};

} // namespace calc
