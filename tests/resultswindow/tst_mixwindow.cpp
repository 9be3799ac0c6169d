// The mix characteristics window over the demo data: its start, the computation in both
// modes with the locks it sets, the filler, the product choice (which must not lose the
// typed inputs), the archive write with its label, printing, and its close, after which
// sir.dbf holds no trace of the inputs.

#include "listswindow/typingfixture.h"
#include "namedchild.h"
#include "results/demodatafixture.h"
#include "results/rawmaterialvalue.h"
#include "results/window/mixwindow.h"
#include "store/normroutines.h"
#include "widgets/tablegrid.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

using results::MixMode;
using results::MixWindow;
using results::ProductForm;

Q_DECLARE_METATYPE(results::MixMode)
Q_DECLARE_METATYPE(results::ProductForm)

namespace
{

const QString kWheat = QStringLiteral("Пшеница фуражная");
const QString kCorn = QStringLiteral("Кукуруза");
const QString kBarley = QStringLiteral("Ячмень");
const QString kPeas = QStringLiteral("Горох");
const QString kBran = QStringLiteral("Отруби пшеничные");
const QString kBroilerPremix = QStringLiteral("Премикс П5-1 1% (бройлеры)");
const QString kLayerPremix = QStringLiteral("Премикс П1-1 1% (несушки)");

// The demo data, the window over it, its messages collected; the product chooser and
// the recipe printer stand in for the shell's windows.
struct Mix {
    roadtest::DemoData demo;
    store::DataModule *dm = nullptr;
    std::unique_ptr<MixWindow> form;
    QStringList messages;
    QList<int> printed;
    int productRow = 0; // the feed type the chooser leaves current (view position)

    Mix()
    {
        dm = demo.open();
        if (!dm)
            return;
        form = std::make_unique<MixWindow>(*dm);
        form->setMessageSink([this](const QString &text) { messages.append(text); });
        form->setRecipePrinter([this](int number) { printed.append(number); });
        // What the feed types window does to sir and kk while it is open.
        form->setProductChooser([this] {
            store::LoadNorms(*dm);
            dm->feedTypes.moveTo(productRow);
            store::LoadNorms(*dm);
            store::SaveNorms(*dm);
        });
        form->show();
    }
    bool ok() const { return form != nullptr; }

    QPushButton *button(const char *name) const
    {
        return namedChild<QPushButton>(form.get(), name);
    }
    QRadioButton *choice(const char *name) const
    {
        return namedChild<QRadioButton>(form.get(), name);
    }
    QLineEdit *field(const char *name) const { return namedChild<QLineEdit>(form.get(), name); }
    QLabel *label(const char *name) const { return namedChild<QLabel>(form.get(), name); }
    QRadioButton *formButton(ProductForm productForm) const
    {
        switch (productForm) {
        case ProductForm::Granules:
            return choice("granulesButton");
        case ProductForm::Crumbs:
            return choice("crumbsButton");
        case ProductForm::Loose:
            break;
        }
        return choice("looseButton");
    }
    QTableWidget *characteristics() const
    {
        return namedChild<QTableWidget>(form.get(), "characteristicsGrid");
    }
    widgets::TableGrid *rawGrid() const
    {
        return namedChild<widgets::TableGrid>(form.get(), "rawMaterialsGrid");
    }

    widgets::TableGridModel *raw() const { return rawGrid()->gridModel(); }
    int rawRow(const QString &name) const
    {
        for (int r = 0; r < raw()->rowCount(); ++r)
            if (raw()->data(raw()->index(r, 0)).toString().trimmed() == name)
                return r;
        return -1;
    }
    // Types an input (column 2) or a price (column 1) into the raw material's row, as the
    // grid stores a typed cell.
    bool input(const QString &name, double value, int column = 2)
    {
        const int row = rawRow(name);
        return row >= 0 && raw()->setData(raw()->index(row, column), QString::number(value));
    }
    QString shownInput(const QString &name) const
    {
        return raw()->data(raw()->index(rawRow(name), 2)).toString();
    }
    bool inputEditable(const QString &name) const
    {
        return raw()->flags(raw()->index(rawRow(name), 2)) & Qt::ItemIsEditable;
    }
    QString charCell(int row, int column) const
    {
        const QTableWidgetItem *item = characteristics()->item(row, column);
        return item ? item->text() : QString();
    }
    // The figure a cell shows, without the arrow of a level outside its norms.
    QString figure(int row, int column) const
    {
        QString text = charCell(row, column);
        text.remove(u'↓').remove(u'↑');
        return text.trimmed();
    }
    void setVolume(const QString &text)
    {
        field("volumeField")->setFocus();
        field("volumeField")->clear();
        QTest::keyClicks(field("volumeField"), text);
        QTest::keyClick(field("volumeField"), Qt::Key_Tab);
    }
    // Five raw materials of the demo data adding up to 100 %.
    void typeFivePercents()
    {
        setVolume(QStringLiteral("20"));
        for (const auto &[name, value] :
             {std::pair{kWheat, 40.0}, std::pair{kCorn, 30.0}, std::pair{kBarley, 15.0},
              std::pair{kPeas, 10.0}, std::pair{kBran, 5.0}})
            QVERIFY(input(name, value));
    }
};

// Every field of every record of sir.dbf, as a cursor of its own reads the file.
QList<QVariantList> sirRecords(const QString &dataDir)
{
    store::Table sir;
    sir.setFileName(dataDir + QStringLiteral("/sir.dbf"));
    sir.open();
    QList<QVariantList> records;
    for (sir.first(); !sir.eof(); sir.next()) {
        QVariantList record;
        for (int f = 0; f < sir.fieldCount(); ++f)
            record.append(sir.value(f));
        records.append(record);
    }
    return records;
}

} // namespace

