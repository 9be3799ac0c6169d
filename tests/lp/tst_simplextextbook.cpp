// The textbook rules against the method's own rules: the same optimum on named and on
// random programmes, the same verdict and failing row where there is no recipe, and the
// choice of rules by size.
//
// The failing row under the textbook rules: once no column can lower the sum of the
// rows' infeasibilities any further, the lowest-numbered programme row whose activity
// lies outside its bounds at the point reached.

#include "tinyprogramme.h"

#include "lp/finaltableau.h"
#include "lp/simplex.h"

#include <QTest>

#include <cmath>
#include <random>

using namespace lp;
using namespace lptest;

Q_DECLARE_METATYPE(lptest::TinyProgramme)

namespace
{

Solution solveBy(const Programme &p, Rules rules, bool full = true)
{
    SolverLimits limits;
    limits.rules = rules;
    return full ? solve(p, nullptr, nullptr, limits) : checkFeasibility(p, limits);
}

// The lowest-numbered row whose activity lies outside its bounds; 0 when none.
int firstRowOutside(const Programme &p, const Solution &s)
{
    for (RowIndex i(1); i.number() <= p.rowCount(); ++i)
        if (s.activity(i) < p.rowLower(i) || s.activity(i) > p.rowUpper(i))
            return i.number();
    return 0;
}

// A random programme around a hidden point within every bound, so that it has a
// recipe; small whole coefficients and equal bounds make it degenerate.
Programme randomProgramme(std::mt19937 &random, int m, int n)
{
    std::uniform_int_distribution<int> coefficient(-2, 3), cost(-5, 9), width(0, 3);
    std::vector<double> hidden(std::size_t(n) + 1);
    Programme p;
    for (int j = 1; j <= n; ++j) {
        hidden[std::size_t(j)] = width(random);
        p.addColumn(0, hidden[std::size_t(j)] + width(random), cost(random));
    }
    for (int i = 1; i <= m; ++i) {
        std::vector<double> a(std::size_t(n) + 1);
        double activity = 0;
        for (int j = 1; j <= n; ++j) {
            a[std::size_t(j)] = random() % 3 == 0 ? coefficient(random) : 0;
            activity += a[std::size_t(j)] * hidden[std::size_t(j)];
        }
        const int slack = width(random);
        p.addRow(activity - (slack == 0 ? 0 : slack + 1), activity + (slack == 0 ? 0 : slack));
        for (int j = 1; j <= n; ++j)
            p.addEntry(ColIndex(j), a[std::size_t(j)]);
    }
    return p;
}

} // namespace

class TestSimplexTextbook : public QObject
{
    Q_OBJECT

private slots:
    void sameOptimum_data();
    void sameOptimum();
    void randomProgrammesAgree();
    void rulesBySize();
    void rulesByName();
};

void TestSimplexTextbook::sameOptimum_data()
{
    QTest::addColumn<TinyProgramme>("programme");
    QTest::addColumn<int>("status");
    QTest::addColumn<double>("cost");

    QTest::newRow("degenerate-ratio-ties")
        << TinyProgramme{{{0, 4, {1, 1, 0}}, {0, 4, {1, 0, 1}}, {0, 4, {1, 1, 1}}},
                         {{0, 4, -3}, {0, 4, -2}, {0, 4, -2}}}
        << 0 << -12.0;
    QTest::newRow("degenerate-vertex-many-rows") << TinyProgramme{{{0, 0, {1, -1, 0}},
                                                                   {0, 0, {0, 1, -1}},
                                                                   {3, 3, {1, 1, 1}},
                                                                   {0, 1, {1, 0, 0}}},
                                                                  {{0, 5, 1}, {0, 5, 2}, {0, 5, 3}}}
                                                 << 0 << 6.0;
    QTest::newRow("flip-only") << TinyProgramme{{{-5, 5, {1}}}, {{0, 2, -1}}} << 0 << -2.0;
    QTest::newRow("flips-then-pivot")
        << TinyProgramme{{{6, 7, {1, 1, 1}}}, {{0, 2, 1}, {0, 2, 2}, {0, 4, 3}}} << 0 << 12.0;
    QTest::newRow("small-diet") << TinyProgramme{{{10, 10, {1, 1}}, {2, 3, {0.1, 0.4}}},
                                                 {{0, 10, 2}, {0, 10, 3}}}
                                << 0 << 70.0 / 3;
    QTest::newRow("fixed-inclusions-off-by-rounding")
        << TinyProgramme{{{111.411, 111.411, {1, 1}}},
                         {{0, 0, 4000}, {100 * (111.411 / 100), 100 * (111.411 / 100), 2000}}}
        << 0 << 2000 * 111.41099999999999;
    // x1 reaches 3 of the 5 row 2 asks for: row 2 fails whatever x2 does
    QTest::newRow("second-row-fails-after-flip")
        << TinyProgramme{{{0, 10, {1, 1}}, {5, 6, {1, 0}}, {1, 2, {0, 1}}}, {{0, 3, 1}, {0, 3, 1}}}
        << -2 << 0.0;
    QTest::newRow("first-row-out-of-reach")
        << TinyProgramme{{{2, 3, {1}}}, {{0, 1, 1}}} << -1 << 0.0;
}

