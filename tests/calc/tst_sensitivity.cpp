// What the optimum is worth at the margin, read from the final tableau: small
// programmes with the figures worked out by hand; the row duals and reduced costs
// behind them set beside glpsol's on seeded random programmes and the demo data; and
// the ranges tried out by solving again: a price moved halfway to an end of its range
// keeps the cost of the recipes, and the recipes too unless other recipes were told to
// cost the same; 2 % past an end changes one; a binding norm moved by δ within its
// range changes the cost by shadow price × δ × output; δ more tonnes of a binding stock
// lower it by value × δ.

#include "calcfixture.h"
#include "helper_randomproblem.h"
#include "results/demodatafixture.h"

#include "calc/assembly.h"
#include "calc/messageobserver.h"
#include "calc/run.h"
#include "calc/sensitivity.h"
#include "lp/finaltableau.h"
#include "lp/lpexport.h"
#include "lp/simplex.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <cstring>
#include <functional>
#include <memory>

using namespace calc;
using namespace calctest;
using lp::FinalTableau;

namespace
{

constexpr int kProtein = 2;

using Change = std::function<void(Selection &)>;

// A programme that can be set up afresh in the record, changed and solved again.
struct Subject {
    QString name;
    std::function<void(Selection &)> reset;
    bool useFullUse = false;
    CalcParameters parameters;
};

struct Solved {
    bool optimal = false;
    double cost = 0;
    std::vector<double> amounts; // by programme column
    std::vector<double> duals;   // by row: cost per unit its bound moves
    std::vector<double> reduced; // by column: cost per unit its amount moves
    Sensitivity figures;

