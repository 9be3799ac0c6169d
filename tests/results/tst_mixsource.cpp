// Reading a mix from the demo data's tables: the lines with their own contents and the
// window's inputs of the mode, the characteristics list, the chosen product's norms and
// marks.

#include "demodatafixture.h"
#include "rawmaterialvalue.h"
#include "results/mixsource.h"

#include <QTest>

using results::MixMode;

Q_DECLARE_METATYPE(results::MixMode)

namespace
{

// The raw material called name's key (the whole list searched); -1 when there is none.
int kodsOf(store::Table &sir, const QString &name)
{
    return int(roadtest::rawMaterialValue(sir, name, QStringLiteral("kods")));
}

const QString kWheat = QStringLiteral("Пшеница фуражная");
const QString kBroilerPremix = QStringLiteral("Премикс П5-1 1% (бройлеры)");
const QString kLayerPremix = QStringLiteral("Премикс П1-1 1% (несушки)");
const QString kRye = QStringLiteral("Рожь"); // not selected for calculation

} // namespace

class TestMixSource final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void linesKeepTheirOwnContents_data();
    void linesKeepTheirOwnContents();
    void characteristicsInListOrder();
    void productNormsMarkEveryNormButThePrice();

private:
    std::unique_ptr<roadtest::DemoData> demo_;
    store::DataModule *dm_ = nullptr;
};

void TestMixSource::init()
{
    demo_ = std::make_unique<roadtest::DemoData>();
    QVERIFY(demo_->ok());
    dm_ = demo_->open();
    QVERIFY(dm_);
}

void TestMixSource::cleanup()
{
    demo_.reset();
    dm_ = nullptr;
}

// Each line carries the contents of its own raw material: two premixes differ.
void TestMixSource::linesKeepTheirOwnContents_data()
{
    QTest::addColumn<MixMode>("mode");
    QTest::newRow("percent") << MixMode::Percent;
    QTest::newRow("mass") << MixMode::Mass;
}

void TestMixSource::linesKeepTheirOwnContents()
{
    QFETCH(MixMode, mode);
    store::Table &sir = dm_->rawMaterials;
    sir.setFilter(QStringLiteral("ot='+'"));
    sir.setFiltered(true);
    const MixMode other = mode == MixMode::Percent ? MixMode::Mass : MixMode::Percent;
    results::MixInputs inputs;
    inputs.setInput(kodsOf(sir, kWheat), mode, 98);
    inputs.setInput(kodsOf(sir, kBroilerPremix), mode, 1);
    inputs.setInput(kodsOf(sir, kLayerPremix), mode, 1);
    inputs.setInput(kodsOf(sir, kBroilerPremix), other, 7); // the other mode's input
    inputs.setInput(kodsOf(sir, kRye), mode, 5);            // not listed
    sir.first();
    sir.next();
    const int order = sir.integer(QStringLiteral("order"));
    const QList<results::MixLine> lines = results::readMixLines(sir, inputs, mode);
    QCOMPARE(sir.integer(QStringLiteral("order")), order);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0].name.trimmed(), kWheat);
    QVERIFY(!lines[0].premix);
    QCOMPARE(lines[0].input, 98.0);
    QCOMPARE(lines[0].price, 15000.0);
    QCOMPARE(lines[1].name.trimmed(), kBroilerPremix);
    QVERIFY(lines[1].premix && lines[2].premix);
    QCOMPARE(lines[1].content(21), 1300.0); // vitamin A of each premix
    QCOMPARE(lines[2].content(21), 1100.0);
    QCOMPARE(lines[2].content(1), 160000.0);
    QCOMPARE(lines[2].content(99), 0.0);
}

void TestMixSource::characteristicsInListOrder()
{
    const QList<results::MixCharacteristic> rows =
        results::readMixCharacteristics(dm_->characteristics);
    QCOMPARE(rows.size(), dm_->pitCount());
    QCOMPARE(rows[0].key, 1);
    QCOMPARE(rows[0].name, QStringLiteral("Цена"));
    QCOMPARE(rows[5].name, QStringLiteral("Сырой протеин"));
    QCOMPARE(rows[5].unit, QStringLiteral("%"));
    QCOMPARE(rows[5].key, 6);
}

// ПК-5 has a maximum price and norms for energy, moisture, protein...: all marked
// but the price row.
void TestMixSource::productNormsMarkEveryNormButThePrice()
{
    const QList<results::MixCharacteristic> rows =
        results::readMixCharacteristics(dm_->characteristics);
    store::Table &kk = dm_->feedTypes;
    kk.first();
    QCOMPARE(kk.text(QStringLiteral("tip")), QStringLiteral("ПК-5"));
    const results::ProductNorms product = results::readProductNorms(kk, rows);
    QCOMPARE(product.type, QStringLiteral("ПК-5"));
    QVERIFY(product.purpose.startsWith(QStringLiteral("Для Полнорационный")));
    QCOMPARE(product.standard, QStringLiteral("ГОСТ 18221-2018"));
    QCOMPARE(product.norms.size(), rows.size());
    QCOMPARE(product.norms[0], std::make_pair(0.0, 56000.0));
    QVERIFY(!product.marked(0));
    for (int m = 1; m < rows.size(); ++m) {
        const bool hasNorm = product.norms[m].first != 0 || product.norms[m].second != 0;
        QCOMPARE(product.marked(m), hasNorm);
    }
    QVERIFY(product.marked(1));  // ОЭ птицы 12.55 .. 13.1
    QVERIFY(!product.marked(2)); // ОЭ свиней: no norm
}

QTEST_MAIN(TestMixSource)
#include "tst_mixsource.moc"
