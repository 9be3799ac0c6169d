#pragma once

// The recipes a calculation hands on: per feed type the raw materials it takes (share of
// the batch, tonnes, tonnes with production losses, price of one tonne) and the levels
// of its characteristics against their norms, rounded as a recipe is written.

#include <QList>
#include <QString>

#include <vector>

namespace calc
{

// Where a level (a characteristic's value, a raw material's share) stands against its
// minimum and maximum.
enum class LevelState { WithinNorm, AtMinimum, AtMaximum, BelowMinimum, AboveMaximum };

// The state of level between minimum and maximum, within the solver's tolerance; a
// minimum of 0 counts as none when minimumNeedsNonZero.
LevelState levelState(double level, double minimum, double maximum, bool minimumNeedsNonZero);

struct RecipeLine {
    int raw = 0; // s
    QString name;
    double percent = 0;    // share of the batch, two decimals
    double tonnes = 0;     // three decimals
    double withLosses = 0; // tonnes with production losses, three decimals
    double price = 0;      // of one tonne
};

struct RecipeLevel {
    int characteristic = 0; // q; 1, the price, stands for the raw-material cost of a tonne
    QString name;
    double minimum = 0;
    double level = 0;
    double maximum = 0;
    LevelState state = LevelState::WithinNorm;
};

// A ratio in force: level(numerator) / level(denominator) against its bounds (0: none).
struct RecipeRatio {
    int numerator = 0;   // q
    int denominator = 0; // q
    QString numeratorName;
    QString denominatorName;
    double minimum = 0;
    double level = 0;
    double maximum = 0;
    bool defined = false; // the batch holds some of the denominator; else no level
    LevelState state = LevelState::WithinNorm;

    // "Кальций/Фосфор доступный"
    QString name() const { return numeratorName + QLatin1Char('/') + denominatorName; }
};

struct FeedRecipe {
    int feed = 0; // p
    QString type;
    double output = 0;         // tonnes
    QList<RecipeLine> lines;   // one per raw material allowed, in list order, 0 % included
    QList<RecipeLevel> levels; // one per characteristic with a maximum norm, in order
    QList<RecipeRatio> ratios; // one per ratio in force, in table order
};

struct Recipes {
    std::vector<FeedRecipe> feeds;   // feed type p at [p - 1]
    std::vector<double> consumption; // [s]: tonnes of raw material s with losses; [0] unused

    bool empty() const { return feeds.empty(); }
    int feedCount() const { return int(feeds.size()); }
    const FeedRecipe &feed(int p) const { return feeds[std::size_t(p - 1)]; }
    FeedRecipe &feed(int p) { return feeds[std::size_t(p - 1)]; }

    // A new price of one tonne of raw material s, in every recipe that takes it.
    void setPrice(int s, double price);
};

} // namespace calc