class TestMixWindow final : public QObject
{
    Q_OBJECT

private slots:
    void startEmptiesInputsAndUnlocks();
    void percentMixComputedAndLocked();
    void fillerCompletesAndKeepsInputsOpen();
    void massModeGivesVolumeAndPercentages();
    void computingTwiceKeepsOnePrice();
    void typedNumbersInMaskedFields_data();
    void typedNumbersInMaskedFields();
    void refusals_data();
    void refusals();
    void refusedInputIsSaidOnce_data();
    void refusedInputIsSaidOnce();
    void productChoiceKeepsTypedInputs();
    void productChoiceMarksNormedRows();
    void levelsOutsideNormsAreMarked();
    void archiveWriteAndPrint_data();
    void archiveWriteAndPrint();
    void printNeedsTheArchive();
    void editedNormsAreArchived();
    void archivedNumbersAreThoseShown();
    void archiveNumberGoesWithItsLabel();
    void recomputeUnlocks();
    void newProductUnlocks();
    void longProductKeepsItsPrice();
    void closeLeavesRawMaterialsUnfiltered();
    void onlyTypedPricesReachTheRawMaterials();
    void screenshotAfterComputation();
};

// No inputs when the window opens (those typed before are gone), the stock untouched,
// only selected raw materials listed, the fields empty but for the tax rate, nothing
// archived.
void TestMixWindow::startEmptiesInputsAndUnlocks()
{
    Mix w;
    QVERIFY(w.ok());
    store::Table &sir = w.dm->rawMaterials;
    QVERIFY(w.input(kWheat, 40));
    w.form->hide();
    w.form->show();
    QVERIFY(w.shownInput(kWheat).isEmpty());
    QCOMPARE(roadtest::rawMaterialValue(sir, kWheat, QStringLiteral("VES")), 450.0);
    QCOMPARE(sir.filter(), QStringLiteral("ot='+'"));
    QVERIFY(sir.filtered());
    QCOMPARE(w.field("taxField")->text(), QStringLiteral("10.0"));
    QVERIFY(w.field("productField")->text().isEmpty());
    QVERIFY(w.choice("selectedListButton")->isChecked());
    QVERIFY(w.choice("percentButton")->isChecked());
    QVERIFY(w.formButton(ProductForm::Granules)->isChecked());
    QVERIFY(!w.button("writeToArchiveButton")->isEnabled());
    QVERIFY(!w.button("recomputeButton")->isEnabled());
    QVERIFY(w.label("fillerLabel")->isHidden());
    QCOMPARE(w.characteristics()->rowCount(), w.dm->pitCount());
    QCOMPARE(w.raw()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("% ввода"));
    QVERIFY(w.inputEditable(kWheat));
    QVERIFY(w.messages.isEmpty());
}

