// The raw materials window RawMaterialsWindow: selection for calculation with its limit of 50, the
// highlight search and its filters, the buttons offered, clearing of a reused slot and
// contents typed into the characteristic panel, checked in the .dbf files.
#include "listsfixture.h"
#include "namedchild.h"

#include "lists/window/characteristicpanel.h"
#include "lists/window/deleteconfirmation.h"
#include "lists/window/fieldwidgets.h"
#include "lists/window/rawmaterialswindow.h"
#include "lists/window/selectionkey.h"
#include "typingfixture.h"
#include "widgets/tablegrid.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using lists::DeleteConfirmation;
using lists::RawMaterialsWindow;
using lists::SelectionKeyDialog;

class TestRawMaterialsWindow final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void activationCountsAndBindsThePanel();
    void fiftyFirstSelectionIsRefused();
    void selectingResetsStockDeselectingKeepsIt();
    void highlight_data();
    void highlight();
    void highlightUnderTheSelectionFilterNarrowsToBoth();
    void filteredWindowOffersNoListChanges();
    void deselectAllClearsEveryMark();
    void reusedSlotStartsEmpty();
    void typedContentIsStored();
    void typingLeftInAFieldIsStoredAtClose();
    void refusedContentIsSaidOnce_data();
    void refusedContentIsSaidOnce();
    void scrollMakesTheFieldsReadOnly();
    void deletedSelectionCountsUntilNextActivation();
    void emptyViewOffers_data();
    void emptyViewOffers();
    void countsLineFollowsListAndSelection();
    void moveHidesEveryOtherButton();
    void closeEndsAMove();
    void hiddenAddChangesNothing_data();
    void hiddenAddChangesNothing();

private:
    void open();
    void goTo(int order);
    void select(int order);
    void highlightBy(const QString &key);
    void rename(int order, const QString &name);
    QPushButton *button(const char *name) const
    {
        return namedChild<QPushButton>(window.get(), name);
    }
    widgets::TableGrid *grid() const
    {
        return namedChild<widgets::TableGrid>(window.get(), "rawMaterialsGrid");
    }
    lists::CharacteristicPanel *panel() const
    {
        return namedChild<lists::CharacteristicPanel>(window.get(), "characteristicPanel");
    }
    QLabel *counts() const { return namedChild<QLabel>(window.get(), "countsLabel"); }

    std::unique_ptr<ListsFixture> fixture;
    std::unique_ptr<RawMaterialsWindow> window;
};

void TestRawMaterialsWindow::init()
{
    ListsData data;
    data.rawCount = 55;
    fixture = std::make_unique<ListsFixture>(data);
}

void TestRawMaterialsWindow::cleanup()
{
    window.reset();
    fixture.reset();
}

