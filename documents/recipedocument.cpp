#include "documents/recipedocument.h"

#include "store/numbertext.h"

#include <cmath>

namespace documents
{

using store::fixedText;
using store::padded;
using store::rightAligned;

const QString RecipeDocument::kRule(101, QLatin1Char('='));
const QString RecipeDocument::kRuleMarker(17, QLatin1Char('='));

namespace
{

constexpr double kMinimumWeight = 0.001;

QString trimmedFixed(double x, int width, int decimals)
{
    return fixedText(x, width, decimals).trimmed();
}

const QStringList &rawHeadings()
{
    static const QStringList headings = {
        QString(39, QLatin1Char(' ')) + QStringLiteral("Оптовая цена    Стоимость в    "
                                                       "Количество на Количество на"),
        QString(11, QLatin1Char(' ')) + QStringLiteral("Состав сырья") +
            QString(8, QLatin1Char(' ')) + QStringLiteral("%ввода"),
        QString(38, QLatin1Char(' ')) + QStringLiteral("за 1 тонну, руб. рецепте, руб.     "
                                                       "партию     партию с потерями "),
    };
    return headings;
}

QString costLine(const QString &label, double value)
{
    return padded(label, 26) + fixedText(value, 13, 2);
}

} // namespace

bool RecipeDocument::namesStandard(const QString &gost)
{
    return archive::namesStandard(gost);
}

QString RecipeDocument::purposeText(const QString &text)
{
    return archive::purposeText(text);
}

QString RecipeDocument::normText(double mi, double ma)
{
    const QString m = trimmedFixed(mi, 9, 2);
    const QString M = trimmedFixed(ma, 9, 2);
    if (mi == 0)
        return QStringLiteral("не более ") + M;
    if (ma == 0)
        return QStringLiteral("не менее ") + m;
    return m + QLatin1Char('-') + M;
}

QString RecipeDocument::titleText(const ArchivedRecipe &recipe)
{
    const QString gost = recipe.gost.trimmed();
    const QString standard = namesStandard(gost) ? gost : QStringLiteral("ГОСТ ") + gost;
    return (QStringLiteral("РЕЦЕПТ ") + recipe.naim + QStringLiteral("  ") + standard).trimmed();
}

RecipeDocument RecipeDocument::build(const ArchivedRecipe &recipe, const QString &taxName,
                                     const QString &printDate)
{
    RecipeDocument document;
    document.recipe_ = recipe;
    if (recipe.ves < kMinimumWeight)
        return document;
    document.addHeader(printDate);
    document.addRawLines();
    document.addCharLines();
    document.addCostLines(taxName);
    document.addPremixLines();
    return document;
}

void RecipeDocument::addHeader(const QString &printDate)
{
    const ArchivedRecipe &r = recipe_;
    const QString standard =
        r.gost.isEmpty() || namesStandard(r.gost) ? r.gost : QStringLiteral("ГОСТ ") + r.gost;
    lines_ << padded(r.naim, 50) + standard;
    lines_ << purposeText(r.nasn.left(101));
    lines_ << r.nasn.mid(101, 95);
    const QString weight =
        padded(QStringLiteral("  Вес ") + trimmedFixed(r.ves, 4, 1) + QStringLiteral(" Т"), 40);
    lines_ << padded(weight + QStringLiteral("Рассчитано ") + r.data, 70) +
                  QStringLiteral("Отпечатано ") + printDate;
    lines_ << r.prim;
    lines_ << rawHeadings();
}

void RecipeDocument::addRawLines()
{
    const ArchivedRecipe &r = recipe_;
    costs_.rawCost = 0;
    for (const ArchivedRecipe::RawLine &raw : r.raws) {
        const double cost = store::round2(raw.price * raw.procin / 100);
        costs_.rawCost += cost;
        const double b = r.ves * raw.procin / 100;
        const double l = (r.procpot + 100) * b / 100;
        batch_.append(b);
        withLosses_.append(l);
        lines_ << padded(raw.naim, 32) +
                      rightAligned(QLatin1Char(' ') + trimmedFixed(raw.procin, 5, 2), 6) +
                      rightAligned(trimmedFixed(raw.price, 12, 2), 17) +
                      rightAligned(fixedText(cost, 13, 2), 14) +
                      rightAligned(fixedText(b, 14, 4), 15) + QLatin1Char(' ') +
                      rightAligned(fixedText(l, 14, 4), 15);
    }
}

void RecipeDocument::addCharLines()
{
    lines_ << kRule;
    lines_ << QStringLiteral("Показатели качества                Норматив         Расчет"
                             "        Факт");
    lines_ << kRule;
    for (const ArchivedRecipe::CharLine &c : recipe_.chars) {
        lines_ << padded(c.pit, 21) + padded(c.ediz, 13) + padded(normText(c.mi, c.ma), 16) +
                      rightAligned(trimmedFixed(c.ra, 9, 2), 8) + QStringLiteral("    ") +
                      rightAligned(trimmedFixed(c.fa, 9, 2), 8);
    }
    for (const ArchivedRecipe::RatioLine &r : recipe_.ratios)
        lines_ << ratioLine(r);
    lines_ << kRule;
}

namespace
{

// level(numerator) / level(denominator) as the text of a ratio line: four decimals, empty
// when either characteristic is not archived or the denominator's level is 0.
QString ratioLevelText(const ArchivedRecipe &recipe, const ArchivedRecipe::RatioLine &ratio,
                       double ArchivedRecipe::CharLine::*level)
{
    const ArchivedRecipe::CharLine *numerator = nullptr;
    const ArchivedRecipe::CharLine *denominator = nullptr;
    for (const ArchivedRecipe::CharLine &c : recipe.chars) {
        if (!numerator && c.pit == ratio.numerator.left(20).trimmed())
            numerator = &c;
        if (!denominator && c.pit == ratio.denominator.left(20).trimmed())
            denominator = &c;
    }
    if (!numerator || !denominator || denominator->*level == 0)
        return {};
    return trimmedFixed(numerator->*level / denominator->*level, 9, 4);
}

} // namespace

QString RecipeDocument::ratioNormText(double minimum, double maximum)
{
    const QString m = trimmedFixed(minimum, 10, 4);
    const QString M = trimmedFixed(maximum, 10, 4);
    if (minimum <= 0)
        return maximum <= 0 ? QString() : QStringLiteral("не более ") + M;
    if (maximum <= 0)
        return QStringLiteral("не менее ") + m;
    return m + QLatin1Char('-') + M;
}

QString RecipeDocument::ratioLine(const ArchivedRecipe::RatioLine &ratio) const
{
    const QString name = ratio.numerator + QLatin1Char('/') + ratio.denominator;
    return padded(name.left(33), 34) + padded(ratioNormText(ratio.minimum, ratio.maximum), 16) +
           rightAligned(ratioLevelText(recipe_, ratio, &ArchivedRecipe::CharLine::ra), 8) +
           QStringLiteral("    ") +
           rightAligned(ratioLevelText(recipe_, ratio, &ArchivedRecipe::CharLine::fa), 8);
}

void RecipeDocument::addCostLines(const QString &taxName)
{
    const ArchivedRecipe &r = recipe_;
    RecipeCosts &c = costs_;
    c.loss = store::round2(c.rawCost * r.procpot / 100);
    c.costPrice = store::round2(c.rawCost + c.loss + r.izder);
    c.profit = store::round2(c.costPrice * r.procprib / 100);
    // Sums of two-decimal amounts are taken to two decimals first, so that a price of
    // exactly x.50 is recognised as a half by the whole-rouble rounding.
    c.wholesale = store::round2(c.costPrice + c.profit + r.gran);
    if (r.kn3)
        c.wholesale = store::roundHalfEven(c.wholesale);
    c.tax = store::round2(c.wholesale * r.nds / 100);
    c.selling = store::round2(c.wholesale + c.tax);
    if (r.kn5)
        c.selling = store::roundHalfEven(c.selling);

    lines_ << QStringLiteral("Стоимостные показатели, руб.");
    lines_ << kRule;
    lines_ << costLine(QStringLiteral("Стоимость сырья"), c.rawCost);
    lines_ << costLine(QStringLiteral("Произв. потери ") + fixedText(r.procpot, 4, 2) +
                           QStringLiteral("%      "),
                       c.loss);
    lines_ << costLine(QStringLiteral("Издержки производства"), r.izder);
    lines_ << costLine(QStringLiteral("Себестоимость"), c.costPrice);
    lines_ << costLine(QStringLiteral("Прибыль ") + fixedText(r.procprib, 4, 1) +
                           QStringLiteral("%             "),
                       c.profit);
    lines_ << costLine(QStringLiteral("Гранулирование"), r.gran);
    lines_ << costLine(QStringLiteral("Оптовая цена"), c.wholesale);
    const QString taxLabel =
        (taxName + QLatin1Char(' ')).left(61) + fixedText(r.nds, 4, 1) + QLatin1Char('%');
    lines_ << costLine(taxLabel, c.tax);
    lines_ << costLine(QStringLiteral("Отпускная цена"), c.selling);
    lines_ << padded(QStringLiteral("Объем партии, т"), 26) + fixedText(r.ves, 10, 3);
    lines_ << kRule;
}

void RecipeDocument::addPremixLines()
{
    if (recipe_.premixes.isEmpty())
        return;
    lines_ << QStringLiteral("Введены добавки на 1 т");
    lines_ << kRule;
    for (const ArchivedRecipe::PremixLine &p : recipe_.premixes) {
        lines_ << padded(p.pit, 21) + padded(p.ediz, 13) +
                      rightAligned(trimmedFixed(p.ra, 9, 2), 10);
    }
    lines_ << kRule;
}

namespace
{

// The whole part (towards zero) of a quotient of 4-decimal amounts: a value that is a
// whole number in decimals but lands just below it in binary counts as that number.
double wholeTowardZero(double x)
{
    const double nearest = std::round(x);
    return std::abs(x - nearest) < 1e-9 ? nearest : std::trunc(x);
}

// The correction of one line, in tonnes: the difference's share by the line's weight,
// at least one unit of the fourth decimal in the direction of the difference.
double correction(double difference, double value, double total)
{
    double t = wholeTowardZero(difference * value * 10000 / total);
    if (t == 0)
        t = difference > 0 ? 1 : -1;
    return t / 10000;
}

} // namespace

// The amounts are multiples of 0.0001 t and the batch weight has at most three
// decimals, so the differences are kept at four decimals: the thresholds then compare
// what the figures say, not the binary residue of their sums.
void RecipeDocument::balanceBatch()
{
    const ArchivedRecipe &r = recipe_;
    const int n = rawCount();
    if (n == 0 || r.ves < kMinimumWeight)
        return;
    // (value, line) pairs, largest value first; equal values keep the line order.
    QList<std::pair<double, int>> order;
    double sumB = 0;
    double sumL = 0;
    for (int k = 0; k < n; ++k) {
        withLosses_[k] = store::round4(withLosses_[k]);
        batch_[k] = store::round4(batch_[k]);
        sumB += batch_[k];
        sumL += withLosses_[k];
        auto at = order.begin();
        while (at != order.end() && !(batch_[k] > at->first))
            ++at;
        order.insert(at, {batch_[k], k});
    }
    const double total = store::round3((r.procpot + 100) * r.ves / 100);
    double dB = store::round4(r.ves - sumB);
    double dL = store::round4(total - sumL);
    for (const auto &[v, k] : order) {
        if (std::abs(dB) > 0.0005) {
            const double t = correction(dB, v, r.ves);
            batch_[k] = store::round4(batch_[k] + t);
            dB = store::round4(dB - t);
        }
        if (std::abs(dL) > 0.00005) {
            const double t = correction(dL, v, total);
            withLosses_[k] = store::round4(withLosses_[k] + t);
            dL = store::round4(dL - t);
        }
    }
}

} // namespace documents
