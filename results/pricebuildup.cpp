#include "results/pricebuildup.h"

#include "calc/recipe.h"
#include "results/cellnumber.h"
#include "settings/settings.h"
#include "store/numbertext.h"

namespace results
{

using store::fixedText;
using store::round2;

PriceSettings PriceSettings::fromSettings(const settings::Settings &values)
{
    return {values.lossNorm, values.productionCosts, values.profitability,
            values.granulationSurcharge, values.namePriceWithoutTax};
}

std::vector<double> rawCosts(const calc::Recipes &recipes)
{
    std::vector<double> costs(size_t(recipes.feedCount()) + 1, 0.0);
    for (const calc::FeedRecipe &feed : recipes.feeds)
        for (const calc::RecipeLine &line : feed.lines)
            costs[size_t(feed.feed)] += round2(line.price * line.percent / 100);
    return costs;
}

namespace
{

double namePriceOf(const FeedPrice &price, const PriceSettings &settings)
{
    return settings.nameWithoutTax ? price.priceNoTax : price.priceNoTax + price.taxAmount;
}

} // namespace

FeedPrice buildPrice(double rawCost, double vat, const PriceSettings &s)
{
    FeedPrice price;
    price.rawCost = rawCost;
    price.lossCost = round2(s.lossNorm * rawCost / 100);
    price.fullCost = s.productionCosts + rawCost + price.lossCost;
    price.profitAmount = round2(s.profitability * price.fullCost / 100);
    price.granSurcharge = s.granulationSurcharge;
    price.priceNoTax = round2(s.granulationSurcharge + price.profitAmount + price.fullCost);
    price.taxAmount = round2(vat * price.priceNoTax / 100);
    price.namePrice = namePriceOf(price, s);
    return price;
}

PriceRecompute recomputePrice(FeedPrice &price, const PriceCells &cells, const PriceSettings &s)
{
    PriceRecompute result;
    price.lossCost = round2(s.lossNorm * price.rawCost / 100);
    const CellNumber &costs = cells.costs.number;
    if (!costs.ok()) {
        result.message = QStringLiteral("Исправьте издержки... Цена не пересчитана...");
        return result;
    }
    price.fullCost = price.rawCost + price.lossCost + costs.value;
    const CellNumber &profit = cells.profit.number;
    if (!profit.ok()) {
        result.message = QStringLiteral("Исправьте прибыль... Цена не пересчитана...");
        return result;
    }
    price.profitAmount = round2(price.fullCost * profit.value / 100);
    const CellNumber &gran = cells.gran.number;
    if (!gran.ok()) {
        result.message = QStringLiteral("Исправьте цену грануляции... Цена не пересчитана...");
        return result;
    }
    price.granSurcharge = round2(gran.value);
    result.gran = CellValue::fixed(price.granSurcharge, 12, 2);
    // a sum of amounts in kopecks: rounding only takes the binary noise away, so that
    // the tax is computed from the price as it is shown
    price.priceNoTax = round2(price.profitAmount + price.fullCost + price.granSurcharge);
    result.priceNoTax = fixedText(price.priceNoTax, 12, 2);
    const CellNumber &vat = cells.vat.number;
    if (!vat.ok()) {
        result.message = QStringLiteral("Исправьте %нал (НДС)... Цена не пересчитана...");
        return result;
    }
    price.taxAmount = round2(vat.value * price.priceNoTax / 100);
    result.priceWithTax = fixedText(price.priceNoTax + price.taxAmount, 12, 2);
    price.namePrice = namePriceOf(price, s);
    return result;
}

} // namespace results
