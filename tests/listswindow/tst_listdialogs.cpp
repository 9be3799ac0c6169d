// The two small dialogs of the lists: the delete confirmation TForm7 (answer reset on
// every opening, the safe button focused) and the selection key dialog TForm9 (emptied
// on opening, Enter closes only with a key, Escape gives no key).
#include "listsfixture.h"

#include "lists/window/deleteconfirmation.h"
#include "lists/window/selectionkey.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TestListDialogs final : public QObject
{
    Q_OBJECT

private slots:
    void confirmationAnswerIsResetOnEveryOpening();
    void enterClosesTheKeyDialogOnlyWithAKey();
    void keyDialogOpensEmpty();
    void escapeGivesNoKey();
};

void TestListDialogs::confirmationAnswerIsResetOnEveryOpening()
{
    TForm7 dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Внимание!!!"));
    onNextModal<TForm7>([](TForm7 *d) { d->Button1->click(); });
    dialog.exec();
    QVERIFY(dialog.confirmed());
    onNextModal<TForm7>([](TForm7 *d) {
        QVERIFY(!d->confirmed());
        QCOMPARE(d->focusWidget(), d->Button2);
        d->reject(); // closed by its window button
    });
    dialog.exec();
    QVERIFY(!dialog.confirmed());
}

void TestListDialogs::enterClosesTheKeyDialogOnlyWithAKey()
{
    TForm9 dialog;
    bool stayedOpen = false;
    onNextModal<TForm9>([&stayedOpen](TForm9 *d) {
        QTest::keyClick(d->Edit1, Qt::Key_Return); // empty: the dialog stays
        stayedOpen = d->isVisible();
        QTest::keyClicks(d->Edit1, "abc");
        QTest::keyClick(d->Edit1, Qt::Key_Return);
    });
    dialog.exec();
    QVERIFY(stayedOpen);
    QCOMPARE(dialog.key(), QStringLiteral("abc"));
}

void TestListDialogs::keyDialogOpensEmpty()
{
    TForm9 dialog;
    dialog.Edit1->setText("old");
    QString seen = "?";
    onNextModal<TForm9>([&seen](TForm9 *d) {
        seen = d->Edit1->text();
        QCOMPARE(d->focusWidget(), d->Edit1);
        d->Edit1->insert(" мука ");
        d->Button1->click();
    });
    dialog.exec();
    QCOMPARE(seen, QString());
    QCOMPARE(dialog.key(), QStringLiteral(" мука ")); // blanks kept as typed
}

void TestListDialogs::escapeGivesNoKey()
{
    TForm9 dialog;
    onNextModal<TForm9>([](TForm9 *d) {
        QTest::keyClicks(d->Edit1, "abc");
        QTest::keyClick(d->Edit1, Qt::Key_Escape);
    });
    dialog.exec();
    QCOMPARE(dialog.key(), QString());
}

QTEST_MAIN(TestListDialogs)
#include "tst_listdialogs.moc"
