// The "Соотношения" grid of the feed types window typed into as a careless user would:
// bounds below 0 or not numbers refused with a message, a minimum above the maximum kept
// with a warning, the ratios following the current feed type, and ratio.dbf made only
// when the first ratio is added; checked in the file with a fresh cursor.
#include "listsfixture.h"
#include "namedchild.h"
#include "typingfixture.h"

#include "lists/window/feedtypeswindow.h"
#include "lists/window/ratiomodel.h"
#include "settings/settings.h"
#include "store/ratiotable.h"
#include "widgets/tablegrid.h"

#include <QFileInfo>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using lists::RatioModel;

class TestRatioPanel final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void carelessTypingKeepsWhatIsShown();
    void untouchedFolderGetsNoRatioTable();

private:
    void goTo(int order);
    void typeInto(int row, int column, const QString &text);
    QString shown(int row, int column) const
    {
        return grid()->model()->index(row, column).data().toString();
    }
    QTableView *grid() const { return namedChild<QTableView>(window.get(), "ratioGrid"); }
    QPushButton *button(const char *name) const
    {
        return namedChild<QPushButton>(window.get(), name);
    }

    std::unique_ptr<ListsFixture> fixture;
    std::unique_ptr<lists::FeedTypesWindow> window;
};

void TestRatioPanel::init()
{
    settings::setCurrentSettings(settings::Settings());
    fixture = std::make_unique<ListsFixture>();
    window = std::make_unique<lists::FeedTypesWindow>(fixture->dm());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestRatioPanel::cleanup()
{
    window.reset();
    fixture.reset();
}

void TestRatioPanel::goTo(int order)
{
    auto *feedTypes = namedChild<widgets::TableGrid>(window.get(), "feedTypesGrid");
    feedTypes->setCurrentIndex(feedTypes->model()->index(order - 1, 0));
    QCOMPARE(fixture->dm().feedTypes.integer("order"), order);
}

// F2 on the cell, everything in it selected and typed over, Enter. After a refusal the
// cell's editor is open again with what was typed: the user types over that.
void TestRatioPanel::typeInto(int row, int column, const QString &text)
{
    typing::settle();
    QWidget *focused = QApplication::focusWidget();
    if (!focused || !grid()->viewport()->isAncestorOf(focused)) {
        grid()->setCurrentIndex(grid()->model()->index(row, column));
        grid()->setFocus();
        typing::pressKey(Qt::Key_F2);
    }
    QCOMPARE(grid()->currentIndex().column(), column);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    typing::typeKeys(text);
    typing::pressKey(Qt::Key_Return);
}

void TestRatioPanel::carelessTypingKeepsWhatIsShown()
{
    goTo(2);
    QVERIFY(!button("addRatioButton")->isEnabled()); // nothing changes before "Уточнить"
    button("correctButton")->click();
    button("addRatioButton")->click();
    QCOMPARE(shown(0, RatioModel::Numerator), QStringLiteral("ХАРАКТЕРИСТИКА 2"));
    // the denominator chosen by name: one down the list
    grid()->setCurrentIndex(grid()->model()->index(0, RatioModel::Denominator));
    typing::pressKey(Qt::Key_F2);
    typing::pressKey(Qt::Key_Down);
    typing::pressKey(Qt::Key_Return);
    QCOMPARE(shown(0, RatioModel::Denominator), QStringLiteral("ХАРАКТЕРИСТИКА 4"));

    typing::MessageCatcher boxes(typing::Dismiss::Key);
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up}) { // over itself for a moment: a warning
        grid()->setCurrentIndex(grid()->model()->index(0, RatioModel::Numerator));
        typing::pressKey(Qt::Key_F2);
        typing::pressKey(key);
        typing::pressKey(key);
        typing::pressKey(Qt::Key_Return);
    }
    const QString place =
        QStringLiteral("Соотношения, \"ХАРАКТЕРИСТИКА 2/ХАРАКТЕРИСТИКА 4\", колонка \"Мин.\": ");
    typeInto(0, RatioModel::Minimum, QStringLiteral("-1"));
    typeInto(0, RatioModel::Minimum, QStringLiteral("2,1")); // the comma is a point
    typeInto(0, RatioModel::Maximum, QStringLiteral("1.5")); // kept, with a warning
    typeInto(0, RatioModel::Maximum, QStringLiteral("2.5"));
    typeInto(0, RatioModel::Minimum, QStringLiteral("1000000")); // wider than the field
    typing::settle();
    QCOMPARE(boxes.texts.size(), 4);
    QCOMPARE(boxes.texts.at(0), QStringLiteral("Числитель и знаменатель соотношения "
                                               "ХАРАКТЕРИСТИКА 4/ХАРАКТЕРИСТИКА 4 - одна "
                                               "характеристика."));
    QCOMPARE(boxes.texts.at(1), place + QStringLiteral("число не может быть отрицательным."));
    QCOMPARE(boxes.texts.at(2), QStringLiteral("Минимум соотношения ХАРАКТЕРИСТИКА 2/"
                                               "ХАРАКТЕРИСТИКА 4 больше максимума."));
    QVERIFY2(boxes.texts.at(3).startsWith(place), qPrintable(boxes.texts.at(3)));
    QCOMPARE(shown(0, RatioModel::Minimum), QStringLiteral("2.1000"));
    QCOMPARE(shown(0, RatioModel::Maximum), QStringLiteral("2.5000"));

    // a second ratio, switched off and then deleted again; another feed type has none
    button("addRatioButton")->click();
    button("deleteRatioButton")->click();
    QCOMPARE(grid()->model()->rowCount(), 1);
    goTo(3);
    QCOMPARE(grid()->model()->rowCount(), 0);
    QVERIFY(!button("addRatioButton")->isEnabled());
    goTo(2);
    QCOMPARE(shown(0, RatioModel::Maximum), QStringLiteral("2.5000"));
    grid()->model()->setData(grid()->model()->index(0, RatioModel::InForce), Qt::Unchecked,
                             Qt::CheckStateRole); // read-only again after the move: refused
    window->close();

    const QList<store::RatioRecord> stored =
        store::readRatioRecords(fixture->path(store::kRatioFileName));
    QCOMPARE(stored.size(), 1);
    const store::RatioRecord &r = stored.first();
    QCOMPARE(QList<double>({double(r.kodkk), double(r.numeratorKey), double(r.denominatorKey),
                            r.minimum, r.maximum, double(r.on)}),
             QList<double>({2, 2, 4, 2.1, 2.5, 1}));
}

// Moving through the feed types, "Уточнить" without a ratio and closing write no table.
void TestRatioPanel::untouchedFolderGetsNoRatioTable()
{
    for (int order : {2, 3, 1}) {
        goTo(order);
        button("correctButton")->click();
    }
    window->close();
    QVERIFY(!QFileInfo::exists(fixture->path(store::kRatioFileName)));
}

QTEST_MAIN(TestRatioPanel)
#include "tst_ratiopanel.moc"
