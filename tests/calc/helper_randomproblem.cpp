#include "helper_randomproblem.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace calctest
{

using calc::Selection;

namespace
{

// A small fixed generator (splitmix64), so that a seed gives the same case on every
// platform and library.
class Random final
{
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    double uniform() { return double(next() >> 11) * 0x1.0p-53; } // [0, 1)
    double between(double a, double b) { return a + (b - a) * uniform(); }
    bool chance(double p) { return uniform() < p; }
    int below(int n) { return int(next() % std::uint64_t(n)); }

private:
    std::uint64_t state_;
};

double round2(double x)
{
    return std::round(x * 100) / 100;
}

struct Builder {
    Selection &rec;
    const CaseShape &shape;
    Random rnd;
    // hidden recipe: share[p][s] in percent, 0 where the pair is not allowed
    std::vector<std::vector<double>> share;
    std::vector<std::vector<bool>> allowed;

    void raws()
    {
        const bool degenerate = shape.flavour == Flavour::Degenerate;
        std::vector<double> scale(shape.chars + 1);
        for (int q = 2; q <= shape.chars; ++q)
            scale[q] = degenerate ? 10 : std::pow(10.0, rnd.below(4)) * rnd.between(0.5, 2);
        for (int s = 1; s <= shape.raws; ++s) {
            rec.rawName[s] = QStringLiteral("Сырье %1").arg(s);
            if (degenerate && s > 1 && rnd.chance(0.3)) { // a twin of an earlier raw
                rec.rawContent[s] = rec.rawContent[1 + rnd.below(s - 1)];
                continue;
            }
            const double price =
                degenerate ? 1000.0 * (1 + rnd.below(5)) : std::round(rnd.between(3000, 40000));
            rec.rawContent[s][1] = degenerate && rnd.chance(0.15) ? 0.0 : price;
            for (int q = 2; q <= shape.chars; ++q) {
                const double u = rnd.uniform();
                double c = rnd.chance(0.3) ? 0.0 : scale[q] * u * u;
                rec.rawContent[s][q] = degenerate ? std::round(c) : round2(c);
            }
        }
    }

    void recipes()
    {
        share.assign(shape.feeds + 1, std::vector<double>(shape.raws + 1, 0.0));
        allowed.assign(shape.feeds + 1, std::vector<bool>(shape.raws + 1, false));
        for (int p = 1; p <= shape.feeds; ++p) {
            int count = 0;
            for (int s = 1; s <= shape.raws; ++s)
                count += allowed[p][s] = rnd.chance(shape.pairShare);
            while (count < std::min(3, shape.raws)) {
                const int s = 1 + rnd.below(shape.raws);
                count += !allowed[p][s];
                allowed[p][s] = true;
            }
            double total = 0;
            for (int s = 1; s <= shape.raws; ++s)
                if (allowed[p][s])
                    total += share[p][s] = rnd.chance(0.2) ? 0.0 : rnd.uniform() + 0.05;
            if (total == 0) {
                for (int s = 1; s <= shape.raws; ++s)
                    if (allowed[p][s]) {
                        share[p][s] = 1;
                        total = 1;
                        break;
                    }
            }
            for (int s = 1; s <= shape.raws; ++s)
                share[p][s] = share[p][s] * 100 / total;
        }
    }

    void columns()
    {
        const bool degenerate = shape.flavour == Flavour::Degenerate;
        int j = 0;
        for (int p = 1; p <= shape.feeds; ++p)
            for (int s = 1; s <= shape.raws; ++s) {
                if (!allowed[p][s])
                    continue;
                ++j;
                rec.columnFeed[j] = p;
                rec.columnRaw[j] = s;
                const double x = share[p][s];
                double lo = rnd.chance(0.2) ? std::floor(x * 0.5) : 0.0;
                double hi =
                    rnd.chance(0.4) ? 100.0 : std::min(100.0, std::ceil(x * rnd.between(1.5, 3)));
                if (degenerate && rnd.chance(0.1))
                    lo = hi = round2(x); // a fixed inclusion
                rec.columnLower[j] = lo;
                rec.columnUpper[j] = std::max(hi, lo);
            }
        rec.columnCount = j;
    }

    double level(int p, int q) const
    {
        double sum = 0;
        for (int s = 1; s <= shape.raws; ++s)
            sum += share[p][s] * rec.rawContent[s][q] / 100;
        return sum;
    }

    void norms()
    {
        const double exactShare = shape.flavour == Flavour::Degenerate ? 0.3 : 0.05;
        for (int p = 1; p <= shape.feeds; ++p) {
            rec.feedType[p] = QStringLiteral("ПК-%1").arg(p);
            rec.feedOutput[p] = std::round(rnd.between(10, 300) * 1000) / 1000;
            for (int q = 1; q <= shape.chars; ++q) {
                const double l = level(p, q);
                if (q == 1) { // the price: an upper limit only, half the time
                    if (shape.everyNorm || rnd.chance(0.5))
                        rec.normMax[p][1] = round2(l * rnd.between(1.05, 1.5));
                    continue;
                }
                if (shape.everyNorm && l == 0) { // nothing of it in the recipe: a ceiling
                    rec.normMax[p][q] = 1;
                    continue;
                }
                if (l == 0 || (!shape.everyNorm && rnd.chance(0.25)))
                    continue;
                if (rnd.chance(exactShare)) {
                    rec.normMin[p][q] = rec.normMax[p][q] = round2(l);
                } else {
                    rec.normMin[p][q] = rnd.chance(0.15) ? 0.0 : round2(l * rnd.between(0.7, 0.99));
                    rec.normMax[p][q] = round2(l * rnd.between(1.01, 1.3));
                }
                if (shape.everyNorm && rec.normMax[p][q] == 0)
                    rec.normMax[p][q] = 1;
                if (rec.normMax[p][q] == 0)
                    rec.normMin[p][q] = 0;
            }
        }
        if (shape.flavour == Flavour::Unreachable)
            unreachable();
    }

    // One requirement above what any allowed raw material holds.
    void unreachable()
    {
        const int p = 1 + rnd.below(shape.feeds);
        const int q = shape.chars >= 2 ? 2 + rnd.below(shape.chars - 1) : 1;
        double top = 0;
        for (int s = 1; s <= shape.raws; ++s)
            if (allowed[p][s])
                top = std::max(top, rec.rawContent[s][q]);
        rec.normMin[p][q] = round2(top * 1.1 + 1);
        rec.normMax[p][q] = round2(top * 1.2 + 2);
    }

    SampleCase stock()
    {
        SampleCase c;
        c.lossNorm = rnd.chance(0.3) ? 0.0 : round2(rnd.between(0.5, 3));
        const bool tight = shape.flavour == Flavour::TightStock;
        c.useFullUse = tight || rnd.chance(0.2);
        for (int s = 1; s <= shape.raws; ++s) {
            double need = 0;
            for (int p = 1; p <= shape.feeds; ++p)
                need += share[p][s] * rec.feedOutput[p] / 100;
            need *= (100 + c.lossNorm) / 100;
            const bool fullUse = need > 0 && rnd.chance(tight ? 0.2 : 0.05);
            double stock;
            if (fullUse)
                stock = need * rnd.between(0.95, 1.1);
            else if (!tight && rnd.chance(0.25))
                stock = calc::kUnlimitedStock;
            else
                stock = need * (tight ? rnd.between(0.8, 1.4) : rnd.between(1.1, 3)) +
                        (tight ? 0 : rnd.between(0, 50));
            rec.rawStock[s] = stock == calc::kUnlimitedStock
                                  ? stock
                                  : std::max(0.001, std::round(stock * 1000) / 1000);
            rec.rawFullUse[s] = fullUse;
        }
        return c;
    }
};

} // namespace

SampleCase makeCase(Selection &rec, const CaseShape &shape)
{
    rec = Selection();
    Builder b{rec, shape, Random(shape.seed * 0x2545F4914F6CDD1DULL + 17), {}, {}};
    rec.feedCount = shape.feeds;
    rec.rawCount = shape.raws;
    rec.charCount = shape.chars;
    for (int q = 1; q <= shape.chars; ++q)
        rec.charName[q] = q == 1 ? QStringLiteral("Цена") : QStringLiteral("Показатель %1").arg(q);
    b.raws();
    b.recipes();
    b.columns();
    b.norms();
    return b.stock();
}

} // namespace calctest