    double rawTonnes(const Selection &rec, int s) const
    {
        double sum = 0;
        for (std::size_t j = 0; j < amounts.size(); ++j)
            sum += rec.columnRaw[int(j) + 1] == s ? amounts[j] : 0.0;
        return sum;
    }
};

Solved solve(Selection &rec, const Subject &subject, const Change &change = {})
{
    subject.reset(rec);
    if (change)
        change(rec);
    Solved out;
    const std::optional<AssembledProgramme> assembled =
        assembleProgramme(rec, subject.useFullUse, noRelaxation(), subject.parameters.lossNorm);
    if (!assembled)
        return out;
    FinalTableau tableau;
    const lp::Solution solution = lp::solve(assembled->programme, nullptr, &tableau);
    out.optimal = solution.failing.label() == 0 && tableau.held();
    if (!out.optimal)
        return out;
    out.cost = solution.cost;
    out.amounts = solution.values;
    out.duals.assign(assembled->layout.rowCount() + 1, 0.0);
    out.reduced.assign(rec.columnCount + 1, 0.0);
    for (int c = 1; c <= tableau.columns(); ++c) {
        const double marginal = (tableau.atLower[c] ? 1 : -1) * tableau.reducedCost[c];
        const int label = tableau.columnLabel[c];
        (label > 0 ? out.reduced[label] : out.duals[-label]) = marginal;
    }
    out.figures =
        sensitivityOf(tableau, rec, assembled->layout, noRelaxation(), subject.parameters);
    return out;
}

bool sameRecipes(const Solved &a, const Solved &b)
{
    if (a.amounts.size() != b.amounts.size())
        return false;
    for (std::size_t j = 0; j < a.amounts.size(); ++j)
        if (std::fabs(a.amounts[j] - b.amounts[j]) > 1e-6 * (1 + std::fabs(a.amounts[j])))
            return false;
    return true;
}

bool near(double a, double b, double scale = 1)
{
    return std::fabs(a - b) <= 1e-6 * std::max({1.0, scale, std::fabs(a), std::fabs(b)});
}

// A seeded random programme (tests/calc/helper_randomproblem.h).
// ties: twin raw materials, equal prices and exact requirements.
Subject randomSubject(int seed, bool ties = false)
{
    CaseShape shape;
    shape.seed = std::uint64_t(seed) * 104729;
    shape.flavour = ties            ? Flavour::Degenerate
                    : seed % 3 == 0 ? Flavour::TightStock
                                    : Flavour::Ordinary;
    shape.feeds = 1 + seed % 5;
    shape.raws = 3 + (seed * 7) % 12;
    shape.chars = 2 + (seed * 3) % 7;
    Subject subject;
    subject.name = QStringLiteral("random %1").arg(seed);
    SampleCase c;
    {
        Selection probe;
        c = makeCase(probe, shape);
    }
    subject.useFullUse = c.useFullUse;
    subject.parameters.lossNorm = c.lossNorm;
    subject.reset = [shape](Selection &rec) { makeCase(rec, shape); };
    return subject;
}

// The new value of a bound's norm in the record's own units (the price converted).
void setNorm(Selection &rec, const RequirementFigure &f, double typed,
             const CalcParameters &parameters)
{
    const double value =
        f.characteristic == 1 ? rawCostOfPrice(typed, rec.feedVat[f.feed], parameters) : typed;
    (f.side == NormSide::Min ? rec.normMin : rec.normMax)[f.feed][f.characteristic] = value;
}

// A step from value toward an end of its range: half the way, or 1 % of the value
// where the range has no end that side; 0 where the range is empty that side.
double halfway(double value, const std::optional<double> &end, double sign)
{
    if (!end)
        return sign * 0.01 * std::max(1.0, std::fabs(value));
    return 0.5 * (*end - value);
}

struct Tally {
    int prices = 0, pastEnds = 0, norms = 0, stocks = 0;
    int switched = 0; // prices moved inside whose recipes changed all the same
};

// The ranges of one optimum tried out by solving again.
void tryRanges(Selection &rec, const Subject &subject, const Solved &base, Tally &tally)
{
    const Sensitivity &f = base.figures;
    for (const PriceFigure &price : f.prices) {
        const int s = price.raw;
        for (const double sign : {-1.0, 1.0}) {
            const std::optional<double> &end = sign < 0 ? price.priceFrom : price.priceTo;
            const double step = halfway(price.price, end, sign);
            const Solved inside =
                solve(rec, subject, [&](Selection &r) { r.rawContent[s][1] = price.price + step; });
            // the recipes stay optimal: the same cost as they have at the new price, and
            // unless other recipes were told to cost the same, the same recipes
            const double oldRecipes = base.cost + step * base.rawTonnes(rec, s);
            const bool same = sameRecipes(base, inside);
            QVERIFY2(inside.optimal && near(inside.cost, oldRecipes, base.cost * 1e-6) &&
                         (f.alternativeOptima || same),
                     qPrintable(subject.name +
                                QStringLiteral(": price of %1 moved by %2").arg(s).arg(step)));
            ++tally.prices;
            tally.switched += !same;
            // past an end the recipes change where the optimum is the only one and not
            // degenerate; elsewhere an end may lie short of where they change
            if (!end || f.alternativeOptima || f.degenerate)
                continue;
            const double past = *end + sign * 0.02 * std::max(1.0, std::fabs(*end));
            const Solved beyond =
                solve(rec, subject, [&](Selection &r) { r.rawContent[s][1] = past; });
            QVERIFY2(!beyond.optimal || !sameRecipes(base, beyond),
                     qPrintable(
                         subject.name +
                         QStringLiteral(": price of %1 at %2 past %3").arg(s).arg(past).arg(*end)));
            ++tally.pastEnds;
        }
    }
    for (const RequirementFigure &req : f.requirements) {
        const int p = req.feed;
        for (const double sign : {-1.0, 1.0}) {
            const std::optional<double> &end = sign < 0 ? req.normFrom : req.normTo;
            const double delta = halfway(req.norm, end, sign);
            if (delta == 0 || !end)
                continue;
            const Solved moved = solve(rec, subject, [&](Selection &r) {
                setNorm(r, req, req.norm + delta, subject.parameters);
            });
            const double expected = req.shadowPrice * delta * rec.feedOutput[p];
            QVERIFY2(moved.optimal && near(moved.cost - base.cost, expected, base.cost * 1e-3),
                     qPrintable(subject.name + QStringLiteral(": %1 of feed %2 by %3: %4 not %5")
                                                   .arg(req.name)
                                                   .arg(p)
                                                   .arg(delta)
                                                   .arg(moved.cost - base.cost)
                                                   .arg(expected)));
            ++tally.norms;
        }
    }
    for (const StockFigure &stock : f.stock) {
        for (const double sign : {-1.0, 1.0}) {
            const std::optional<double> &end = sign < 0 ? stock.stockFrom : stock.stockTo;
            const double delta = halfway(stock.stock, end, sign);
            if (delta == 0 || !end)
                continue;
            const Solved moved = solve(
                rec, subject, [&](Selection &r) { r.rawStock[stock.raw] = stock.stock + delta; });
            QVERIFY2(moved.optimal && near(base.cost - moved.cost, stock.valuePerTonne * delta,
                                           base.cost * 1e-3),
                     qPrintable(subject.name +
                                QStringLiteral(": stock of %1 by %2").arg(stock.raw).arg(delta)));
            ++tally.stocks;
        }
    }
}

// glpsol's row duals and column reduced costs of a programme written as free MPS.
struct GlpkMarginals {
    bool optimal = false;
    std::vector<double> rows, columns; // 1-based
};

GlpkMarginals glpkMarginals(const QString &glpsol, const QString &mps, int m, int n)
{
    GlpkMarginals out;
    QProcess process;
    process.start(glpsol, {QStringLiteral("--freemps"), mps, QStringLiteral("--write"),
                           mps + QStringLiteral(".sol")});
    if (!process.waitForFinished(60000))
        return out;
    QFile file(mps + QStringLiteral(".sol"));
    if (!file.open(QIODevice::ReadOnly))
        return out;
    out.rows.assign(m + 1, 0.0);
    out.columns.assign(n + 1, 0.0);
    // "s bas m n primal dual objective", "i row status primal dual", "j column ..."
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QList<QByteArray> w = line.split(' ');
        if (line.startsWith("s bas"))
            out.optimal = w.value(4) == "f" && w.value(5) == "f";
        else if ((line.startsWith("i ") || line.startsWith("j ")) && w.size() >= 5) {
            const int k = w[1].toInt();
            std::vector<double> &into = line[0] == 'i' ? out.rows : out.columns;
            if (k >= 1 && k < int(into.size()))
                into[k] = w[4].toDouble();
        }
    }
    return out;
}

