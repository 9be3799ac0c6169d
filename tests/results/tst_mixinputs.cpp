// The mix window's inputs: one per raw material and mode, kept with three decimals, and
// an input of 0 is none.

#include "results/mixinputs.h"

#include <QTest>

using results::MixMode;

class TestMixInputs final : public QObject
{
    Q_OBJECT

private slots:
    void keptPerModeWithThreeDecimals_data();
    void keptPerModeWithThreeDecimals();
};

void TestMixInputs::keptPerModeWithThreeDecimals_data()
{
    QTest::addColumn<double>("typed");
    QTest::addColumn<double>("kept");
    QTest::newRow("whole") << 40.0 << 40.0;
    QTest::newRow("three decimals") << 39.997 << 39.997;
    QTest::newRow("fourth decimal rounded") << 33.33372 << 33.334;
    QTest::newRow("below a thousandth is none") << 0.0004 << 0.0;
    QTest::newRow("negative kept, refused by the computation") << -5.0 << -5.0;
}

void TestMixInputs::keptPerModeWithThreeDecimals()
{
    QFETCH(double, typed);
    QFETCH(double, kept);
    results::MixInputs inputs;
    inputs.setInput(12, MixMode::Mass, 7);
    inputs.setInput(12, MixMode::Percent, typed);
    QCOMPARE(inputs.input(12, MixMode::Percent), kept);
    QCOMPARE(inputs.input(12, MixMode::Mass), 7.0);
    QCOMPARE(inputs.input(13, MixMode::Percent), 0.0);
    inputs.setInput(12, MixMode::Mass, 0);
    QCOMPARE(inputs.input(12, MixMode::Mass), 0.0);
    QCOMPARE(inputs.input(12, MixMode::Percent), kept);
    inputs.clear();
    QCOMPARE(inputs.input(12, MixMode::Percent), 0.0);
}

QTEST_APPLESS_MAIN(TestMixInputs)
#include "tst_mixinputs.moc"
