// The close under kill -9: the real program on a copy of the demo data with a few
// hundred archived recipes is started under Xvfb, asked to close, and killed at a random
// moment of the close. After every kill each table of itog3 and of arhiv reads whole and
// arhiv is one whole copy (the one from before the close or the new one, never a mix);
// the next start tidies up and shows its menu. KP_CLOSE_KILLS sets the number of kills
// (default 20), KP_CLOSE_KILL_SEED the random seed; the figures are printed at the end.
#include "shell/workingfolder.h"
#include "store/datafiles.h"
#include "store/table.h"

#include "folderfiles.h"

#include <QtTest>

#include <chrono>
#include <thread>

namespace
{

const QString kProgram = QStringLiteral(KP_BINARY_DIR "/kormoplan");
const QString kWindowList = QStringLiteral(KP_BINARY_DIR "/kp-windowlist");
const QString kTitle = QStringLiteral("Кормоплан");
constexpr int kRecipes = 300;

using foldertest::Files;
using foldertest::filesIn;

// A value of the field's type for filler rows.
QVariant fillerValue(const store::FieldDef &field, int recipe, int row)
{
    switch (field.type) {
    case 'C':
        return QStringLiteral("Рецепт %1 строка %2").arg(recipe).arg(row).left(field.width);
    case 'L':
        return row % 2 == 0;
    case 'D':
        return QStringLiteral("20240305");
    default:
        return field.width - field.decimals >= 4 ? (recipe * 7 + row) % 1000 : row % 9;
    }
}

// rowsPerRecipe rows for each of kRecipes recipes; every seventh recipe deleted (arnom -1).
void fillArchiveTable(const QString &path, int rowsPerRecipe)
{
    store::Table table;
    table.setFileName(path);
    table.open();
    const QList<store::FieldDef> fields = table.fields();
    for (int recipe = 1; recipe <= kRecipes; ++recipe) {
        for (int row = 0; row < rowsPerRecipe; ++row) {
            table.append();
            for (int f = 0; f < fields.size(); ++f)
                table.setValue(f, fillerValue(fields[f], recipe, row));
            table.setValue("arnom", recipe % 7 == 0 ? -1 : recipe);
            table.post();
        }
    }
    table.close();
}

// Writes the round number into one field of the last record of every table, so that
// copies of two rounds differ in every table.
void stampRound(const QString &dataDir, int round)
{
    const QList<QPair<const char *, const char *>> fields{
        {"pit.dbf", "ediz"},   {"kk.dbf", "tip"},       {"sir.dbf", "naim"},
        {"norm.dbf", "max"},   {"order.dbf", "arhnom"}, {"arkk.dbf", "naim"},
        {"arsir.dbf", "naim"}, {"arpit.dbf", "ediz"},   {"arprem.dbf", "ediz"}};
    for (const auto &[file, field] : fields) {
        store::Table table;
        table.setFileName(dataDir + "/" + file);
        table.open();
        table.last();
        const bool text = table.fields().at(table.fieldIndex(field)).type == 'C';
        table.setValue(field, text ? QVariant(QStringLiteral("g%1").arg(round))
                                   : QVariant(kRecipes + round % 50));
        table.post();
        table.close();
    }
}

// The tables of a folder that do not read whole, with the reasons.
QStringList unreadableTables(const QString &folder)
{
    QStringList problems;
    for (const QString &name : store::tableFileNames()) {
        const QString problem = store::tableReadProblem(folder + "/" + name);
        if (!problem.isEmpty())
            problems << problem;
    }
    return problems;
}

QString describe(const Files &files, const Files &a, const Files &b)
{
    QStringList fromA, fromB, neither;
    for (auto it = files.begin(); it != files.end(); ++it) {
        if (a.value(it.key()) == it.value())
            fromA << it.key();
        else if (b.value(it.key()) == it.value())
            fromB << it.key();
        else
            neither << it.key();
    }
    return QStringLiteral("old: %1; new: %2; neither: %3")
        .arg(fromA.join(' '), fromB.join(' '), neither.join(' '));
}

struct Figures {
    int kills = 0;         // kills sent while the program ran
    int endedFirst = 0;    // the close had finished before the kill
    int markersLeft = 0;   // killed before the markers were removed
    int switchCaught = 0;  // arhiv.tmp / arhiv.new / arhiv.old found after the kill
    int rewriteCaught = 0; // new archive files of the rewrite found after the kill
    int copiesCaught = 0;  // *.kp-new found after the kill
    int startsClean = 0, startsWarned = 0, startsRestored = 0;
};

} // namespace

class TestCloseKills final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void killsDuringClose();

