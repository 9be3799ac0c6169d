#pragma once

// A copy of the tableau the full solver ended with at the optimum, taken before the
// values are extracted: the basis, the entries,
// the values and bounds of the basic variables, the bounds and reduced costs of the
// non-basic ones. What the optimum is worth at the margin is read from it afterwards;
// taking it changes nothing of the solve.

#include <cstdint>
#include <vector>

namespace lp
{

struct TableauState;

class FinalTableau final
{
public:
    // Copies the tableau as the solver holds it at the optimum.
    void take(const TableauState &state);
    void clear();
    bool held() const { return m_ > 0 && n_ > 0; }

    int rows() const { return m_; }
    int columns() const { return n_; }
    // Entry T(i, j), both 1-based: moving the non-basic variable of column j by Δ away
    // from its bound changes the basic variable of row i by −T(i, j) Δ.
    double at(int i, int j) const { return entries_[std::size_t(i - 1) * n_ + (j - 1)]; }

    // Labels as the solver gives them: −i the activity of programme row i, +j the
    // amount of programme column j.
    std::vector<int> rowLabel;
    std::vector<int> columnLabel;
    std::vector<std::uint8_t> atLower; // 1: the column's variable at its lower bound
    std::vector<double> rowValue;      // the basic variables' values
    std::vector<double> rowLower, rowUpper;
    std::vector<double> columnLower, columnUpper; // the non-basic variables' bounds
    std::vector<double> reducedCost;              // per unit moved away from the bound

private:
    int m_ = 0;
    int n_ = 0;
    std::vector<double> entries_;
};

} // namespace lp
