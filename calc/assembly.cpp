#include "calc/assembly.h"

#include "lp/densematrix.h"

#include <cmath>
#include <limits>

namespace calc
{

namespace
{

int countRows(const ProblemRecord &rec)
{
    int rows = rec.feedCount + rec.rawCount;
    for (int p = 1; p <= rec.feedCount; ++p)
        for (int q = 1; q <= rec.charCount; ++q)
            if (rec.normMax[p][q] != 0)
                ++rows;
    return rows;
}

// Percent of the batch becomes tonnes; the objective coefficient is the raw price.
void convertColumns(ProblemRecord &rec)
{
    for (int j = 1; j <= rec.columnCount; ++j) {
        rec.columnValue[j] = rec.rawContent[rec.columnRaw[j]][1];
        const double f = rec.feedOutput[rec.columnFeed[j]] / 100;
        rec.columnLower[j] *= f;
        rec.columnUpper[j] *= f;
    }
}

// A new row of the programme, its kind and owner noted in the record.
void addRow(ProblemRecord &rec, lp::Programme &programme, int kind, int owner, double lower,
            double upper)
{
    const int i = ++rec.rowCount;
    rec.rowKind[i] = kind;
    rec.rowOwner[i] = owner;
    programme.addRow(lower, upper);
}

// Columns first..last belong to feed type p: first is the next column not taken,
// last steps on while the next column is still p's. A feed type without columns (the
// checks stop such a run before it gets here) gets an empty range, not its
// neighbour's first column.
int lastColumnOf(const ProblemRecord &rec, int p, int first)
{
    if (first > rec.columnCount || rec.columnFeed[first] != p)
        return first - 1;
    int last = first;
    while (last < rec.columnCount && rec.columnFeed[last + 1] == p)
        ++last;
    return last;
}

void appendFeedRows(ProblemRecord &rec, lp::Programme &programme, int p, int first, int last,
                    const std::vector<double> &relax)
{
    const double output = rec.feedOutput[p];
    addRow(rec, programme, kOutputRow, p, output, output);
    for (int j = first; j <= last; ++j)
        programme.addEntry(lp::ColIndex(j), 1.0);

    for (int q = 1; q <= rec.charCount; ++q) {
        const double max = rec.normMax[p][q];
        if (max == 0)
            continue;
        const int i = rec.rowCount + 1;
        const RowBounds b = nutrientRowBounds(rec.normMin[p][q], max, output, relax[i]);
        addRow(rec, programme, q, p, b.lower, b.upper);
        for (int j = first; j <= last; ++j)
            programme.addEntry(lp::ColIndex(j), rec.rawContent[rec.columnRaw[j]][q] / max);
    }
}

void appendStockRows(ProblemRecord &rec, lp::Programme &programme, bool useFullUse,
                     double lossFactor)
{
    for (int s = 1; s <= rec.rawCount; ++s) {
        const double upper = lossFactor * rec.rawStock[s];
        const double lower = rec.rawFullUse[s] && useFullUse ? upper : 0.0;
        addRow(rec, programme, kStockRow, s, lower, upper);
        for (int j = 1; j <= rec.columnCount; ++j)
            if (rec.columnRaw[j] == s)
                programme.addEntry(lp::ColIndex(j), 1.0);
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

std::optional<lp::Programme> assembleProgramme(ProblemRecord &rec, bool useFullUse,
                                               const std::vector<double> &relax, double lossNorm)
{
    const int rows = countRows(rec);
    rec.objective = 0;
    rec.solveStatus = 0;
    if (!lp::tableauFits(rows, rec.columnCount)) {
        rec.programmeError = lp::SolveError::Overflow;
        return std::nullopt;
    }
    convertColumns(rec);
    rec.programmeError = lp::SolveError::None;
    rec.rowCount = 0;
    const double lossFactor = 100 / (lossNorm + 100);

    lp::Programme programme;
    for (int j = 1; j <= rec.columnCount; ++j)
        programme.addColumn(rec.columnLower[j], rec.columnUpper[j], rec.columnValue[j]);
    int first = 1;
    for (int p = 1; p <= rec.feedCount; ++p) {
        const int last = lastColumnOf(rec, p, first);
        appendFeedRows(rec, programme, p, first, last, relax);
        first = last + 1;
    }
    appendStockRows(rec, programme, useFullUse, lossFactor);
    return programme;
}

lp::ColumnNote columnNote(const ProblemRecord &rec)
{
    return [&rec](lp::ColIndex j) {
        return "feed type " + QByteArray::number(rec.columnFeed[j.number()]) + ", raw material " +
               QByteArray::number(rec.columnRaw[j.number()]);
    };
}

} // namespace calc
