#include "helper_referencesimplex.h"

#include <cmath>
#include <utility>
#include <vector>

namespace calctest
{

namespace
{

const double kEps = 3e-11;

// The tableau's figures, 1-based, named as the solver names them.
struct Figures {
    explicit Figures(const lp::Programme &p)
        : rowLower(p.rowCount() + 1), rowUpper(p.rowCount() + 1), rowValue(p.rowCount() + 1),
          rowLabel(p.rowCount() + 1), columnLower(p.columnCount() + 1),
          columnUpper(p.columnCount() + 1), columnValue(p.columnCount() + 1),
          columnLabel(p.columnCount() + 1), columnAtLower(p.columnCount() + 1)
    {
        for (lp::RowIndex i(1); i.number() <= p.rowCount(); ++i) {
            rowLower[i.number()] = p.rowLower(i);
            rowUpper[i.number()] = p.rowUpper(i);
        }
        for (lp::ColIndex j(1); j.number() <= p.columnCount(); ++j) {
            columnLower[j.number()] = p.columnLower(j);
            columnUpper[j.number()] = p.columnUpper(j);
            columnValue[j.number()] = p.cost(j);
        }
    }

    std::vector<double> rowLower, rowUpper, rowValue;
    std::vector<int> rowLabel;
    std::vector<double> columnLower, columnUpper, columnValue;
    std::vector<int> columnLabel;
    std::vector<std::uint8_t> columnAtLower;
    double objective = 0;
    double tolerance = 0;
    int solveStatus = 0;
};

struct Reference {
    Figures &R;
    bool full;
    int m, n;
    std::vector<double> T; // position (i - 1) * n + j, 1-based as the method counts
    std::vector<int> colList, rowList;
    ReferenceResult result;

    double &t(int i, int j) { return T[std::size_t(i - 1) * n + j]; }

    static double distance(double big) { return big >= 1 ? kEps * big : kEps; }

    // rowValue(i) += d with the tolerance rule
    void addRow(int i, double d)
    {
        const double old = R.rowValue[i];
        const double big = std::fabs(old) > std::fabs(d) ? std::fabs(old) : std::fabs(d);
        R.rowValue[i] = old + d;
        snap(i, big);
    }
    void snap(int i, double big)
    {
        const double dist = distance(big);
        if (std::fabs(R.rowValue[i] - R.rowLower[i]) < dist)
            R.rowValue[i] = R.rowLower[i];
        else if (std::fabs(R.rowValue[i] - R.rowUpper[i]) < dist)
            R.rowValue[i] = R.rowUpper[i];
    }
    void addEntry(int i, int k, double d)
    {
        const double old = t(i, k);
        const double big = std::fabs(old) > std::fabs(d) ? std::fabs(old) : std::fabs(d);
        t(i, k) = old + d;
        if (std::fabs(t(i, k)) < distance(big))
            t(i, k) = 0;
    }

    void init()
    {
        R.tolerance = kEps;
        R.objective = 0;
        for (int i = 1; i <= m; ++i) {
            R.rowValue[i] = 0;
            R.rowLabel[i] = -i;
        }
        for (int j = 1; j <= n; ++j) {
            R.columnAtLower[j] = 1;
            R.columnLabel[j] = j;
            if (R.columnLower[j] != 0) {
                const double s = -R.columnLower[j];
                for (int i = 1; i <= m; ++i)
                    R.rowValue[i] += s * t(i, j);
                if (full)
                    R.objective += s * R.columnValue[j];
            }
        }
        R.solveStatus = 0;
    }

    enum Outcome { Flip, Lower, Upper };

    void flip(int j, double theta)
    {
        if (full)
            R.objective = R.objective - theta * R.columnValue[j];
        for (int i : colList) {
            const double tt = t(i, j);
            t(i, j) = -tt;
            addRow(i, -theta * tt);
        }
        if (full)
            R.columnValue[j] = -R.columnValue[j];
        R.columnAtLower[j] = 1 - R.columnAtLower[j];
        ++result.flips;
    }

