#include "calc/selection.h"

namespace calc
{

Selection::Selection()
    : charName(kMaxChars + 1), charUnit(kMaxChars + 1), feedType(kMaxFeeds + 1),
      feedStandard(kMaxFeeds + 1), feedPurpose(kMaxFeeds + 1), feedVat(kMaxFeeds + 1),
      feedOutput(kMaxFeeds + 1), normMin(kMaxFeeds + 1), normMax(kMaxFeeds + 1),
      rawName(kMaxRaws + 1), rawContent(kMaxRaws + 1), rawStock(kMaxRaws + 1),
      rawPremix(kMaxRaws + 1), rawFullUse(kMaxRaws + 1), columnFeed(kMaxColumns + 1),
      columnRaw(kMaxColumns + 1), columnLower(kMaxColumns + 1), columnUpper(kMaxColumns + 1)
{
    for (auto *table : {&normMin, &normMax, &rawContent})
        for (auto &line : *table)
            line.fill(0.0);
}

QString Selection::ratioName(const Ratio &ratio) const
{
    return charName[ratio.numerator].trimmed() + QLatin1Char('/') +
           charName[ratio.denominator].trimmed();
}

} // namespace calc
