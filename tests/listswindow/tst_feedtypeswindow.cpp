// The feed types window FeedTypesWindow: the 40 limit, the inclusion limits moved between norm and
// sir's working columns as the current feed type changes, the highlight search on feed
// types and on the norms panel, and a new feed type taken from a reused slot, checked in
// the .dbf files with fresh cursors.
#include "listsfixture.h"
#include "namedchild.h"

#include "lists/window/characteristicpanel.h"
#include "lists/window/deleteconfirmation.h"
#include "lists/window/feedtypeswindow.h"
#include "lists/window/fieldwidgets.h"
#include "lists/window/selectionkey.h"
#include "settings/settings.h"
#include "widgets/tablegrid.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using lists::DeleteConfirmation;
using lists::FeedTypesWindow;
using lists::SelectionKeyDialog;

namespace
{

struct Limit {
    int kodkk;
    int kods;
    double min;
    double max;
};

// The records of norm.dbf in file order.
QList<Limit> storedLimits(const ListsFixture &fixture)
{
    auto norm = fixture.fresh("norm.dbf");
    norm->setIndexName(QString());
    QList<Limit> limits;
    for (norm->first(); !norm->eof(); norm->next())
        limits.append({norm->integer("kodkk"), norm->integer("kods"), norm->number("min"),
                       norm->number("max")});
    return limits;
}

const Limit *findLimit(const QList<Limit> &limits, int kodkk, int kods)
{
    for (const Limit &limit : limits) {
        if (limit.kodkk == kodkk && limit.kods == kods)
            return &limit;
    }
    return nullptr;
}

} // namespace

class TestFeedTypesWindow final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void fortyFirstSelectionIsRefused();
    void limitsSurviveMovingAndReopening();
    void limitSetBackToZeroKeepsItsRecord();
    void zeroLimitsMakeNoRecords();
    void highlightedRawMaterialsAreWrittenToo();
    void newFeedTypeStartsClean_data();
    void newFeedTypeStartsClean();
    void addAboveKeepsTheLimitsTyped();
    void movedFeedTypeKeepsItsLimits();
    void highlightKeepsTheNormsPanel();
    void highlightOfFeedTypes_data();
    void highlightOfFeedTypes();
    void buttonsFollowThePanelAndTheFilter();
    void deselectAllKeepsLimits();
    void typedNormsAreStored();
    void moveKeepsOnlyTheNormsButton();
    void countsLineFollowsTheSelection();

private:
    void open();
    void goTo(int order);
    void showNorms();
    void typeLimit(int rawRow, double min, double max);
    QPair<QString, QString> shownLimit(int rawRow) const;
    void highlight(QPushButton *searchButton, const QString &key);
    QPushButton *button(const char *name) const
    {
        return namedChild<QPushButton>(window.get(), name);
    }
    widgets::TableGrid *grid(const char *name) const
    {
        return namedChild<widgets::TableGrid>(window.get(), name);
    }
    QLabel *counts() const { return namedChild<QLabel>(window.get(), "countsLabel"); }

    std::unique_ptr<ListsFixture> fixture;
    std::unique_ptr<FeedTypesWindow> window;
};

void TestFeedTypesWindow::init()
{
    ListsData data;
    data.feedCount = 45;
    fixture = std::make_unique<ListsFixture>(data);
    settings::Settings values;
    values.taxRate = 18;
    settings::setCurrentSettings(values);
}

void TestFeedTypesWindow::cleanup()
{
    window.reset();
    fixture.reset();
}

void TestFeedTypesWindow::open()
{
    window = std::make_unique<FeedTypesWindow>(fixture->dm());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

// Moves the feed-type cursor through the grid, as a click on another row does.
void TestFeedTypesWindow::goTo(int order)
{
    auto *model = grid("feedTypesGrid")->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        if (fixture->dm().feedTypes.viewCount() > row) {
            grid("feedTypesGrid")->setCurrentIndex(model->index(row, 0));
            if (fixture->dm().feedTypes.integer("order") == order)
                return;
        }
    }
    QFAIL("feed type not in the view");
}

