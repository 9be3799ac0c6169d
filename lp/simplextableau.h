#pragma once

// The solver's tableau in exchange form, with the steps of the method as operations: the choice of
// the entering column, the ratio tests, the bound flip, the pivot and the extraction of the values.
// The two solver variants (simplex.h) drive these steps; this class does no choosing of phases
// itself.
//
// Where each step of a pivot on row r and column e happens:
//   1      the pivot column's non-zeros listed          gatherColumn (by the ratio test)
//   2      labels and bounds of r and e exchanged        pivot
//   3      the pivot's reciprocal ρ, row r's value × ρ   pivot
//   4      the pivot row × ρ, its non-zeros listed       buildPivotRow
//   5      every other row less its multiple of row r    updateOtherRows (tolerance rule)
//   6      the cost row less its multiple of row r       updateCostRow (full solver only)
//   7, 8   the leaving variable placed on its bound      placeLeaving (tolerance rule)
//   9      the entering variable measured from zero      placeEntering (tolerance rule)
//   10     the leaving variable's side noted             pivot
//   11     the progress bar told the objective           step() in simplex.cpp
// Under the careful rules noiseLevel() (pivotTolerance times the largest magnitude of
// the pivot column, of the row to be helped, or of the prices) is the one threshold
// below which an entry neither blocks nor helps and a reduced cost is no gain.

#include "lp/densematrix.h"
#include "lp/rowteam.h"
#include "lp/simplex.h"
#include "lp/simplexaccuracy.h"