// The engine's marginals of one programme against glpsol's; false when glpsol found no
// optimum or the engine's optimum is degenerate (the duals are then not unique).
bool compareWithGlpk(Selection &rec, const Subject &subject, const QString &glpsol,
                     const QString &dir, int *compared)
{
    subject.reset(rec);
    const std::optional<AssembledProgramme> assembled =
        assembleProgramme(rec, subject.useFullUse, noRelaxation(), subject.parameters.lossNorm);
    if (!assembled)
        return false;
    const QString mps = dir + QStringLiteral("/programme.mps");
    QString error;
    if (!lp::exportProgramme(assembled->programme, mps, lp::LpFormat::FreeMps, &error))
        return false;
    const int m = assembled->layout.rowCount(), n = rec.columnCount;
    const Solved ours = solve(rec, subject);
    if (!ours.optimal || ours.figures.degenerate)
        return false;
    const GlpkMarginals glpk = glpkMarginals(glpsol, mps, m, n);
    if (!glpk.optimal)
        return false;
    double scale = 1;
    for (int s = 1; s <= rec.rawCount; ++s)
        scale = std::max(scale, std::fabs(rec.rawContent[s][1]));
    for (int i = 1; i <= m; ++i)
        if (!(std::fabs(ours.duals[i] - glpk.rows[i]) <= 1e-7 * scale)) {
            qWarning("%s: row %d dual %.10g, glpsol %.10g", qPrintable(subject.name), i,
                     ours.duals[i], glpk.rows[i]);
            return *compared = -1, true;
        }
    for (int j = 1; j <= n; ++j)
        if (!(std::fabs(ours.reduced[j] - glpk.columns[j]) <= 1e-7 * scale)) {
            qWarning("%s: column %d reduced cost %.10g, glpsol %.10g", qPrintable(subject.name), j,
                     ours.reduced[j], glpk.columns[j]);
            return *compared = -1, true;
        }
    ++*compared;
    return true;
}

