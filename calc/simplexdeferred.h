#pragma once

// Deferred row updates for large tableaux. A pivot changes every row of its pivot
// column by a multiple of the pivot row; on a tableau larger than the processor's
// caches, applying each pivot to every row at once streams the whole tableau through
// memory once per pivot. Instead the pivots are logged (the pivot row, and each row's
// multiplier) and applied to a row in one go, while the row sits in the cache:
//
// - a row that is read whole (the pivot row, the row the feasibility phase works on)
//   is brought up to date first;
// - the column about to enter is brought up to date entry by entry, and its entries
//   are then struck from the logged pivot rows, so that they are not updated twice;
// - when the log is full, every row is brought up to date and the log starts again.
//
// Every entry still goes through the same updates in the same order with the same
// operands, so the bits are those of updating every row at once.

#include "calc/problemrecord.h"

#include <QtGlobal>

#include <cstdint>
#include <vector>

namespace calc {

class DeferredUpdates final
{
public:
    // capacity: pivots the log holds; 0 means every pivot is applied at once and this
    // object does nothing.
    DeferredUpdates(CoefficientList &coef, int rows, int columns, int capacity);
    Q_DISABLE_COPY_MOVE(DeferredUpdates)

    bool active() const { return capacity_ > 0; }

    // Row i with every logged pivot applied.
    void bringRowUpToDate(int i);
    // Column j (1-based) with every logged pivot applied, in every row.
    void bringColumnUpToDate(int j);

    // Logs the pivot on row r, column e: the pivot row (already divided by the pivot,
    // its non-zero column offsets in rowColumns) and, for every row of the pivot
    // column other than r, the entry T(i, e) before the pivot. Row r is up to date.
    void record(int r, int e, const std::vector<int> &rowColumns, int rowCount,
                const std::vector<int> &colRows, const std::vector<double> &colValues,
                int colCount);

private:
    void applyTo(int i, int fromEntry);
    void bringAllUpToDate();

    CoefficientList &coef_;
    const int m_;
    const int n_;
    const int capacity_;
    int count_ = 0;
    CoefficientList pivotRows_;       // capacity_ logged pivot rows
    std::vector<int> pivotColumns_;   // capacity_ lists of up to n_ column offsets
    std::vector<int> pivotColumnCount_;
    std::vector<int> first_, last_;   // span of each logged pivot row
    std::vector<double> multipliers_; // [i * capacity_ + q]: T(i, e_q) before pivot q
    std::vector<int> version_;        // [i]: logged pivots already applied to row i
    std::vector<std::uint8_t> listed_; // capacity_ rows of blocks_ non-zero marks
    std::ptrdiff_t stride_ = 0;
    int blocks_ = 0;
};

// Log size for a tableau of rows × columns: deferral pays once the tableau no longer
// fits the processor's caches.
int deferredCapacity(int rows, int columns);

} // namespace calc