// Both rules reach the same verdict and cost (the failing row by the definition above),
// every amount within its bounds when there is a recipe; the feasibility check agrees.
void TestSimplexTextbook::sameOptimum()
{
    QFETCH(TinyProgramme, programme);
    QFETCH(int, status);
    QFETCH(double, cost);
    const Programme p = programmeOf(programme);
    FinalTableau tableau;
    SolverLimits limits;
    limits.rules = Rules::Textbook;
    const Solution textbook = solve(p, nullptr, &tableau, limits);
    const Solution described = solveBy(p, Rules::Described);
    QCOMPARE(textbook.error, SolveError::None);
    QCOMPARE(textbook.failing.label(), status);
    QCOMPARE(described.failing.label(), status);
    QCOMPARE(solveBy(p, Rules::Textbook, false).failing.label(), status);
    QCOMPARE(textbook.stats.cycleBreaks, 0);
    if (status != 0) {
        QCOMPARE(-firstRowOutside(p, textbook), status);
        QVERIFY(!tableau.held());
        return;
    }
    QVERIFY(tableau.held());
    QVERIFY(std::fabs(textbook.cost - cost) <= 1e-9 * std::max(1.0, std::fabs(cost)));
    QVERIFY(std::fabs(described.cost - cost) <= 1e-9 * std::max(1.0, std::fabs(cost)));
    QVERIFY(worstViolation(p, textbook.values) <= 1e-9);
}

// Random programmes with a recipe: the same optimum by both rules, every amount within
// its bounds, and in all less than half the steps by the textbook rules.
void TestSimplexTextbook::randomProgrammesAgree()
{
    std::mt19937 random(20240601);
    std::int64_t stepsDescribed = 0;
    std::int64_t stepsTextbook = 0;
    for (int round = 0; round < 40; ++round) {
        const Programme p = randomProgramme(random, 12 + round, 15 + round / 2);
        const Solution described = solveBy(p, Rules::Described);
        const Solution textbook = solveBy(p, Rules::Textbook);
        QVERIFY2(described.optimal() && textbook.optimal(), qPrintable(QString::number(round)));
        QVERIFY2(std::fabs(textbook.cost - described.cost) <=
                     1e-9 * std::max(1.0, std::fabs(described.cost)),
                 qPrintable(QStringLiteral("%1: %2 against %3")
                                .arg(round)
                                .arg(textbook.cost, 0, 'g', 17)
                                .arg(described.cost, 0, 'g', 17)));
        QVERIFY(worstViolation(p, textbook.values) <= 1e-9);
        QVERIFY(solveBy(p, Rules::Textbook, false).optimal());
        stepsDescribed += described.stats.pivots + described.stats.flips;
        stepsTextbook += textbook.stats.pivots + textbook.stats.flips;
    }
    QVERIFY(2 * stepsTextbook < stepsDescribed);
}

void TestSimplexTextbook::rulesBySize()
{
    Programme small;
    Programme large;
    for (int j = 0; j < 600; ++j) {
        small.addColumn(0, 1, 1);
        large.addColumn(0, 1, 1);
    }
    for (int i = 0; i < 505; ++i) // 15 feed types × 40 raw materials × 30 characteristics
        small.addRow(0, 1);
    for (int i = 0; i < 506; ++i)
        large.addRow(0, 1);
    QCOMPARE(rulesFor(small, Rules::Automatic), Rules::Described);
    QCOMPARE(rulesFor(large, Rules::Automatic), Rules::Textbook);
    QCOMPARE(rulesFor(large, Rules::Described), Rules::Described);
    QCOMPARE(rulesFor(small, Rules::Textbook), Rules::Textbook);
}

void TestSimplexTextbook::rulesByName()
{
    for (const Rules rules : {Rules::Described, Rules::Textbook, Rules::Automatic})
        QCOMPARE(rulesNamed(rulesName(rules)), std::optional<Rules>(rules));
    QCOMPARE(rulesName(Rules::Automatic), QStringLiteral("auto"));
    QVERIFY(!rulesNamed(u"Textbook"));
    QVERIFY(!rulesNamed(u""));
}

QTEST_APPLESS_MAIN(TestSimplexTextbook)
#include "tst_simplextextbook.moc"
