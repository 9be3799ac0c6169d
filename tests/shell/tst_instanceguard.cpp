// The guard against a second copy: which window of a desktop blocks the start.
#include "shell/instanceguard.h"

#include <QtTest>

using platform::TopLevelWindow;
using Windows = QList<TopLevelWindow>;
Q_DECLARE_METATYPE(Windows)

namespace
{

TopLevelWindow window(quint64 id, const QString &title, bool visible = true, bool owned = false)
{
    TopLevelWindow w;
    w.id = id;
    w.title = title;
    w.visible = visible;
    w.owned = owned;
    return w;
}

const QString kGuardTail = QStringLiteral(
    "Желательно закрыть и другие программы. Браузер, Оффис (Word, Excel), игры, антивирус и "
    "утилиты Windows (например, Диспетчер задач) закрывать не требуется.");

} // namespace

class TestInstanceGuard final : public QObject
{
    Q_OBJECT

private slots:
    void blockingWindow_data();
    void blockingWindow();
    void wordsInOrder();
    void messageText();
};

void TestInstanceGuard::blockingWindow_data()
{
    QTest::addColumn<Windows>("windows");
    QTest::addColumn<QList<quint64>>("own");
    QTest::addColumn<QString>("blocker"); // empty: the start goes on

    const QString ours = QStringLiteral("Кормоплан");
    QTest::newRow("empty desktop") << Windows{} << QList<quint64>{} << QString();
    QTest::newRow("unrelated windows") << Windows{window(1, "Терминал"), window(2, "Калькулятор")}
                                       << QList<quint64>{} << QString();
    QTest::newRow("another copy") << Windows{window(1, "Терминал"), window(2, ours)}
                                  << QList<quint64>{} << ours;
    QTest::newRow("own window skipped")
        << Windows{window(7, ours)} << QList<quint64>{7} << QString();
    QTest::newRow("hidden window")
        << Windows{window(1, ours, false)} << QList<quint64>{} << QString();
    QTest::newRow("owned window") << Windows{window(1, ours, true, true)} << QList<quint64>{}
                                  << QString();
    QTest::newRow("empty title") << Windows{window(1, QString())} << QList<quint64>{} << QString();
    QTest::newRow("another application naming the word")
        << Windows{window(1, "Отчет Кормоплан.docx - Word")} << QList<quint64>{}
        << QStringLiteral("Отчет Кормоплан.docx - Word");
    QTest::newRow("sibling program") << Windows{window(1, "Премиксплан 3.1")} << QList<quint64>{}
                                     << QStringLiteral("Премиксплан 3.1");
    QTest::newRow("second sibling program")
        << Windows{window(1, "Кормоучет")} << QList<quint64>{} << QStringLiteral("Кормоучет");
    QTest::newRow("case matters") << Windows{window(1, "КОРМОПЛАН")} << QList<quint64>{}
                                  << QString();
    QTest::newRow("first match from the top wins")
        << Windows{window(1, "Кормоучет - склад"), window(2, ours)} << QList<quint64>{}
        << QStringLiteral("Кормоучет - склад");
    QTest::newRow("skipped windows do not stop the walk")
        << Windows{window(1, ours, false), window(2, ours, true, true), window(3, "Премиксплан")}
        << QList<quint64>{} << QStringLiteral("Премиксплан");

    // Only the first 127 characters of a title are searched.
    const auto endingAt = [&](int last) { return QString(last - ours.size(), 'x') + ours; };
    QTest::newRow("word ends at character 126")
        << Windows{window(1, endingAt(126))} << QList<quint64>{} << endingAt(126);
    QTest::newRow("word ends at character 127")
        << Windows{window(1, endingAt(127))} << QList<quint64>{} << endingAt(127);
    QTest::newRow("word ends at character 128")
        << Windows{window(1, endingAt(128))} << QList<quint64>{} << QString();
}

// A visible, unowned window of someone else whose title (first 127 characters) holds a
// guard word blocks the start; the first such window from the top is the one reported.
void TestInstanceGuard::blockingWindow()
{
    QFETCH(Windows, windows);
    QFETCH(QList<quint64>, own);
    QFETCH(QString, blocker);

    const auto found = shell::findBlockingWindow(windows, QSet<quint64>(own.begin(), own.end()));
    QCOMPARE(found.has_value(), !blocker.isEmpty());
    if (found)
        QCOMPARE(found->title, blocker);
}

void TestInstanceGuard::wordsInOrder()
{
    const QStringList words = shell::guardWords();
    QCOMPARE(words.size(), 3);
    QCOMPARE(words.first(), QStringLiteral("Кормоплан"));
}

void TestInstanceGuard::messageText()
{
    const QString title = QString(140, QLatin1Char('y')) + QStringLiteral("Кормоплан");
    const QString expected = QStringLiteral("Перед запуском этой программы необходимо закрыть "
                                            "программу \"") +
                             title + QStringLiteral("\". ") + kGuardTail;
    QCOMPARE(shell::guardMessage(title), expected);
}

QTEST_APPLESS_MAIN(TestInstanceGuard)
#include "tst_instanceguard.moc"
