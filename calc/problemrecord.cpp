#include "calc/problemrecord.h"

#include <algorithm>
#include <cstdlib>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace calc
{

namespace
{

constexpr std::size_t kRowAlignment = 64; // bytes: one cache line, one AVX-512 vector
constexpr std::ptrdiff_t kStrideStep = kRowAlignment / sizeof(double);
// A large list goes on huge pages where the system offers them: the solver reads a
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

void CoefficientList::AlignedFree::operator()(double *p) const
{
    std::free(p);
}

bool CoefficientList::allocate(int rows, int columns)
{
    release();
    if (rows <= 0 || columns <= 0)
        return true;
    if (static_cast<std::int64_t>(rows) * columns > kCoefCapacity)
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

void CoefficientList::release()
{
    data_.reset();
    rows_ = 0;
    columns_ = 0;
    stride_ = 0;
}

ProblemRecord::ProblemRecord()
    : charName(kMaxChars + 1), charUnit(kMaxChars + 1), feedType(kMaxFeeds + 1),
      feedStandard(kMaxFeeds + 1), feedPurpose(kMaxFeeds + 1), feedVat(kMaxFeeds + 1),
      feedOutput(kMaxFeeds + 1), normMin(kMaxFeeds + 1), normMax(kMaxFeeds + 1),
      rawName(kMaxRaws + 1), rawContent(kMaxRaws + 1), rawStock(kMaxRaws + 1),
      rawPremix(kMaxRaws + 1), rawFullUse(kMaxRaws + 1), columnFeed(kMaxColumns + 1),
      columnRaw(kMaxColumns + 1), columnLower(kMaxColumns + 1), columnUpper(kMaxColumns + 1),
      columnValue(kMaxColumns + 1), rowKind(kMaxRows + 1), rowOwner(kMaxRows + 1),
      rowLower(kMaxRows + 1), rowUpper(kMaxRows + 1), rowValue(kMaxRows + 1),
      rowRelax(kMaxRows + 1), rowLabel(kMaxRows + 1), columnLabel(kMaxColumns + 1),
      columnAtLower(kMaxColumns + 1)
{
    for (auto *table : {&normMin, &normMax, &rawContent})
        for (auto &line : *table)
            line.fill(0.0);
}

ProblemRecord &problemRecord()
{
    static ProblemRecord record;
    return record;
}

} // namespace calc