void TestFeedTypesWindow::showNorms()
{
    if (!window->normsPanelShown())
        button("panelSwitchButton")->click();
    QVERIFY(window->normsPanelShown());
    QCOMPARE(button("panelSwitchButton")->text(), QStringLiteral("Характеристики"));
    button("correctButton")->click(); // "Уточнить": the norms grid becomes editable
    QVERIFY(!grid("normsGrid")->isReadOnly());
}

void TestFeedTypesWindow::typeLimit(int rawRow, double min, double max)
{
    auto *model = grid("normsGrid")->model();
    QVERIFY(model->setData(model->index(rawRow, 1), QString::number(min)));
    QVERIFY(model->setData(model->index(rawRow, 2), QString::number(max)));
}

QPair<QString, QString> TestFeedTypesWindow::shownLimit(int rawRow) const
{
    auto *model = grid("normsGrid")->model();
    return {model->index(rawRow, 1).data().toString(), model->index(rawRow, 2).data().toString()};
}

void TestFeedTypesWindow::highlight(QPushButton *searchButton, const QString &key)
{
    onNextModal<SelectionKeyDialog>([key](SelectionKeyDialog *dialog) {
        namedChild<QLineEdit>(dialog, "keyEdit")->insert(key); // QTest types ASCII only
        namedChild<QPushButton>(dialog, "runButton")->click();
    });
    searchButton->click();
}

// Edge: the 41st selection is refused with the message ending "40."; selecting sets the
// output to produce to 0.
void TestFeedTypesWindow::fortyFirstSelectionIsRefused()
{
    open();
    store::Table &kk = fixture->dm().feedTypes;
    for (int order = 1; order <= 40; ++order) {
        QVERIFY(kk.findKey(order));
        button("selectButton")->click();
    }
    QCOMPARE(fixture->dm().selectedFeedCount, 40);
    QString message;
    catchNextMessage(&message);
    QVERIFY(kk.findKey(41));
    button("selectButton")->click();
    QCOMPARE(message, QStringLiteral("Уже отобрано допустимое количество типов продукции - 40."));
    window->close();
    auto stored = fixture->fresh("kk.dbf");
    QVERIFY(stored->findKey(41));
    QCOMPARE(stored->text("ot").trimmed(), QString());
    QCOMPARE(stored->number("VES"), 41.0);
    QVERIFY(stored->findKey(40));
    QCOMPARE(stored->text("ot").trimmed(), QStringLiteral("+"));
    QCOMPARE(stored->number("VES"), 0.0);
}

// Edge: limits typed for one feed type are still there after moving to another and back,
// and after closing and reopening (also after a restart of the program).
void TestFeedTypesWindow::limitsSurviveMovingAndReopening()
{
    open();
    goTo(2);
    showNorms();
    typeLimit(0, 1.5, 10);
    typeLimit(3, 0, 25);
    goTo(3);
    QCOMPARE(shownLimit(0), qMakePair(QStringLiteral("0"), QStringLiteral("0")));
    showNorms();
    typeLimit(0, 2, 4);
    goTo(2);
    QCOMPARE(shownLimit(0), qMakePair(QStringLiteral("1.5"), QStringLiteral("10")));
    QCOMPARE(shownLimit(3), qMakePair(QStringLiteral("0"), QStringLiteral("25")));
    window->close();

    const QList<Limit> limits = storedLimits(*fixture);
    QCOMPARE(limits.size(), 3);
    QVERIFY(findLimit(limits, 2, 1) && findLimit(limits, 2, 1)->min == 1.5);
    QVERIFY(findLimit(limits, 2, 4) && findLimit(limits, 2, 4)->max == 25);
    QVERIFY(findLimit(limits, 3, 1) && findLimit(limits, 3, 1)->max == 4);

    window.reset();
    fixture->restart();
    open();
    goTo(3);
    showNorms();
    QCOMPARE(shownLimit(0), qMakePair(QStringLiteral("2"), QStringLiteral("4")));
    goTo(2);
    QCOMPARE(shownLimit(3), qMakePair(QStringLiteral("0"), QStringLiteral("25")));
}