// Five raw materials adding up to 100 %: levels, price label, product name with price;
// the inputs, the tax, the product and its form are locked, archiving is open.
void TestMixWindow::percentMixComputedAndLocked()
{
    Mix w;
    QVERIFY(w.ok());
    w.typeFivePercents();
    w.field("productField")->setText(QStringLiteral("ПК-5"));
    w.button("computeButton")->click();
    QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join(u'\n')));
    // price: 15000·40 + 17000·30 + 12800·15 + 19000·10 + 10500·5 = 15445 per tonne
    QCOMPARE(w.charCell(0, MixWindow::ColFact), QStringLiteral("       15445"));
    QCOMPARE(w.form->lastResult().price.build.rawCost, 15445.0);
    QVERIFY(w.label("priceLabel")->text().startsWith(QStringLiteral("Отпускная цена 1Т с НДС")));
    QVERIFY(w.label("priceLabel")->text().endsWith(QStringLiteral(" руб.")));
    const QString price = w.form->lastResult().price.nameText;
    QCOMPARE(w.field("productField")->text(), QStringLiteral("ПК-5-%1-").arg(price));
    QVERIFY(!w.charCell(5, MixWindow::ColFact).isEmpty());
    QVERIFY(w.button("writeToArchiveButton")->isEnabled());
    QVERIFY(w.button("recomputeButton")->isEnabled());
    QVERIFY(!w.inputEditable(kWheat));
    QVERIFY(w.field("taxField")->isReadOnly());
    QVERIFY(w.field("productField")->isReadOnly());
    QVERIFY(!w.formButton(ProductForm::Loose)->isEnabled());
}

// 60 + 30: the message names 90, the filler label says 10 %, levels are over 100, and
// the inputs stay open with archiving off.
void TestMixWindow::fillerCompletesAndKeepsInputsOpen()
{
    Mix w;
    QVERIFY(w.ok());
    w.setVolume(QStringLiteral("5"));
    QVERIFY(w.input(kWheat, 60));
    QVERIFY(w.input(kCorn, 30));
    w.button("computeButton")->click();
    QCOMPARE(w.messages,
             QStringList{QStringLiteral("Набрано 90% !!!         Добавляем нейтральный бесплатный "
                                        "наполнитель.")});
    QVERIFY(!w.label("fillerLabel")->isHidden());
    QCOMPARE(w.label("fillerLabel")->text(), QStringLiteral("Наполнитель 10%"));
    QCOMPARE(w.charCell(0, MixWindow::ColFact), QStringLiteral("       14100"));
    QVERIFY(!w.button("writeToArchiveButton")->isEnabled());
    QVERIFY(w.inputEditable(kWheat));
}

// Masses 1 + 1 + 1: the volume is 3 and the archived percentages add up to 100.00.
void TestMixWindow::massModeGivesVolumeAndPercentages()
{
    Mix w;
    QVERIFY(w.ok());
    w.choice("massButton")->click();
    QCOMPARE(w.raw()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Масса ввода"));
    for (const QString &name : {kWheat, kCorn, kBarley})
        QVERIFY(w.input(name, 1));
    w.button("computeButton")->click();
    QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join(u'\n')));
    QCOMPARE(w.field("volumeField")->text().trimmed(), QStringLiteral("3.000"));
    const QList<results::MixLine> &lines = w.form->lastResult().lines;
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0].percent, 33.34);
    QCOMPARE(lines[1].percent, 33.33);
    QCOMPARE(lines[2].percent, 33.33);
    QVERIFY(w.button("writeToArchiveButton")->isEnabled());
    w.button("writeToArchiveButton")->click();
    QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join(u'\n')));
    store::Table &arsir = w.dm->archiveCompositions;
    double sum = 0;
    arsir.setFiltered(false);
    for (arsir.first(); !arsir.eof(); arsir.next())
        if (arsir.integer(QStringLiteral("arnom")) == w.dm->lastArchiveNumber())
            sum += arsir.number(QStringLiteral("procin"));
    QCOMPARE(QString::number(sum, 'f', 2), QStringLiteral("100.00"));
    store::Table &arkk = w.dm->archiveHeaders;
    arkk.last();
    QCOMPARE(arkk.number(QStringLiteral("ves")), 3.0);
}

void TestMixWindow::computingTwiceKeepsOnePrice()
{
    Mix w;
    QVERIFY(w.ok());
    w.typeFivePercents();
    w.field("productField")->setText(QStringLiteral("ПК-5"));
    w.button("computeButton")->click();
    w.button("recomputeButton")->click();
    QVERIFY(w.input(kWheat, 35));
    QVERIFY(w.input(kBran, 10));
    w.button("computeButton")->click();
    QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join(u'\n')));
    const QString price = w.form->lastResult().price.nameText;
    QCOMPARE(w.field("productField")->text(), QStringLiteral("ПК-5-%1-").arg(price));
    // a change of mode takes the price out of the name
    w.choice("massButton")->click();
    QCOMPARE(w.field("productField")->text(), QStringLiteral("ПК-5"));
    QVERIFY(w.label("priceLabel")->text().isEmpty());
}