#include <QtGlobal>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace lp
{

// The figures the method works on, 1-based as it counts (slot 0 unused): row i holds
// the basic variable rowLabel[i] (−i' the activity of row i', +j' the amount of column
// j') with its value and bounds; column j the non-basic variable columnLabel[j] at its
// lower (columnAtLower[j] = 1) or upper bound, with its bounds and its reduced cost in
// columnValue[j] (the cost to begin with, the values after the extraction); coef the
// tableau entries T(i, j); objective minus the cost so far.
struct TableauState {
    // Sized for a programme of m rows and n columns, all figures 0 and no entries held.
    TableauState(int m, int n);
    Q_DISABLE_COPY_MOVE(TableauState)

    const int rowCount;
    const int columnCount;
    DenseMatrix coef;
    std::vector<double> rowValue, rowLower, rowUpper;
    std::vector<int> rowLabel;
    std::vector<double> columnValue, columnLower, columnUpper;
    std::vector<int> columnLabel;
    std::vector<std::uint8_t> columnAtLower;
    double objective = 0;
    int solveStatus = 0; // 0, or the label of the variable that could not be brought in
};

// A basis written down: the variable of each row and column, and for each column
// whether its variable sits at its lower bound.
struct BasisRecord {
    std::vector<int> rowLabel;
    std::vector<int> columnLabel;
    std::vector<std::uint8_t> atLower;

    void save(const TableauState &state);
};

class SimplexTableau final
{
public:
    enum class Outcome { Flip, Lower, Upper };
    // Result of a ratio test: a bound flip of the entering column, or a pivot on row
    // `row` with the leaving variable going to its lower or upper bound.
    struct Choice {
        Outcome outcome = Outcome::Flip;
        int row = 0;
        double theta = 0;
    };

    // full: the full solver, which keeps the cost row and the objective;
    // pivotTolerance: 0 for the method's own rules, or the careful rules (see
    // simplex.cpp): an entry smaller than pivotTolerance times the largest of its column
    // (ratio tests) or row (choice of the helping column) neither blocks nor helps.
    SimplexTableau(TableauState &state, bool full, double pivotTolerance = 0);
    Q_DISABLE_COPY_MOVE(SimplexTableau)

    // Labels, bounds at lower, row values of that point, objective.
    void initialise();

    // The first row (1..m) whose value lies outside its bounds, 0 when none.
    int firstRowOutOfBounds() const;
    // Row i misses its bound by less than the acceptance distance: it is put on the
    // bound and true is returned (a row no column can move, off only by rounding).
    bool snapIfRoundingOnly(int i);
    // The column that moves row i toward its bounds: the first one, or under the
    // smallest-index rule the one whose variable has the smallest index; 0 when none.
    int helpingColumn(int i, bool smallestIndex);
    Choice feasibilityRatio(int j, bool smallestIndex);

    // The entering column of the cost phase: most negative reduced cost, or the
    // smallest-index variable with a negative one; 0 when optimal.
    int costEntering(bool smallestIndex) const;
    Choice costRatio(int j, bool smallestIndex);

    void flip(int j, double theta);
    void pivot(int r, int e, Outcome outcome, double theta);

    // Values of every variable into columnValue (by programme column) and rowValue
    // (by programme row).
    void extract();

    // On a tableau just initialised from the programme as assembled: pivots and flips
    // into the given basis, every pivot on the largest entry its column offers (fresh
    // figures for a basis whose tableau had lost its accuracy). False when the basis
    // turns out singular here.
    bool enterBasis(const BasisRecord &basis);

    // The textbook rules (simplextextbook.cpp). Phase costs: the slope of the sum of
    // the rows' infeasibilities along each column, kept up to date by every flip and
    // pivot while the composite phase runs. Devex weights: reference weights of the
    // columns for the pricing, kept while either textbook phase runs.
    void startComposite();
    void stopTextbook();
    void startDevex();
    // The column whose move lowers the sum of infeasibilities most per Devex weight; 0
    // when the sum can fall no further.
    int compositeEntering();
    // Textbook ratio test of the composite phase: rows outside their bounds may cross
    // into them as long as the sum still falls; rows within stay within (two passes,
    // Harris's tolerance of rounding size, the larger entry among near ties).
    Choice compositeRatio(int j);
    // The cost phase's column: among the best by Devex weight, the steepest edge (exact
    // norms of those few columns); 0 when optimal.
    int devexCostEntering();
    Choice harrisCostRatio(int j);
    // Refined values for the basis in hand (OriginalProgramme::refine), and each row's
    // side of its bounds from them.
    void refine(const OriginalProgramme &original);
    // Rows outside their bounds by no more than rounding are put on them; true when any was.
    bool snapRoundingRows();
    // The variable that fails once the sum of infeasibilities can fall no further: the
    // activity of the lowest-numbered programme row outside its bounds, else the
    // lowest-numbered column; 0 when none is outside.
    int lowestFailingLabel() const;

    std::uint64_t fingerprint() const { return fingerprint_; }
    const SolverStats &stats() const { return stats_; }

private:
    // A row's bound in a textbook ratio test.
    struct Block {
        double ratio = 0;   // the step at which the row reaches the bound
        double size = 0;    // |T(i, j)|: how fast the row moves
        double allowed = 0; // the ratio with Harris's allowance (blocks only)
        int row = 0;
        Outcome outcome = Outcome::Lower;
        bool breakpoint = false; // an infeasible row that reaches its near bound here
    };
    template <typename Blocks> Choice harrisRatio(int j, double slope, Blocks blocks);
    double phaseCost(int j, double *magnitude) const;
    void shortlistNorms(std::size_t from, std::size_t to, bool withSlopes);
    void recomputePhaseCosts();
    void trackSense(int i);
    void pivotPhaseCosts(int r, int e, double rho);
    void pivotDevex(int e, double rho);
    double textbookPivotLevel() const;
    class RatioScan;
    template <typename RowTest> Choice ratioTest(int j, bool smallestIndex, RowTest rowTest);
    void gatherColumn(int j);
    double noiseLevel(const double *values, int count) const;
    void buildPivotRow(int r, int e, double rho);
    void updateOtherRows(int r, int e, double rho);
    void updateCostRow(int r, int e, double rho);
    void placeLeaving(int e, Outcome outcome);
    void placeEntering(int r, int e);
    void refreshRow(int i);
    int variableIndex(int label) const;

    TableauState &state_;
    const bool full_;
    const int m_;
    const int n_;
    const double pivotTolerance_;
    double costScale_ = 1; // largest price magnitude, at least 1
    // Pivot column list: rows (1-based) and their entries; pivot row list: column
    // offsets (0-based) and their entries.
    std::vector<int> colRows_;
    std::vector<double> colValues_;
    int colCount_ = 0;
    std::vector<int> rowColumns_;
    std::vector<double> rowValues_;
    int rowCount_ = 0;
    // Rows outside their bounds, one bit per row.
    std::vector<std::uint64_t> outside_;
    // The pivot row's blocks of columns with non-zeros and their marks, for the kernel.
    std::vector<int> blocks_;
    std::vector<std::uint8_t> listed_;
    std::uint64_t fingerprint_ = 0;
    SolverStats stats_;
    // Textbook rules: phase costs and the side of the bounds each row is on (+1 below,
    // −1 above, 0 within) as they count in them; Devex weights; breakpoints and blocks
    // of a ratio test.
    bool tracking_ = false;
    bool devexOn_ = false;
    int compositeChoices_ = 0;
    std::vector<double> phaseCost_;
    std::vector<std::int8_t> sense_;
    std::vector<double> devex_;
    std::vector<Block> candidates_;
    std::vector<std::pair<double, int>> shortlist_; // Devex score, column
    // Devex weights pick this many columns; their exact steepest-edge norms choose.
    static constexpr int kShortlist = 16;
    double norms_[kShortlist] = {};
    double slopes_[kShortlist] = {};
    double magnitudes_[kShortlist] = {};
    // Step 5 on several threads once a pivot updates at least kTeamWork entries (below
    // that, handing the rows out costs more than it saves).
    static constexpr std::int64_t kTeamWork = 32768;
    const int threadsWanted_;
    std::unique_ptr<RowTeam> team_;
};

} // namespace lp