// Edge: a pair set back to 0 keeps its norm record, with zeros.
void TestFeedTypesWindow::limitSetBackToZeroKeepsItsRecord()
{
    open();
    showNorms();
    typeLimit(1, 3, 6);
    goTo(2);
    goTo(1);
    showNorms();
    typeLimit(1, 0, 0);
    window->close();
    const QList<Limit> limits = storedLimits(*fixture);
    QCOMPARE(limits.size(), 1);
    QCOMPARE(limits.first().kodkk, 1);
    QCOMPARE(limits.first().kods, 2);
    QCOMPARE(limits.first().min, 0.0);
    QCOMPARE(limits.first().max, 0.0);
}

// Edge: feed types whose limits are all zero get no norm records.
void TestFeedTypesWindow::zeroLimitsMakeNoRecords()
{
    open();
    for (int order = 2; order <= 6; ++order)
        goTo(order);
    window->close();
    QVERIFY(storedLimits(*fixture).isEmpty());
}

// Edge: a highlight on sir is dropped before the limits are written, so the limits of raw
// materials hidden by it are written too.
void TestFeedTypesWindow::highlightedRawMaterialsAreWrittenToo()
{
    open();
    showNorms();
    typeLimit(4, 1, 2); // СЫРЬЕ 5
    highlight(button("rawHighlightButton"), "сырье 1");
    store::Table &sir = fixture->dm().rawMaterials;
    QCOMPARE(sir.filter(), QStringLiteral("vibor='+'"));
    QCOMPARE(sir.viewCount(), 1);
    goTo(2);
    QCOMPARE(sir.filter(), QString());
    const QList<Limit> limits = storedLimits(*fixture);
    QVERIFY(findLimit(limits, 1, 5));
    QCOMPARE(findLimit(limits, 1, 5)->max, 2.0);
}

void TestFeedTypesWindow::newFeedTypeStartsClean_data()
{
    QTest::addColumn<bool>("above");
    QTest::newRow("add at end") << false;
    QTest::newRow("add above") << true;
}

// Edge: a new feed type starts with empty bounds, zero limits, the settings' tax rate and
// no selection mark, also when its slot held a deleted type with all of these.
void TestFeedTypesWindow::newFeedTypeStartsClean()
{
    QFETCH(bool, above);
    open();
    goTo(45);
    button("selectButton")->click(); // selected
    showNorms();
    typeLimit(2, 7, 9);
    goTo(44); // writes the limits of 45
    goTo(45);
    onNextModal<DeleteConfirmation>([](DeleteConfirmation *dialog) {
        namedChild<QPushButton>(dialog, "confirmButton")->click();
    });
    button("deleteButton")->click();
    QCOMPARE(fixture->count("KK"), 44);
    goTo(above ? 3 : 44);
    (above ? button("addAboveButton") : button("addAtEndButton"))->click();
    store::Table &kk = fixture->dm().feedTypes;
    QCOMPARE(kk.integer("kodkk"), 45);
    QCOMPARE(kk.integer("order"), above ? 3 : 45);
    QCOMPARE(shownLimit(2), qMakePair(QStringLiteral("0"), QStringLiteral("0")));
    QVERIFY(!grid("feedTypesGrid")->isReadOnly());
    QVERIFY(!namedChild<lists::CharacteristicPanel>(window.get(), "characteristicPanel")
                 ->fieldsReadOnly());
    window->close();

    auto stored = fixture->fresh("kk.dbf");
    QVERIFY(stored->findKey(above ? 3 : 45));
    QCOMPARE(stored->integer("kodkk"), 45);
    QCOMPARE(stored->number("NDS"), 18.0);
    QCOMPARE(stored->text("ot").trimmed(), QString());
    QCOMPARE(stored->text("TIP").trimmed(), QString());
    for (int key = 1; key <= 65; ++key) {
        QVERIFY(stored->isBlank(QStringLiteral("MI%1").arg(key)));
        QVERIFY(stored->isBlank(QStringLiteral("MA%1").arg(key)));
    }
    const Limit *old = findLimit(storedLimits(*fixture), 45, 3);
    QVERIFY(old);
    QCOMPARE(old->min, 0.0);
    QCOMPARE(old->max, 0.0);
}