void TestMixWindow::typedNumbersInMaskedFields_data()
{
    QTest::addColumn<QString>("volume");
    QTest::addColumn<QString>("tax");
    QTest::addColumn<double>("tonnes");
    QTest::addColumn<double>("rate");
    QTest::newRow("point typed") << QStringLiteral("2.5") << QStringLiteral("2.5") << 2.5 << 2.5;
    QTest::newRow("whole") << QStringLiteral("1200") << QStringLiteral("18") << 1200.0 << 18.0;
    QTest::newRow("full") << QStringLiteral("999999.999") << QStringLiteral("99.9") << 999999.999
                          << 99.9;
    QTest::newRow("fraction only") << QStringLiteral(".25") << QStringLiteral(".5") << 0.25 << 0.5;
}

// What is typed into the masked volume and tax fields is what the archive stores.
void TestMixWindow::typedNumbersInMaskedFields()
{
    QFETCH(QString, volume);
    QFETCH(QString, tax);
    QFETCH(double, tonnes);
    QFETCH(double, rate);
    Mix w;
    QVERIFY(w.ok());
    w.setVolume(volume);
    w.field("taxField")->selectAll();
    QTest::keyClicks(w.field("taxField"), tax);
    w.field("noteField")->setFocus(); // leaving the fields shows them formatted
    for (const QString &name : {kWheat, kCorn})
        QVERIFY(w.input(name, 50));
    w.button("computeButton")->click();
    w.button("writeToArchiveButton")->click();
    QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join(u'\n')));
    store::Table &arkk = w.dm->archiveHeaders;
    arkk.setFiltered(false);
    arkk.last();
    QCOMPARE(arkk.number(QStringLiteral("ves")), tonnes);
    QCOMPARE(arkk.number(QStringLiteral("nds")), rate);
}

void TestMixWindow::refusals_data()
{
    QTest::addColumn<MixMode>("mode");
    QTest::addColumn<QString>("volume");
    QTest::addColumn<double>("wheat");
    QTest::addColumn<QString>("message");
    QTest::newRow("no volume") << MixMode::Percent << QString() << 100.0
                               << QStringLiteral("Не введен объем выработки...");
    QTest::newRow("no input") << MixMode::Percent << QStringLiteral("10") << 0.0
                              << QStringLiteral("Ввод сырья не задан!!!");
    QTest::newRow("negative percent") << MixMode::Percent << QStringLiteral("10") << -5.0
                                      << QStringLiteral("Ввод сырья \"Пшеница фуражная\"");
    QTest::newRow("negative mass")
        << MixMode::Mass << QString() << -1.0 << QStringLiteral("Ввод сырья \"Пшеница фуражная\"");
}

// Nothing computed, nothing to archive; the message says why.
void TestMixWindow::refusals()
{
    QFETCH(MixMode, mode);
    QFETCH(QString, volume);
    QFETCH(double, wheat);
    QFETCH(QString, message);
    Mix w;
    QVERIFY(w.ok());
    if (mode == MixMode::Mass)
        w.choice("massButton")->click();
    w.setVolume(volume);
    if (wheat != 0) {
        QVERIFY(w.input(kWheat, wheat));
        QVERIFY(w.input(kCorn, 105));
    }
    w.button("computeButton")->click();
    QCOMPARE(w.messages.size(), 1);
    QVERIFY2(w.messages.first().startsWith(message), qPrintable(w.messages.first()));
    QVERIFY(!w.button("writeToArchiveButton")->isEnabled());
    QVERIFY(w.label("priceLabel")->text().isEmpty());
    QVERIFY(w.charCell(0, MixWindow::ColFact).isEmpty());
}

// The feed types window loads inclusion limits into MANOR; the typed percentages are
// what is computed after the product was chosen.
void TestMixWindow::refusedInputIsSaidOnce_data()
{
    QTest::addColumn<int>("dismiss"); // typing::Dismiss
    QTest::newRow("Enter") << int(typing::Dismiss::Key);
    QTest::newRow("mouse") << int(typing::Dismiss::Mouse);
}

