#pragma once

// The price build-up of a feed type: from the raw-material cost of one tonne through
// the production losses, production costs, profit and granulation surcharge to the
// price without tax, the tax and the price the recipe name carries. Every part is
// rounded to kopecks as it is computed, so that the figures shown add up.
//
// The results window builds every feed type's price when it opens (buildPrice) and
// builds the current one again from its feed grid cells after each edit
// (recomputePrice), stopping at the first cell that is not a number.

#include "results/cellnumber.h"

#include <QString>

#include <optional>
#include <vector>

namespace calc
{
struct Recipes;
}
namespace settings
{
struct Settings;
}

namespace results
{

// The settings the build-up uses.
struct PriceSettings {
    double lossNorm = 0;             // L, % of production losses
    double productionCosts = 0;      // E, roubles per tonne
    double profitability = 0;        // R, %
    double granulationSurcharge = 0; // G, roubles per tonne
    bool nameWithoutTax = false;     // the recipe name carries the price without tax

    static PriceSettings fromSettings(const settings::Settings &values);
};

// One feed type's price per tonne, part by part.
struct FeedPrice {
    double rawCost = 0;       // raw materials
    double lossCost = 0;      // production losses
    double fullCost = 0;      // raw materials + losses + production costs
    double profitAmount = 0;  // profit
    double granSurcharge = 0; // granulation surcharge
    double priceNoTax = 0;    // price without tax
    double taxAmount = 0;     // tax
    double namePrice = 0;     // the price the recipe name carries
};

// Raw-material cost of one tonne of every feed type, [p] for p = 1 .. feedCount (slot 0
// unused): the sum over its recipe lines of price × percentage / 100, each term rounded
// to kopecks.
std::vector<double> rawCosts(const calc::Recipes &recipes);

// The build-up with the settings' costs, profitability and surcharge and the feed
// type's tax rate.
FeedPrice buildPrice(double rawCost, double vat, const PriceSettings &settings);

// The editable number cells of a feed grid row.
struct PriceCells {
    CellValue costs;  // "Издержки"
    CellValue profit; // "Прибыль %"
    CellValue gran;   // "За гран. 1Т"
    CellValue vat;    // "%нал."
};

// What a recomputation gives: the message that stopped it (empty when it ran through)
// and the new contents of the cells it rewrites, each set only when it got that far.
struct PriceRecompute {
    QString message;
    std::optional<CellValue> gran;       // "За гран. 1Т", fixed 12.2
    std::optional<QString> priceNoTax;   // "Цена 1Т без НДС", fixed 12.2
    std::optional<QString> priceWithTax; // "Цена 1Т с НДС", fixed 12.2
};

// Builds price again from its rawCost and the cells; the parts computed before a cell
// that is not a number keep their new values, the others their old ones.
PriceRecompute recomputePrice(FeedPrice &price, const PriceCells &cells,
                              const PriceSettings &settings);

} // namespace results