void TestRawMaterialsWindow::open()
{
    window = std::make_unique<RawMaterialsWindow>(fixture->dm());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestRawMaterialsWindow::goTo(int order)
{
    QVERIFY(fixture->dm().rawMaterials.findKey(order));
}

void TestRawMaterialsWindow::select(int order)
{
    goTo(order);
    button("selectButton")->click();
}

void TestRawMaterialsWindow::highlightBy(const QString &key)
{
    onNextModal<SelectionKeyDialog>([key](SelectionKeyDialog *dialog) {
        QVERIFY(namedChild<QLineEdit>(dialog, "keyEdit")->text().isEmpty());
        namedChild<QLineEdit>(dialog, "keyEdit")->insert(key); // QTest types ASCII only
        namedChild<QPushButton>(dialog, "runButton")->click();
    });
    button("highlightButton")->click();
}

void TestRawMaterialsWindow::rename(int order, const QString &name)
{
    store::Table &sir = fixture->dm().rawMaterials;
    QVERIFY(sir.findKey(order));
    sir.setText("NAIM", name);
    sir.post();
}

void TestRawMaterialsWindow::activationCountsAndBindsThePanel()
{
    store::Table &sir = fixture->dm().rawMaterials;
    for (int order : {3, 7, 9}) {
        QVERIFY(sir.findKey(order));
        sir.setText("ot", "+");
        sir.post();
    }
    open();
    QCOMPARE(fixture->dm().selectedRawCount, 3);
    QCOMPARE(sir.integer("order"), 1);
    QCOMPARE(panel()->shownGroups(), 9); // characteristics 2 ... 10
    QCOMPARE(panel()->caption(0)->text(), QStringLiteral("ХАРАКТЕРИСТИКА 2"));
    QCOMPARE(panel()->field(0, 0)->text(), QStringLiteral("102"));
    QVERIFY(panel()->caption(9)->isHidden());
    goTo(4);
    QCOMPARE(panel()->field(8, 0)->text(), QStringLiteral("410"));
    QCOMPARE(grid()->currentIndex().row(), 3);
    const QModelIndex selectedRow = grid()->model()->index(2, 0);
    QCOMPARE(selectedRow.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    QVERIFY(!grid()->model()->index(3, 0).data(Qt::ForegroundRole).isValid());
}

// Edge: the 51st selection is refused with the message ending "50." and changes nothing.
void TestRawMaterialsWindow::fiftyFirstSelectionIsRefused()
{
    open();
    for (int order = 1; order <= 50; ++order)
        select(order);
    QCOMPARE(fixture->dm().selectedRawCount, 50);
    QString message;
    catchNextMessage(&message);
    select(51);
    QCOMPARE(message, QStringLiteral("Уже отобрано допустимое количество типов сырья - 50."));
    QCOMPARE(fixture->dm().selectedRawCount, 50);
    auto sir = fixture->fresh("sir.dbf");
    QVERIFY(sir->findKey(51));
    QCOMPARE(sir->text("ot").trimmed(), QString());
    QVERIFY(sir->findKey(50));
    QCOMPARE(sir->text("ot").trimmed(), QStringLiteral("+"));
    // Deselecting one makes room again.
    select(50);
    select(51);
    QCOMPARE(fixture->dm().selectedRawCount, 50);
}

// Edge: selecting resets the stock to 0; deselecting leaves it.
void TestRawMaterialsWindow::selectingResetsStockDeselectingKeepsIt()
{
    open();
    select(5);
    auto sir = fixture->fresh("sir.dbf");
    QVERIFY(sir->findKey(5));
    QCOMPARE(sir->number("VES"), 0.0);
    store::Table &live = fixture->dm().rawMaterials;
    live.setNumber("VES", 12.5);
    live.post();
    select(5);
    sir = fixture->fresh("sir.dbf");
    QVERIFY(sir->findKey(5));
    QCOMPARE(sir->number("VES"), 12.5);
    QCOMPARE(sir->text("ot").trimmed(), QString());
    QCOMPARE(fixture->dm().selectedRawCount, 0);
}

void TestRawMaterialsWindow::highlight_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("shown"); // names in the view afterwards
    QTest::addColumn<QString>("message");
    QTest::newRow("lower case finds upper case")
        << "жмых" << QStringList{"ЖМЫХ ПОДСОЛНЕЧНЫЙ", "Жмых рапсовый"} << QString();
    QTest::newRow("mixed case") << "СоЕв" << QStringList{"Шрот соевый"} << QString();
    QTest::newRow("blanks are kept inside the key")
        << "т с" << QStringList{"Шрот соевый"} << QString();
    QTest::newRow("blank key is no search") << "   " << QStringList() << QString();
    QTest::newRow("no match") << "овес" << QStringList()
                              << "Записей, соответствующих ключу, нет...";
}

// Edge: a lower-case key finds upper- and mixed-case names; a blank key is no search.
void TestRawMaterialsWindow::highlight()
{
    QFETCH(QString, key);
    QFETCH(QStringList, shown);
    QFETCH(QString, message);
    rename(2, "ЖМЫХ ПОДСОЛНЕЧНЫЙ");
    rename(4, "Шрот соевый");
    rename(6, "Жмых рапсовый");
    open();
    QString caught;
    if (!message.isEmpty())
        catchNextMessage(&caught);
    highlightBy(key);
    QCOMPARE(caught, message);
    store::Table &sir = fixture->dm().rawMaterials;
    if (shown.isEmpty()) {
        QCOMPARE(sir.filter(), QString());
        QCOMPARE(sir.viewCount(), 55);
        return;
    }
    QCOMPARE(sir.filter(), QStringLiteral("vibor='+'"));
    QStringList names;
    for (int row = 0; row < grid()->model()->rowCount(); ++row)
        names << grid()->model()->index(row, 0).data().toString();
    QCOMPARE(names, shown);
    QVERIFY(button("addAtEndButton")->isHidden() && button("selectButton")->isHidden());
    QVERIFY(button("correctButton")->isVisible() && button("highlightButton")->isVisible());
    button("cancelHighlightButton")
        ->click(); // cancel: the whole list, the cursor on the same record
    QCOMPARE(sir.viewCount(), 55);
    QCOMPARE(sir.text("NAIM").trimmed(), shown.first());
    QVERIFY(button("addAtEndButton")->isVisible());
}

// Edge: a highlight under the selection filter narrows to records both selected and
// matched; cancelling returns to the selected ones.
void TestRawMaterialsWindow::highlightUnderTheSelectionFilterNarrowsToBoth()
{
    rename(2, "ЖМЫХ ПОДСОЛНЕЧНЫЙ");
    rename(6, "Жмых рапсовый");
    store::Table &sir = fixture->dm().rawMaterials;
    for (int order : {1, 2, 3}) {
        QVERIFY(sir.findKey(order));
        sir.setText("ot", "+");
        sir.post();
    }
    sir.setFilter("ot='+'"); // as the calculation preparation window leaves it
    sir.setFiltered(true);
    open();
    QCOMPARE(sir.viewCount(), 3);
    highlightBy("жмых");
    QCOMPARE(sir.filter(), QStringLiteral("ot='+' and vibor='+'"));
    QCOMPARE(sir.viewCount(), 1);
    QCOMPARE(sir.text("NAIM").trimmed(), QStringLiteral("ЖМЫХ ПОДСОЛНЕЧНЫЙ"));
    button("cancelHighlightButton")->click();
    QCOMPARE(sir.filter(), QStringLiteral("ot='+'"));
    QVERIFY(sir.filtered());
    QCOMPARE(sir.viewCount(), 3);
    QCOMPARE(sir.integer("order"), 2);
}

// Edge: opened from the calculation preparation window (filtered), no add, delete, move
// or selection button is offered.
void TestRawMaterialsWindow::filteredWindowOffersNoListChanges()
{
    store::Table &sir = fixture->dm().rawMaterials;
    QVERIFY(sir.findKey(3));
    sir.setText("ot", "+");
    sir.post();
    sir.setFilter("ot='+'");
    sir.setFiltered(true);
    open();
    for (QPushButton *b :
         {button("addAtEndButton"), button("addAboveButton"), button("moveButton"),
          button("deleteButton"), button("selectButton"), button("deselectAllButton")})
        QVERIFY(b->isHidden());
    for (QPushButton *b : {button("correctButton"), button("highlightButton"),
                           button("cancelHighlightButton"), button("exitButton")})
        QVERIFY(b->isVisible());
    window->close();
    QCOMPARE(sir.filter(), QStringLiteral("ot='+'")); // the opener's filter stays
}

void TestRawMaterialsWindow::deselectAllClearsEveryMark()
{
    open();
    for (int order : {1, 4, 40})
        select(order);
    goTo(4);
    button("deselectAllButton")->click();
    QCOMPARE(fixture->dm().selectedRawCount, 0);
    QCOMPARE(fixture->dm().rawMaterials.integer("order"), 4);
    auto sir = fixture->fresh("sir.dbf");
    for (sir->first(); !sir->eof(); sir->next())
        QCOMPARE(sir->text("ot").trimmed(), QString());
}

// A slot that held a deleted raw material (selected, with contents and limits) comes
// back empty: contents, marks and its norm limits cleared (empty, not zero).
void TestRawMaterialsWindow::reusedSlotStartsEmpty()
{
    store::Table &norm = fixture->dm().inclusionNorms;
    norm.open();
    norm.append();
    norm.setNumber("kodkk", 1);
    norm.setNumber("kods", 55);
    norm.setNumber("min", 5);
    norm.setNumber("max", 10);
    norm.post();
    norm.close();
    open();
    select(55);
    goTo(55);
    onNextModal<DeleteConfirmation>([](DeleteConfirmation *dialog) {
        namedChild<QPushButton>(dialog, "confirmButton")->click();
    });
    button("deleteButton")->click();
    QCOMPARE(fixture->count("sir"), 54);
    button("addAtEndButton")->click(); // add at end: takes slot kods 55 again
    store::Table &sir = fixture->dm().rawMaterials;
    QCOMPARE(sir.integer("kods"), 55);
    QVERIFY(!grid()->isReadOnly());
    QVERIFY(!panel()->field(0, 0)->isReadOnly());
    window->close();
    auto stored = fixture->fresh("sir.dbf");
    QVERIFY(stored->findKey(55));
    QCOMPARE(stored->text("NAIM").trimmed(), QString());
    for (int key = 1; key <= 65; ++key)
        QVERIFY2(stored->isBlank(QStringLiteral("MI%1").arg(key)),
                 qPrintable(QString::number(key)));
    QVERIFY(stored->isBlank("ot"));
    auto limits = fixture->fresh("norm.dbf");
    limits->first();
    QCOMPARE(limits->integer("kods"), 55);
    QVERIFY(limits->isBlank("min"));
    QVERIFY(limits->isBlank("max"));
}

void TestRawMaterialsWindow::typedContentIsStored()
{
    open();
    goTo(3);
    button("correctButton")->click();
    lists::FieldEdit *edit = panel()->field(1, 0); // characteristic 3
    QVERIFY(!edit->isReadOnly());
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "12,75");
    QTest::keyClick(edit, Qt::Key_Return); // writes and moves on
    edit = panel()->field(2, 0);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClick(edit, Qt::Key_Return); // empty: a blank field, not zero
    window->close();
    auto sir = fixture->fresh("sir.dbf");
    QVERIFY(sir->findKey(3));
    QCOMPARE(sir->number("MI3"), 12.75);
    QVERIFY(sir->isBlank("MI4"));
}

