#include "calc/assembly.h"

#include "lp/densematrix.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace calc
{

namespace
{

int countRows(const Selection &sel)
{
    int rows = sel.feedCount + sel.rawCount;
    for (const Ratio &ratio : sel.ratios)
        rows += (ratio.minimum > 0) + (ratio.maximum > 0);
    for (int p = 1; p <= sel.feedCount; ++p)
        for (int q = 1; q <= sel.charCount; ++q)
            if (sel.normMax[p][q] != 0)
                ++rows;
    return rows;
}

// Percent of the batch becomes tonnes; the objective coefficient is the raw price.
void addColumns(const Selection &sel, lp::Programme &programme)
{
    for (int j = 1; j <= sel.columnCount; ++j) {
        const double f = sel.feedOutput[sel.columnFeed[j]] / 100;
        programme.addColumn(sel.columnLower[j] * f, sel.columnUpper[j] * f,
                            sel.rawContent[sel.columnRaw[j]][kPriceCharacteristic]);
    }
}

// Columns first..last belong to feed type p: first is the next column not taken,
// last steps on while the next column is still p's. A feed type without columns (the
// checks stop such a run before it gets here) gets an empty range, not its
// neighbour's first column.
int lastColumnOf(const Selection &sel, int p, int first)
{
    if (first > sel.columnCount || sel.columnFeed[first] != p)
        return first - 1;
    int last = first;
    while (last < sel.columnCount && sel.columnFeed[last + 1] == p)
        ++last;
    return last;
}

void appendFeedRows(const Selection &sel, AssembledProgramme &out, int p, int first, int last,
                    const std::vector<double> &relax)
{
    const double output = sel.feedOutput[p];
    out.layout.addOutputRow(p);
    out.programme.addRow(output, output);
    for (int j = first; j <= last; ++j)
        out.programme.addEntry(lp::ColIndex(j), 1.0);

    for (int q = 1; q <= sel.charCount; ++q) {
        const double max = sel.normMax[p][q];
        if (max == 0)
            continue;
        const int i = out.layout.rowCount() + 1;
        const RowBounds b = nutrientRowBounds(sel.normMin[p][q], max, output, relax[i]);
        out.layout.addNutrientRow(p, q);
        out.programme.addRow(b.lower, b.upper);
        for (int j = first; j <= last; ++j)
            out.programme.addEntry(lp::ColIndex(j), sel.rawContent[sel.columnRaw[j]][q] / max);
    }
}

void appendStockRows(const Selection &sel, AssembledProgramme &out, bool useFullUse,
                     double lossFactor)
{
    for (int s = 1; s <= sel.rawCount; ++s) {
        const double upper = lossFactor * sel.rawStock[s];
        const double lower = sel.rawFullUse[s] && useFullUse ? upper : 0.0;
        out.layout.addStockRow(s);
        out.programme.addRow(lower, upper);
        for (int j = 1; j <= sel.columnCount; ++j)
            if (sel.columnRaw[j] == s)
                out.programme.addEntry(lp::ColIndex(j), 1.0);
    }
}

// Σ (a_num − ρ a_den) x over feed type p's columns first..last: at least 0 for a minimum
// ρ, at most 0 for a maximum. The row is homogeneous, so tonnes or shares alike; its
// other side is put where no recipe of the feed type's output can reach it.
void appendRatioRow(const Selection &sel, AssembledProgramme &out, int k, RatioSide side,
                    std::pair<int, int> columns, double relax)
{
    const Ratio &ratio = sel.ratios[std::size_t(k)];
    const double rate = ratioRowRate(ratio, side, relax);
    double most = 0;
    double least = 0;
    for (int j = columns.first; j <= columns.second; ++j) {
        const auto &content = sel.rawContent[sel.columnRaw[j]];
        const double a = content[ratio.numerator] - rate * content[ratio.denominator];
        most = std::max(most, a);
        least = std::min(least, a);
    }
    const double output = sel.feedOutput[ratio.feed];
    out.layout.addRatioRow(ratio.feed, k, side);
    if (side == RatioSide::Min)
        out.programme.addRow(0, 2 * most * output + 1);
    else
        out.programme.addRow(2 * least * output - 1, 0);
    for (int j = columns.first; j <= columns.second; ++j) {
        const auto &content = sel.rawContent[sel.columnRaw[j]];
        out.programme.addEntry(lp::ColIndex(j),
                               content[ratio.numerator] - rate * content[ratio.denominator]);
    }
}

void appendRatioRows(const Selection &sel, AssembledProgramme &out,
                     const std::vector<std::pair<int, int>> &feedColumns,
                     const std::vector<double> &relax)
{
    for (int k = 0; k < int(sel.ratios.size()); ++k) {
        const Ratio &ratio = sel.ratios[std::size_t(k)];
        for (const RatioSide side : {RatioSide::Min, RatioSide::Max}) {
            if ((side == RatioSide::Min ? ratio.minimum : ratio.maximum) <= 0)
                continue;
            const std::size_t i = std::size_t(out.layout.rowCount() + 1);
            appendRatioRow(sel, out, k, side, feedColumns[std::size_t(ratio.feed)],
                           i < relax.size() ? relax[i] : 0.0);
        }
    }
}

} // namespace

double ratioRowRate(const Ratio &ratio, RatioSide side, double relax)
{
    if (side == RatioSide::Max)
        return ratio.maximum * (1 + relax);
    return std::max(0.0, ratio.minimum * (1 - relax));
}

RowBounds nutrientRowBounds(double normMin, double normMax, double output, double relax)
{
    RowBounds b;
    b.lower = normMin * (1 - relax) * output / normMax;
    if (b.lower < 0)
        b.lower = 0;
    b.upper = (1 + relax) * output;
    // min = max with no relaxation means lower = upper = W; the three roundings of
    // the lower bound may leave it a few units in the last place above W.
    constexpr double kRounding = 8 * std::numeric_limits<double>::epsilon();
    if (b.lower > b.upper && b.lower - b.upper <= kRounding * b.upper)
        b.lower = b.upper;
    return b;
}

std::optional<AssembledProgramme> assembleProgramme(const Selection &sel, bool useFullUse,
                                                    const std::vector<double> &relax,
                                                    double lossNorm)
{
    if (!lp::tableauFits(countRows(sel), sel.columnCount))
        return std::nullopt;
    const double lossFactor = 100 / (lossNorm + 100);
    AssembledProgramme out;
    addColumns(sel, out.programme);
    std::vector<std::pair<int, int>> feedColumns(std::size_t(sel.feedCount) + 1);
    int first = 1;
    for (int p = 1; p <= sel.feedCount; ++p) {
        const int last = lastColumnOf(sel, p, first);
        appendFeedRows(sel, out, p, first, last, relax);
        feedColumns[std::size_t(p)] = {first, last};
        first = last + 1;
    }
    appendStockRows(sel, out, useFullUse, lossFactor);
    appendRatioRows(sel, out, feedColumns, relax);
    return out;
}

lp::ColumnNote columnNote(const Selection &sel)
{
    return [&sel](lp::ColIndex j) {
        return "feed type " + QByteArray::number(sel.columnFeed[j.number()]) + ", raw material " +
               QByteArray::number(sel.columnRaw[j.number()]);
    };
}

} // namespace calc