// The demo data, loaded by a run as the preparation window starts it; the programme of
// that run set up again from the record and the run's working values.
struct DemoSubject {
    roadtest::DemoData demo;
    Selection rec;
    RunResult run;
    Subject subject;

    bool load()
    {
        if (!demo.ok() || !demo.open())
            return false;
        run = demo.calculate(CalcMode::Cost);
        rec = run.selection;
        subject.name = QStringLiteral("demo data");
        subject.useFullUse = true;
        subject.parameters = CalcParameters::fromSettings(settings::currentSettings());
        const CalcWorkingValues working = run.working;
        const CalcParameters parameters = subject.parameters;
        // what a change may touch, as loaded
        const CharTable contents = rec.rawContent, normMin = rec.normMin, normMax = rec.normMax;
        const std::vector<double> stock = rec.rawStock;
        subject.reset = [=](Selection &r) {
            r.rawContent = contents;
            r.normMin = normMin;
            r.normMax = normMax;
            r.rawStock = stock;
            QStringList ignored;
            checkAttempt(r, working, parameters, true, ignored);
        };
        return run.outcome == RunOutcome::Solution;
    }
};

// Wheat (100 a tonne, 10 % protein), meal (400, 30 %; stock 4 t), peas (600, 30 %
// unless given): 10 t of feed with 20 % protein at least.
void threeRaws(CalcFixture &fx, double peasPrice = 600, double peasProtein = 30)
{
    fx.characteristic(QStringLiteral("Протеин"), QStringLiteral("%"));
    fx.raw(QStringLiteral("Пшеница")).content(kPrice, 100).content(kProtein, 10);
    fx.raw(QStringLiteral("Шрот")).content(kPrice, 400).content(kProtein, 30).withStock(4);
    fx.raw(QStringLiteral("Горох")).content(kPrice, peasPrice).content(kProtein, peasProtein);
    fx.feed(QStringLiteral("ПК-1"), QStringLiteral("Свиньи"), 10)
        .norm(kProtein, 20, 40)
        .limit(QStringLiteral("Пшеница"), 0, 100)
        .limit(QStringLiteral("Шрот"), 0, 100)
        .limit(QStringLiteral("Горох"), 0, 100);
}

RunResult runOn(CalcFixture &fx, const CalcParameters &parameters)
{
    RunOptions options;
    options.parameters = parameters;
    MessageObserver observer;
    return runCalculation(fx.open(), options, observer);
}

void compareEnd(const std::optional<double> &actual, const std::optional<double> &expected,
                const char *what)
{
    QVERIFY2(actual.has_value() == expected.has_value(), what);
    if (expected)
        QVERIFY2(near(*actual, *expected),
                 qPrintable(QStringLiteral("%1: %2 not %3").arg(what).arg(*actual).arg(*expected)));
}

using End = std::optional<double>;

} // namespace

class tst_sensitivity final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void byHand_data();
    void byHand();
    void priceLimitByHand();
    void alternativeOptimaByHand_data();
    void alternativeOptimaByHand();
    void noFiguresWithoutOptimum();
    void solveUnchangedByTheCopy();
    void agreesWithGlpk();
    void rangesHoldWhenTried();
    void demoDataRangesHold();

