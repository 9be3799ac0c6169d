#pragma once

// The problem record: the one process-wide store of a recipe calculation. The loader
// fills it, the assembly turns it into a linear programme (lp::Programme), the solver's
// answer is written back into it, the rounding writes the recipe figures into it, and
// the windows read it until the next run starts.
//
// Numbering: feed types p, raw materials s, characteristics q, programme rows i and
// programme columns j all count from 1, as the user sees them in messages. Every
// per-index container has an unused slot 0 and is sized to its capacity + 1 when the
// record is made, so the code reads like the method: `columnLower[j]` is column j,
// `normMin[p][q]` is feed type p's minimum of characteristic q, `rawContent[s][q]`
// raw material s's content of q. Capacities: 40 feed types, 50 raw materials,
// 65 characteristics, 2000 columns, 2690 rows (the list windows keep a selection
// within them; the record never grows).

#include "lp/solution.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace calc
{

inline constexpr int kMaxFeeds = 40;
inline constexpr int kMaxRaws = 50;
inline constexpr int kMaxChars = 65;
inline constexpr int kMaxColumns = kMaxFeeds * kMaxRaws;                // 2000
inline constexpr int kMaxRows = kMaxFeeds * (1 + kMaxChars) + kMaxRaws; // 2690

// rowKind of the two row kinds that are not a characteristic number.
inline constexpr int kOutputRow = 100;
inline constexpr int kStockRow = 200;

// The message shown when the programme is too large for the solver's tableau.
inline constexpr char16_t kOverflowMessage[] =
    u"Слишком много кормов, сырья или допустимых вложений";

// The message shown when the solver lost its accuracy.
inline constexpr char16_t kLostAccuracyMessage[] =
    u"Расчёт прерван: ошибки округления исказили решение, рецепты не получены. "
    u"Уменьшите число кормов или сырья в расчёте и повторите его";

// A raw material with no stock figure (0 in the table) counts as this many tonnes.
inline constexpr double kUnlimitedStock = 999999;

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
    std::vector<int> rowKind;     // kOutputRow, kStockRow, or the characteristic q
    std::vector<int> rowOwner;    // p for output and nutrient rows, s for stock rows
    std::vector<double> rowValue; // activity (solver) -> level or consumption (rounding)
    std::vector<double> rowRelax; // relaxation share, 0 at the start of a run

    // The solver's answer (calc/programmesolve.h)
    int solveStatus = 0; // 0 solved; -i row i infeasible; > 0 a column's bound
    lp::SolveError programmeError = lp::SolveError::None;
    double tolerance = 0; // 3e-11, set by the solver
    double objective = 0; // minus the raw-material cost

    // Relaxation choice: spread the relaxation over all characteristics
    bool uniformRelax = false;
};

// The process-wide problem record of the program.
ProblemRecord &problemRecord();

} // namespace calc
