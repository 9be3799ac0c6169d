// Writing a hand-composed mix into the archive: each premix's own contents, the name
// with the number and form letter cut to four characters, the head row, the raw and
// characteristic lines with what is left out, and a refusal that uses up no number.

#include "archive/archivetables.h"
#include "archive/mixarchivewriter.h"
#include "settings/settings.h"
#include "store/table.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

using archive::MixRecipe;
using store::Table;

namespace
{

const QDate kWorkingDate(2026, 3, 5);

// Rows: the price, vitamin A, a "*" row, protein, calcium (not marked).
MixRecipe sampleMix()
{
    MixRecipe r;
    r.product = QStringLiteral("ПК-5-20996-");
    r.standard = QStringLiteral(" ГОСТ 18221-2018 ");
    r.purpose = QStringLiteral("Для цыплят-бройлеров ");
    r.note = QStringLiteral(" опыт ");
    r.volume = 20;
    r.taxRate = 10;
    r.formLetter = QStringLiteral("Г");
    r.characteristics = {
        {QStringLiteral("Цена"), QStringLiteral("руб/т"), 0, 56000, 15445, true},
        {QStringLiteral("Витамин A"), QStringLiteral("тыс.МЕ/кг"), 10, 0, 24, true},
        {QStringLiteral("*Служебная"), QStringLiteral("%"), 0, 0, 1, true},
        {QStringLiteral("Сырой протеин"), QStringLiteral("%"), 22, 23.5, 12.01, true},
        {QStringLiteral("Кальций"), QStringLiteral("%"), 0.95, 1.1, 0.07, false}};
    // contents per row: price, vitamin A, *, protein, calcium
    r.lines = {
        {QStringLiteral("Пшеница фуражная"), 98, 15000, false, {15000, 0, 0, 13.4, 0.05}},
        {QStringLiteral("Премикс П5-1 1% (бройлеры)"), 1, 180000, true, {180000, 1300, 0, 8, 2}},
        {QStringLiteral("Премикс П1-1 1% (несушки)"), 1, 160000, true, {160000, 1100, 0, 8, 0}}};
    return r;
}

settings::Settings mixSettings()
{
    settings::Settings s;
    s.lossNorm = 0.5;
    s.productionCosts = 1200;
    s.profitability = 10;
    s.granulationSurcharge = 300;
    s.roundSellingPrice = true;
    return s;
}

} // namespace

class TestMixArchiveWriter final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void eachPremixBringsItsOwnContents();
    void numberAndLetterCutToFour_data();
    void numberAndLetterCutToFour();
    void headRow();
    void rawAndCharacteristicLines();
    void mixWithoutPremixWritesNoPremixRows();
    void refusalUsesUpNoNumber();

private:
    void openCursors(int arhnom);
    archive::ArchiveCursors cursors() const
    {
        return {order_.get(), arkk_.get(), arsir_.get(), arpit_.get(), arprem_.get()};
    }
    archive::ArchiveWriteResult write(const MixRecipe &recipe)
    {
        return archive::writeMixToArchive(cursors(), recipe, mixSettings(), kWorkingDate);
    }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Table> order_, arkk_, arsir_, arpit_, arprem_;
};

void TestMixArchiveWriter::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    archive::createArchiveTables(dir_->path());
    Table order;
    order.setFileName(dir_->filePath(QStringLiteral("order.dbf")));
    order.create(
        {{"pit", 'N', 3, 0}, {"KK", 'N', 4, 0}, {"sir", 'N', 4, 0}, {"arhnom", 'N', 5, 0}});
    openCursors(6);
}

void TestMixArchiveWriter::cleanup()
{
    for (std::unique_ptr<Table> *t : {&order_, &arkk_, &arsir_, &arpit_, &arprem_})
        t->reset();
    dir_.reset();
}

