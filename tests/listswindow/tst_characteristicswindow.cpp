// The characteristics window CharacteristicsWindow and the list-editing scheme on pit: adding,
// deleting, moving, the 64-entry limit and the clearing of a reused characteristic's columns,
// checked in the .dbf files with fresh cursors.
#include "listsfixture.h"
#include "namedchild.h"

#include "lists/window/characteristicswindow.h"
#include "lists/window/deleteconfirmation.h"
#include "widgets/tablegrid.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using lists::CharacteristicsWindow;
using lists::DeleteConfirmation;

class TestCharacteristicsWindow final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void opensWithoutThePriceRecord();
    void addAtEndTakesTheFirstFreeSlot();
    void addAboveTheFirstEntryKeepsThePrice();
    void sixtyFourEntriesHideTheAddButtons();
    void deleteLandsOnTheRightEntry_data();
    void deleteLandsOnTheRightEntry();
    void cancelledConfirmationDeletesNothing_data();
    void cancelledConfirmationDeletesNothing();
    void deletedThenAddedReusesTheSlotEmpty();
    void move_data();
    void move();
    void moveHidesTheOtherButtons();
    void typedNameIsStored();
    void cellBeingTypedIsStoredAtClose();
    void scrollMakesTheGridReadOnly();
    void closeRestoresTheNormalRange();
    void emptyListOffersOnlyAddAtEnd();
    void hiddenAddChangesNothing_data();
    void hiddenAddChangesNothing();

private:
    void open();
    void goTo(int order);
    void confirmDelete(bool yes);
    QPushButton *button(const char *name) const
    {
        return namedChild<QPushButton>(window.get(), name);
    }
    widgets::TableGrid *grid() const
    {
        return namedChild<widgets::TableGrid>(window.get(), "characteristicsGrid");
    }
    QLabel *counts() const { return namedChild<QLabel>(window.get(), "countsLabel"); }

    std::unique_ptr<ListsFixture> fixture;
    std::unique_ptr<CharacteristicsWindow> window;
};

void TestCharacteristicsWindow::init()
{
    fixture = std::make_unique<ListsFixture>();
}

void TestCharacteristicsWindow::cleanup()
{
    window.reset();
    fixture.reset();
}