// Nothing typed is lost when the window is closed while the field still has the focus.
void TestRawMaterialsWindow::typingLeftInAFieldIsStoredAtClose()
{
    open();
    goTo(6);
    button("correctButton")->click();
    lists::FieldEdit *edit = panel()->field(0, 0);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "7.5");
    window->close();
    auto sir = fixture->fresh("sir.dbf");
    QVERIFY(sir->findKey(6));
    QCOMPARE(sir->number("MI2"), 7.5);
}

void TestRawMaterialsWindow::refusedContentIsSaidOnce_data()
{
    QTest::addColumn<int>("dismiss"); // typing::Dismiss
    QTest::newRow("Enter") << int(typing::Dismiss::Key);
    QTest::newRow("mouse") << int(typing::Dismiss::Mouse);
}

// A content that is not a number: one message, the stored value shown again, and the
// typing goes on in the next field.
void TestRawMaterialsWindow::refusedContentIsSaidOnce()
{
    QFETCH(int, dismiss);
    open();
    goTo(3);
    button("correctButton")->click();
    QApplication::setActiveWindow(window.get());
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    lists::FieldEdit *edit = panel()->field(1, 0); // characteristic 3
    edit->setFocus();
    edit->selectAll();
    typing::MessageCatcher boxes{typing::Dismiss(dismiss)};
    typing::typeKeys(QStringLiteral("12a"));
    typing::pressKey(Qt::Key_Return);
    QCOMPARE(boxes.texts.size(), 1);
    QVERIFY(boxes.texts.at(0).startsWith(QStringLiteral("\"12a\" - не число.")));
    QCOMPARE(edit->text(), QStringLiteral("303"));
    QCOMPARE(typing::keyTarget(), panel()->field(2, 0));
    typing::pressKey(Qt::Key_End);
    typing::typeKeys(QStringLiteral("5"));
    typing::pressKey(Qt::Key_Return);
    QCOMPARE(boxes.texts.size(), 1);
    window->close();
    auto sir = fixture->fresh("sir.dbf");
    QVERIFY(sir->findKey(3));
    QCOMPARE(sir->number("MI3"), 303.0);
    QCOMPARE(sir->number("MI4"), 3045.0);
}

