#include "calc/assembly.h"

#include <cmath>
#include <limits>

namespace calc
{

namespace
{

// Writes the programme's coefficients one after the other, row after row, each
// negated as the tableau wants it.
class CoefficientWriter final
{
public:
    explicit CoefficientWriter(CoefficientList &coef) : coef_(coef) {}

    void beginRow()
    {
        ++row_;
        column_ = 0;
    }
    void append(double a) { coef_.row(row_)[column_++] = -a; }

private:
    CoefficientList &coef_;
    int row_ = 0;
    int column_ = 0;
};

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

int addRow(ProblemRecord &rec, int kind, int owner, double lower, double upper)
{
    const int i = ++rec.rowCount;
    rec.rowKind[i] = kind;
    rec.rowOwner[i] = owner;
    rec.rowLower[i] = lower;
    rec.rowUpper[i] = upper;
    return i;
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

void appendFeedRows(ProblemRecord &rec, CoefficientWriter &out, int p, int first, int last,
                    const std::vector<double> &relax)
{
    const int n = rec.columnCount;
    const double output = rec.feedOutput[p];
    out.beginRow();
    for (int j = 1; j <= n; ++j)
        out.append(j >= first && j <= last ? 1.0 : 0.0);
    addRow(rec, kOutputRow, p, output, output);

    for (int q = 1; q <= rec.charCount; ++q) {
        const double max = rec.normMax[p][q];
        if (max == 0)
            continue;
        const int i = rec.rowCount + 1;
        const RowBounds b = nutrientRowBounds(rec.normMin[p][q], max, output, relax[i]);
        addRow(rec, q, p, b.lower, b.upper);
        out.beginRow();
        for (int j = 1; j <= n; ++j)
            out.append(j >= first && j <= last ? rec.rawContent[rec.columnRaw[j]][q] / max : 0.0);
    }
}

void appendStockRows(ProblemRecord &rec, CoefficientWriter &out, bool useFullUse, double lossFactor)
{
    for (int s = 1; s <= rec.rawCount; ++s) {
        const double upper = lossFactor * rec.rawStock[s];
        const double lower = rec.rawFullUse[s] && useFullUse ? upper : 0.0;
        addRow(rec, kStockRow, s, lower, upper);
        out.beginRow();
        for (int j = 1; j <= rec.columnCount; ++j)
            out.append(rec.columnRaw[j] == s ? 1.0 : 0.0);
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

bool assembleProgramme(ProblemRecord &rec, bool useFullUse, const std::vector<double> &relax,
                       double lossNorm)
{
    const int rows = countRows(rec);
    rec.objective = 0;
    if (!rec.coef.allocate(rows, rec.columnCount)) {
        rec.solveStatus = 0;
        rec.programmeError = ProgrammeError::Overflow;
        rec.coef.release();
        return false;
    }
    convertColumns(rec);
    rec.solveStatus = 0;
    rec.programmeError = ProgrammeError::None;
    rec.rowCount = 0;
    const double lossFactor = 100 / (lossNorm + 100);

    CoefficientWriter out(rec.coef);
    int first = 1;
    for (int p = 1; p <= rec.feedCount; ++p) {
        const int last = lastColumnOf(rec, p, first);
        appendFeedRows(rec, out, p, first, last, relax);
        first = last + 1;
    }
    appendStockRows(rec, out, useFullUse, lossFactor);
    return true;
}

} // namespace calc
