#pragma once

// The inner loop of a pivot: one tableau row i takes −v times the pivot row, entry by
// entry, with the tolerance rule on every entry the pivot row has non-zero
// (T(i, k) += −v × T(r, k); an entry that ends nearer 0 than the acceptance distance
// becomes 0). Entries where the pivot row is 0 stay exactly as they are.
//
// Two forms with the same results: a dense one that streams over a stretch of the
// row (vectorised, no branches), and a sparse one that visits only the listed
// columns. The caller picks by the density of the pivot row.

#include <cstdint>

namespace calc {

// Columns first..last (0-based offsets into the rows).
void updateRowDense(double *row, const double *pivotRow, int first, int last, double v);

// The count listed offsets of columns; pivotValues[t] is the pivot row's entry at
// column offset columns[t].
void updateRowSparse(double *row, const int *columns, const double *pivotValues, int count,
                     double v);

} // namespace calc