// An input typed as "12a": one message; once it is dismissed the cell is being typed in
// again with that text, and the corrected number is taken.
void TestMixWindow::refusedInputIsSaidOnce()
{
    QFETCH(int, dismiss);
    Mix w;
    QVERIFY(w.ok());
    QApplication::setActiveWindow(w.form.get());
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
    widgets::TableGrid *grid = w.rawGrid();
    const int row = w.rawRow(kWheat);
    QVERIFY(row >= 0);
    grid->setFocus();
    grid->setCurrentIndex(w.raw()->index(row, 2));
    typing::MessageCatcher boxes{typing::Dismiss(dismiss)};
    typing::typeKeys(QStringLiteral("12a"));
    typing::pressKey(Qt::Key_Return);
    QCOMPARE(boxes.texts.size(), 1);
    QVERIFY2(boxes.texts.first().startsWith(QStringLiteral("\"12a\" - не число.")),
             qPrintable(boxes.texts.first()));
    auto *editor = qobject_cast<QLineEdit *>(typing::keyTarget());
    QVERIFY2(editor && grid->isAncestorOf(editor), "the cell is no longer being typed in");
    QCOMPARE(editor->text(), QStringLiteral("12a"));
    typing::pressKey(Qt::Key_Backspace);
    typing::pressKey(Qt::Key_Return);
    QCOMPARE(boxes.texts.size(), 1);
    QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join(u'\n')));
    QCOMPARE(w.raw()->data(w.raw()->index(row, 2)).toString(), QStringLiteral("12"));
}

void TestMixWindow::productChoiceKeepsTypedInputs()
{
    Mix w;
    QVERIFY(w.ok());
    w.typeFivePercents();
    w.button("chooseProductButton")->click();
    QCOMPARE(w.shownInput(kWheat), QStringLiteral("40"));
    QVERIFY(w.dm->rawMaterials.filtered());
    w.button("computeButton")->click();
    QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join(u'\n')));
    QCOMPARE(w.form->lastResult().price.build.rawCost, 15445.0);
}

// ПК-5: product, purpose and standard filled; every characteristic with a norm is marked
// (red) except the price, whose maximum is shown.
void TestMixWindow::productChoiceMarksNormedRows()
{
    Mix w;
    QVERIFY(w.ok());
    w.button("chooseProductButton")->click();
    QCOMPARE(w.field("productField")->text(), QStringLiteral("ПК-5"));
    QVERIFY(w.field("purposeField")->text().startsWith(QStringLiteral("Для Полнорационный")));
    QCOMPARE(w.field("standardField")->text(), QStringLiteral("ГОСТ 18221-2018"));
    QCOMPARE(w.charCell(0, MixWindow::ColMaximum), QStringLiteral(" 56000"));
    QVERIFY(!w.form->rowSelected(0));
    QCOMPARE(w.charCell(1, MixWindow::ColMinimum), QStringLiteral("12.55"));
    QVERIFY(w.form->rowSelected(1));
    QCOMPARE(w.characteristics()->item(1, 0)->foreground().color(), QColor(Qt::red));
    QVERIFY(w.charCell(2, MixWindow::ColMinimum).isEmpty());
    QVERIFY(!w.form->rowSelected(2));
    w.button("unmarkAllButton")->click();
    QVERIFY(!w.form->rowSelected(1));
    w.characteristics()->setCurrentCell(2, 0);
    w.button("toggleMarkButton")->click();
    QVERIFY(w.form->rowSelected(2));
}

// A level below the product's minimum or above its maximum: the "Факт" cell shaded, an
// arrow beside the figure; a norm typed afterwards moves the mark; the price row is never
// marked (its norms bound the selling price, its level is the raw-material price).
void TestMixWindow::levelsOutsideNormsAreMarked()
{
    Mix w;
    QVERIFY(w.ok());
    w.button("chooseProductButton")->click();
    w.typeFivePercents();
    w.button("computeButton")->click();
    QTableWidget *grid = w.characteristics();
    const auto shaded = [grid](int row) {
        return grid->item(row, MixWindow::ColFact)->background().style() != Qt::NoBrush;
    };
    const int protein = 5;
    QVERIFY(!w.charCell(0, MixWindow::ColFact).contains(u'↑'));
    QVERIFY(!shaded(0));
    // grains alone stay far below a compound feed's protein minimum
    QVERIFY2(w.charCell(protein, MixWindow::ColFact).startsWith(u'↓'),
             qPrintable(w.charCell(protein, MixWindow::ColFact)));
    QVERIFY(shaded(protein));
    const QString level = w.figure(protein, MixWindow::ColFact);
    grid->item(protein, MixWindow::ColMinimum)->setText(QStringLiteral("1"));
    QCOMPARE(w.charCell(protein, MixWindow::ColFact).trimmed(), level);
    QVERIFY(!shaded(protein));
    grid->item(protein, MixWindow::ColMaximum)->setText(QStringLiteral("2"));
    QCOMPARE(w.charCell(protein, MixWindow::ColFact), QStringLiteral("↑ ") + level);
    QVERIFY(shaded(protein));
}

