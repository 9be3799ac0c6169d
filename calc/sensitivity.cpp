#include "calc/sensitivity.h"

#include "calc/assembly.h"
#include "lp/simplextolerance.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace calc
{

namespace
{

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// A rate of change of a reduced cost below this is rounding noise, not a rate: entries
// of the tableau are tonnes per tonne, and the solver keeps them to about 1e-11.
constexpr double kFlatRate = 1e-10;
// A basic variable this close to a bound (relative, at least absolute) sits on it.
constexpr double kOnBound = 1e-9;
// A raw material counts as used when it shows in the recipe (0.01 % rounded).
constexpr double kUsedPercent = 0.005;

// The move of a parameter from its present value over which the basis holds.
struct Interval {
    double lo = -kInfinity;
    double hi = kInfinity;

    void meet(const Interval &other)
    {
        lo = std::max(lo, other.lo);
        hi = std::min(hi, other.hi);
    }
};

std::optional<double> finite(double v)
{
    if (std::isfinite(v))
        return v;
    return std::nullopt;
}

bool onBound(double value, double bound)
{
    return std::fabs(value - bound) <= kOnBound * std::max(1.0, std::fabs(bound));
}

// Where f(λ) = d + a λ + b λ² stays at or above 0 around λ = 0, given d >= 0.
Interval nonNegativeAround(double d, double a, double b)
{
    Interval range;
    if (std::fabs(a) <= kFlatRate)
        a = 0;
    if (std::fabs(b) <= kFlatRate * kFlatRate)
        b = 0;
    if (d <= 0) { // f = λ (a + b λ)
        if (a < 0 || (a == 0 && b < 0))
            range.hi = 0;
        if (a > 0 || (a == 0 && b < 0))
            range.lo = 0;
        if (b != 0 && a != 0 && -a / b > 0 && a > 0)
            range.hi = -a / b;
        if (b != 0 && a != 0 && -a / b < 0 && a < 0)
            range.lo = -a / b;
        return range;
    }
    if (b == 0) {
        if (a < 0)
            range.hi = d / -a;
        else if (a > 0)
            range.lo = -d / a;
        return range;
    }
    const double disc = a * a - 4 * b * d;
    if (disc < 0)
        return range; // no root: f keeps the sign it has at 0
    const double q = -0.5 * (a + std::copysign(std::sqrt(disc), a));
    for (const double root : {q / b, q != 0 ? d / q : kInfinity}) {
        if (root > 0)
            range.hi = std::min(range.hi, root);
        else if (root < 0)
            range.lo = std::max(range.lo, root);
    }
    return range;
}

// Reads one final tableau against the programme of the selection.
class Reader final
{
public:
    Reader(const lp::FinalTableau &t, const Selection &selection, const RowLayout &layout,
           const std::vector<double> &shares, const CalcParameters &parameters)
        : t_(t), sel_(selection), layout_(layout), shares_(shares), parameters_(parameters),
          m_(t.rows()), n_(t.columns()), basicRow_(n_ + m_ + 1, 0), nonbasicColumn_(n_ + m_ + 1, 0),
          priceRow_(selection.feedCount + 1)
    {
        for (int i = 1; i <= m_; ++i)
            basicRow_[index(t.rowLabel[i])] = i;
        for (int j = 1; j <= n_; ++j)
            nonbasicColumn_[index(t.columnLabel[j])] = j;
        for (int p = 1; p <= selection.feedCount; ++p)
            priceRow_[p] = layout.nutrientRow(p, kPriceCharacteristic);
    }

    bool degenerate() const;
    bool alternativeOptima() const;
    void requirements(std::vector<RequirementFigure> &out) const;
    void stock(std::vector<StockFigure> &out) const;
    void ratios(std::vector<RatioFigure> &out) const;
    PriceFigure price(int s) const;

private:
    // Variables in one numbering: programme column j as j, programme row i as n + i.
    int index(int label) const { return label > 0 ? label : n_ - label; }
    double sigma(int c) const { return t_.atLower[c] ? 1.0 : -1.0; }
    // A range of rounding noise (a minimum equal to the maximum, scaled) counts as none:
    // crossing it changes no recipe.
    bool fixed(int c) const { return onBound(t_.columnLower[c], t_.columnUpper[c]); }
    double amount(int j) const;
    Interval moveRange(int c) const;
    double costRate(int c, const std::vector<int> &rowsOfRaw, int s) const;
    void requirement(int c, int i, std::vector<RequirementFigure> &out) const;
    void ratio(int c, int i, std::vector<RatioFigure> &out) const;
    bool priceMovesRecipe(int s) const;

    const lp::FinalTableau &t_;
    const Selection &sel_;
    const RowLayout &layout_;
    const std::vector<double> &shares_;
    const CalcParameters &parameters_;
    const int m_;
    const int n_;
    std::vector<int> basicRow_;       // by variable: its tableau row, 0 when non-basic
    std::vector<int> nonbasicColumn_; // by variable: its tableau column, 0 when basic
    std::vector<int> priceRow_;       // by feed type: its price row, 0 when none
};

bool Reader::degenerate() const
{
    for (int i = 1; i <= m_; ++i)
        if (onBound(t_.rowValue[i], t_.rowLower[i]) || onBound(t_.rowValue[i], t_.rowUpper[i]))
            return true;
    return false;
}

// A non-basic variable with a range and no reduced cost can move without changing the
// cost: the amounts move with it, so another recipe costs the same. The reduced costs
// are figured against the prices, so zero is judged as the solver judges its values,
// at the acceptance distance of the largest price.
bool Reader::alternativeOptima() const
{
    double priceScale = 0;
    for (int j = 1; j <= n_; ++j)
        priceScale = std::max(priceScale, std::fabs(sel_.rawContent[sel_.columnRaw[j]][1]));
    const double zero = lp::acceptanceDistance(priceScale);
    for (int c = 1; c <= n_; ++c)
        if (!fixed(c) && std::fabs(t_.reducedCost[c]) < zero)
            return true;
    return false;
}

// The amount of programme column j at the optimum, tonnes.
double Reader::amount(int j) const
{
    if (const int r = basicRow_[j])
        return t_.rowValue[r];
    const int c = nonbasicColumn_[j];
    return t_.atLower[c] ? t_.columnLower[c] : t_.columnUpper[c];
}

// How far the non-basic variable of column c may move from its bound, in its own units
// (up positive), before a basic variable leaves its bounds.
Interval Reader::moveRange(int c) const
{
    Interval range;
    for (int i = 1; i <= m_; ++i) {
        const double rate = -t_.at(i, c) * sigma(c);
        if (rate == 0)
            continue;
        const double v = t_.rowValue[i];
        const double toUpper = (t_.rowUpper[i] - v) / rate;
        const double toLower = (t_.rowLower[i] - v) / rate;
        if (rate > 0)
            range.meet({toLower, toUpper});
        else
            range.meet({toUpper, toLower});
    }
    range.lo = std::min(range.lo, 0.0); // a value off its bound by rounding only
    range.hi = std::max(range.hi, 0.0);
    return range;
}

void Reader::requirements(std::vector<RequirementFigure> &out) const
{
    for (int p = 1; p <= sel_.feedCount; ++p)
        for (const int i : layout_.nutrientRows(p))
            if (const int c = nonbasicColumn_[n_ + i])
                requirement(c, i, out);
}

// Nutrient row i, its activity non-basic in column c: the activity is the feed type's
// content of q over its maximum norm, bounded by min (1 − r) W / max and (1 + r) W.
// Moving the maximum norm rescales the row, which changes nothing but its upper bound
// in the row's present scale.
void Reader::requirement(int c, int i, std::vector<RequirementFigure> &out) const
{
    const int p = layout_.owner(i);
    const int q = layout_.characteristic(i);
    const double dual = sigma(c) * t_.reducedCost[c]; // cost per unit the bound moves
    const NormSide side = fixed(c)        ? (dual >= 0 ? NormSide::Min : NormSide::Max)
                          : t_.atLower[c] ? NormSide::Min
                                          : NormSide::Max;
    const double relax = shares_[std::size_t(i)];
    const double factor = side == NormSide::Min ? 1 - relax : 1 + relax;
    const double normMax = sel_.normMax[p][q];
    const double output = sel_.feedOutput[p];
    const double norm = side == NormSide::Min ? sel_.normMin[p][q] : normMax;
    if (factor <= 0 || normMax <= 0 || output <= 0 || norm * factor <= 0)
        return; // no requirement of the user behind this bound
    const double bound = side == NormSide::Min ? t_.columnLower[c] : t_.columnUpper[c];
    Interval move = moveRange(c);
    if (side == NormSide::Min)
        move.hi = std::min(move.hi, t_.columnUpper[c] - t_.columnLower[c]);
    else
        move.lo = std::max(move.lo, t_.columnLower[c] - t_.columnUpper[c]);
    move.lo = std::max(move.lo, -bound); // a norm does not go below 0
    const double perActivity = normMax / (factor * output);
    const bool price = q == 1;
    const double vat = sel_.feedVat[p];
    auto typed = [&](double activity) -> std::optional<double> {
        if (!std::isfinite(activity))
            return std::nullopt;
        const double level = activity * perActivity;
        return price ? priceOfRawCost(level, vat, parameters_) : level;
    };
    RequirementFigure f;
    f.feed = p;
    f.characteristic = q;
    f.name = sel_.charName[q];
    f.side = side;
    f.norm = price ? priceOfRawCost(norm, vat, parameters_) : norm;
    f.shadowPrice = dual / perActivity / output;
    if (price)
        f.shadowPrice *= rawCostPerPriceRouble(vat, parameters_);
    f.normFrom = typed(bound + move.lo);
    f.normTo = typed(bound + move.hi);
    out.push_back(f);
}

void Reader::ratios(std::vector<RatioFigure> &out) const
{
    for (int i = 1; i <= m_; ++i)
        if (const int c = layout_.isRatioRow(i) ? nonbasicColumn_[n_ + i] : 0)
            ratio(c, i, out);
}

// How far the ratio moves when the activity of its row, held by a bound, moves by t: the
// row Σ (a_num − ρ a_den) x >= δ D(x) is the row at ρ + δ, and D, the batch's content of
// the denominator, goes with the basis as d0 + t × rate, so δ = t / (d0 + t × rate).
// Nothing, when the content runs out on the way: the ratio moves without limit.
std::optional<double> ratioShift(double t, double d0, double rate)
{
    if (std::isinf(t)) {
        if (t > 0 ? rate > 0 : rate < 0)
            return 1 / rate;
        return std::nullopt;
    }
    const double d = d0 + t * rate;
    if (d <= 0)
        return std::nullopt;
    return t / d;
}

// Ratio row i, its activity non-basic in column c at the bound that holds the ratio (the
// other side of the row stands where no recipe reaches).
void Reader::ratio(int c, int i, std::vector<RatioFigure> &out) const
{
    const RatioSide side = layout_.ratioSide(i);
    if (!fixed(c) && t_.atLower[c] != (side == RatioSide::Min))
        return;
    const Ratio &r = sel_.ratios[std::size_t(layout_.ratio(i))];
    const double relax = shares_[std::size_t(i)];
    const double factor = side == RatioSide::Min ? 1 - relax : 1 + relax;
    const double rate = ratioRowRate(r, side, relax);
    const double output = sel_.feedOutput[r.feed];
    double content = 0; // D at the optimum
    double contentRate = 0;
    for (int j = 1; j <= n_; ++j) {
        if (sel_.columnFeed[j] != r.feed)
            continue;
        const double a = sel_.rawContent[sel_.columnRaw[j]][r.denominator];
        content += a * amount(j);
        if (const int row = basicRow_[j])
            contentRate += a * -t_.at(row, c) * sigma(c);
    }
    if (factor <= 0 || rate <= 0 || output <= 0 || content <= 0)
        return; // no requirement of the user behind this bound, or no level
    const Interval move = moveRange(c);
    const auto typed = [&](double t) -> std::optional<double> {
        const std::optional<double> shift = ratioShift(t, content, contentRate);
        if (!shift)
            return std::nullopt;
        return std::max(0.0, (rate + *shift) / factor);
    };
    RatioFigure f;
    f.feed = r.feed;
    f.numerator = r.numerator;
    f.denominator = r.denominator;
    f.name = sel_.ratioName(r);
    f.side = side == RatioSide::Min ? NormSide::Min : NormSide::Max;
    f.bound = side == RatioSide::Min ? r.minimum : r.maximum;
    f.shadowPrice = sigma(c) * t_.reducedCost[c] * content * factor / output;
    f.boundFrom = typed(move.lo);
    if (!f.boundFrom)
        f.boundFrom = 0.0; // a ratio does not go below 0
    f.boundTo = typed(move.hi);
    out.push_back(f);
}

// Stock row of raw material s, its activity non-basic in column c at its upper bound
// (or fixed, for a stock to be used up): bound = stock × 100 / (100 + L).
void Reader::stock(std::vector<StockFigure> &out) const
{
    const double perTonne = 100 / (100 + parameters_.lossNorm);
    for (int i = 1; i <= m_; ++i) {
        const int c = layout_.isStockRow(i) ? nonbasicColumn_[n_ + i] : 0;
        if (c == 0 || (t_.atLower[c] && !fixed(c)))
            continue;
        const double bound = t_.columnUpper[c];
        Interval move = moveRange(c);
        move.lo = std::max(move.lo, (fixed(c) ? 0.0 : t_.columnLower[c]) - bound);
        const int s = layout_.owner(i);
        StockFigure f;
        f.raw = s;
        f.name = sel_.rawName[s];
        f.stock = sel_.rawStock[s];
        f.valuePerTonne = -sigma(c) * t_.reducedCost[c] * perTonne;
        f.stockFrom = finite((bound + move.lo) / perTonne);
        f.stockTo = finite((bound + move.hi) / perTonne);
        out.push_back(f);
    }
}

// How the reduced cost of column c moves per rouble added to the price of raw material
// s in every feed type (rowsOfRaw: the tableau rows whose basic variable is one of its
// amounts): its own price, less what the basic amounts of s pay along its column.
double Reader::costRate(int c, const std::vector<int> &rowsOfRaw, int s) const
{
    const int label = t_.columnLabel[c];
    double rate = label > 0 && sel_.columnRaw[label] == s ? sigma(c) : 0.0;
    for (const int i : rowsOfRaw)
        rate -= t_.at(i, c);
    return rate;
}

// The price of s is also the coefficient of its amounts in the price rows. Where a
// feed type's price limit binds and s is in its basis or used, a change of the price
// moves that recipe along the limit at once.
bool Reader::priceMovesRecipe(int s) const
{
    for (int j = 1; j <= n_; ++j) {
        const int p = sel_.columnFeed[j];
        if (sel_.columnRaw[j] != s || priceRow_[p] == 0 || basicRow_[n_ + priceRow_[p]] != 0)
            continue;
        if (basicRow_[j] != 0 || amount(j) != 0)
            return true;
    }
    return false;
}

PriceFigure Reader::price(int s) const
{
    PriceFigure f;
    f.raw = s;
    f.name = sel_.rawName[s];
    f.price = sel_.rawContent[s][1];
    std::vector<double> used(sel_.feedCount + 1, 0.0);
    std::vector<int> rowsOfRaw;
    for (int j = 1; j <= n_; ++j) {
        if (sel_.columnRaw[j] != s)
            continue;
        used[sel_.columnFeed[j]] += amount(j);
        if (basicRow_[j])
            rowsOfRaw.push_back(basicRow_[j]);
    }
    for (int p = 1; p <= sel_.feedCount; ++p)
        if (sel_.feedOutput[p] > 0 && 100 * used[p] / sel_.feedOutput[p] >= kUsedPercent)
            f.feeds.push_back(p);
    if (priceMovesRecipe(s)) {
        f.priceFrom = f.priceTo = f.price;
        return f;
    }
    Interval move;
    // every non-basic reduced cost stays at or above 0; an amount of s whose feed type's
    // price limit binds also pays the limit's shadow price for its new coefficient
    for (int c = 1; c <= n_; ++c) {
        if (fixed(c))
            continue;
        const double d = std::max(t_.reducedCost[c], 0.0);
        double a = costRate(c, rowsOfRaw, s);
        double b = 0;
        const int label = t_.columnLabel[c];
        if (label > 0 && sel_.columnRaw[label] == s) {
            const int row = priceRow_[sel_.columnFeed[label]];
            if (const int pc = row ? nonbasicColumn_[n_ + row] : 0) {
                const double w = sigma(c) * sigma(pc) / sel_.normMax[sel_.columnFeed[label]][1];
                a -= w * t_.reducedCost[pc];
                b -= w * costRate(pc, rowsOfRaw, s);
            }
        }
        move.meet(nonNegativeAround(d, a, b));
    }
    // a price row within its limits moves with the cost of the recipe
    for (int p = 1; p <= sel_.feedCount; ++p) {
        const int r = priceRow_[p] ? basicRow_[n_ + priceRow_[p]] : 0;
        const double rate = r ? used[p] / sel_.normMax[p][1] : 0.0;
        if (rate == 0)
            continue;
        const double v = t_.rowValue[r];
        move.meet({std::min(0.0, (t_.rowLower[r] - v) / rate),
                   std::max(0.0, (t_.rowUpper[r] - v) / rate)});
    }
    f.priceFrom = finite(f.price + move.lo);
    f.priceTo = finite(f.price + move.hi);
    return f;
}

} // namespace

Sensitivity sensitivityOf(const lp::FinalTableau &tableau, const Selection &selection,
                          const RowLayout &layout, const std::vector<double> &shares,
                          const CalcParameters &parameters)
{
    Sensitivity result;
    if (!tableau.held() || tableau.rows() != layout.rowCount() ||
        tableau.columns() != selection.columnCount)
        return result;
    const Reader reader(tableau, selection, layout, shares, parameters);
    result.held = true;
    result.degenerate = reader.degenerate();
    result.alternativeOptima = reader.alternativeOptima();
    reader.requirements(result.requirements);
    for (int s = 1; s <= selection.rawCount; ++s)
        result.prices.push_back(reader.price(s));
    reader.stock(result.stock);
    reader.ratios(result.ratios);
    return result;
}

} // namespace calc
