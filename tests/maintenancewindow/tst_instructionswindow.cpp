// The instructions viewer InstructionsWindow: the chosen text line by line in a fixed-pitch font,
// unwrapped, shown once however often it is opened, and a message for a missing file.
#include "maintenance/window/instructionswindow.h"

#include "maintenance/instructions.h"
#include "namedchild.h"

#include <QFontInfo>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

QListWidget *list(const maintenance::InstructionsWindow &form)
{
    return namedChild<QListWidget>(&form, "instructionList");
}

} // namespace

class TestInstructionsWindow final : public QObject
{
    Q_OBJECT

private slots:
    void window();
    void eachInstructionShowsItsFile_data();
    void eachInstructionShowsItsFile();
    void openedTwiceShowsTheTextOnce();
    void longLinesAreNotWrapped();
    void missingFileIsNamed();
    void keyboardScrolls();

private:
    static QStringList listed(const maintenance::InstructionsWindow &form);
    const QString demo_ = QStringLiteral(KP_SOURCE_DIR "/data/itog3");
};

QStringList TestInstructionsWindow::listed(const maintenance::InstructionsWindow &form)
{
    QStringList lines;
    for (int i = 0; i < list(form)->count(); ++i)
        lines.append(list(form)->item(i)->text());
    return lines;
}

void TestInstructionsWindow::window()
{
    maintenance::InstructionsWindow form(demo_);
    QCOMPARE(form.windowTitle(), QString("Инструкция"));
    QCOMPARE(namedChild<QPushButton>(&form, "exitButton")->text(), QString("Выход"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(QFontInfo(list(form)->font()).fixedPitch());
    QCOMPARE(list(form)->font().pixelSize(), 15);
}

void TestInstructionsWindow::eachInstructionShowsItsFile_data()
{
    QTest::addColumn<int>("number");
    for (int number = 1; number <= maintenance::kInstructionCount; ++number)
        QTest::newRow(qPrintable(maintenance::instructionFileName(number))) << number;
}

void TestInstructionsWindow::eachInstructionShowsItsFile()
{
    QFETCH(int, number);
    maintenance::InstructionsWindow form(demo_);
    form.setInstruction(number);
    form.show();
    QCOMPARE(listed(form), maintenance::readInstruction(demo_, number).lines);
    if (number == 8)
        form.grab().save(KP_TEST_OUTPUT "/instructionswindow.png");
    QTest::mouseClick(namedChild<QPushButton>(&form, "exitButton"), Qt::LeftButton);
    QVERIFY(!form.isVisible());
    QCOMPARE(list(form)->count(), 0);
}

void TestInstructionsWindow::openedTwiceShowsTheTextOnce()
{
    maintenance::InstructionsWindow form(demo_);
    form.setInstruction(4);
    const int lines = maintenance::readInstruction(demo_, 4).lines.size();
    for (int time = 0; time < 2; ++time) {
        form.show();
        QCOMPARE(list(form)->count(), lines);
        form.close(); // the window's close box, not "Выход"
    }
    form.setInstruction(2);
    form.show();
    QCOMPARE(listed(form), maintenance::readInstruction(demo_, 2).lines);
}

void TestInstructionsWindow::longLinesAreNotWrapped()
{
    QTemporaryDir dir;
    QFile file(dir.filePath("pit.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(400, 'x') + "\r\nshort\r\n");
    file.close();
    maintenance::InstructionsWindow form(dir.path());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(list(form)->count(), 2);
    QCOMPARE(list(form)->item(0)->text().size(), 400);
    QTRY_VERIFY(list(form)->horizontalScrollBar()->maximum() > 0); // laid out lazily
    const QRect first = list(form)->visualItemRect(list(form)->item(0));
    const QRect second = list(form)->visualItemRect(list(form)->item(1));
    QCOMPARE(first.height(), second.height()); // one display line each
}

void TestInstructionsWindow::missingFileIsNamed()
{
    QTemporaryDir dir;
    maintenance::InstructionsWindow form(dir.path());
    form.setInstruction(6);
    form.show();
    QCOMPARE(list(form)->count(), 1);
    QVERIFY(list(form)->item(0)->text().startsWith("Файл инструкции "));
    QVERIFY(list(form)->item(0)->text().contains("arh.txt"));
}

void TestInstructionsWindow::keyboardScrolls()
{
    maintenance::InstructionsWindow form(demo_);
    form.setInstruction(4);
    form.resize(600, 200);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget(), list(form));
    QTest::keyClick(list(form), Qt::Key_End);
    QCOMPARE(list(form)->currentRow(), list(form)->count() - 1);
    QVERIFY(list(form)->verticalScrollBar()->value() > 0);
}

QTEST_MAIN(TestInstructionsWindow)
#include "tst_instructionswindow.moc"