// The name ends in the number and the form letter, cut to 4 characters; the label shows
// them and printing hands the number to the recipe view.
void TestMixWindow::archiveWriteAndPrint_data()
{
    QTest::addColumn<int>("lastNumber");
    QTest::addColumn<ProductForm>("form");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("gk");
    QTest::newRow("123 granules") << 122 << ProductForm::Granules << QStringLiteral("123Г")
                                  << QStringLiteral("Г");
    QTest::newRow("1234 granules")
        << 1233 << ProductForm::Granules << QStringLiteral("1234") << QStringLiteral("Г");
    QTest::newRow("loose") << 6 << ProductForm::Loose << QStringLiteral("7") << QString();
    QTest::newRow("wraps") << 9999 << ProductForm::Crumbs << QStringLiteral("1К")
                           << QStringLiteral("К");
}

void TestMixWindow::archiveWriteAndPrint()
{
    QFETCH(int, lastNumber);
    QFETCH(ProductForm, form);
    QFETCH(QString, suffix);
    QFETCH(QString, gk);
    Mix w;
    QVERIFY(w.ok());
    w.dm->setLastArchiveNumber(lastNumber);
    w.button("chooseProductButton")->click();
    w.typeFivePercents();
    w.formButton(form)->click();
    w.button("computeButton")->click();
    w.button("writeToArchiveButton")->click();
    QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join(u'\n')));
    QCOMPARE(w.label("archiveNumberLabel")->text(), QStringLiteral("Арх.  № ") + suffix);
    store::Table &arkk = w.dm->archiveHeaders;
    arkk.setFiltered(false);
    arkk.last();
    QCOMPARE(arkk.text(QStringLiteral("naim")),
             QStringLiteral("ПК-5-%1-%2").arg(w.form->lastResult().price.nameText, suffix));
    QCOMPARE(arkk.text(QStringLiteral("gk")), gk);
    QCOMPARE(arkk.number(QStringLiteral("gran")), gk.isEmpty() ? 0.0 : 300.0);
    QCOMPARE(arkk.text(QStringLiteral("gost")), QStringLiteral("ГОСТ 18221-2018"));
    w.button("printRecipeButton")->click();
    QCOMPARE(w.printed, QList<int>{(lastNumber % 9999) + 1});
}

void TestMixWindow::printNeedsTheArchive()
{
    Mix w;
    QVERIFY(w.ok());
    w.typeFivePercents();
    w.button("computeButton")->click();
    w.button("printRecipeButton")->click();
    QCOMPARE(w.messages, QStringList{"Рецепт не записан в архив. Печать отменена..."});
    QVERIFY(w.printed.isEmpty());
}

// The norms typed into the grid are what arpit stores; one that is not a number stops
// the write with a message, and no number is used up.
void TestMixWindow::editedNormsAreArchived()
{
    Mix w;
    QVERIFY(w.ok());
    w.button("chooseProductButton")->click();
    w.typeFivePercents();
    w.button("computeButton")->click();
    QTableWidget *grid = w.characteristics();
    QVERIFY(!(grid->item(5, MixWindow::ColFact)->flags() & Qt::ItemIsEditable));
    QVERIFY(grid->item(5, MixWindow::ColMinimum)->flags() & Qt::ItemIsEditable);
    grid->item(5, MixWindow::ColMinimum)->setText(QStringLiteral("2l"));
    const int before = w.dm->lastArchiveNumber();
    w.button("writeToArchiveButton")->click();
    QCOMPARE(w.messages.size(), 1);
    QVERIFY2(w.messages.first().contains(QStringLiteral("Сырой протеин")),
             qPrintable(w.messages.first()));
    QCOMPARE(w.dm->lastArchiveNumber(), before);
    grid->item(5, MixWindow::ColMinimum)->setText(QStringLiteral(" 21.5"));
    w.button("writeToArchiveButton")->click();
    QCOMPARE(w.messages.size(), 1);
    store::Table &arpit = w.dm->archiveCharacteristics;
    arpit.setFiltered(false);
    bool found = false;
    for (arpit.first(); !arpit.eof(); arpit.next()) {
        if (arpit.text(QStringLiteral("pit")) != QStringLiteral("Сырой протеин"))
            continue;
        found = true;
        QCOMPARE(arpit.number(QStringLiteral("mi")), 21.5);
        QCOMPARE(arpit.number(QStringLiteral("ma")), 23.5);
        QCOMPARE(arpit.number(QStringLiteral("fa")), w.figure(5, MixWindow::ColFact).toDouble());
    }
    QVERIFY(found);
}

