#pragma once

// What each row of an assembled programme stands for: per feed type its output row and
// one nutrient row per characteristic with a maximum norm, then one stock row per raw
// material, then the rows of the ratios in force (one per bound) by feed type. Rows
// count from 1. This is the one place that reads the layout: which row is the nutrient
// row of characteristic q in feed type p, whose stock a row is, which ratio a row bounds.

#include <vector>

namespace calc
{

enum class RatioSide { Min, Max };

class RowLayout final
{
public:
    enum class Kind { Output, Nutrient, Stock, Ratio };

    // As the assembly adds the rows, in order.
    void addOutputRow(int p);
    void addNutrientRow(int p, int q);
    void addStockRow(int s);
    // The row of one bound of ratio k (index into Selection::ratios) of feed type p.
    void addRatioRow(int p, int k, RatioSide side);

    int rowCount() const { return int(rows_.size()); }
    Kind kind(int i) const { return row(i).kind; }
    bool isNutrientRow(int i) const { return kind(i) == Kind::Nutrient; }
    bool isStockRow(int i) const { return kind(i) == Kind::Stock; }
    bool isRatioRow(int i) const { return kind(i) == Kind::Ratio; }
    // A requirement the relaxation may widen: a nutrient or a ratio row.
    bool isRequirementRow(int i) const { return isNutrientRow(i) || isRatioRow(i); }
    // Output, nutrient and ratio rows: the feed type p; stock rows: the raw material s.
    int owner(int i) const { return row(i).owner; }
    // Nutrient rows: the characteristic q; 0 for the other rows.
    int characteristic(int i) const { return row(i).characteristic; }
    // Ratio rows: the ratio k (index into Selection::ratios) and the bound the row holds.
    int ratio(int i) const { return row(i).ratio; }
    RatioSide ratioSide(int i) const { return row(i).side; }

    // The output row of feed type p, its nutrient row of characteristic q (0 when it has
    // none), the stock row of raw material s.
    int outputRow(int p) const;
    int nutrientRow(int p, int q) const;
    int stockRow(int s) const;
    // The nutrient rows of feed type p, in row order (characteristic order).
    std::vector<int> nutrientRows(int p) const;
    // Its nutrient rows, then its ratio rows.
    std::vector<int> requirementRows(int p) const;

private:
    struct Row {
        Kind kind = Kind::Output;
        int owner = 0;
        int characteristic = 0;
        int ratio = 0;
        RatioSide side = RatioSide::Min;
    };
    const Row &row(int i) const { return rows_[std::size_t(i - 1)]; }

    std::vector<Row> rows_;
    int firstStockRow_ = 0;
};

} // namespace calc