private:
    QString glpsol_;
};

void tst_sensitivity::initTestCase()
{
    glpsol_ = QStandardPaths::findExecutable(QStringLiteral("glpsol"));
}

void tst_sensitivity::byHand_data()
{
    QTest::addColumn<double>("lossNorm");
    QTest::newRow("no losses") << 0.0;
    QTest::newRow("2 % losses") << 2.0;
}

// 4 t of meal (less the losses) go in, peas make up the protein: one more unit of
// protein costs half a tonne of peas instead of wheat, 250 for 10 t; a tonne of meal
// replaces a tonne of peas, 200 less. Prices: wheat stays as long as it is cheaper than
// peas, meal as long as it is below peas, peas as long as they are dearer than meal.
void tst_sensitivity::byHand()
{
    QFETCH(double, lossNorm);
    CalcFixture fx;
    threeRaws(fx);
    CalcParameters parameters;
    parameters.lossNorm = lossNorm;
    const RunResult run = runOn(fx, parameters);
    QCOMPARE(run.outcome, RunOutcome::Solution);
    const Sensitivity &f = run.sensitivity;
    QVERIFY(f.held);
    QVERIFY(!f.degenerate);
    const double usable = 100 / (100 + lossNorm); // of one tonne of stock

    QCOMPARE(int(f.requirements.size()), 1);
    const RequirementFigure &protein = f.requirements[0];
    QCOMPARE(protein.feed, 1);
    QCOMPARE(protein.characteristic, kProtein);
    QCOMPARE(protein.name, QStringLiteral("Протеин"));
    QCOMPARE(protein.side, NormSide::Min);
    QVERIFY(near(protein.norm, 20));
    QVERIFY(near(protein.shadowPrice, 25));
    // peas to 0 at 10 + 2 × 4 × usable; wheat to 0 at 30
    compareEnd(protein.normFrom, 10 + 2 * 4 * usable, "norm from");
    compareEnd(protein.normTo, 30, "norm to");

    QCOMPARE(int(f.stock.size()), 1);
    const StockFigure &meal = f.stock[0];
    QCOMPARE(meal.raw, 2);
    QCOMPARE(meal.name, QStringLiteral("Шрот"));
    QVERIFY(near(meal.stock, 4));
    QVERIFY(near(meal.valuePerTonne, 200 * usable));
    compareEnd(meal.stockFrom, 0.0, "stock from");
    // peas to 0: meal and wheat give the protein, meal up to 5 t in the batch
    compareEnd(meal.stockTo, 5 / usable, "stock to");

    QCOMPARE(int(f.prices.size()), 3);
    compareEnd(f.prices[0].priceFrom, End(), "wheat from");
    compareEnd(f.prices[0].priceTo, 600.0, "wheat to");
    compareEnd(f.prices[1].priceFrom, End(), "meal from");
    compareEnd(f.prices[1].priceTo, 600.0, "meal to");
    compareEnd(f.prices[2].priceFrom, 400.0, "peas from");
    compareEnd(f.prices[2].priceTo, End(), "peas to");
    for (const PriceFigure &price : f.prices)
        QCOMPARE(price.feeds, std::vector<int>{1});
}