// Every marked row goes into arpit with the numbers its cells show: the norms and the
// level as rounded for the grid (wheat and corn half and half put tryptophan at
// 0.10499999..., shown as 0.10, and ОЭ птицы at 13.17500...01, shown as 13.18).
void TestMixWindow::archivedNumbersAreThoseShown()
{
    Mix w;
    QVERIFY(w.ok());
    w.button("chooseProductButton")->click();
    w.setVolume(QStringLiteral("20"));
    QVERIFY(w.input(kWheat, 50));
    QVERIFY(w.input(kCorn, 50));
    w.button("computeButton")->click();
    w.button("markAllButton")->click();
    w.button("writeToArchiveButton")->click();
    QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join(u'\n')));
    QHash<QString, int> rowOf;
    for (int m = 1; m < w.characteristics()->rowCount(); ++m)
        rowOf.insert(w.charCell(m, MixWindow::ColName).trimmed(), m);
    const int tryptophan = rowOf.value(QStringLiteral("Триптофан"));
    QCOMPARE(w.figure(tryptophan, MixWindow::ColFact), QStringLiteral("0.10"));
    QVERIFY(qAbs(w.form->lastResult().levels[size_t(tryptophan)] - 0.105) < 1e-12);
    QCOMPARE(w.figure(rowOf.value(QStringLiteral("ОЭ птицы")), MixWindow::ColFact),
             QStringLiteral("13.18"));
    const auto shown = [&w](int m, int column) {
        return w.figure(m, column).toDouble(); // a blank cell is 0
    };
    store::Table &arpit = w.dm->archiveCharacteristics;
    arpit.setFiltered(false);
    int archived = 0;
    for (arpit.first(); !arpit.eof(); arpit.next()) {
        if (arpit.integer(QStringLiteral("arnom")) != w.dm->lastArchiveNumber())
            continue;
        const QString name = arpit.text(QStringLiteral("pit")).trimmed();
        QVERIFY2(rowOf.contains(name), qPrintable(name));
        const int m = rowOf.value(name);
        QCOMPARE(arpit.number(QStringLiteral("mi")), shown(m, MixWindow::ColMinimum));
        QCOMPARE(arpit.number(QStringLiteral("fa")), shown(m, MixWindow::ColFact));
        QCOMPARE(arpit.number(QStringLiteral("ma")), shown(m, MixWindow::ColMaximum));
        ++archived;
    }
    QCOMPARE(archived, int(rowOf.size()));
}

// The number printing hands over is the one the label shows; once the label is cleared
// (a new computation, a change of mode, a new product) the mix counts as not archived.
void TestMixWindow::archiveNumberGoesWithItsLabel()
{
    Mix w;
    QVERIFY(w.ok());
    w.dm->setLastArchiveNumber(40);
    w.typeFivePercents();
    w.button("computeButton")->click();
    w.button("writeToArchiveButton")->click();
    QCOMPARE(w.label("archiveNumberLabel")->text(), QStringLiteral("Арх.  № 41Г"));
    w.button("printRecipeButton")->click();
    QCOMPARE(w.printed, QList<int>{41});
    w.button("recomputeButton")->click();
    QCOMPARE(w.label("archiveNumberLabel")->text(),
             QStringLiteral("Арх.  № 41Г")); // nothing new yet
    w.button("computeButton")->click();      // new figures: not the recipe archived as 41
    QVERIFY(w.label("archiveNumberLabel")->text().isEmpty());
    w.button("printRecipeButton")->click();
    QCOMPARE(w.printed, QList<int>{41});
    QCOMPARE(w.messages, QStringList{"Рецепт не записан в архив. Печать отменена..."});
    w.button("writeToArchiveButton")->click();
    QCOMPARE(w.label("archiveNumberLabel")->text(), QStringLiteral("Арх.  № 42Г"));
    w.choice("massButton")->click();
    QVERIFY(w.label("archiveNumberLabel")->text().isEmpty());
    w.button("printRecipeButton")->click();
    QCOMPARE(w.printed, QList<int>{41});
    QCOMPARE(w.messages.size(), 2);
}

void TestMixWindow::recomputeUnlocks()
{
    Mix w;
    QVERIFY(w.ok());
    w.typeFivePercents();
    w.button("computeButton")->click();
    QVERIFY(!w.inputEditable(kWheat));
    w.button("recomputeButton")->click();
    QVERIFY(w.inputEditable(kWheat));
    QVERIFY(!w.button("writeToArchiveButton")->isEnabled());
    QVERIFY(!w.button("recomputeButton")->isEnabled());
    QVERIFY(!w.field("taxField")->isReadOnly());
    QVERIFY(w.formButton(ProductForm::Loose)->isEnabled());
}

