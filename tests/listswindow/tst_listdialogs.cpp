// The two small dialogs of the lists: the delete confirmation DeleteConfirmation (answer reset on
// every opening, the safe button focused) and the selection key dialog SelectionKeyDialog (emptied
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
    DeleteConfirmation dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Внимание!!!"));
    onNextModal<DeleteConfirmation>([](DeleteConfirmation *d) { d->Button1->click(); });
    dialog.exec();
    QVERIFY(dialog.confirmed());
    onNextModal<DeleteConfirmation>([](DeleteConfirmation *d) {
        QVERIFY(!d->confirmed());
        QCOMPARE(d->focusWidget(), d->Button2);
        d->reject(); // closed by its window button
    });
    dialog.exec();
    QVERIFY(!dialog.confirmed());
}

void TestListDialogs::enterClosesTheKeyDialogOnlyWithAKey()
{
    SelectionKeyDialog dialog;
    bool stayedOpen = false;
    onNextModal<SelectionKeyDialog>([&stayedOpen](SelectionKeyDialog *d) {
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
    SelectionKeyDialog dialog;
    dialog.Edit1->setText("old");
    QString seen = "?";
    onNextModal<SelectionKeyDialog>([&seen](SelectionKeyDialog *d) {
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
    SelectionKeyDialog dialog;
    onNextModal<SelectionKeyDialog>([](SelectionKeyDialog *d) {
        QTest::keyClicks(d->Edit1, "abc");
        QTest::keyClick(d->Edit1, Qt::Key_Escape);
    });
    dialog.exec();
    QCOMPARE(dialog.key(), QString());
}

QTEST_MAIN(TestListDialogs)
#include "tst_listdialogs.moc"
