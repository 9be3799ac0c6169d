// Which folder the program works in, and how a new one gets its data directory.
#include "folderfiles.h"

#include "shell/workingfolderchoice.h"

#include <QtTest>

using foldertest::readFile;
using foldertest::writeFile;

namespace
{

enum class Place { Current, Requested, PerUser, None };
enum class Seed { Nothing, Template, Backup };

} // namespace

class TestWorkingFolderChoice final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void choice_data();
    void choice();
    void readOnlyTemplateGivesWritableCopies();
    void blockedCopyLeavesNoDataDirectory();
    void messageSaysWhereAndWhat_data();
    void messageSaysWhereAndWhat();
    void templateBesideProgram_data();
    void templateBesideProgram();
    void workdirOption_data();
    void workdirOption();

private:
    QString path(const QString &relative) const { return QDir(root_->path()).filePath(relative); }
    QString perUser() const { return path("docs/" + shell::perUserFolderName()); }
    shell::WorkingFolderPlaces places(const QString &requested = QString()) const
    {
        return {path("start"), requested, path("docs"), path("template")};
    }

    std::unique_ptr<QTemporaryDir> root_;
};

void TestWorkingFolderChoice::init()
{
    root_ = std::make_unique<QTemporaryDir>();
    QVERIFY(root_->isValid());
    QVERIFY(QDir().mkpath(path("start")));
    writeFile(path("template/kk.dbf"), "template kk");
    writeFile(path("template/cons.txt"), "template cons");
}

// Each row lays out files (relative to the temporary root), then checks which folder was
// chosen and where its data directory came from.
void TestWorkingFolderChoice::choice_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("requested");
    QTest::addColumn<bool>("withTemplate");
    QTest::addColumn<bool>("withDocuments");
    QTest::addColumn<Place>("place");
    QTest::addColumn<Seed>("seed");

    const QString user = "docs/" + shell::perUserFolderName();
    QTest::newRow("current folder with data is used as it stands")
        << QStringList{"start/itog3/kk.dbf"} << QString() << true << true << Place::Current
        << Seed::Nothing;
    QTest::newRow("current folder with only the backup copy restores from it")
        << QStringList{"start/arhiv/kk.dbf"} << QString() << true << true << Place::Current
        << Seed::Backup;
    QTest::newRow("started from the menu: per-user folder gets the template")
        << QStringList{} << QString() << true << true << Place::PerUser << Seed::Template;
    QTest::newRow("per-user folder set up before is left alone")
        << QStringList{user + "/itog3/kk.dbf"} << QString() << true << true << Place::PerUser
        << Seed::Nothing;
    QTest::newRow("per-user folder without data but with a backup copy")
        << QStringList{user + "/arhiv/kk.dbf"} << QString() << true << true << Place::PerUser
        << Seed::Backup;
    QTest::newRow("empty backup copy: the template is taken")
        << QStringList{user + "/arhiv/"} << QString() << true << true << Place::PerUser
        << Seed::Template;
    QTest::newRow("left-over half copy is replaced")
        << QStringList{user + "/itog3.new/junk.dbf"} << QString() << true << true << Place::PerUser
        << Seed::Template;
    QTest::newRow("--workdir wins over data in the current folder")
        << QStringList{"start/itog3/kk.dbf"} << QStringLiteral("new/folder") << true << true
        << Place::Requested << Seed::Template;
    QTest::newRow("--workdir with data is used as it stands")
        << QStringList{"start/new/folder/itog3/kk.dbf"} << QStringLiteral("new/folder") << false
        << true << Place::Requested << Seed::Nothing;
    QTest::newRow("no template and no data: refused")
        << QStringList{} << QString() << false << true << Place::None << Seed::Nothing;
    QTest::newRow("no documents folder: refused")
        << QStringList{} << QString() << true << false << Place::None << Seed::Nothing;
}

void TestWorkingFolderChoice::choice()
{
    QFETCH(QStringList, files);
    QFETCH(QString, requested);
    QFETCH(bool, withTemplate);
    QFETCH(bool, withDocuments);
    QFETCH(Place, place);
    QFETCH(Seed, seed);

    for (const QString &file : files) {
        if (file.endsWith('/'))
            QVERIFY(QDir().mkpath(path(file)));
        else
            writeFile(path(file), "own " + file.toUtf8());
    }
    shell::WorkingFolderPlaces where = places(requested);
    if (!withTemplate)
        where.templateDir = path("no-template");
    if (!withDocuments)
        where.documentsDir.clear();

    const shell::WorkingFolderChoice chosen = shell::chooseWorkingFolder(where);

    const QString expected = place == Place::Current     ? path("start")
                             : place == Place::Requested ? path("start/" + requested)
                             : place == Place::PerUser   ? perUser()
                                                         : QString();
    QCOMPARE(chosen.path, expected);
    QCOMPARE(chosen.error.isEmpty(), place != Place::None);
    if (place == Place::None) {
        QVERIFY(!QFileInfo::exists(perUser() + "/itog3"));
        return;
    }
    const QString data = chosen.path + "/itog3";
    QVERIFY(!QFileInfo::exists(chosen.path + "/itog3.new"));
    switch (seed) {
    case Seed::Nothing:
        QVERIFY(chosen.seededFrom.isEmpty());
        QVERIFY(readFile(data + "/kk.dbf").startsWith("own "));
        QVERIFY(!QFileInfo::exists(data + "/cons.txt"));
        break;
    case Seed::Template:
        QCOMPARE(chosen.seededFrom, path("template"));
        QCOMPARE(readFile(data + "/kk.dbf"), QByteArray("template kk"));
        QCOMPARE(readFile(data + "/cons.txt"), QByteArray("template cons"));
        QCOMPARE(QDir(data).entryList(QDir::Files).size(), 2);
        break;
    case Seed::Backup:
        QCOMPARE(chosen.seededFrom, chosen.path + "/arhiv");
        QVERIFY(readFile(data + "/kk.dbf").startsWith("own "));
        QCOMPARE(readFile(chosen.path + "/arhiv/kk.dbf"), readFile(data + "/kk.dbf"));
        break;
    }
}