// A minimum selling price of 330 with 10 % tax and nothing else taken out is a raw cost
// of 300 a tonne: cheaper recipes exist, so the limit binds and costs 100/110 of a
// rouble per tonne for each rouble of the price. It holds from a cost of 250 (protein
// binds) to 400 (meal only), prices 275 to 440; a change of a used raw material's price
// moves the recipe along the limit at once.
void tst_sensitivity::priceLimitByHand()
{
    CalcFixture fx;
    fx.characteristic(QStringLiteral("Протеин"), QStringLiteral("%"));
    fx.raw(QStringLiteral("Пшеница")).content(kPrice, 100).content(kProtein, 10);
    fx.raw(QStringLiteral("Шрот")).content(kPrice, 400).content(kProtein, 30);
    fx.feed(QStringLiteral("ПК-1"), QStringLiteral("Свиньи"), 10)
        .withVat(10)
        .price(330, 0)
        .norm(kProtein, 20, 40)
        .limit(QStringLiteral("Пшеница"), 0, 100)
        .limit(QStringLiteral("Шрот"), 0, 100);
    const RunResult run = runOn(fx, {});
    QCOMPARE(run.outcome, RunOutcome::Solution);
    const Sensitivity &f = run.sensitivity;
    QCOMPARE(int(f.requirements.size()), 1);
    const RequirementFigure &price = f.requirements[0];
    QCOMPARE(price.characteristic, 1);
    QCOMPARE(price.side, NormSide::Min);
    QVERIFY(near(price.norm, 330));
    QVERIFY(near(price.shadowPrice, 100.0 / 110));
    compareEnd(price.normFrom, 275.0, "price from");
    compareEnd(price.normTo, 440.0, "price to");
    for (const PriceFigure &raw : f.prices) {
        compareEnd(raw.priceFrom, raw.price, "raw price from");
        compareEnd(raw.priceTo, raw.price, "raw price to");
    }
}

void tst_sensitivity::alternativeOptimaByHand_data()
{
    QTest::addColumn<double>("peasPrice");
    QTest::addColumn<double>("peasProtein");
    QTest::addColumn<bool>("alternatives");
    QTest::newRow("peas dearer per unit of protein") << 600.0 << 30.0 << false;
    QTest::newRow("peas at meal's price, less protein") << 400.0 << 20.0 << false;
    QTest::newRow("peas a twin of meal") << 400.0 << 30.0 << true;
    QTest::newRow("peas as cheap per unit of protein") << 250.0 << 20.0 << true;
}

// Other recipes of the same cost are told: a unit of protein over wheat's costs 15 in
// meal; peas at 250 with 20 % cost the same, so any mix of the two serves.
void tst_sensitivity::alternativeOptimaByHand()
{
    QFETCH(double, peasPrice);
    QFETCH(double, peasProtein);
    QFETCH(bool, alternatives);
    CalcFixture fx;
    threeRaws(fx, peasPrice, peasProtein);
    const RunResult run = runOn(fx, {});
    QCOMPARE(run.outcome, RunOutcome::Solution);
    QVERIFY(run.sensitivity.held);
    QCOMPARE(run.sensitivity.alternativeOptima, alternatives);
}

// No optimum, no figures: errors of the data, and a tableau of another programme.
void tst_sensitivity::noFiguresWithoutOptimum()
{
    CalcFixture fx;
    threeRaws(fx);
    fx.feed(QStringLiteral("ПК-2"), QStringLiteral("Без сырья"), 5);
    const RunResult run = runOn(fx, {});
    QCOMPARE(run.outcome, RunOutcome::Errors);
    QVERIFY(!run.sensitivity.held);

    FinalTableau tableau;
    QVERIFY(!sensitivityOf(tableau, run.selection, RowLayout(), noRelaxation(), {}).held);
}

// Taking the copy of the final tableau changes nothing of the solve: the same pivots,
// bit for bit the same amounts and cost.
void tst_sensitivity::solveUnchangedByTheCopy()
{
    auto selection = std::make_unique<Selection>();
    for (int seed = 1; seed <= 40; ++seed) {
        const Subject subject = randomSubject(seed);
        subject.reset(*selection);
        const std::optional<AssembledProgramme> assembled = assembleProgramme(
            *selection, subject.useFullUse, noRelaxation(), subject.parameters.lossNorm);
        QVERIFY(assembled);
        const lp::Solution plain = lp::solve(assembled->programme);
        FinalTableau tableau;
        const lp::Solution copied = lp::solve(assembled->programme, nullptr, &tableau);
        QCOMPARE(copied.stats.pivots, plain.stats.pivots);
        QCOMPARE(copied.stats.flips, plain.stats.flips);
        QCOMPARE(copied.failing, plain.failing);
        QCOMPARE(tableau.held(), plain.failing.label() == 0);
        QVERIFY(std::memcmp(&copied.cost, &plain.cost, sizeof(double)) == 0);
        QVERIFY(std::memcmp(copied.values.data(), plain.values.data(),
                            plain.values.size() * sizeof(double)) == 0);
    }
}