void TestMixArchiveWriter::openCursors(int arhnom)
{
    const auto open = [this](std::unique_ptr<Table> &t, const char *file) {
        t = std::make_unique<Table>();
        t->setFileName(dir_->filePath(QString::fromLatin1(file)));
        t->open();
    };
    open(order_, "order.dbf");
    order_->append();
    order_->setValue(QStringLiteral("arhnom"), arhnom);
    order_->post();
    open(arkk_, "arkk.dbf");
    open(arsir_, "arsir.dbf");
    open(arpit_, "arpit.dbf");
    open(arprem_, "arprem.dbf");
}

// Two premixes: each line's vitamin A is its own content × its share, not the
// contents of the premix read last.
void TestMixArchiveWriter::eachPremixBringsItsOwnContents()
{
    const archive::ArchiveWriteResult result = write(sampleMix());
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(result.number, 7);
    QList<std::tuple<QString, QString, double>> rows;
    for (arprem_->first(); !arprem_->eof(); arprem_->next()) {
        QCOMPARE(arprem_->integer(QStringLiteral("arnom")), 7);
        rows.append({arprem_->text(QStringLiteral("pit")), arprem_->text(QStringLiteral("ediz")),
                     arprem_->number(QStringLiteral("ra"))});
    }
    const QList<std::tuple<QString, QString, double>> expected = {
        {QStringLiteral("Витамин A"), QStringLiteral("тыс.МЕ/кг"), 13},
        {QStringLiteral("Сырой протеин"), QStringLiteral("%"), 0.08},
        {QStringLiteral("Кальций"), QStringLiteral("%"), 0.02},
        {QStringLiteral("Витамин A"), QStringLiteral("тыс.МЕ/кг"), 11},
        {QStringLiteral("Сырой протеин"), QStringLiteral("%"), 0.08}};
    QCOMPARE(rows, expected);
}

void TestMixArchiveWriter::numberAndLetterCutToFour_data()
{
    QTest::addColumn<int>("lastNumber");
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("123 granules") << 122 << QStringLiteral("Г") << QStringLiteral("123Г");
    QTest::newRow("1234 granules") << 1233 << QStringLiteral("Г") << QStringLiteral("1234");
    QTest::newRow("9999 crumbs") << 9998 << QStringLiteral("К") << QStringLiteral("9999");
    QTest::newRow("wrap to 1") << 9999 << QStringLiteral("К") << QStringLiteral("1К");
    QTest::newRow("loose") << 41 << QString() << QStringLiteral("42");
}

// The name is the product text followed directly by the cut text; gk keeps its letter.
void TestMixArchiveWriter::numberAndLetterCutToFour()
{
    QFETCH(int, lastNumber);
    QFETCH(QString, letter);
    QFETCH(QString, suffix);
    order_->setValue(QStringLiteral("arhnom"), lastNumber);
    order_->post();
    MixRecipe recipe = sampleMix();
    recipe.formLetter = letter;
    const archive::ArchiveWriteResult result = write(recipe);
    QVERIFY2(result.ok(), qPrintable(result.error));
    QCOMPARE(archive::mixNumberText(result.number, letter), suffix);
    arkk_->first();
    QCOMPARE(arkk_->text(QStringLiteral("naim")), QStringLiteral("ПК-5-20996-") + suffix);
    QCOMPARE(arkk_->text(QStringLiteral("gk")), letter);
    QCOMPARE(arkk_->number(QStringLiteral("gran")), letter.isEmpty() ? 0.0 : 300.0);
}

