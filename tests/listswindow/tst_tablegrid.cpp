// The grid over a shared table cursor: rows follow the cursor's view, the current row and
// the cursor follow each other, edits post at once (blank for an empty number), read-only
// switching, flagged rows, and the data-source switch.
#include "listsfixture.h"

#include "typingfixture.h"
#include "widgets/tablegrid.h"

#include "store/unreadablenumber.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

class TestTableGrid final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void rowsFollowTheView();
    void currentRowAndCursorFollowEachOther();
    void edits_data();
    void edits();
    void readOnlyRefusesEdits();
    void flaggedRowsAreRed();
    void dataSourceOffIgnoresTheCursor();
    void textEditsAreLimitedToTheFieldWidth();
    void typingGoesOnAfterARefusal_data();
    void typingGoesOnAfterARefusal();
    void unreadableNumberIsMarkedAndTypedOver();

private:
    std::unique_ptr<ListsFixture> fixture;
    std::unique_ptr<widgets::TableGrid> grid;
};

void TestTableGrid::init()
{
    fixture = std::make_unique<ListsFixture>();
    grid = std::make_unique<widgets::TableGrid>(
        &fixture->dm().rawMaterials, QList<widgets::GridColumn>{{"NAIM", "Наименование", 200},
                                                                {"MI2", "Мин.", 60, 2},
                                                                {"MI3", "Третья", 60, -1, true}});
    grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
}

void TestTableGrid::cleanup()
{
    grid.reset();
    fixture.reset();
}

