#pragma once

// The solver's tableau storage: a dense matrix, row after row, every row holding all n
// entries (zeros included). Rows start on 64-byte boundaries (stride() >= n) so the row
// updates stream over aligned memory. at(i, j) is entry (i, j), 1-based.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace lp
{

// The most entries a tableau may have (rows × columns): 80 MB of doubles.
inline constexpr std::int64_t kTableauCapacity = 10'000'000;

// Whether a tableau of rows × columns stays within kTableauCapacity.
constexpr bool tableauFits(int rows, int columns)
{
    return static_cast<std::int64_t>(rows) * columns <= kTableauCapacity;
}

class DenseMatrix final
{
public:
    DenseMatrix() = default;
    DenseMatrix(DenseMatrix &&) noexcept = default;
    DenseMatrix &operator=(DenseMatrix &&) noexcept = default;

    // Makes room for rows × columns entries, all 0; false (and nothing held) when that
    // is more than kTableauCapacity entries or the memory is not there.
    bool allocate(int rows, int columns);
    void release();
    bool allocated() const { return data_ != nullptr; }

    int rows() const { return rows_; }
    int columns() const { return columns_; }
    std::ptrdiff_t stride() const { return stride_; }

    double &at(int i, int j) { return data_[(i - 1) * stride_ + (j - 1)]; }
    double at(int i, int j) const { return data_[(i - 1) * stride_ + (j - 1)]; }
    // Entry (i, 1); entry (i, j) is row(i)[j - 1].
    double *row(int i) { return data_.get() + (i - 1) * stride_; }
    const double *row(int i) const { return data_.get() + (i - 1) * stride_; }

private:
    struct AlignedFree {
        void operator()(double *p) const;
    };
    std::unique_ptr<double[], AlignedFree> data_;
    int rows_ = 0;
    int columns_ = 0;
    std::ptrdiff_t stride_ = 0;
};

} // namespace lp
