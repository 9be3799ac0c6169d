// One copy per user: a later start finds the running copy on its socket and asks it to
// come to the front; a socket left behind by a copy that ended abnormally is taken over.

#include "shell/singleinstance.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestSingleInstance final : public QObject
{
    Q_OBJECT

private slots:
    void secondStart_data();
    void secondStart();
    void frontWindow_data();
    void frontWindow();
};

void TestSingleInstance::secondStart_data()
{
    QTest::addColumn<bool>("leftBehind"); // a file stands where the socket goes
    QTest::addColumn<bool>("running");    // the first copy listens
    QTest::newRow("no copy runs") << false << false;
    QTest::newRow("a copy runs") << false << true;
    QTest::newRow("a copy ended abnormally") << true << false;
    QTest::newRow("a copy runs after one that ended abnormally") << true << true;
}

void TestSingleInstance::secondStart()
{
    QFETCH(bool, leftBehind);
    QFETCH(bool, running);
    const QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("kormoplan.socket"));
    if (leftBehind) {
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    shell::InstanceServer first;
    QSignalSpy asked(&first, &shell::InstanceServer::frontRequested);
    if (running)
        QCOMPARE(first.listen(name), QString());

    QCOMPARE(shell::askRunningCopyToFront(name), running);
    if (running)
        QVERIFY(asked.wait(5000));
    QCOMPARE(asked.count(), running ? 1 : 0);
}

void TestSingleInstance::frontWindow_data()
{
    QTest::addColumn<bool>("modalOpen");
    QTest::newRow("the main window") << false;
    QTest::newRow("the modal window open over it") << true;
}

// The minimised main window is restored; the window the user works in comes up.
void TestSingleInstance::frontWindow()
{
    QFETCH(bool, modalOpen);
    QWidget mainWindow;
    mainWindow.showMinimized();
    QDialog dialog(&mainWindow);
    dialog.setModal(true);
    if (modalOpen)
        dialog.show();
    shell::bringToFront(&mainWindow);
    QVERIFY(!mainWindow.isMinimized());
    QTRY_COMPARE(QApplication::activeWindow(),
                 modalOpen ? static_cast<QWidget *>(&dialog) : &mainWindow);
}

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
