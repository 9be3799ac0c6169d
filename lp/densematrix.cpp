#include "lp/densematrix.h"

#include <algorithm>
#include <cstdlib>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace lp
{

namespace
{

constexpr std::size_t kRowAlignment = 64; // bytes: one cache line, one AVX-512 vector
constexpr std::ptrdiff_t kStrideStep = kRowAlignment / sizeof(double);
// A large matrix goes on huge pages where the system offers them: the solver reads a
// column as one entry per row, a row apart, and with small pages nearly every such
// read would also miss the address cache.
constexpr std::size_t kHugePage = std::size_t(2) << 20;

void *allocateEntries(std::size_t bytes)
{
    if (bytes < kHugePage)
        return std::aligned_alloc(kRowAlignment, bytes);
    bytes = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void *memory = std::aligned_alloc(kHugePage, bytes);
#ifdef __linux__
    if (memory)
        madvise(memory, bytes, MADV_HUGEPAGE);
#endif
    return memory;
}

} // namespace

void DenseMatrix::AlignedFree::operator()(double *p) const
{
    std::free(p);
}

bool DenseMatrix::allocate(int rows, int columns)
{
    release();
    if (rows <= 0 || columns <= 0)
        return true;
    if (!tableauFits(rows, columns))
        return false;
    const std::ptrdiff_t stride = (columns + kStrideStep - 1) / kStrideStep * kStrideStep;
    const std::size_t bytes = static_cast<std::size_t>(rows) * stride * sizeof(double);
    void *memory = allocateEntries(bytes);
    if (!memory)
        return false;
    data_.reset(static_cast<double *>(memory));
    std::fill_n(data_.get(), static_cast<std::size_t>(rows) * stride, 0.0);
    rows_ = rows;
    columns_ = columns;
    stride_ = stride;
    return true;
}

void DenseMatrix::release()
{
    data_.reset();
    rows_ = 0;
    columns_ = 0;
    stride_ = 0;
}

} // namespace lp