void TestCharacteristicsWindow::open()
{
    window = std::make_unique<CharacteristicsWindow>(fixture->dm());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestCharacteristicsWindow::goTo(int order)
{
    QVERIFY(fixture->dm().characteristics.findKey(order));
}

void TestCharacteristicsWindow::confirmDelete(bool yes)
{
    onNextModal<DeleteConfirmation>([yes](DeleteConfirmation *dialog) {
        auto *cancel = namedChild<QPushButton>(dialog, "cancelButton");
        QCOMPARE(dialog->focusWidget(), cancel); // the safe answer has the focus
        (yes ? namedChild<QPushButton>(dialog, "confirmButton") : cancel)->click();
    });
    button("deleteButton")->click();
}

// Rule: while the window is open the price record (order 1) is out of reach.
void TestCharacteristicsWindow::opensWithoutThePriceRecord()
{
    open();
    QCOMPARE(grid()->model()->rowCount(), 9);
    QCOMPARE(fixture->dm().characteristics.integer("order"), 2);
    QCOMPARE(grid()->currentIndex().row(), 0);
    QVERIFY(grid()->isReadOnly());
    QVERIFY(button("addAboveButton")->isVisible() && button("addAtEndButton")->isVisible());
}

void TestCharacteristicsWindow::addAtEndTakesTheFirstFreeSlot()
{
    open();
    button("addAtEndButton")->click();
    QCOMPARE(fixture->count("pit"), 11);
    QVERIFY(!grid()->isReadOnly());
    QCOMPARE(fixture->dm().characteristics.integer("order"), 11);
    QCOMPARE(fixture->dm().characteristics.integer("KEY"), 11);
    QCOMPARE(grid()->currentIndex().row(), 9);
    QCOMPARE(fixture->listTexts("pit.dbf", "PIT").last(), QString());
}

// Edge: adding above the first entry puts the blank at position 2, the price stays 1.
void TestCharacteristicsWindow::addAboveTheFirstEntryKeepsThePrice()
{
    open();
    button("addAboveButton")->click();
    const QStringList names = fixture->listTexts("pit.dbf", "PIT");
    QCOMPARE(names.size(), 11);
    QCOMPARE(names.at(0), QStringLiteral("Цена"));
    QCOMPARE(names.at(1), QString());
    QCOMPARE(names.at(2), QStringLiteral("ХАРАКТЕРИСТИКА 2"));
    QCOMPARE(fixture->dm().characteristics.integer("order"), 2);
    QCOMPARE(fixture->dm().characteristics.integer("KEY"), 11);
    QVERIFY(!grid()->isReadOnly());
}

// Edge: with 64 entries no add button is offered; after a delete both come back.
void TestCharacteristicsWindow::sixtyFourEntriesHideTheAddButtons()
{
    open();
    for (int i = 0; i < 55; ++i)
        button("addAtEndButton")->click();
    QCOMPARE(fixture->count("pit"), 65);
    QVERIFY(button("addAboveButton")->isHidden());
    QVERIFY(button("addAtEndButton")->isHidden());
    button("addAtEndButton")->click(); // the pool is full: nothing happens even if pressed
    QCOMPARE(fixture->count("pit"), 65);
    confirmDelete(true);
    QCOMPARE(fixture->count("pit"), 64);
    QVERIFY(button("addAboveButton")->isVisible());
    QVERIFY(button("addAtEndButton")->isVisible());
}

void TestCharacteristicsWindow::deleteLandsOnTheRightEntry_data()
{
    QTest::addColumn<int>("deleted");
    QTest::addColumn<int>("landsOn"); // order of the entry current afterwards
    QTest::addColumn<QString>("name");
    QTest::newRow("first") << 2 << 2 << "ХАРАКТЕРИСТИКА 3";
    QTest::newRow("middle") << 5 << 4 << "ХАРАКТЕРИСТИКА 4";
    QTest::newRow("last") << 10 << 9 << "ХАРАКТЕРИСТИКА 9";
}

void TestCharacteristicsWindow::deleteLandsOnTheRightEntry()
{
    QFETCH(int, deleted);
    QFETCH(int, landsOn);
    QFETCH(QString, name);
    open();
    goTo(deleted);
    confirmDelete(true);
    store::Table &pit = fixture->dm().characteristics;
    QCOMPARE(pit.integer("order"), landsOn);
    QCOMPARE(pit.text("PIT").trimmed(), name);
    QCOMPARE(grid()->currentIndex().row(), landsOn - 2);
    QCOMPARE(fixture->count("pit"), 9);
    const QStringList names = fixture->listTexts("pit.dbf", "PIT");
    QCOMPARE(names.size(), 9);
    QVERIFY(!names.contains(QStringLiteral("ХАРАКТЕРИСТИКА %1").arg(deleted)));
    // The deleted entry is the first free slot, its values kept.
    auto table = fixture->fresh("pit.dbf");
    QVERIFY(table->findKey(10));
    QCOMPARE(table->text("PIT").trimmed(), QStringLiteral("ХАРАКТЕРИСТИКА %1").arg(deleted));
}

void TestCharacteristicsWindow::cancelledConfirmationDeletesNothing_data()
{
    QTest::addColumn<bool>("byWindowClose");
    QTest::newRow("cancel button") << false;
    QTest::newRow("window closed") << true;
}

void TestCharacteristicsWindow::cancelledConfirmationDeletesNothing()
{
    QFETCH(bool, byWindowClose);
    open();
    goTo(4);
    onNextModal<DeleteConfirmation>([byWindowClose](DeleteConfirmation *dialog) {
        if (byWindowClose)
            dialog->close();
        else
            namedChild<QPushButton>(dialog, "cancelButton")->click();
    });
    button("deleteButton")->click();
    QCOMPARE(fixture->count("pit"), 10);
    QCOMPARE(fixture->listTexts("pit.dbf", "PIT").size(), 10);
    QCOMPARE(fixture->dm().characteristics.integer("order"), 4);
}

// Edge: delete then add reuses the slot: the old KEY, and its columns in kk and sir are
// empty, not the old values (free slots of kk and sir are left alone).
void TestCharacteristicsWindow::deletedThenAddedReusesTheSlotEmpty()
{
    open();
    goTo(6); // KEY 6
    confirmDelete(true);
    button("addAtEndButton")->click();
    QCOMPARE(fixture->dm().characteristics.integer("KEY"), 6);
    window->close();

    auto kk = fixture->fresh("kk.dbf");
    for (kk->first(); !kk->eof(); kk->next()) {
        const bool listed = kk->integer("order") <= 8;
        QCOMPARE(kk->isBlank("MI6"), listed);
        QCOMPARE(kk->isBlank("MA6"), listed);
        QVERIFY(!kk->isBlank("MI5"));
    }
    auto sir = fixture->fresh("sir.dbf");
    for (sir->first(); !sir->eof(); sir->next()) {
        QCOMPARE(sir->isBlank("MI6"), sir->integer("order") <= 8);
        QVERIFY(!sir->isBlank("MI7"));
    }
}

void TestCharacteristicsWindow::move_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QList<int>>("keys"); // KEY in list order 2 ... 10 afterwards
    QTest::newRow("down") << 3 << 6 << QList<int>{2, 4, 5, 6, 3, 7, 8, 9, 10};
    QTest::newRow("up") << 8 << 2 << QList<int>{8, 2, 3, 4, 5, 6, 7, 9, 10};
    QTest::newRow("onto itself") << 5 << 5 << QList<int>{2, 3, 4, 5, 6, 7, 8, 9, 10};
    QTest::newRow("to the end") << 2 << 10 << QList<int>{3, 4, 5, 6, 7, 8, 9, 10, 2};
}