    void pivot(int r, int e, Outcome outcome, int scanned)
    {
        for (int k = scanned + 1; k <= m; ++k) // step 1
            if (t(k, e) != 0)
                colList.push_back(k);
        std::swap(R.rowLabel[r], R.columnLabel[e]); // step 2
        std::swap(R.rowLower[r], R.columnLower[e]);
        std::swap(R.rowUpper[r], R.columnUpper[e]);
        const double rho = 1 / t(r, e); // step 3
        R.rowValue[r] = R.rowValue[r] * rho;
        rowList.clear(); // step 4
        for (int k = 1; k <= n; ++k)
            if (t(r, k) != 0) {
                t(r, k) = t(r, k) * rho;
                rowList.push_back(k);
            }
        t(r, e) = rho;
        for (int i : colList) { // step 5
            if (i == r)
                continue;
            const double v = t(i, e);
            addRow(i, -v * R.rowValue[r]);
            for (int k : rowList)
                addEntry(i, k, -v * t(r, k));
            t(i, e) = -rho * v;
        }
        if (full) { // step 6
            const double w = R.columnValue[e];
            if (w != 0) {
                R.objective = R.objective - w * R.rowValue[r];
                for (int k : rowList)
                    R.columnValue[k] = R.columnValue[k] - w * t(r, k);
                R.columnValue[e] = -w * rho;
            }
        }
        const double b = outcome == Lower ? R.columnLower[e] : R.columnUpper[e]; // step 7
        if (b != 0) {
            if (full)
                R.objective = R.objective - R.columnValue[e] * b;
            for (int i : colList)
                addRow(i, -b * t(i, e));
        }
        if (outcome == Upper) { // step 8
            for (int i : colList)
                t(i, e) = -t(i, e);
            if (full)
                R.columnValue[e] = -R.columnValue[e];
        }
        if (R.columnAtLower[e]) { // step 9
            const double old = R.rowValue[r];
            const double big = std::fabs(old) > R.rowLower[r] ? std::fabs(old) : R.rowLower[r];
            R.rowValue[r] = old + R.rowLower[r];
            snap(r, big);
        } else {
            for (int k : rowList)
                t(r, k) = -t(r, k);
            const double old = R.rowValue[r];
            const double big = std::fabs(old) > R.rowUpper[r] ? std::fabs(old) : R.rowUpper[r];
            R.rowValue[r] = R.rowUpper[r] - old;
            snap(r, big);
        }
        R.columnAtLower[e] = outcome == Lower ? 1 : 0; // step 10
        ++result.pivots;
    }

    // returns false when infeasible
    bool feasibility()
    {
        for (;;) {
            if (result.pivots + result.flips > maxSteps) {
                result.gaveUp = true;
                return false;
            }
            int i = 1;
            int j = 0;
            for (; i <= m; ++i) {
                const double v = R.rowValue[i];
                if (v < R.rowLower[i]) {
                    for (j = 1; j <= n; ++j)
                        if (t(i, j) < 0 && R.columnLower[j] != R.columnUpper[j])
                            break;
                } else if (v > R.rowUpper[i]) {
                    for (j = 1; j <= n; ++j)
                        if (t(i, j) > 0 && R.columnLower[j] != R.columnUpper[j])
                            break;
                } else {
                    continue;
                }
                break;
            }
            if (i > m)
                return true;
            if (j > n) {
                R.solveStatus = R.rowLabel[i];
                return false;
            }
            double theta = R.columnUpper[j] - R.columnLower[j];
            Outcome outcome = Flip;
            int row = 0;
            int scanned = m;
            colList.clear();
            for (int k = 1; k <= m; ++k) {
                const double tt = t(k, j);
                if (tt == 0)
                    continue;
                colList.push_back(k);
                const double u = 1 / tt;
                const double w = R.rowValue[k];
                const double r1 = (w - R.rowLower[k]) * u;
                if (r1 == 0 && u > 0) {
                    theta = 0, outcome = Lower, row = k, scanned = k;
                    break;
                } else if (r1 > 0 && r1 < theta) {
                    theta = r1, outcome = Lower, row = k;
                }
                const double r2 = (w - R.rowUpper[k]) * u;
                if (r2 == 0 && u < 0) {
                    theta = 0, outcome = Upper, row = k, scanned = k;
                    break;
                } else if (r2 > 0 && r2 < theta) {
                    theta = r2, outcome = Upper, row = k;
                }
            }
            if (outcome == Flip)
                flip(j, theta);
            else
                pivot(row, j, outcome, scanned);
        }
    }

