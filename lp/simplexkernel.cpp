#include "lp/simplexkernel.h"

#include "lp/simplextolerance.h"

#include <immintrin.h>

namespace lp
{

// Every form does, lane by lane, the IEEE operations of the scalar rule in
// simplextolerance.h: d = -v * p, sum = old + d, distance = ε * max(|old|, |d|, 1),
// 0 if |sum| < distance, the old entry where p = 0. (The library is compiled without
// contraction into fused multiply-adds, and max picks an operand, so the bits agree.)

namespace
{

void denseScalar(double *__restrict row, const PivotRowView &pivot, double v)
{
    const double minusV = -v;
    for (int t = 0; t < pivot.blockCount; ++t) {
        const int k0 = pivot.blocks[t] * kBlock;
        for (int c = 0; c < kBlock; ++c)
            if (pivot.listed[t] & (1u << c))
                row[k0 + c] = addToEntry(row[k0 + c], minusV * pivot.values[k0 + c]);
    }
}

__attribute__((target("avx2"))) void denseAvx2(double *__restrict row, const PivotRowView &pivot,
                                               double v)
{
    const __m256d minusV = _mm256_set1_pd(-v);
    const __m256d eps = _mm256_set1_pd(solverTolerance());
    const __m256d one = _mm256_set1_pd(1.0);
    const __m256d zero = _mm256_setzero_pd();
    const __m256d magnitude = _mm256_castsi256_pd(_mm256_set1_epi64x(0x7FFFFFFFFFFFFFFFLL));
    for (int t = 0; t < pivot.blockCount; ++t) {
        const int k0 = pivot.blocks[t] * kBlock;
        for (int k = k0; k < k0 + kBlock; k += 4) {
            const __m256d p = _mm256_load_pd(pivot.values + k);
            const __m256d old = _mm256_load_pd(row + k);
            const __m256d d = _mm256_mul_pd(minusV, p);
            const __m256d sum = _mm256_add_pd(old, d);
            const __m256d big =
                _mm256_max_pd(_mm256_and_pd(old, magnitude), _mm256_and_pd(d, magnitude));
            const __m256d distance = _mm256_mul_pd(eps, _mm256_max_pd(big, one));
            const __m256d keep = _mm256_cmp_pd(_mm256_and_pd(sum, magnitude), distance, _CMP_GE_OQ);
            const __m256d listed = _mm256_cmp_pd(p, zero, _CMP_NEQ_UQ);
            _mm256_store_pd(row + k, _mm256_blendv_pd(old, _mm256_and_pd(keep, sum), listed));
        }
    }
}

// One block of 8 columns: the rule on the listed lanes, the rest left as they are.
// Magnitudes are compared as integers: for doubles that are not negative the order
// of their bit patterns is the order of their values, and the integer units are idle
// while the floating-point ones do the multiplications.
__attribute__((target("avx512f,avx512dq"), always_inline)) inline void
blockAvx512(double *__restrict row, const double *__restrict values, __mmask8 listed,
            __m512d minusV, __m512d eps, __m512i one, __m512i magnitude)
{
    const __m512d p = _mm512_load_pd(values);
    const __m512d old = _mm512_load_pd(row);
    const __m512d d = _mm512_mul_pd(minusV, p);
    const __m512d sum = _mm512_add_pd(old, d);
    // range 0b1011: the larger magnitude of the two, sign cleared: max(|old|, |d|)
    const __m512i big = _mm512_castpd_si512(_mm512_range_pd(old, d, 0b1011));
    // (max written with a merge source, which keeps the compiler quiet; same instruction)
    const __m512i bigOrOne = _mm512_mask_max_epu64(one, 0xFF, big, one);
    const __m512d distance = _mm512_mul_pd(eps, _mm512_castsi512_pd(bigOrOne));
    const __m512i size = _mm512_and_si512(_mm512_castpd_si512(sum), magnitude); // |sum|
    const __mmask8 keep =
        _mm512_cmp_epu64_mask(size, _mm512_castpd_si512(distance), _MM_CMPINT_NLT);
    _mm512_mask_store_pd(row, listed & keep, sum);
    const __mmask8 snapped = listed & ~keep;
    if (snapped) // cancellation below the distance: rare
        _mm512_mask_store_pd(row, snapped, _mm512_setzero_pd());
}

__attribute__((target("avx512f,avx512dq"))) void denseAvx512(double *__restrict row,
                                                             const PivotRowView &pivot, double v)
{
    const __m512d minusV = _mm512_set1_pd(-v);
    const __m512d eps = _mm512_set1_pd(solverTolerance());
    const __m512i one = _mm512_castpd_si512(_mm512_set1_pd(1.0));
    const __m512i magnitude = _mm512_set1_epi64(0x7FFFFFFFFFFFFFFFLL);
    const int *blocks = pivot.blocks;
    const std::uint8_t *listed = pivot.listed;
    const double *values = pivot.values;
    const int count = pivot.blockCount;
    for (int t = 0; t < count; ++t) {
        const int k = blocks[t] * kBlock;
        blockAvx512(row + k, values + k, listed[t], minusV, eps, one, magnitude);
    }
}

using DenseForm = void (*)(double *, const PivotRowView &, double);

bool supported(KernelForm form)
{
    __builtin_cpu_init();
    switch (form) {
    case KernelForm::Avx512:
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq");
    case KernelForm::Avx2:
        return __builtin_cpu_supports("avx2");
    case KernelForm::Scalar:
        break;
    }
    return true;
}

DenseForm denseForm(KernelForm form)
{
    switch (form) {
    case KernelForm::Avx512:
        return denseAvx512;
    case KernelForm::Avx2:
        return denseAvx2;
    case KernelForm::Scalar:
        break;
    }
    return denseScalar;
}

DenseForm widestDenseForm()
{
    for (KernelForm form : {KernelForm::Avx512, KernelForm::Avx2})
        if (supported(form))
            return denseForm(form);
    return denseScalar;
}

} // namespace

int listBlocks(const int *columns, int count, int *blocks, std::uint8_t *listed)
{
    int used = 0;
    for (int t = 0; t < count; ++t) {
        const int block = columns[t] / kBlock;
        if (used == 0 || blocks[used - 1] != block) {
            blocks[used] = block;
            listed[used] = 0;
            ++used;
        }
        listed[used - 1] |= std::uint8_t(1u << (columns[t] % kBlock));
    }
    return used;
}

bool kernelFormAvailable(KernelForm form)
{
    return supported(form);
}

void updateRowWith(KernelForm form, double *row, const PivotRowView &pivot, double v)
{
    denseForm(form)(row, pivot, v);
}

void updateRow(double *row, const PivotRowView &pivot, double v)
{
    static const DenseForm form = widestDenseForm();
    form(row, pivot, v);
}

} // namespace lp
