#pragma once

// What each row of an assembled programme stands for: per feed type its output row and
// one nutrient row per characteristic with a maximum norm, then one stock row per raw
// material. Rows count from 1. This is the one place that reads the layout: which row
// is the nutrient row of characteristic q in feed type p, whose stock a row is.

#include <vector>

namespace calc
{

class RowLayout final
{
public:
    enum class Kind { Output, Nutrient, Stock };

    // As the assembly adds the rows, in order.
    void addOutputRow(int p);
    void addNutrientRow(int p, int q);
    void addStockRow(int s);

    int rowCount() const { return int(rows_.size()); }
    Kind kind(int i) const { return row(i).kind; }
    bool isNutrientRow(int i) const { return kind(i) == Kind::Nutrient; }
    bool isStockRow(int i) const { return kind(i) == Kind::Stock; }
    // Output and nutrient rows: the feed type p; stock rows: the raw material s.
    int owner(int i) const { return row(i).owner; }
    // Nutrient rows: the characteristic q; 0 for the other rows.
    int characteristic(int i) const { return row(i).characteristic; }

    // The output row of feed type p, its nutrient row of characteristic q (0 when it has
    // none), the stock row of raw material s.
    int outputRow(int p) const;
    int nutrientRow(int p, int q) const;
    int stockRow(int s) const;
    // The nutrient rows of feed type p, in row order (characteristic order).
    std::vector<int> nutrientRows(int p) const;

private:
    struct Row {
        Kind kind = Kind::Output;
        int owner = 0;
        int characteristic = 0;
    };
    const Row &row(int i) const { return rows_[std::size_t(i - 1)]; }

    std::vector<Row> rows_;
    int firstStockRow_ = 0;
};

} // namespace calc