    void cost()
    {
        for (;;) {
            if (result.pivots + result.flips > maxSteps) {
                result.gaveUp = true;
                return;
            }
            int j = 0;
            for (int k = 1; k <= n; ++k)
                if (R.columnLower[k] != R.columnUpper[k] && R.columnValue[k] < 0 &&
                    (j == 0 || R.columnValue[k] < R.columnValue[j]))
                    j = k;
            if (j == 0)
                return;
            double theta = R.columnUpper[j] - R.columnLower[j];
            Outcome outcome = Flip;
            int row = 0;
            int scanned = m;
            colList.clear();
            for (int k = 1; k <= m; ++k) {
                const double tt = t(k, j);
                if (tt != 0) {
                    colList.push_back(k);
                    const double u = 1 / tt;
                    const double w = R.rowValue[k];
                    if (u > 0) {
                        const double r = (w - R.rowLower[k]) * u;
                        if (r < theta)
                            theta = r, outcome = Lower, row = k;
                    }
                    if (u < 0) {
                        const double r = (w - R.rowUpper[k]) * u;
                        if (r < theta)
                            theta = r, outcome = Upper, row = k;
                    }
                }
                if (theta == 0) {
                    scanned = k;
                    break;
                }
            }
            if (outcome == Flip)
                flip(j, theta);
            else
                pivot(row, j, outcome, scanned);
        }
    }

    void extract()
    {
        std::vector<double> cols(n + 1), rows(m + 1);
        for (int j = 1; j <= n; ++j) {
            const double v = R.columnAtLower[j] ? R.columnLower[j] : R.columnUpper[j];
            const int label = R.columnLabel[j];
            (label > 0 ? cols[label] : rows[-label]) = v;
        }
        for (int i = 1; i <= m; ++i) {
            const int label = R.rowLabel[i];
            (label > 0 ? cols[label] : rows[-label]) = R.rowValue[i];
        }
        for (int j = 1; j <= n; ++j)
            R.columnValue[j] = cols[j];
        for (int i = 1; i <= m; ++i)
            R.rowValue[i] = rows[i];
    }

    std::int64_t maxSteps;
};

} // namespace

ReferenceResult referenceSolve(const lp::Programme &programme, bool full, std::int64_t maxSteps)
{
    Figures figures(programme);
    Reference ref{figures, full,    programme.rowCount(), programme.columnCount(), {}, {}, {},
                  {},      maxSteps};
    ref.T.assign(std::size_t(ref.m) * ref.n + 1, 0.0);
    for (lp::RowIndex i(1); i.number() <= ref.m; ++i)
        for (const lp::Entry &e : programme.row(i))
            ref.t(i.number(), e.column.number()) = -e.value;
    ref.init();
    const bool feasible = ref.feasibility();
    if (full && feasible)
        ref.cost();
    if (!ref.result.gaveUp)
        ref.extract();
    ReferenceResult result = ref.result;
    result.solveStatus = figures.solveStatus;
    result.objective = figures.objective;
    result.columnValue = figures.columnValue;
    result.rowValue = figures.rowValue;
    result.columnLabel = figures.columnLabel;
    return result;
}

} // namespace calctest
