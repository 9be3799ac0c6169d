#include "calc/problemrecord.h"

namespace calc
{

ProblemRecord::ProblemRecord()
    : columnValue(kMaxColumns + 1), rowKind(kMaxRows + 1), rowOwner(kMaxRows + 1),
      rowValue(kMaxRows + 1)
{
}

void ProblemRecord::take(const RunResult &result)
{
    static_cast<Selection &>(*this) = result.selection;
    rowCount = 0;
    const Recipes &recipes = result.recipes;
    if (recipes.empty())
        return;
    auto addRow = [&](int kind, int owner, double value) {
        ++rowCount;
        rowKind[rowCount] = kind;
        rowOwner[rowCount] = owner;
        rowValue[rowCount] = value;
    };
    std::vector<int> nextLine(std::size_t(feedCount) + 1, 0);
    for (int j = 1; j <= columnCount; ++j) {
        const int p = columnFeed[j];
        const RecipeLine &line = recipes.feed(p).lines[nextLine[std::size_t(p)]++];
        columnLower[j] = line.percent;
        columnValue[j] = line.tonnes;
        columnUpper[j] = line.withLosses;
    }
    for (const FeedRecipe &feed : recipes.feeds) {
        addRow(kOutputRow, feed.feed, feed.output);
        for (const RecipeLevel &level : feed.levels)
            addRow(level.characteristic, feed.feed, level.level);
    }
    for (int s = 1; s <= rawCount; ++s)
        addRow(kStockRow, s, recipes.consumption[std::size_t(s)]);
}

ProblemRecord &problemRecord()
{
    static ProblemRecord record;
    return record;
}

} // namespace calc
