#include "calc/simplexdeferred.h"

#include "calc/simplexkernel.h"
#include "calc/simplextolerance.h"

#include <algorithm>

namespace calc {

namespace {

constexpr std::int64_t kCacheBytes = 4 << 20; // tableaux below this are updated at once
constexpr int kLogCapacity = 24;
constexpr int kDenseSpan = 6; // as in the tableau: dense form from 1 in 6 non-zero

} // namespace

int deferredCapacity(int rows, int columns)
{
    const std::int64_t bytes = std::int64_t(rows) * columns * std::int64_t(sizeof(double));
    return bytes > kCacheBytes ? kLogCapacity : 0;
}

DeferredUpdates::DeferredUpdates(CoefficientList &coef, int rows, int columns, int capacity)
    : coef_(coef), m_(rows), n_(columns), capacity_(capacity)
{
    if (capacity_ == 0)
        return;
    stride_ = coef.stride();
    blocks_ = int(stride_ / kBlock);
    pivotRows_.allocate(capacity_, n_); // aligned rows, the tableau's stride
    listed_.assign(std::size_t(capacity_) * blocks_, 0);
    pivotColumns_.assign(std::size_t(capacity_) * n_, 0);
    pivotColumnCount_.assign(capacity_, 0);
    first_.assign(capacity_, 0);
    last_.assign(capacity_, -1);
    multipliers_.assign(std::size_t(m_ + 1) * capacity_, 0.0);
    version_.assign(m_ + 1, 0);
}

// Applies logged pivots fromEntry..count_-1 to row i, oldest first.
void DeferredUpdates::applyTo(int i, int fromEntry)
{
    double *row = coef_.row(i);
    const double *v = multipliers_.data() + std::size_t(i) * capacity_;
    for (int q = fromEntry; q < count_; ++q) {
        if (v[q] == 0)
            continue;
        const double *pivotRow = pivotRows_.row(q + 1);
        const int count = pivotColumnCount_[q];
        if (std::int64_t(count) * kDenseSpan >= last_[q] - first_[q] + 1) {
            const PivotRowView view{pivotRow, listed_.data() + std::size_t(q) * blocks_,
                                    first_[q] / kBlock, last_[q] / kBlock + 1};
            updateRowDense(row, view, v[q]);
        } else {
            const int *columns = pivotColumns_.data() + std::size_t(q) * n_;
            for (int t = 0; t < count; ++t) {
                const double p = pivotRow[columns[t]];
                if (p != 0)
                    row[columns[t]] = addToEntry(row[columns[t]], -v[q] * p);
            }
        }
    }
}

void DeferredUpdates::bringRowUpToDate(int i)
{
    if (capacity_ == 0 || version_[i] == count_)
        return;
    applyTo(i, version_[i]);
    version_[i] = count_;
}

void DeferredUpdates::bringColumnUpToDate(int j)
{
    if (capacity_ == 0 || count_ == 0)
        return;
    const int k = j - 1;
    for (int i = 1; i <= m_; ++i) {
        const double *v = multipliers_.data() + std::size_t(i) * capacity_;
        double &entry = coef_.row(i)[k];
        for (int q = version_[i]; q < count_; ++q) {
            if (v[q] == 0)
                continue;
            const double p = pivotRows_.row(q + 1)[k];
            if (p != 0)
                entry = addToEntry(entry, -v[q] * p);
        }
    }
    for (int q = 0; q < count_; ++q) { // applied: not again when the rows catch up
        pivotRows_.row(q + 1)[k] = 0;
        listed_[std::size_t(q) * blocks_ + k / kBlock] &= std::uint8_t(~(1u << (k % kBlock)));
    }
}

void DeferredUpdates::record(int r, int e, const std::vector<int> &rowColumns, int rowCount,
                             const std::vector<int> &colRows, const std::vector<double> &colValues,
                             int colCount)
{
    const int q = count_;
    double *pivotRow = pivotRows_.row(q + 1);
    const double *source = coef_.row(r);
    const int first = rowColumns[0];
    const int last = rowColumns[rowCount - 1];
    std::fill(pivotRow + first_[q], pivotRow + last_[q] + 1, 0.0); // what entry q held before
    for (int t = 0; t < rowCount; ++t)
        pivotRow[rowColumns[t]] = source[rowColumns[t]];
    pivotRow[e - 1] = 0; // column e is set by the pivot itself
    markListed(pivotRow, first / kBlock, last / kBlock + 1, listed_.data() + std::size_t(q) * blocks_);
    std::copy(rowColumns.begin(), rowColumns.begin() + rowCount,
              pivotColumns_.begin() + std::ptrdiff_t(q) * n_);
    pivotColumnCount_[q] = rowCount;
    first_[q] = first;
    last_[q] = last;
    for (int i = 1; i <= m_; ++i)
        multipliers_[std::size_t(i) * capacity_ + q] = 0;
    for (int t = 0; t < colCount; ++t)
        if (colRows[t] != r)
            multipliers_[std::size_t(colRows[t]) * capacity_ + q] = colValues[t];
    ++count_;
    version_[r] = count_;
    if (count_ == capacity_)
        bringAllUpToDate();
}

void DeferredUpdates::bringAllUpToDate()
{
    for (int i = 1; i <= m_; ++i)
        if (version_[i] < count_)
            applyTo(i, version_[i]);
    std::fill(version_.begin(), version_.end(), 0);
    count_ = 0;
}

} // namespace calc