void TestTableGrid::rowsFollowTheView()
{
    store::Table &sir = fixture->dm().rawMaterials;
    QCOMPARE(grid->model()->rowCount(), 8);
    QCOMPARE(grid->model()->index(2, 0).data().toString(), QStringLiteral("СЫРЬЕ 3"));
    QCOMPARE(grid->model()->index(2, 1).data().toString(), QStringLiteral("302.00"));
    QCOMPARE(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Мин."));
    sir.setRange(3, 5);
    QCOMPARE(grid->model()->rowCount(), 3);
    QCOMPARE(grid->model()->index(0, 0).data().toString(), QStringLiteral("СЫРЬЕ 3"));
}

void TestTableGrid::currentRowAndCursorFollowEachOther()
{
    store::Table &sir = fixture->dm().rawMaterials;
    QVERIFY(sir.findKey(5));
    QCOMPARE(grid->currentIndex().row(), 4);
    grid->setCurrentIndex(grid->model()->index(6, 0));
    QCOMPARE(sir.integer("order"), 7);
    QTest::keyClick(grid.get(), Qt::Key_Up);
    QCOMPARE(sir.integer("order"), 6);
    QTest::keyClick(grid.get(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(grid.get(), Qt::Key_Down); // past the last row: nothing is added
    QCOMPARE(sir.integer("order"), 8);
    QCOMPARE(sir.viewCount(), 8);
    QCOMPARE(fixture->count("sir"), 8);
}

void TestTableGrid::edits_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QVariant>("stored"); // invalid: a blank field
    QTest::newRow("text") << 0 << "Мел кормовой" << true << QVariant("Мел кормовой");
    QTest::newRow("number") << 1 << "12.5" << true << QVariant(12.5);
    QTest::newRow("comma for the point") << 1 << "0,25" << true << QVariant(0.25);
    QTest::newRow("empty number is blank") << 1 << "" << true << QVariant();
    QTest::newRow("not a number") << 1 << "12a" << false << QVariant(202.0);
}

void TestTableGrid::edits()
{
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QFETCH(QVariant, stored);
    grid->setReadOnly(false);
    QString message;
    if (!accepted)
        catchNextMessage(&message);
    QCOMPARE(grid->model()->setData(grid->model()->index(1, column), typed), accepted);
    QCoreApplication::processEvents(); // the refusal is shown once the edit is over
    QCOMPARE(message.isEmpty(), accepted);
    auto sir = fixture->fresh("sir.dbf");
    QVERIFY(sir->findKey(2));
    const QString field = column == 0 ? "NAIM" : "MI2";
    if (!stored.isValid())
        QVERIFY(sir->isBlank(field));
    else if (column == 0)
        QCOMPARE(sir->text(field).trimmed(), stored.toString());
    else
        QCOMPARE(sir->number(field), stored.toDouble());
}

void TestTableGrid::readOnlyRefusesEdits()
{
    auto *model = grid->model();
    QVERIFY(grid->isReadOnly());
    QVERIFY(!(model->flags(model->index(0, 0)) & Qt::ItemIsEditable));
    QVERIFY(!model->setData(model->index(0, 0), "x"));
    grid->setReadOnly(false);
    QVERIFY(model->flags(model->index(0, 0)) & Qt::ItemIsEditable);
    QVERIFY(!(model->flags(model->index(0, 2)) & Qt::ItemIsEditable)); // a read-only column
}

void TestTableGrid::flaggedRowsAreRed()
{
    grid->gridModel()->setRowFlag("ot");
    store::Table &sir = fixture->dm().rawMaterials;
    QVERIFY(sir.findKey(4));
    sir.setText("ot", "+");
    sir.post();
    QCOMPARE(grid->model()->index(3, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    QVERIFY(!grid->model()->index(2, 0).data(Qt::ForegroundRole).isValid());
}

// While the data source is off the grid neither resets nor follows the cursor; it
// catches up when the data source comes back on.
void TestTableGrid::dataSourceOffIgnoresTheCursor()
{
    store::Table &sir = fixture->dm().rawMaterials;
    QSignalSpy resets(grid->model(), &QAbstractItemModel::modelReset);
    sir.setDataSourceEnabled(false);
    sir.setRange(1, 3);
    sir.last();
    QCOMPARE(resets.count(), 0);
    QCOMPARE(grid->model()->rowCount(), 8);
    QCOMPARE(grid->currentIndex().row(), 0);
    sir.setDataSourceEnabled(true);
    QCOMPARE(resets.count(), 1);
    QCOMPARE(grid->model()->rowCount(), 3);
    QCOMPARE(grid->currentIndex().row(), 2);
    // Off and on with nothing changed: no reset.
    sir.setDataSourceEnabled(false);
    sir.setDataSourceEnabled(true);
    QCOMPARE(resets.count(), 1);
}

void TestTableGrid::textEditsAreLimitedToTheFieldWidth()
{
    QCOMPARE(grid->model()->index(0, 0).data(Qt::UserRole).toInt(), 30);
    QCOMPARE(grid->model()->index(0, 1).data(Qt::UserRole).toInt(), 0);
}

void TestTableGrid::typingGoesOnAfterARefusal_data()
{
    QTest::addColumn<int>("dismiss"); // typing::Dismiss
    QTest::newRow("Enter") << int(typing::Dismiss::Key);
    QTest::newRow("mouse") << int(typing::Dismiss::Mouse);
}

// A number that cannot be stored is refused with one message; once it is dismissed the
// cell is being typed in again with the refused text, and the corrected number is stored.
void TestTableGrid::typingGoesOnAfterARefusal()
{
    QFETCH(int, dismiss);
    grid->setReadOnly(false);
    QApplication::setActiveWindow(grid.get());
    QVERIFY(QTest::qWaitForWindowActive(grid.get()));
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(1, 1));
    typing::MessageCatcher boxes{typing::Dismiss(dismiss)};
    typing::typeKeys(QStringLiteral("12a"));
    typing::pressKey(Qt::Key_Return);
    QCOMPARE(boxes.texts, QStringList{"\"12a\" - не число. Число пишется цифрами, дробная часть - "
                                      "через точку, например 12.5"});
    auto *editor = qobject_cast<QLineEdit *>(typing::keyTarget());
    QVERIFY2(editor && grid->isAncestorOf(editor), "the cell is no longer being typed in");
    QCOMPARE(editor->text(), QStringLiteral("12a"));
    typing::pressKey(Qt::Key_Backspace);
    typing::typeKeys(QStringLiteral("5"));
    typing::pressKey(Qt::Key_Return);
    QCOMPARE(boxes.texts.size(), 1);
    auto sir = fixture->fresh("sir.dbf");
    QVERIFY(sir->findKey(2));
    QCOMPARE(sir->number("MI2"), 125.0);
}

// A number field that holds no number shows its text marked, not blank, and the user
// types a value over it.
void TestTableGrid::unreadableNumberIsMarkedAndTypedOver()
{
    store::Table &sir = fixture->dm().rawMaterials;
    QVERIFY(sir.findKey(2));
    sir.setValue("MI2", QVariant::fromValue(store::UnreadableNumber{"15 000"}));
    sir.post();
    const QModelIndex cell = grid->model()->index(1, 1);
    QCOMPARE(cell.data().toString(), QStringLiteral("?? 15 000"));
    QVERIFY(cell.data(Qt::ToolTipRole).toString().contains("«15 000»"));
    QVERIFY(cell.data(Qt::BackgroundRole).isValid());
    QVERIFY(!grid->model()->index(0, 1).data(Qt::BackgroundRole).isValid());

    grid->setReadOnly(false);
    grid->setCurrentIndex(cell);
    QTest::keyClick(grid.get(), Qt::Key_F2);
    auto *editor = grid->viewport()->findChild<QLineEdit *>();
    QVERIFY(editor && editor->isVisible());
    QCOMPARE(editor->text(), QStringLiteral("?? 15 000"));
    editor->selectAll();
    QTest::keyClicks(editor, "15000");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the delegate commits on a queued call
    QCOMPARE(cell.data().toString(), QStringLiteral("15000.00"));
    QVERIFY(!cell.data(Qt::ToolTipRole).isValid() ||
            cell.data(Qt::ToolTipRole).toString().isEmpty());
    auto stored = fixture->fresh("sir.dbf");
    QVERIFY(stored->findKey(2));
    QCOMPARE(stored->number("MI2"), 15000.0);
}

QTEST_MAIN(TestTableGrid)
#include "tst_tablegrid.moc"
