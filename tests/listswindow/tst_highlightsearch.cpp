// The highlight search behind the "Выделить" buttons of the list windows: no key, no
// search; matches narrow the view; a key that matches nothing is told; a table error is
// told once, and not followed by a claim that nothing matched.
#include "listsfixture.h"
#include "namedchild.h"

#include "lists/window/highlightsearch.h"
#include "lists/window/selectionkey.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using lists::SelectionKeyDialog;

namespace
{

// Accepts every message box that opens while it lives and keeps its text.
class MessageCollector final
{
public:
    MessageCollector()
    {
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                texts.append(box->text());
                box->accept();
            }
        });
        poll_.start(5);
    }

    QStringList texts;

private:
    QTimer poll_;
};

} // namespace

class TestHighlightSearch final : public QObject
{
    Q_OBJECT

private slots:
    void outcome_data();
    void outcome();
};

void TestHighlightSearch::outcome_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("searched");
    QTest::addColumn<int>("shown");
    QTest::addColumn<QString>("message"); // the start of the only message, if any

    QTest::newRow("blank key") << "  "
                               << "NAIM" << false << 8 << QString();
    QTest::newRow("match") << "сырье 1"
                           << "NAIM" << true << 1 << QString();
    QTest::newRow("nothing") << "свинец"
                             << "NAIM" << true << 8 << "Записей, соответствующих ключу, нет...";
    QTest::newRow("table error") << "сырье"
                                 << "NOSUCH" << true << 8 << "В таблице";
}

void TestHighlightSearch::outcome()
{
    QFETCH(QString, key);
    QFETCH(QString, field);
    QFETCH(bool, searched);
    QFETCH(int, shown);
    QFETCH(QString, message);
    ListsFixture fixture;
    store::Table &sir = fixture.dm().rawMaterials;
    QWidget window;
    onNextModal<SelectionKeyDialog>([key](SelectionKeyDialog *dialog) {
        namedChild<QLineEdit>(dialog, "keyEdit")->insert(key);
        namedChild<QPushButton>(dialog, "runButton")->click();
    });
    MessageCollector messages;
    QCOMPARE(lists::highlightByKey(&window, sir, {field}), searched);
    QCOMPARE(sir.viewCount(), shown);
    QCOMPARE(messages.texts.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QVERIFY2(messages.texts.first().startsWith(message), qPrintable(messages.texts.first()));
}

QTEST_MAIN(TestHighlightSearch)
#include "tst_highlightsearch.moc"