void TestCharacteristicsWindow::move()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QList<int>, keys);
    open();
    goTo(from);
    button("moveButton")->click();
    QCOMPARE(button("moveButton")->text(), QStringLiteral("Поставить сюда"));
    goTo(to);
    button("moveButton")->click();
    QCOMPARE(button("moveButton")->text(), QStringLiteral("Переместить"));
    QCOMPARE(fixture->dm().characteristics.integer("KEY"), from); // the moved entry is current
    QCOMPARE(fixture->dm().characteristics.integer("order"), to);
    QList<int> stored;
    for (const QString &key : fixture->listTexts("pit.dbf", "KEY", 2))
        stored << key.toInt();
    QCOMPARE(stored, keys);
}

void TestCharacteristicsWindow::moveHidesTheOtherButtons()
{
    open();
    button("moveButton")->click();
    for (QPushButton *b : {button("addAboveButton"), button("addAtEndButton"),
                           button("deleteButton"), button("correctButton"), button("exitButton")})
        QVERIFY(b->isHidden());
    button("moveButton")->click();
    for (QPushButton *b : {button("addAboveButton"), button("addAtEndButton"),
                           button("deleteButton"), button("correctButton"), button("exitButton")})
        QVERIFY(b->isVisible());
}

void TestCharacteristicsWindow::typedNameIsStored()
{
    open();
    button("addAtEndButton")->click();
    auto *model = grid()->model();
    QVERIFY(model->setData(model->index(9, 0), QStringLiteral("Селен")));
    QVERIFY(model->setData(model->index(9, 1), QStringLiteral("мг/кг")));
    window->close();
    QCOMPARE(fixture->listTexts("pit.dbf", "PIT").last(), QStringLiteral("Селен"));
    QCOMPARE(fixture->listTexts("pit.dbf", "EDIZ").last(), QStringLiteral("мг/кг"));
}

