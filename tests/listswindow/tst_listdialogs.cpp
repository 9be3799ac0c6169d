// The two small dialogs of the lists: the delete confirmation DeleteConfirmation (answer reset on
// every opening, the safe button focused) and the selection key dialog SelectionKeyDialog (emptied
// on opening, Enter closes only with a key, Escape gives no key).
#include "listsfixture.h"
#include "namedchild.h"

#include "lists/window/deleteconfirmation.h"
#include "lists/window/selectionkey.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using lists::DeleteConfirmation;
using lists::SelectionKeyDialog;

namespace
{

QLineEdit *keyEdit(SelectionKeyDialog *dialog)
{
    return namedChild<QLineEdit>(dialog, "keyEdit");
}

} // namespace

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
    onNextModal<DeleteConfirmation>(
        [](DeleteConfirmation *d) { namedChild<QPushButton>(d, "confirmButton")->click(); });
    dialog.exec();
    QVERIFY(dialog.confirmed());
    onNextModal<DeleteConfirmation>([](DeleteConfirmation *d) {
        QVERIFY(!d->confirmed());
        QCOMPARE(d->focusWidget(), namedChild<QPushButton>(d, "cancelButton"));
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
        QTest::keyClick(keyEdit(d), Qt::Key_Return); // empty: the dialog stays
        stayedOpen = d->isVisible();
        QTest::keyClicks(keyEdit(d), "abc");
        QTest::keyClick(keyEdit(d), Qt::Key_Return);
    });
    dialog.exec();
    QVERIFY(stayedOpen);
    QCOMPARE(dialog.key(), QStringLiteral("abc"));
}

void TestListDialogs::keyDialogOpensEmpty()
{
    SelectionKeyDialog dialog;
    keyEdit(&dialog)->setText("old");
    QString seen = "?";
    onNextModal<SelectionKeyDialog>([&seen](SelectionKeyDialog *d) {
        seen = keyEdit(d)->text();
        QCOMPARE(d->focusWidget(), keyEdit(d));
        keyEdit(d)->insert(" мука ");
        namedChild<QPushButton>(d, "runButton")->click();
    });
    dialog.exec();
    QCOMPARE(seen, QString());
    QCOMPARE(dialog.key(), QStringLiteral(" мука ")); // blanks kept as typed
}

void TestListDialogs::escapeGivesNoKey()
{
    SelectionKeyDialog dialog;
    onNextModal<SelectionKeyDialog>([](SelectionKeyDialog *d) {
        QTest::keyClicks(keyEdit(d), "abc");
        QTest::keyClick(keyEdit(d), Qt::Key_Escape);
    });
    dialog.exec();
    QCOMPARE(dialog.key(), QString());
}

QTEST_MAIN(TestListDialogs)
#include "tst_listdialogs.moc"
