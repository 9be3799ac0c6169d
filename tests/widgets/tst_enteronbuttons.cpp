// Enter on a focused button presses it; other widgets keep their own Enter.

#include "widgets/enteronbuttons.h"
#include "widgets/windowparts.h"

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

class TestEnterOnButtons final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { widgets::installEnterOnButtons(); }
    void enterOnWidget_data();
    void enterOnWidget();
    void dialogPressesFocusedNotDefault();
};

void TestEnterOnButtons::enterOnWidget_data()
{
    QTest::addColumn<QString>("target"); // push, tool, check, edit
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("presses"); // clicks of the button, toggles, or returnPressed

    QTest::newRow("Return on a push button") << "push" << int(Qt::Key_Return) << 0 << 1;
    QTest::newRow("keypad Enter on a push button")
        << "push" << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << 1;
    QTest::newRow("Return on a tool button") << "tool" << int(Qt::Key_Return) << 0 << 1;
    QTest::newRow("Ctrl+Return presses nothing")
        << "push" << int(Qt::Key_Return) << int(Qt::ControlModifier) << 0;
    QTest::newRow("another key presses nothing") << "push" << int(Qt::Key_A) << 0 << 0;
    QTest::newRow("check box is not toggled") << "check" << int(Qt::Key_Return) << 0 << 0;
    QTest::newRow("a field keeps its own Enter") << "edit" << int(Qt::Key_Return) << 0 << 1;
}

void TestEnterOnButtons::enterOnWidget()
{
    QFETCH(QString, target);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, presses);

    QWidget window;
    QPushButton *push = widgets::makeButton(QStringLiteral("Выход"), &window);
    auto *tool = new QToolButton(&window);
    auto *check = new QCheckBox(QStringLiteral("Отметка"), &window);
    auto *edit = new QLineEdit(&window);
    QSignalSpy pushed(push, &QPushButton::clicked);
    QSignalSpy tooled(tool, &QToolButton::clicked);
    QSignalSpy toggled(check, &QCheckBox::toggled);
    QSignalSpy returned(edit, &QLineEdit::returnPressed);
    const QHash<QString, std::pair<QWidget *, QSignalSpy *>> targets{{"push", {push, &pushed}},
                                                                     {"tool", {tool, &tooled}},
                                                                     {"check", {check, &toggled}},
                                                                     {"edit", {edit, &returned}}};

    const auto [widget, spy] = targets.value(target);
    QTest::keyClick(widget, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(spy->count(), presses);
    QCOMPARE(pushed.count() + tooled.count() + toggled.count() + returned.count(), presses);
}

// In a dialog Enter would press its default button; the focused one is pressed instead.
void TestEnterOnButtons::dialogPressesFocusedNotDefault()
{
    QDialog dialog;
    auto *save = new QPushButton(QStringLiteral("Записать"), &dialog);
    save->setDefault(true);
    QPushButton *exit = widgets::makeButton(QStringLiteral("Выход"), &dialog);
    QSignalSpy saved(save, &QPushButton::clicked);
    QSignalSpy exited(exit, &QPushButton::clicked);
    QTest::keyClick(exit, Qt::Key_Return);
    QCOMPARE(exited.count(), 1);
    QCOMPARE(saved.count(), 0);
}

QTEST_MAIN(TestEnterOnButtons)
#include "tst_enteronbuttons.moc"
