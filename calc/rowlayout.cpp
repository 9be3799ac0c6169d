#include "calc/rowlayout.h"

namespace calc
{

void RowLayout::addOutputRow(int p)
{
    rows_.push_back({Kind::Output, p});
}

void RowLayout::addNutrientRow(int p, int q)
{
    rows_.push_back({Kind::Nutrient, p, q});
}

void RowLayout::addStockRow(int s)
{
    rows_.push_back({Kind::Stock, s});
    if (firstStockRow_ == 0)
        firstStockRow_ = rowCount() - s + 1;
}

void RowLayout::addRatioRow(int p, int k, RatioSide side)
{
    rows_.push_back({Kind::Ratio, p, 0, k, side});
}

int RowLayout::outputRow(int p) const
{
    for (int i = 1; i <= rowCount(); ++i)
        if (kind(i) == Kind::Output && owner(i) == p)
            return i;
    return 0;
}

int RowLayout::nutrientRow(int p, int q) const
{
    for (int i = 1; i <= rowCount(); ++i)
        if (isNutrientRow(i) && owner(i) == p && characteristic(i) == q)
            return i;
    return 0;
}

int RowLayout::stockRow(int s) const
{
    return firstStockRow_ + s - 1;
}

std::vector<int> RowLayout::nutrientRows(int p) const
{
    std::vector<int> rows;
    for (int i = 1; i <= rowCount(); ++i)
        if (isNutrientRow(i) && owner(i) == p)
            rows.push_back(i);
    return rows;
}

std::vector<int> RowLayout::requirementRows(int p) const
{
    std::vector<int> rows = nutrientRows(p);
    for (int i = 1; i <= rowCount(); ++i)
        if (isRatioRow(i) && owner(i) == p)
            rows.push_back(i);
    return rows;
}

} // namespace calc
