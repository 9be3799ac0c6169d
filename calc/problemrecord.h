#pragma once

// The problem record: the one process-wide store of a recipe calculation. The loader
// fills it, the assembly turns it into a linear programme, the solver works on it in
// place, the rounding writes the recipe figures into it, and the windows read it
// until the next run starts.
//
// Numbering: feed types p, raw materials s, characteristics q, programme rows i and
// programme columns j all count from 1, as the user sees them in messages. Every
// per-index container has an unused slot 0 and is sized to its capacity + 1 when the
// record is made, so the code reads like the method: `columnLower[j]` is column j,
// `normMin[p][q]` is feed type p's minimum of characteristic q, `rawContent[s][q]`
// raw material s's content of q. Capacities: 40 feed types, 50 raw materials,
// 65 characteristics, 2000 columns, 2690 rows (the list windows keep a selection
// within them; the record never grows).
//
// The coefficient list is the one large part: it holds only the rows × columns of
// the current programme, is allocated by the assembly and released by the solver.

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace calc
{

inline constexpr int kMaxFeeds = 40;
inline constexpr int kMaxRaws = 50;
inline constexpr int kMaxChars = 65;
inline constexpr int kMaxColumns = kMaxFeeds * kMaxRaws;                // 2000
inline constexpr int kMaxRows = kMaxFeeds * (1 + kMaxChars) + kMaxRaws; // 2690
inline constexpr std::int64_t kCoefCapacity = 10'000'000;

// rowKind of the two row kinds that are not a characteristic number.
inline constexpr int kOutputRow = 100;
inline constexpr int kStockRow = 200;

// Whether the programme could be held and solved at all. Neither failure names a row
// or column, so they are kept apart from solveStatus, which always names one.
// Overflow: the coefficient list could not hold the programme; LostAccuracy: the
// solver could not keep its figures right (rounding), its amounts are no recipe.
enum class ProgrammeError : std::uint8_t { None, Overflow, LostAccuracy };

// The message shown after an overflow of the coefficient list.
inline constexpr char16_t kOverflowMessage[] =
    u"Слишком много кормов, сырья или допустимых вложений";

// The message shown when the solver lost its accuracy.
inline constexpr char16_t kLostAccuracyMessage[] =
    u"Расчёт прерван: ошибки округления исказили решение, рецепты не получены. "
    u"Уменьшите число кормов или сырья в расчёте и повторите его";

// A raw material with no stock figure (0 in the table) counts as this many tonnes.
inline constexpr double kUnlimitedStock = 999999;

// The coefficient list: the programme's matrix, row after row, every row holding all
// n entries (zeros included). Rows start on 64-byte boundaries (stride() >= n) so the
// solver's row updates stream over aligned memory. at(i, j) is entry (i, j), 1-based.
class CoefficientList final
{
public:
    CoefficientList() = default;
    CoefficientList(CoefficientList &&) noexcept = default;
    CoefficientList &operator=(CoefficientList &&) noexcept = default;

    // Makes room for rows × columns entries, all 0; false (and nothing held) when that
    // is more than kCoefCapacity entries or the memory is not there.
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

// One 1-based table of characteristics per feed type or raw material: table[p][q].
using CharTable = std::vector<std::array<double, kMaxChars + 1>>;

struct ProblemRecord final {
    ProblemRecord(); // every container sized to its capacity + 1, all zero / empty

    // Counts and totals
    int feedCount = 0;      // P
    int rawCount = 0;       // S
    int charCount = 0;      // K
    int columnCount = 0;    // n
    int rowCount = 0;       // m
    double totalOutput = 0; // sum of the working outputs, tonnes

    // Characteristics [q]; characteristic 1 is the price
    std::vector<QString> charName; // at most 20 characters
    std::vector<QString> charUnit; // at most 12 characters

    // Feed types [p]
    std::vector<QString> feedType;     // code, at most 10 characters
    std::vector<QString> feedStandard; // at most 10 characters
    std::vector<QString> feedPurpose;  // at most 122 characters
    std::vector<double> feedVat;       // tax percentage included in its prices
    std::vector<double> feedOutput;    // tonnes used by the last solve
    CharTable normMin;                 // [p][q]; q = 1 converted to raw-material cost
    CharTable normMax;                 // [p][q]

    // Raw materials [s]
    std::vector<QString> rawName;         // at most 30 characters
    CharTable rawContent;                 // [s][q]; q = 1 is the price of one tonne
    std::vector<double> rawStock;         // tonnes; unlimited stored as kUnlimitedStock
    std::vector<std::uint8_t> rawPremix;  // 1: a premix
    std::vector<std::uint8_t> rawFullUse; // 1: the whole stock is to be used up

    // Programme columns [j], grouped by feed type, raw-material order within one
    std::vector<int> columnFeed;     // p
    std::vector<int> columnRaw;      // s
    std::vector<double> columnLower; // % -> tonnes (assembly) -> recipe % (rounding)
    std::vector<double> columnUpper; // % -> tonnes (assembly) -> tonnes with losses
    std::vector<double> columnValue; // price (assembly) -> tonnes (solver, rounding)

    // Programme rows [i]: per feed type its output row and its nutrient rows, then
    // one stock row per raw material
    std::vector<int> rowKind;  // kOutputRow, kStockRow, or the characteristic q
    std::vector<int> rowOwner; // p for output and nutrient rows, s for stock rows
    std::vector<double> rowLower;
    std::vector<double> rowUpper;
    std::vector<double> rowValue;
    std::vector<double> rowRelax; // relaxation share, 0 at the start of a run

    // Solver status and working area
    int solveStatus = 0; // 0 solved; -i row i infeasible; > 0 a column's bound
    ProgrammeError programmeError = ProgrammeError::None; // set by the assembly
    double tolerance = 0;                                 // 3e-11, set by the solver
    double objective = 0;                                 // minus the raw-material cost
    CoefficientList coef;      // the tableau; allocated by assembly, freed by solver
    std::vector<int> rowLabel; // -i' constraint row i', +j' programme column j'
    std::vector<int> columnLabel;
    std::vector<std::uint8_t> columnAtLower; // 1 at its lower bound, 0 at its upper
    // (The pivot-column and pivot-row work lists live with the solver's tableau for
    // the length of a solve: see calc/simplextableau.h.)

    // Relaxation choice: spread the relaxation over all characteristics
    bool uniformRelax = false;
};

// The process-wide problem record of the program.
ProblemRecord &problemRecord();

} // namespace calc