void TestCharacteristicsWindow::cellBeingTypedIsStoredAtClose()
{
    open();
    goTo(3);
    button("correctButton")->click();
    QTest::keyClick(grid(), 'l'); // typing opens the editor
    auto *editor = grid()->viewport()->findChild<QLineEdit *>();
    QVERIFY(editor && editor->isVisible());
    QTest::keyClicks(editor, "ys");
    window->close();
    QCOMPARE(fixture->listTexts("pit.dbf", "PIT").at(2), QStringLiteral("lys"));
}

void TestCharacteristicsWindow::scrollMakesTheGridReadOnly()
{
    open();
    button("correctButton")->click();
    QVERIFY(!grid()->isReadOnly());
    QTest::keyClick(grid(), Qt::Key_Down);
    QCOMPARE(fixture->dm().characteristics.integer("order"), 3);
    QVERIFY(grid()->isReadOnly());
}

void TestCharacteristicsWindow::closeRestoresTheNormalRange()
{
    open();
    window->close();
    store::Table &pit = fixture->dm().characteristics;
    QCOMPARE(pit.viewCount(), 10);
    QCOMPARE(pit.integer("order"), 1);
}

// Edge: with the price record alone only "Добавить в конец" and "Выход" are offered; the
// counts line tells how many of the 64 are in use.
void TestCharacteristicsWindow::emptyListOffersOnlyAddAtEnd()
{
    fixture = std::make_unique<ListsFixture>(ListsData{.characteristics = 1});
    open();
    QCOMPARE(grid()->model()->rowCount(), 0);
    for (QPushButton *b : {button("addAboveButton"), button("deleteButton"), button("moveButton"),
                           button("correctButton")})
        QVERIFY(b->isHidden());
    QVERIFY(button("addAtEndButton")->isVisible() && button("exitButton")->isVisible());
    QCOMPARE(counts()->text(), QStringLiteral("Характеристик в списке: 0 из 64"));
    button("addAtEndButton")->click();
    for (QPushButton *b :
         {button("addAboveButton"), button("addAtEndButton"), button("deleteButton"),
          button("moveButton"), button("correctButton"), button("exitButton")})
        QVERIFY(b->isVisible());
    QCOMPARE(counts()->text(), QStringLiteral("Характеристик в списке: 1 из 64"));
}

void TestCharacteristicsWindow::hiddenAddChangesNothing_data()
{
    QTest::addColumn<bool>("above");
    QTest::newRow("add at end") << false;
    QTest::newRow("add above") << true;
}

// A full list hides its add buttons; pressed all the same (by a program) they add nothing
// and leave the columns of the current characteristic alone.
void TestCharacteristicsWindow::hiddenAddChangesNothing()
{
    QFETCH(bool, above);
    fixture = std::make_unique<ListsFixture>(ListsData{.characteristics = 65});
    open();
    goTo(3);
    QVERIFY(button("addAboveButton")->isHidden() && button("addAtEndButton")->isHidden());
    (above ? button("addAboveButton") : button("addAtEndButton"))->click();
    QCOMPARE(fixture->count("pit"), 65);
    QCOMPARE(fixture->dm().characteristics.integer("order"), 3);
    window->close();
    auto kk = fixture->fresh("kk.dbf");
    QVERIFY(kk->findKey(1));
    QCOMPARE(kk->number("MI3"), 103.0);
    QCOMPARE(kk->number("MA3"), 103.5);
    auto sir = fixture->fresh("sir.dbf");
    QVERIFY(sir->findKey(1));
    QCOMPARE(sir->number("MI3"), 103.0);
}

QTEST_MAIN(TestCharacteristicsWindow)
#include "tst_characteristicswindow.moc"