// Files installed read-only must not become a data directory the program cannot write.
void TestWorkingFolderChoice::readOnlyTemplateGivesWritableCopies()
{
    QVERIFY(QFile::setPermissions(path("template/kk.dbf"), QFile::ReadOwner | QFile::ReadOther));
    const shell::WorkingFolderChoice chosen = shell::chooseWorkingFolder(places());
    QVERIFY2(chosen.error.isEmpty(), qPrintable(chosen.error));
    QVERIFY(QFileInfo(chosen.path + "/itog3/kk.dbf").permissions() & QFile::WriteOwner);
}

// A copy that cannot be made is an error, and no data directory is left for the next
// start to take as complete.
void TestWorkingFolderChoice::blockedCopyLeavesNoDataDirectory()
{
    writeFile(perUser() + "/itog3.new", "a file where the copy goes");
    const shell::WorkingFolderChoice chosen = shell::chooseWorkingFolder(places());
    QVERIFY(chosen.path.isEmpty());
    QVERIFY2(chosen.error.startsWith("Папка данных не создается"), qPrintable(chosen.error));
    QVERIFY(!QFileInfo::exists(perUser() + "/itog3"));
}

void TestWorkingFolderChoice::messageSaysWhereAndWhat_data()
{
    QTest::addColumn<QString>("seededFrom");
    QTest::addColumn<QString>("says");
    QTest::newRow("template") << QStringLiteral("/usr/share/kormoplan/itog3")
                              << QStringLiteral("демонстрационными данными");
    QTest::newRow("backup copy") << QStringLiteral("/home/u/Кормоплан/arhiv")
                                 << QStringLiteral("восстановлена с архивной копии arhiv");
}

void TestWorkingFolderChoice::messageSaysWhereAndWhat()
{
    QFETCH(QString, seededFrom);
    QFETCH(QString, says);
    const QString text = shell::seededMessage({"/home/u/Кормоплан", seededFrom, QString()});
    QVERIFY2(text.contains("\n/home/u/Кормоплан\n"), qPrintable(text));
    QVERIFY2(text.contains(says), qPrintable(text));
}

void TestWorkingFolderChoice::templateBesideProgram_data()
{
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("expected");
    QTest::newRow("installed") << QStringList{"usr/share/kormoplan/itog3"}
                               << QStringLiteral("usr/share/kormoplan/itog3");
    QTest::newRow("build folder in the source tree")
        << QStringList{"usr/data/itog3"} << QStringLiteral("usr/data/itog3");
    QTest::newRow("installed one first")
        << QStringList{"usr/data/itog3", "usr/share/kormoplan/itog3"}
        << QStringLiteral("usr/share/kormoplan/itog3");
    QTest::newRow("none") << QStringList{} << QString();
}

void TestWorkingFolderChoice::templateBesideProgram()
{
    QFETCH(QStringList, folders);
    QFETCH(QString, expected);
    QVERIFY(QDir().mkpath(path("usr/bin")));
    for (const QString &folder : folders)
        QVERIFY(QDir().mkpath(path(folder)));
    QCOMPARE(shell::findTemplateDir(path("usr/bin")),
             expected.isEmpty() ? QString() : path(expected));
}

void TestWorkingFolderChoice::workdirOption_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("dir");
    QTest::addColumn<bool>("understood");
    QTest::newRow("none") << QStringList{} << QString() << true;
    QTest::newRow("separate value")
        << QStringList{"--workdir", "/data/mill"} << "/data/mill" << true;
    QTest::newRow("joined value") << QStringList{"--workdir=Мельница"} << "Мельница" << true;
    QTest::newRow("missing value") << QStringList{"--workdir"} << QString() << false;
    QTest::newRow("empty value") << QStringList{"--workdir="} << QString() << false;
    QTest::newRow("stray argument") << QStringList{"itog3"} << QString() << false;
    QTest::newRow("unknown option") << QStringList{"--data", "x"} << QString() << false;
}

void TestWorkingFolderChoice::workdirOption()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, dir);
    QFETCH(bool, understood);
    arguments.prepend(QStringLiteral("kormoplan"));
    const shell::WorkdirOption option = shell::parseWorkdirOption(arguments);
    QCOMPARE(option.dir, dir);
    QCOMPARE(option.error.isEmpty(), understood);
    if (!understood)
        QVERIFY(option.error.contains("--workdir ПАПКА"));
}

QTEST_APPLESS_MAIN(TestWorkingFolderChoice)
#include "tst_workingfolderchoice.moc"
