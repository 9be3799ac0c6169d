#pragma once

// The inner loop of a pivot: one tableau row i takes −v times the pivot row, entry by
// entry, with the tolerance rule on every entry the pivot row has non-zero
// (T(i, k) += −v × T(r, k); an entry that ends nearer 0 than the acceptance distance
// becomes 0). Entries where the pivot row is 0 stay exactly as they are.
//
// The pivot row is described once per pivot as a list of blocks of 8 columns that
// hold its non-zeros, each with a mark per column; every other row of the pivot
// column is then updated block by block, eight entries at a time where the processor
// has vector units for it.

#include <cstdint>

namespace lp
{

inline constexpr int kBlock = 8; // columns per block; rows are padded to whole blocks

struct PivotRowView {
    const double *values = nullptr;       // the pivot row, entry k at values[k]
    const int *blocks = nullptr;          // blocks holding non-zeros, ascending
    const std::uint8_t *listed = nullptr; // listed[t]: bit c set when column
                                          // blocks[t] * 8 + c is non-zero
    int blockCount = 0;
};

// Lists the blocks of the count non-zero column offsets columns[] (ascending) into
// blocks[] and listed[]; returns how many blocks.
int listBlocks(const int *columns, int count, int *blocks, std::uint8_t *listed);

void updateRow(double *row, const PivotRowView &pivot, double v);

// The forms of updateRow, widest the processor has chosen at start; all give the
// same bits (the tests hold them to it).
enum class KernelForm { Scalar, Avx2, Avx512 };
bool kernelFormAvailable(KernelForm form);
void updateRowWith(KernelForm form, double *row, const PivotRowView &pivot, double v);

} // namespace lp