// A new product after a computation opens the inputs, tax, product and form again, so
// that the new mix can be priced.
void TestMixWindow::newProductUnlocks()
{
    Mix w;
    QVERIFY(w.ok());
    w.typeFivePercents();
    w.button("computeButton")->click();
    QVERIFY(w.field("taxField")->isReadOnly());
    w.button("chooseProductButton")->click();
    QVERIFY(w.inputEditable(kWheat));
    QVERIFY(!w.field("taxField")->isReadOnly());
    QVERIFY(!w.field("productField")->isReadOnly());
    QVERIFY(w.formButton(ProductForm::Crumbs)->isEnabled());
    QVERIFY(!w.button("writeToArchiveButton")->isEnabled());
    QVERIFY(!w.button("recomputeButton")->isEnabled());
}

// A product typed to the field's full 37 characters still gets the whole price.
void TestMixWindow::longProductKeepsItsPrice()
{
    Mix w;
    QVERIFY(w.ok());
    w.typeFivePercents();
    const QString product(37, QChar(u'К'));
    w.field("productField")->setText(product);
    QCOMPARE(w.field("productField")->text(), product);
    w.button("computeButton")->click();
    const QString price = w.form->lastResult().price.nameText;
    QCOMPARE(w.field("productField")->text(), product + u'-' + price + u'-');
    w.button("writeToArchiveButton")->click();
    QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join(u'\n')));
    w.button("recomputeButton")->click();
    w.choice("massButton")->click(); // the price leaves the name again
    QCOMPARE(w.field("productField")->text(), product);
}

void TestMixWindow::closeLeavesRawMaterialsUnfiltered()
{
    Mix w;
    QVERIFY(w.ok());
    QVERIFY(w.dm->rawMaterials.filtered());
    w.button("exitButton")->click();
    QVERIFY(!w.form->isVisible());
    QVERIFY(!w.dm->rawMaterials.filtered());
    QVERIFY(w.dm->rawMaterials.filter().isEmpty());
}

// Masses and percents typed (also for a raw material not selected), a price typed, a
// computation, an archive write and the close: sir.dbf differs from before in that price
// only.
void TestMixWindow::onlyTypedPricesReachTheRawMaterials()
{
    Mix w;
    QVERIFY(w.ok());
    const QList<QVariantList> before = sirRecords(w.demo.dataDir());
    w.choice("massButton")->click();
    w.choice("fullListButton")->click();
    QVERIFY(w.input(QStringLiteral("Рожь"), 2.5));
    QVERIFY(w.input(kWheat, 1.25));
    w.choice("percentButton")->click();
    w.typeFivePercents();
    QVERIFY(w.input(kCorn, 17250, 1));
    w.button("computeButton")->click();
    w.button("writeToArchiveButton")->click();
    w.button("exitButton")->click();
    QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join(u'\n')));
    QVERIFY(w.dm->lastArchiveNumber() > 0);
    w.dm->rawMaterials.flush();
    const QList<QVariantList> after = sirRecords(w.demo.dataDir());
    QCOMPARE(after.size(), before.size());
    const QList<store::FieldDef> fields = w.dm->rawMaterials.fields();
    for (int r = 0; r < after.size(); ++r) {
        for (int f = 0; f < fields.size(); ++f) {
            const bool typed =
                after[r][0].toString().trimmed() == kCorn &&
                fields[f].name.compare(QStringLiteral("MI1"), Qt::CaseInsensitive) == 0;
            const QVariant expected = typed ? QVariant(17250.0) : before[r][f];
            QVERIFY2(after[r][f] == expected,
                     qPrintable(QStringLiteral("record %1 (%2), %3: %4, expected %5")
                                    .arg(r + 1)
                                    .arg(before[r][0].toString().trimmed(), fields[f].name,
                                         after[r][f].toString(), expected.toString())));
        }
    }
}

// A picture of the window after a computation, to be looked at.
void TestMixWindow::screenshotAfterComputation()
{
    Mix w;
    QVERIFY(w.ok());
    w.button("chooseProductButton")->click();
    w.typeFivePercents();
    QVERIFY(w.input(kBroilerPremix, 1));
    QVERIFY(w.input(kWheat, 39));
    w.button("computeButton")->click();
    w.button("writeToArchiveButton")->click();
    QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join(u'\n')));
    const QString png = QStringLiteral(KP_TEST_OUTPUT "/mix-window.png");
    QVERIFY(w.form->grab().save(png));
}

QTEST_MAIN(TestMixWindow)
#include "tst_mixwindow.moc"
