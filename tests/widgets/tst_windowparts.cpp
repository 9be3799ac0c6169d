// The shared window pieces: buttons that never act as the default, names given to
// children, the fixed-pitch font, and operations whose table errors are reported.

#include "widgets/fixedpitchfont.h"
#include "widgets/message.h"
#include "widgets/windowparts.h"

#include "store/table.h"

#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>

class TestWindowParts final : public QObject
{
    Q_OBJECT

private slots:
    void buttonIsNeverTheDefault_data();
    void buttonIsNeverTheDefault();
    void namesAreGiven();
    void labelShowsMarkupAsTyped_data();
    void labelShowsMarkupAsTyped();
    void fixedPitchFontIsFixed_data();
    void fixedPitchFontIsFixed();
    void tableErrorGoesToTheSink_data();
    void tableErrorGoesToTheSink();
};

void TestWindowParts::buttonIsNeverTheDefault_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("named") << QByteArray("Button7");
    QTest::newRow("unnamed") << QByteArray();
}

// Enter in a grid or an edit must not press a button: none is an auto-default button.
void TestWindowParts::buttonIsNeverTheDefault()
{
    QFETCH(QByteArray, name);
    QWidget parent;
    QPushButton *button = widgets::makeButton(QStringLiteral("Выход"), &parent,
                                              name.isEmpty() ? nullptr : name.constData());
    QCOMPARE(button->parent(), &parent);
    QCOMPARE(button->text(), QStringLiteral("Выход"));
    QVERIFY(!button->autoDefault());
    QCOMPARE(button->objectName(), QString::fromLatin1(name));
}

void TestWindowParts::namesAreGiven()
{
    QWidget parent;
    auto *first = new QLabel(&parent);
    auto *second = new QPushButton(&parent);
    widgets::nameObjects({{first, "Label5"}, {second, "Button1"}});
    QCOMPARE(parent.findChild<QLabel *>(QStringLiteral("Label5")), first);
    QCOMPARE(parent.findChild<QPushButton *>(QStringLiteral("Button1")), second);
}

void TestWindowParts::fixedPitchFontIsFixed_data()
{
    QTest::addColumn<QFont>("font");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<int>("pointSize");
    // 0: not checked; -1: the font is not sized that way
    QTest::newRow("size left to the caller") << widgets::fixedPitchFont() << 0 << 0;
    QTest::newRow("in pixels") << widgets::fixedPitchFont(15) << 15 << -1;
    QTest::newRow("in points") << widgets::fixedPitchFontInPoints(8) << -1 << 8;
}

void TestWindowParts::labelShowsMarkupAsTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("bare");
    QTest::newRow("tags") << QStringLiteral("<span>Ячмень</span>") << QStringLiteral("Ячмень");
    QTest::newRow("entity") << QStringLiteral("<i>Шрот</i> &amp; жмых")
                            << QStringLiteral("Шрот & жмых");
}

// A name with markup in it shows every character typed: the tags take room of their own
// (read as markup they would vanish and the label would be no wider than the bare name).
void TestWindowParts::labelShowsMarkupAsTyped()
{
    QFETCH(QString, typed);
    QFETCH(QString, bare);
    QWidget parent;
    QLabel *label = widgets::makeLabel(typed, &parent);
    QLabel *plain = widgets::makeLabel(bare, &parent);
    QCOMPARE(label->parent(), &parent);
    QCOMPARE(label->text(), typed);
    QVERIFY(label->sizeHint().width() > plain->sizeHint().width());
}

// Columns of figures line up only in a font whose characters are all one width, at
// whatever size a window or a print asks for.
void TestWindowParts::fixedPitchFontIsFixed()
{
    QFETCH(QFont, font);
    QFETCH(int, pixelSize);
    QFETCH(int, pointSize);
    QCOMPARE(font.family(), QStringLiteral("Courier New"));
    QVERIFY(QFontInfo(font).fixedPitch());
    if (pixelSize != 0)
        QCOMPARE(font.pixelSize(), pixelSize);
    if (pointSize != 0)
        QCOMPARE(font.pointSize(), pointSize);
}

void TestWindowParts::tableErrorGoesToTheSink_data()
{
    QTest::addColumn<bool>("fails");
    QTest::newRow("table error") << true;
    QTest::newRow("no error") << false;
}

// A table error ends the operation and reaches the sink as its text; false then.
void TestWindowParts::tableErrorGoesToTheSink()
{
    QFETCH(bool, fails);
    QStringList shown;
    bool finished = false;
    const bool ok = widgets::runReporting(
        [&] {
            if (fails)
                throw store::TableError(QStringLiteral("Таблица sir.dbf не открыта"));
            finished = true;
        },
        [&shown](const QString &text) { shown << text; });
    QCOMPARE(ok, !fails);
    QCOMPARE(finished, !fails);
    QCOMPARE(shown,
             fails ? QStringList{QStringLiteral("Таблица sir.dbf не открыта")} : QStringList{});
}

QTEST_MAIN(TestWindowParts)
#include "tst_windowparts.moc"
