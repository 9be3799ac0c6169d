#include "calc/simplexkernel.h"

#include "calc/simplextolerance.h"

namespace calc {

// Built for the widest vector unit the processor has, chosen when the program
// starts. Each lane does the same IEEE operations as the scalar rule in
// simplextolerance.h (this file is compiled without contraction into fused
// multiply-adds), so every form gives the same bits.
__attribute__((target_clones("avx512f", "avx2", "default"))) void
updateRowDense(double *__restrict row, const double *__restrict pivotRow, int first, int last,
               double v)
{
    const double minusV = -v;
    const double eps = solverTolerance();
    for (int k = first; k <= last; ++k) {
        const double p = pivotRow[k];
        const double old = row[k];
        const double d = minusV * p;
        const double sum = old + d;
        const double big = std::max(std::fabs(old), std::fabs(d));
        const double distance = eps * std::max(big, 1.0);
        const double snapped = std::fabs(sum) < distance ? 0.0 : sum;
        row[k] = p != 0 ? snapped : old;
    }
}

void updateRowSparse(double *__restrict row, const int *__restrict columns,
                     const double *__restrict pivotValues, int count, double v)
{
    const double minusV = -v;
    for (int t = 0; t < count; ++t) {
        double &entry = row[columns[t]];
        entry = addToEntry(entry, minusV * pivotValues[t]);
    }
}

} // namespace calc