// Limits typed for the current entry are written before "Добавить выше" renumbers.
void TestFeedTypesWindow::addAboveKeepsTheLimitsTyped()
{
    open();
    goTo(5);
    showNorms();
    typeLimit(0, 4, 8);
    button("panelSwitchButton")->click(); // back to the characteristics: add buttons offered
    button("addAboveButton")->click();
    const Limit *limit = findLimit(storedLimits(*fixture), 5, 1);
    QVERIFY(limit);
    QCOMPARE(limit->max, 8.0);
}

// After a move the limits on screen are those of the moved feed type, and neither its
// limits nor those of the entry it was put at are mixed up.
void TestFeedTypesWindow::movedFeedTypeKeepsItsLimits()
{
    open();
    goTo(2);
    showNorms();
    typeLimit(0, 1, 2);
    goTo(5);
    showNorms();
    typeLimit(0, 5, 6);
    button("panelSwitchButton")->click();
    goTo(2);
    button("moveButton")->click();
    goTo(5);
    button("moveButton")->click();
    store::Table &kk = fixture->dm().feedTypes;
    QCOMPARE(kk.integer("kodkk"), 2);
    QCOMPARE(kk.integer("order"), 5);
    button("panelSwitchButton")->click();
    QCOMPARE(shownLimit(0), qMakePair(QStringLiteral("1"), QStringLiteral("2")));
    goTo(4); // kodkk 5 moved up to 4
    QCOMPARE(kk.integer("kodkk"), 5);
    QCOMPARE(shownLimit(0), qMakePair(QStringLiteral("5"), QStringLiteral("6")));
    window->close();
    const QList<Limit> limits = storedLimits(*fixture);
    QCOMPARE(limits.size(), 2);
    QCOMPARE(findLimit(limits, 2, 1)->max, 2.0);
    QCOMPARE(findLimit(limits, 5, 1)->max, 6.0);
}

// Edge: a highlight on feed types made while the norms panel is shown leaves it shown.
void TestFeedTypesWindow::highlightKeepsTheNormsPanel()
{
    open();
    showNorms();
    highlight(button("highlightButton"), "тип 3");
    QVERIFY(window->normsPanelShown());
    QCOMPARE(fixture->dm().feedTypes.filter(), QStringLiteral("vibor='+'"));
}

void TestFeedTypesWindow::highlightOfFeedTypes_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("matches");
    QTest::newRow("purpose") << "ПТИЦЫ" << 45;
    QTest::newRow("type, lower case") << "тип 4" << 7; // ТИП 4, 40 ... 45
    QTest::newRow("standard") << "гост-12" << 1;
    QTest::newRow("nothing") << "свиньи" << 0;
}

void TestFeedTypesWindow::highlightOfFeedTypes()
{
    QFETCH(QString, key);
    QFETCH(int, matches);
    open();
    QString message;
    if (matches == 0)
        catchNextMessage(&message);
    highlight(button("highlightButton"), key);
    store::Table &kk = fixture->dm().feedTypes;
    if (matches == 0) {
        QCOMPARE(message, QStringLiteral("Записей, соответствующих ключу, нет..."));
        QCOMPARE(kk.filter(), QString());
        QCOMPARE(kk.viewCount(), 45);
        return;
    }
    QCOMPARE(kk.viewCount(), matches);
    QCOMPARE(grid("feedTypesGrid")->model()->rowCount(), matches);
    button("cancelHighlightButton")->click();
    QCOMPARE(kk.viewCount(), 45);
}