void TestRawMaterialsWindow::scrollMakesTheFieldsReadOnly()
{
    open();
    button("correctButton")->click();
    QVERIFY(!panel()->fieldsReadOnly());
    QTest::keyClick(grid(), Qt::Key_Down);
    QCOMPARE(fixture->dm().rawMaterials.integer("order"), 2);
    QVERIFY(panel()->fieldsReadOnly());
    QVERIFY(grid()->isReadOnly());
}

// Edge: deleting a selected raw material does not lower the count at once.
void TestRawMaterialsWindow::deletedSelectionCountsUntilNextActivation()
{
    open();
    select(2);
    goTo(2);
    onNextModal<DeleteConfirmation>([](DeleteConfirmation *dialog) {
        namedChild<QPushButton>(dialog, "confirmButton")->click();
    });
    button("deleteButton")->click();
    QCOMPARE(fixture->dm().selectedRawCount, 1);
    window->close();
    window->show();
    QCOMPARE(fixture->dm().selectedRawCount, 0);
}

void TestRawMaterialsWindow::emptyViewOffers_data()
{
    QTest::addColumn<bool>("filtered");
    QTest::newRow("empty list") << false;
    QTest::newRow("selection filter, nothing selected") << true;
}

// Edge: an empty view offers "Добавить в конец" and "Выход" only, and under the
// selection filter not even the add.
void TestRawMaterialsWindow::emptyViewOffers()
{
    QFETCH(bool, filtered);
    fixture = std::make_unique<ListsFixture>(ListsData{.rawCount = filtered ? 55 : 0});
    if (filtered) {
        fixture->dm().rawMaterials.setFilter("ot='+'");
        fixture->dm().rawMaterials.setFiltered(true);
    }
    open();
    QCOMPARE(grid()->model()->rowCount(), 0);
    for (QPushButton *b :
         {button("addAboveButton"), button("moveButton"), button("deleteButton"),
          button("correctButton"), button("selectButton"), button("deselectAllButton"),
          button("highlightButton"), button("cancelHighlightButton")})
        QVERIFY(b->isHidden());
    QCOMPARE(button("addAtEndButton")->isVisible(), !filtered);
    QVERIFY(button("exitButton")->isVisible());
}