// Row duals and reduced costs as glpsol gives them, wherever the optimum is not
// degenerate (elsewhere they are one valid set of several).
void tst_sensitivity::agreesWithGlpk()
{
    if (glpsol_.isEmpty())
        QSKIP("glpsol (Debian package glpk-utils) is not installed");
    QTemporaryDir dir;
    auto rec = std::make_unique<Selection>();
    int compared = 0, seeds = 0;
    const int cases = qEnvironmentVariableIsSet("KP_SENSITIVITY_CASES") // longer, by hand
                          ? qEnvironmentVariableIntValue("KP_SENSITIVITY_CASES")
                          : 120;
    for (int seed = 1; seed <= cases && compared >= 0; ++seed, ++seeds)
        compareWithGlpk(*rec, randomSubject(seed), glpsol_, dir.path(), &compared);
    QVERIFY2(compared >= 0, "a dual differs from glpsol's");
    DemoSubject demo;
    QVERIFY(demo.load());
    int demoCompared = 0;
    const bool demoDone =
        compareWithGlpk(demo.rec, demo.subject, glpsol_, dir.path(), &demoCompared);
    QVERIFY2(demoCompared >= 0, "a dual of the demo data differs from glpsol's");
    qInfo("%d of %d random programmes compared with glpsol (the others degenerate or "
          "without a recipe); demo data %s",
          compared, seeds, demoDone ? "compared" : "degenerate, not compared");
    QVERIFY(compared >= 20);
}

void tst_sensitivity::rangesHoldWhenTried()
{
    auto rec = std::make_unique<Selection>();
    Tally tally;
    int tried = 0;
    const int seeds = qEnvironmentVariableIsSet("KP_SENSITIVITY_CASES")
                          ? qEnvironmentVariableIntValue("KP_SENSITIVITY_CASES")
                          : 60;
    for (const bool ties : {false, true})
        for (int seed = 1; seed <= seeds; ++seed) {
            const Subject subject = randomSubject(seed, ties);
            const Solved base = solve(*rec, subject);
            if (!base.optimal)
                continue;
            tryRanges(*rec, subject, base, tally);
            if (QTest::currentTestFailed())
                return;
            ++tried;
        }
    qInfo("%d programmes: %d prices moved inside (%d changed a recipe of the same cost), "
          "%d past an end, %d norms, %d stocks",
          tried, tally.prices, tally.switched, tally.pastEnds, tally.norms, tally.stocks);
    QVERIFY(tried >= 10);
    QVERIFY(tally.norms > 0 && tally.stocks > 0 && tally.pastEnds > 0 && tally.switched > 0);
}

void tst_sensitivity::demoDataRangesHold()
{
    DemoSubject demo;
    QVERIFY(demo.load());
    const Solved base = solve(demo.rec, demo.subject);
    QVERIFY(base.optimal);
    QVERIFY(!base.figures.requirements.empty());
    Tally tally;
    tryRanges(demo.rec, demo.subject, base, tally);
    qInfo("demo data (%s): %d prices moved inside, %d past an end, %d norms, %d stocks",
          base.figures.degenerate ? "degenerate" : "not degenerate", tally.prices, tally.pastEnds,
          tally.norms, tally.stocks);
    QVERIFY(tally.prices > 0 && tally.norms > 0);
}

QTEST_GUILESS_MAIN(tst_sensitivity)
#include "tst_sensitivity.moc"
