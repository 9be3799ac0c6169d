#pragma once

// Relaxation of the cost mode: when the programme cannot be satisfied, the failing
// requirement is widened and the programme solved again. A share r widens a nutrient
// requirement to min × (1 − r) … max × (1 + r), and a ratio's bounds alike; output and
// stock rows are never widened. Requirements below are nutrient and ratio rows.
//
// - A single failing requirement (not uniform): its share grows by 0.05 up to
//   1.0 (0 … twice the maximum); a share that would pass 1.0 ends the run.
// - The feed type's output cannot be reached, or uniform relaxation was chosen: every
//   requirement of that feed type grows by 0.01; past 0.5 the run ends.
// - A stock to be used up cannot be: every requirement of every feed type grows
//   by 0.01 (the first time with a piece of advice); past 0.5 the run ends.
//
// Shares are counted in whole hundredths, so that fifty-one steps of 0.01 make exactly
// 0.51, the first share past 0.5 (fifty additions of 0.01 in doubles already exceed 0.5).

#include "calc/rowlayout.h"
#include "calc/selection.h"
#include "lp/solution.h"

#include <QString>

#include <vector>

namespace calc
{

class Relaxation final
{
    Q_DISABLE_COPY_MOVE(Relaxation)

public:
    // Every share 0, for a new run on the selection.
    explicit Relaxation(const Selection &selection);

    struct Step {
        bool again = false; // solve again with the widened requirements
        QString message;    // a message box to show first (stock relaxation advice)
    };

    // After a failed solve (solution, its failing variable a row, else nothing is
    // widened) of the programme laid out as layout.
    Step relax(const RowLayout &layout, const lp::Solution &solution, bool uniform,
               double lossNorm);

    // The share of row i, in hundredths, and as the assembly takes it ([i], 1-based).
    int hundredths(int row) const { return hundredths_[std::size_t(row)]; }
    const std::vector<double> &shares() const { return shares_; }

private:
    Step relaxStock(const RowLayout &layout, const lp::Solution &solution, int row,
                    double lossNorm);
    Step relaxFeed(const RowLayout &layout, int row);
    Step relaxSingle(const RowLayout &layout, const lp::Solution &solution, int row);
    // Row i's share up by 0.05, unless that passes 1.0.
    Step widenAlone(int row);
    // Adds n hundredths to row i's share; false once it is past 0.5.
    bool widen(int row, int n);

    const Selection &selection_;
    std::vector<int> hundredths_;
    std::vector<double> shares_;
};

// "Сырье № s  name - при выполнении требований по качеству полностью сработать
// нельзя!!  " followed by the given tail: the text of both stock messages.
QString stockMessageHead(const Selection &selection, int s);

// A row activity of a stock row as the whole tonnes to use, losses put back:
// (L + 100) × value / 100 − 0.5.
double stockAmount(double value, double lossNorm);

} // namespace calc
