// Reading a mix from the demo data's tables: the lines with their own contents, the
// characteristics list, the chosen product's norms and marks, and the inputs the mix
// window zeroes at its start and keeps while the feed types window borrows MANOR.

#include "demodatafixture.h"
#include "rawmaterialvalue.h"
#include "results/mixsource.h"
#include "store/normroutines.h"

#include <QTest>

using results::MixMode;

Q_DECLARE_METATYPE(results::MixMode)

namespace
{

// Puts value into field of the raw material called name (the whole list searched).
bool setInput(store::Table &sir, const QString &name, const QString &field, double value)
{
    const bool filtered = sir.filtered();
    sir.setFiltered(false);
    bool found = false;
    for (sir.first(); !sir.eof() && !found; sir.next()) {
        if (sir.text(QStringLiteral("NAIM")).trimmed() == name) {
            sir.setNumber(field, value);
            sir.post();
            found = true;
        }
    }
    sir.setFiltered(filtered);
    return found;
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
    void inputsZeroedEverywhereAndSelectionListed();
    void linesKeepTheirOwnContents_data();
    void linesKeepTheirOwnContents();
    void characteristicsInListOrder();
    void productNormsMarkEveryNormButThePrice();
    void inputsSurviveTheFeedTypesWindowsLimits();

private:
    std::unique_ptr<roadtest::DemoData> demo_;
    store::TDataModule2 *dm_ = nullptr;
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

// Every record's MANOR and VES become 0, also of raw materials not selected; then only
// the selected ones are listed.
void TestMixSource::inputsZeroedEverywhereAndSelectionListed()
{
    store::Table &sir = dm_->Table3;
    QVERIFY(roadtest::rawMaterialValue(sir, kWheat, QStringLiteral("VES")) > 0);
    QVERIFY(setInput(sir, kRye, QStringLiteral("MANOR"), 7));
    sir.setFilter(QStringLiteral("vibor='+'"));
    results::resetMixInputs(sir);
    QCOMPARE(sir.filter(), QStringLiteral("ot='+'"));
    QVERIFY(sir.filtered());
    QCOMPARE(sir.viewPosition(), 0);
    for (const QString &field : {QStringLiteral("MANOR"), QStringLiteral("VES")}) {
        QCOMPARE(roadtest::rawMaterialValue(sir, kWheat, field), 0.0);
        QCOMPARE(roadtest::rawMaterialValue(sir, kRye, field), 0.0);
    }
    for (sir.first(); !sir.eof(); sir.next())
        QCOMPARE(sir.text(QStringLiteral("ot")), QStringLiteral("+"));
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
    store::Table &sir = dm_->Table3;
    results::resetMixInputs(sir);
    const QString field = results::mixInputField(mode);
    QVERIFY(setInput(sir, kWheat, field, 98));
    QVERIFY(setInput(sir, kBroilerPremix, field, 1));
    QVERIFY(setInput(sir, kLayerPremix, field, 1));
    sir.first();
    sir.next();
    const int order = sir.integer(QStringLiteral("order"));
    const QList<results::MixLine> lines = results::readMixLines(sir, mode);
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
    const QList<results::MixCharacteristic> rows = results::readMixCharacteristics(dm_->Table1);
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
    const QList<results::MixCharacteristic> rows = results::readMixCharacteristics(dm_->Table1);
    store::Table &kk = dm_->Table2;
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

// LoadNorms (what the feed types window does when it opens) overwrites MANOR with
// inclusion limits; the saved inputs put the mix back, and norm keeps its limits.
void TestMixSource::inputsSurviveTheFeedTypesWindowsLimits()
{
    store::Table &sir = dm_->Table3;
    results::resetMixInputs(sir);
    QVERIFY(setInput(sir, kWheat, QStringLiteral("MANOR"), 60));
    QVERIFY(setInput(sir, kRye, QStringLiteral("VES"), 2.5));
    const results::MixInputs saved = results::saveMixInputs(sir);
    QVERIFY(sir.filtered());
    store::LoadNorms(*dm_, nullptr);
    const double limit = roadtest::rawMaterialValue(sir, kWheat, QStringLiteral("MANOR"));
    QVERIFY(limit > 0 && limit != 60); // the wheat limit of the current feed type
    store::SaveNorms(*dm_);
    results::restoreMixInputs(sir, saved);
    QVERIFY(sir.filtered());
    QCOMPARE(roadtest::rawMaterialValue(sir, kWheat, QStringLiteral("MANOR")), 60.0);
    QCOMPARE(roadtest::rawMaterialValue(sir, kRye, QStringLiteral("VES")), 2.5);
    QCOMPARE(roadtest::rawMaterialValue(sir, QStringLiteral("Кукуруза"), QStringLiteral("MANOR")),
             0.0);
    store::LoadNorms(*dm_, nullptr);
    QCOMPARE(roadtest::rawMaterialValue(sir, kWheat, QStringLiteral("MANOR")), limit);
}

QTEST_MAIN(TestMixSource)
#include "tst_mixsource.moc"
