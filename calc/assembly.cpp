#include "calc/assembly.h"

#include "lp/densematrix.h"

#include <cmath>
#include <limits>

namespace calc
{

namespace
{

int countRows(const Selection &sel)
{
    int rows = sel.feedCount + sel.rawCount;
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

} // namespace

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
    int first = 1;
    for (int p = 1; p <= sel.feedCount; ++p) {
        const int last = lastColumnOf(sel, p, first);
        appendFeedRows(sel, out, p, first, last, relax);
        first = last + 1;
    }
    appendStockRows(sel, out, useFullUse, lossFactor);
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