private:
    void startProgram(QProcess &program, QString *said);
    void dismissMessages(QProcess &program, int *dismissed);
    bool askToClose(int attempts = 200);
    void checkAfterKill(const Files &oldCopy, const Files &newCopy);
    void checkAfterStart(const Files &oldCopy, const Files &newCopy);

    QProcess xvfb_;
    QString display_;
    QTemporaryDir work_;
    shell::WorkingFolder folder_;
    QString log_;
    Figures figures_;
};

void TestCloseKills::initTestCase()
{
    if (QStandardPaths::findExecutable("Xvfb").isEmpty())
        QSKIP("Xvfb is not installed");
    QVERIFY(QFileInfo(kProgram).isExecutable());
    QVERIFY(QFileInfo(kWindowList).isExecutable());
    // -displayfd picks a free display and writes its number to our pipe.
    xvfb_.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    QVERIFY(xvfb_.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(xvfb_.canReadLine(), 20000);
    display_ = ":" + QString::fromLatin1(xvfb_.readLine()).trimmed();

    QVERIFY(work_.isValid());
    folder_ = {QDir(work_.path())};
    QVERIFY(QDir().mkpath(folder_.dataDir()));
    const QDir demo(KP_SOURCE_DIR "/data/itog3");
    for (const QString &name : demo.entryList(QDir::Files))
        QVERIFY(QFile::copy(demo.filePath(name), folder_.dataDir() + "/" + name));
    const QList<QPair<const char *, int>> archive{
        {"arkk.dbf", 1}, {"arsir.dbf", 12}, {"arpit.dbf", 15}, {"arprem.dbf", 3}};
    for (const auto &[file, rows] : archive)
        fillArchiveTable(folder_.dataDir() + "/" + file, rows);
    log_ = work_.filePath("messages.log");
}

void TestCloseKills::cleanupTestCase()
{
    if (xvfb_.state() != QProcess::NotRunning) {
        xvfb_.terminate();
        xvfb_.waitForFinished(5000);
    }
}

// Asks the visible windows titled "Кормоплан" to close, as their close box would; tries
// again while none is mapped yet (200 attempts are about ten seconds).
bool TestCloseKills::askToClose(int attempts)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display_);
    env.insert("QT_QPA_PLATFORM", "xcb");
    for (int attempt = 0; attempt < attempts; ++attempt) {
        QProcess windows;
        windows.setProcessEnvironment(env);
        windows.start(kWindowList, {"--close", kTitle});
        if (windows.waitForFinished(10000) && windows.exitCode() == 0)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

// The messages of the start (the crash warning, the restore) are closed as they come.
void TestCloseKills::dismissMessages(QProcess &program, int *dismissed)
{
    QFile log(log_);
    const int said = log.open(QIODevice::ReadOnly) ? log.readAll().count('\n') : 0;
    if (said > *dismissed && askToClose(1))
        ++*dismissed;
    program.waitForReadyRead(50);
}

void TestCloseKills::startProgram(QProcess &program, QString *said)
{
    QFile::remove(log_);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display_);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("KORMOPLAN_REPORT_SHOWN", "1");
    env.insert("KORMOPLAN_MESSAGE_LOG", log_);
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(work_.path());
    program.setProcessChannelMode(QProcess::SeparateChannels);
    program.start(kProgram, {});
    QVERIFY(program.waitForStarted());
    QByteArray err;
    int dismissed = 0;
    QElapsedTimer waited;
    waited.start();
    while (!err.contains("menu shown")) {
        QVERIFY2(waited.elapsed() < 30000, "the menu did not come up");
        QVERIFY2(program.state() == QProcess::Running, err.constData());
        dismissMessages(program, &dismissed);
        err += program.readAllStandardError();
    }
    QFile log(log_);
    *said = log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

void TestCloseKills::checkAfterKill(const Files &oldCopy, const Files &newCopy)
{
    const QStringList damaged = unreadableTables(folder_.dataDir());
    QVERIFY2(damaged.isEmpty(), qPrintable(damaged.join('\n')));
    const QDir root(work_.path());
    const QStringList switching = root.entryList({"arhiv.*"}, QDir::Dirs);
    if (!switching.isEmpty())
        ++figures_.switchCaught;
    if (QFileInfo::exists(folder_.firstMarker()))
        ++figures_.markersLeft;
    const QStringList rewrite = QDir(folder_.dataDir()).entryList({"*2.dbf", "*2.new.dbf"});
    if (!rewrite.isEmpty())
        ++figures_.rewriteCaught;
    if (!QDir(folder_.dataDir()).entryList({"*.kp-new"}).isEmpty())
        ++figures_.copiesCaught;
    // arhiv, when it is there, is one of the two copies and reads whole; when it is not,
    // the switch was caught between its renames and both copies wait beside it.
    if (!QFileInfo::exists(folder_.backupDir())) {
        QVERIFY2(switching.contains("arhiv.new") && switching.contains("arhiv.old"),
                 qPrintable(switching.join(' ')));
        return;
    }
    const Files copy = filesIn(folder_.backupDir());
    QVERIFY2(copy == oldCopy || copy == newCopy, qPrintable(describe(copy, oldCopy, newCopy)));
    const QStringList unreadable = unreadableTables(folder_.backupDir());
    QVERIFY2(unreadable.isEmpty(), qPrintable(unreadable.join('\n')));
}

void TestCloseKills::checkAfterStart(const Files &oldCopy, const Files &newCopy)
{
    const QDir root(work_.path());
    QCOMPARE(root.entryList({"arhiv.*"}, QDir::AllEntries), QStringList());
    QCOMPARE(QDir(folder_.dataDir()).entryList({"*2.dbf", "*.new.dbf", "*.kp-new"}), QStringList());
    const Files copy = filesIn(folder_.backupDir());
    QVERIFY2(copy == oldCopy || copy == newCopy, qPrintable(describe(copy, oldCopy, newCopy)));
    const QStringList unreadable = unreadableTables(folder_.backupDir());
    QVERIFY2(unreadable.isEmpty(), qPrintable(unreadable.join('\n')));
}

void TestCloseKills::killsDuringClose()
{
    const int kills = qEnvironmentVariableIsSet("KP_CLOSE_KILLS")
                          ? qEnvironmentVariableIntValue("KP_CLOSE_KILLS")
                          : 20;
    const quint32 seed = qEnvironmentVariableIsSet("KP_CLOSE_KILL_SEED")
                             ? quint32(qEnvironmentVariableIntValue("KP_CLOSE_KILL_SEED"))
                             : 20261207u;
    QRandomGenerator random(seed);

    // Round 0 closes normally and measures how long a close takes.
    qint64 closeMs = 0;
    Files oldCopy, newCopy;
    for (int round = 0; round <= kills; ++round) {
        stampRound(folder_.dataDir(), round);
        QProcess program;
        QString said;
        startProgram(program, &said);
        if (QTest::currentTestFailed())
            return;
        if (round > 0)
            checkAfterStart(oldCopy, newCopy);
        if (said.isEmpty())
            ++figures_.startsClean;
        else if (said.contains(QStringLiteral("Восстановление с копии завершено")))
            ++figures_.startsRestored;
        else if (said.startsWith(QStringLiteral("Программа была закончена некорректно")))
            ++figures_.startsWarned;
        else
            QFAIL(qPrintable("unexpected messages at start: " + said));
        oldCopy = filesIn(folder_.backupDir());
        newCopy = filesIn(folder_.dataDir());
        for (auto it = newCopy.begin(); it != newCopy.end();)
            it = store::isProgramFile(it.key()) ? std::next(it) : newCopy.erase(it);

        QElapsedTimer clock;
        clock.start();
        QVERIFY(askToClose());
        if (round == 0) {
            QVERIFY(program.waitForFinished(30000));
            closeMs = clock.elapsed();
            QCOMPARE(program.exitCode(), 0);
            continue;
        }
        const auto delay = std::chrono::microseconds(random.bounded(int(closeMs * 1200) + 1));
        std::this_thread::sleep_for(delay);
        if (program.state() == QProcess::Running) {
            program.kill(); // SIGKILL
            ++figures_.kills;
        } else {
            ++figures_.endedFirst;
        }
        program.waitForFinished(10000);
        checkAfterKill(oldCopy, newCopy);
        if (QTest::currentTestFailed())
            return;
    }

    // The start after the last kill succeeds (checked above at each round); one more
    // normal close leaves no marker.
    QProcess last;
    QString said;
    startProgram(last, &said);
    checkAfterStart(oldCopy, newCopy);
    QVERIFY(askToClose());
    QVERIFY(last.waitForFinished(30000));
    QCOMPARE(last.exitCode(), 0);
    QVERIFY(!QFileInfo::exists(folder_.firstMarker()));
    QVERIFY(unreadableTables(folder_.backupDir()).isEmpty());

    qInfo("close %lld ms; %d rounds (seed %u): %d killed during the close, %d closed before "
          "the kill; after the kill: markers left %d, backup switch caught %d, archive rewrite "
          "caught %d, file copies caught %d; next start: clean %d, warned %d, restored %d",
          closeMs, kills, seed, figures_.kills, figures_.endedFirst, figures_.markersLeft,
          figures_.switchCaught, figures_.rewriteCaught, figures_.copiesCaught,
          figures_.startsClean, figures_.startsWarned, figures_.startsRestored);
}

QTEST_GUILESS_MAIN(TestCloseKills)
#include "tst_closekills.moc"
