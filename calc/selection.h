#pragma once

// The selection a calculation works on, as the load reads it from the tables: the
// nutrient characteristics, the selected feed types with their norms, the selected raw
// materials with their contents, prices and stock, and the (feed type, raw material)
// pairs allowed, one programme column each, with their inclusion limits.
//
// Numbering: feed types p, raw materials s, characteristics q and programme columns j
// all count from 1, as the user sees them in messages. Every per-index container has an
// unused slot 0 and is sized to its capacity + 1, so the code reads like the method:
// `columnLower[j]` is column j, `normMin[p][q]` is feed type p's minimum of
// characteristic q, `rawContent[s][q]` raw material s's content of q. Capacities: 40
// feed types, 50 raw materials, 65 characteristics, 2000 columns, 2690 programme rows
// (the list windows keep a selection within them; a selection never grows).

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
// Ratios in force per feed type, and the rows they may add after those above (a minimum
// and a maximum each).
inline constexpr int kMaxRatiosPerFeed = 10;
inline constexpr int kMaxRatioRows = kMaxFeeds * kMaxRatiosPerFeed * 2; // 800

// Characteristic 1 is the price.
inline constexpr int kPriceCharacteristic = 1;

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

// A ratio in force: level(numerator) / level(denominator) of feed type `feed` between
// minimum and maximum, a bound of 0 being none. Characteristics by their number q.
struct Ratio {
    int feed = 0;
    int numerator = 0;
    int denominator = 0;
    double minimum = 0;
    double maximum = 0;
};

struct Selection {
    Selection(); // every container sized to its capacity + 1, all zero / empty

    int feedCount = 0;   // P
    int rawCount = 0;    // S
    int charCount = 0;   // K
    int columnCount = 0; // n

    // Characteristics [q]
    std::vector<QString> charName; // at most 20 characters
    std::vector<QString> charUnit; // at most 12 characters

    // Feed types [p]
    std::vector<QString> feedType;     // code, at most 10 characters
    std::vector<QString> feedStandard; // at most 10 characters
    std::vector<QString> feedPurpose;  // at most 122 characters
    std::vector<double> feedVat;       // tax percentage included in its prices
    std::vector<double> feedOutput;    // tonnes of the attempt in hand (checkAttempt)
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
    std::vector<double> columnLower; // inclusion limits, % of the batch
    std::vector<double> columnUpper;

    // Ratios in force of the selected feed types: by feed type, in table order within one
    std::vector<Ratio> ratios;
    // "Кальций/Фосфор доступный": the names of the ratio's two characteristics
    QString ratioName(const Ratio &ratio) const;
};

} // namespace calc
