#pragma once

// What the optimum of a calculation is worth at the margin, read from the final tableau
// of the solve that produced it (lp/finaltableau.h), without solving anything again:
//
// - requirements: for every nutrient norm whose bound holds the optimum (its row's
//   activity non-basic at that bound), the shadow price in roubles per tonne of that
//   feed type per unit of the norm, and the range of the norm over which it holds;
// - raw-material prices: the interval of one raw material's price, moved in every feed
//   type at once, within which the recipes of the programme stay the cheapest;
// - stock: for every raw material whose stock holds the optimum, what one more tonne
//   is worth to the whole programme, and the range of stock over which that holds;
// - ratios: for every bound of a ratio that holds the optimum, the shadow price in
//   roubles per tonne of that feed type per unit of the ratio, and the range of the
//   bound over which it holds.
//
// Units are those the user types: norms as in the feed types list (the price norm as a
// selling price with tax, surcharge and profit), prices of one tonne, stock in tonnes.
// An end that nothing limits is empty. When a basic variable sits on a bound the
// optimum is degenerate: the figures are then one of several valid sets, and a range
// may shrink to its own value on one side. When a non-basic variable that can move has
// a reduced cost of 0, other recipes cost the same: a price moved within its range
// keeps the cost, but a new calculation may well pick one of those other recipes.

#include "calc/loading.h"
#include "calc/rowlayout.h"
#include "calc/selection.h"
#include "lp/finaltableau.h"

#include <QString>

#include <optional>
#include <vector>

namespace calc
{

enum class NormSide { Min, Max };

struct RequirementFigure {
    int feed = 0;           // p
    int characteristic = 0; // q
    QString name;           // the characteristic's name
    NormSide side = NormSide::Min;
    double norm = 0;        // the norm that binds, as typed
    double shadowPrice = 0; // roubles per tonne of feed per unit of the norm
    std::optional<double> normFrom, normTo;
};

struct RatioFigure {
    int feed = 0;        // p
    int numerator = 0;   // q
    int denominator = 0; // q
    QString name;        // "Кальций/Фосфор доступный"
    NormSide side = NormSide::Min;
    double bound = 0;       // the bound that binds, as typed
    double shadowPrice = 0; // roubles per tonne of feed per unit of the ratio
    std::optional<double> boundFrom, boundTo;
};

struct PriceFigure {
    int raw = 0; // s
    QString name;
    double price = 0; // roubles per tonne
    std::optional<double> priceFrom, priceTo;
    std::vector<int> feeds; // the feed types whose recipes use it
};

struct StockFigure {
    int raw = 0; // s
    QString name;
    double stock = 0;         // tonnes
    double valuePerTonne = 0; // roubles the programme saves with one more tonne
    std::optional<double> stockFrom, stockTo;
};

struct Sensitivity {
    // false: no optimum to read (no solution, or an output-mode search)
    bool held = false;
    bool degenerate = false;                     // a basic variable sits on a bound
    bool alternativeOptima = false;              // other recipes cost the same
    std::vector<RequirementFigure> requirements; // by feed type, then row order
    std::vector<PriceFigure> prices;             // every selected raw material
    std::vector<StockFigure> stock;              // by raw material
    std::vector<RatioFigure> ratios;             // in row order
};

// Reads the figures from the final tableau of the solve of the programme assembled from
// the selection (norms, outputs, prices, stock as that solve used them), laid out as
// layout says, with the relaxation shares of its rows ([i], 1-based).
Sensitivity sensitivityOf(const lp::FinalTableau &tableau, const Selection &selection,
                          const RowLayout &layout, const std::vector<double> &shares,
                          const CalcParameters &parameters);

} // namespace calc