void TestFeedTypesWindow::buttonsFollowThePanelAndTheFilter()
{
    open();
    QList<QPushButton *> edits{button("addAtEndButton"), button("addAboveButton"),
                               button("moveButton"), button("deleteButton")};
    for (QPushButton *b : edits)
        QVERIFY(b->isVisible());
    button("panelSwitchButton")->click();
    for (QPushButton *b : edits)
        QVERIFY(b->isHidden());
    QVERIFY(button("selectButton")->isVisible());
    button("panelSwitchButton")->click();
    highlight(button("highlightButton"), "тип 1");
    for (QPushButton *b :
         edits + QList<QPushButton *>{button("selectButton"), button("deselectAllButton")})
        QVERIFY(b->isHidden());
    QVERIFY(button("correctButton")->isVisible() && button("cancelHighlightButton")->isVisible());
}

void TestFeedTypesWindow::deselectAllKeepsLimits()
{
    open();
    goTo(3);
    button("selectButton")->click();
    showNorms();
    typeLimit(5, 2, 3);
    button("deselectAllButton")->click();
    QVERIFY(window->normsPanelShown());
    QCOMPARE(fixture->dm().selectedFeedCount, 0);
    QCOMPARE(fixture->dm().feedTypes.integer("order"), 3);
    QCOMPARE(shownLimit(5), qMakePair(QStringLiteral("2"), QStringLiteral("3")));
    QVERIFY(findLimit(storedLimits(*fixture), 3, 6));
}

void TestFeedTypesWindow::typedNormsAreStored()
{
    open();
    goTo(2);
    button("correctButton")->click();
    lists::FieldEdit *min =
        namedChild<lists::CharacteristicPanel>(window.get(), "characteristicPanel")->field(0, 0);
    lists::FieldEdit *max =
        namedChild<lists::CharacteristicPanel>(window.get(), "characteristicPanel")->field(0, 1);
    QCOMPARE(min->text(), QStringLiteral("202"));
    QCOMPARE(max->text(), QStringLiteral("202.5"));
    min->setFocus();
    min->selectAll();
    QTest::keyClicks(min, "11.5");
    QTest::keyClick(min, Qt::Key_Return);
    QVERIFY(max->hasFocus() || window->focusWidget() == max);
    window->close();
    auto stored = fixture->fresh("kk.dbf");
    QVERIFY(stored->findKey(2));
    QCOMPARE(stored->number("MI2"), 11.5);
    QCOMPARE(stored->number("MA2"), 202.5);
}

// Rule: during a move only "Поставить сюда" and the norms panel button are offered, and
// showing the panel then changes nothing; the second press offers all again.
void TestFeedTypesWindow::moveKeepsOnlyTheNormsButton()
{
    open();
    const QList<QPushButton *> all{
        button("addAtEndButton"),        button("addAboveButton"),    button("moveButton"),
        button("deleteButton"),          button("correctButton"),     button("panelSwitchButton"),
        button("selectButton"),          button("deselectAllButton"), button("highlightButton"),
        button("cancelHighlightButton"), button("exitButton")};
    goTo(2);
    button("moveButton")->click();
    for (QPushButton *b : all)
        QCOMPARE(b->isVisible(), b == button("moveButton") || b == button("panelSwitchButton"));
    button("panelSwitchButton")->click();
    QVERIFY(window->normsPanelShown());
    for (QPushButton *b : all)
        QCOMPARE(b->isVisible(), b == button("moveButton") || b == button("panelSwitchButton"));
    button("panelSwitchButton")->click();
    goTo(4);
    button("moveButton")->click();
    QCOMPARE(button("moveButton")->text(), QStringLiteral("Переместить"));
    for (QPushButton *b : all)
        QVERIFY(b->isVisible());
    QCOMPARE(fixture->dm().feedTypes.integer("kodkk"), 2);
}

void TestFeedTypesWindow::countsLineFollowsTheSelection()
{
    open();
    const QString line =
        QStringLiteral("Типов комбикормов в списке: 45.  Отобрано к расчету: %1 из 40");
    QCOMPARE(counts()->text(), line.arg(0));
    button("selectButton")->click();
    QCOMPARE(counts()->text(), line.arg(1));
    button("deselectAllButton")->click();
    QCOMPARE(counts()->text(), line.arg(0));
}

QTEST_MAIN(TestFeedTypesWindow)
#include "tst_feedtypeswindow.moc"