void TestRawMaterialsWindow::countsLineFollowsListAndSelection()
{
    open();
    QCOMPARE(counts()->text(), QStringLiteral("Сырья в списке: 55.  Отобрано к расчету: 0 из 50"));
    select(2);
    QCOMPARE(counts()->text(), QStringLiteral("Сырья в списке: 55.  Отобрано к расчету: 1 из 50"));
    button("addAtEndButton")->click();
    QCOMPARE(counts()->text(), QStringLiteral("Сырья в списке: 56.  Отобрано к расчету: 1 из 50"));
}

// Rule: during a move only "Поставить сюда" is offered; the second press offers all again.
void TestRawMaterialsWindow::moveHidesEveryOtherButton()
{
    open();
    const QList<QPushButton *> all{
        button("addAtEndButton"),    button("addAboveButton"),  button("moveButton"),
        button("deleteButton"),      button("correctButton"),   button("selectButton"),
        button("deselectAllButton"), button("highlightButton"), button("cancelHighlightButton"),
        button("exitButton")};
    goTo(3);
    button("moveButton")->click();
    QCOMPARE(button("moveButton")->text(), QStringLiteral("Поставить сюда"));
    for (QPushButton *b : all)
        QCOMPARE(b->isVisible(), b == button("moveButton"));
    goTo(5);
    button("moveButton")->click();
    QCOMPARE(button("moveButton")->text(), QStringLiteral("Переместить"));
    for (QPushButton *b : all)
        QVERIFY(b->isVisible());
    QCOMPARE(fixture->listTexts("sir.dbf", "NAIM").at(4), QStringLiteral("СЫРЬЕ 3"));
}

// A move left half done when the window closes is forgotten: the next activation starts
// with "Переместить" and every button, and nothing was moved.
void TestRawMaterialsWindow::closeEndsAMove()
{
    open();
    goTo(3);
    button("moveButton")->click();
    window->close();
    QCOMPARE(button("moveButton")->text(), QStringLiteral("Переместить"));
    const QStringList names = fixture->listTexts("sir.dbf", "NAIM");
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    for (QPushButton *b : {button("addAtEndButton"), button("deleteButton"),
                           button("correctButton"), button("exitButton")})
        QVERIFY(b->isVisible());
    button("moveButton")->click(); // a first phase again
    QCOMPARE(button("moveButton")->text(), QStringLiteral("Поставить сюда"));
    QCOMPARE(fixture->listTexts("sir.dbf", "NAIM"), names);
}

void TestRawMaterialsWindow::hiddenAddChangesNothing_data()
{
    QTest::addColumn<bool>("above");
    QTest::newRow("add at end") << false;
    QTest::newRow("add above") << true;
}

// A full pool hides the add buttons; pressed all the same (by a program) they add nothing
// and leave the current raw material as it was.
void TestRawMaterialsWindow::hiddenAddChangesNothing()
{
    QFETCH(bool, above);
    fixture = std::make_unique<ListsFixture>(ListsData{.rawPool = 60, .rawCount = 60});
    open();
    select(5);
    QVERIFY(button("addAtEndButton")->isHidden() && button("addAboveButton")->isHidden());
    (above ? button("addAboveButton") : button("addAtEndButton"))->click();
    QCOMPARE(fixture->count("sir"), 60);
    QCOMPARE(fixture->dm().selectedRawCount, 1);
    window->close();
    auto sir = fixture->fresh("sir.dbf");
    QVERIFY(sir->findKey(5));
    QCOMPARE(sir->text("NAIM").trimmed(), QStringLiteral("СЫРЬЕ 5"));
    QCOMPARE(sir->number("MI2"), 502.0);
    QCOMPARE(sir->text("ot").trimmed(), QStringLiteral("+"));
}

QTEST_MAIN(TestRawMaterialsWindow)
#include "tst_rawmaterialswindow.moc"