void TestMixArchiveWriter::headRow()
{
    QVERIFY(write(sampleMix()).ok());
    arkk_->first();
    QCOMPARE(arkk_->viewCount(), 1);
    QCOMPARE(arkk_->integer(QStringLiteral("arnom")), 7);
    QCOMPARE(arkk_->text(QStringLiteral("data")), QStringLiteral("05.03.2026"));
    QCOMPARE(arkk_->text(QStringLiteral("gost")), QStringLiteral("ГОСТ 18221-2018"));
    QCOMPARE(arkk_->text(QStringLiteral("nasn")), QStringLiteral("Для цыплят-бройлеров"));
    QCOMPARE(arkk_->text(QStringLiteral("prim")), QStringLiteral("опыт"));
    QCOMPARE(arkk_->number(QStringLiteral("ves")), 20.0);
    QCOMPARE(arkk_->number(QStringLiteral("nds")), 10.0);
    QCOMPARE(arkk_->number(QStringLiteral("izder")), 1200.0);
    QCOMPARE(arkk_->number(QStringLiteral("procprib")), 10.0);
    QCOMPARE(arkk_->number(QStringLiteral("procpot")), 0.5);
    QCOMPARE(arkk_->logical(QStringLiteral("kn1")), false);
    QCOMPARE(arkk_->logical(QStringLiteral("kn3")), false);
    QCOMPARE(arkk_->logical(QStringLiteral("kn5")), true);
    QVERIFY(arkk_->isBlank(QStringLiteral("vibor")));
}

// Every mix line; characteristics marked, after the price row, not starting with "*".
void TestMixArchiveWriter::rawAndCharacteristicLines()
{
    QVERIFY(write(sampleMix()).ok());
    QCOMPARE(arsir_->viewCount(), 3);
    arsir_->first();
    arsir_->next();
    QCOMPARE(arsir_->text(QStringLiteral("naim")), QStringLiteral("Премикс П5-1 1% (бройлеры)"));
    QCOMPARE(arsir_->number(QStringLiteral("procin")), 1.0);
    QCOMPARE(arsir_->number(QStringLiteral("price")), 180000.0);
    QCOMPARE(arsir_->number(QStringLiteral("pricein")), 1800.0);
    QVERIFY(arsir_->isBlank(QStringLiteral("ves")));
    QStringList names;
    for (arpit_->first(); !arpit_->eof(); arpit_->next())
        names.append(arpit_->text(QStringLiteral("pit")));
    QCOMPARE(names, (QStringList{QStringLiteral("Витамин A"), QStringLiteral("Сырой протеин")}));
    arpit_->last();
    QCOMPARE(arpit_->number(QStringLiteral("mi")), 22.0);
    QCOMPARE(arpit_->number(QStringLiteral("ma")), 23.5);
    QCOMPARE(arpit_->number(QStringLiteral("fa")), 12.01);
    QCOMPARE(arpit_->number(QStringLiteral("ra")), 12.01);
}

void TestMixArchiveWriter::mixWithoutPremixWritesNoPremixRows()
{
    MixRecipe recipe = sampleMix();
    recipe.lines.removeLast();
    recipe.lines.removeLast();
    recipe.lines[0].percent = 100;
    QVERIFY(write(recipe).ok());
    QCOMPARE(arprem_->viewCount(), 0);
    QCOMPARE(arsir_->viewCount(), 1);
    QCOMPARE(arkk_->viewCount(), 1);
}

// A name too long for arkk is refused before a number is given out.
void TestMixArchiveWriter::refusalUsesUpNoNumber()
{
    MixRecipe recipe = sampleMix();
    recipe.product = QString(58, QChar(u'Ж')) + QStringLiteral("-1-");
    const archive::ArchiveWriteResult result = write(recipe);
    QVERIFY(!result.ok());
    QVERIFY2(result.error.startsWith(QStringLiteral("Рецепт не записан в архив")),
             qPrintable(result.error));
    QCOMPARE(result.number, 0);
    order_->first();
    QCOMPARE(order_->integer(QStringLiteral("arhnom")), 6);
    QCOMPARE(arkk_->viewCount(), 0);
    QCOMPARE(arsir_->viewCount(), 0);
}

QTEST_APPLESS_MAIN(TestMixArchiveWriter)
#include "tst_mixarchivewriter.moc"
