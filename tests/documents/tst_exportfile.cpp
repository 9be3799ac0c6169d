// The export folder: names that say what and when, a new name instead of overwriting,
// the folder made when missing, and a failure reported when it cannot be made.

#include "documents/docxdocument.h"
#include "documents/exportfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace documents;

class TestExportFile final : public QObject
{
    Q_OBJECT

private slots:
    void fileName_data();
    void fileName();
    void repeatedExportsGetNewNames();
    void blockedFolderIsReported();
};

void TestExportFile::fileName_data()
{
    QTest::addColumn<int>("attempt");
    QTest::addColumn<QString>("name");
    QTest::newRow("first") << 1 << "Рецепт 17 2026-12-07 14-05.docx";
    QTest::newRow("second") << 2 << "Рецепт 17 2026-12-07 14-05 (2).docx";
}

void TestExportFile::fileName()
{
    QFETCH(int, attempt);
    QFETCH(QString, name);
    const QDateTime when(QDate(2026, 12, 7), QTime(14, 5, 59));
    QCOMPARE(exportFileName(QStringLiteral("Рецепт 17"), when, attempt), name);
}

void TestExportFile::repeatedExportsGetNewNames()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("export"));
    const QDateTime when(QDate(2026, 12, 7), QTime(14, 5));
    QStringList names;
    for (int i = 0; i < 3; ++i) {
        const ExportedFile file =
            saveExport(DocxDocument(), folder, QStringLiteral("Удостоверение 3"), when);
        QVERIFY2(file.ok(), qPrintable(file.error));
        names << QFileInfo(file.path).fileName();
    }
    QCOMPARE(names, QStringList({"Удостоверение 3 2026-12-07 14-05.docx",
                                 "Удостоверение 3 2026-12-07 14-05 (2).docx",
                                 "Удостоверение 3 2026-12-07 14-05 (3).docx"}));
    QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 3);
}

void TestExportFile::blockedFolderIsReported()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("export"));
    QFile blocker(folder); // a file where the folder should be
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const ExportedFile file = saveExport(DocxDocument(), folder, QStringLiteral("Рецепт 1"),
                                         QDateTime::currentDateTime());
    QVERIFY(!file.ok());
    QVERIFY(file.path.isEmpty());
    QVERIFY2(file.error.startsWith(QStringLiteral("Не удалось создать папку")),
             qPrintable(file.error));
}

QTEST_APPLESS_MAIN(TestExportFile)
#include "tst_exportfile.moc"
