// The certificate's column cutter agrees with its builder on real archived recipes: each
// recipe a calculation of the demo data writes into the archive is read back, its
// certificate built, and every table row cut as the print and the export cut it. Each
// column then holds the builder's entries for it, whole and in order, and no cell holds
// more characters than the print and the export size that column for.
#include "archive/archivecursors.h"
#include "archive/archivedrecipe.h"
#include "archive/archivewriter.h"
#include "archive/certificatecolumns.h"
#include "archive/certificatetext.h"
#include "results/demodatafixture.h"
#include "store/numbertext.h"

#include <QtTest>

using archive::ArchivedRecipe;

namespace
{

const QDate kDate(2026, 3, 5);

QString number(double x)
{
    return store::fixedText(x, 1, 2);
}

// An entry as a reader sees it: its words with single blanks between them.
QString entry(const QStringList &words)
{
    return words.join(u' ').simplified();
}

// What the builder is to put into each column, top to bottom, empty rows left out.
QList<QStringList> builderEntries(const ArchivedRecipe &r, const settings::Settings &values)
{
    QList<QStringList> columns(3);
    bool ownMoisture = false;
    for (const ArchivedRecipe::RawLine &raw : r.raws)
        columns[0] << entry({raw.naim, number(raw.procin)});
    for (const ArchivedRecipe::PremixLine &premix : r.premixes)
        columns[1] << entry({premix.pit, number(premix.ra), premix.ediz});
    columns[1] << entry({QStringLiteral("Наполнитель:"), values.premixFiller});
    for (const ArchivedRecipe::CharLine &line : r.chars) {
        columns[2] << entry({line.pit, number(line.fa), line.ediz});
        ownMoisture = ownMoisture || line.pit.trimmed().toLower() == QStringLiteral("влажность");
    }
    if (!ownMoisture)
        columns[2].prepend(QStringLiteral("Влажность 13.00 %"));
    columns[2] << QStringLiteral("НЕ ТОКСИЧЕН.") << QStringLiteral("Анализ №")
               << QStringLiteral("Вагоны №");
    return columns;
}

} // namespace

class TestCertificateColumns final : public QObject
{
    Q_OBJECT

private slots:
    void cutterAgreesWithBuilderOnArchivedRecipes();
};

void TestCertificateColumns::cutterAgreesWithBuilderOnArchivedRecipes()
{
    roadtest::DemoData demo;
    QVERIFY(demo.ok());
    store::DataModule *dm = demo.open();
    QVERIFY(dm);
    const calc::RunResult run = demo.calculate(calc::CalcMode::Cost);
    QVERIFY(!run.recipes.empty());
    const settings::Settings &values = settings::currentSettings();
    const archive::ArchiveCursors cursors = archive::archiveCursors(*dm);
    int premixRows = 0;
    for (const calc::FeedRecipe &feed : run.recipes.feeds) {
        archive::FeedGridRow row;
        row.type = feed.type;
        row.gk = QStringLiteral("Г");
        const archive::ArchiveWriteResult written =
            archive::writeResultToArchive(cursors, run.selection, feed, row, values, kDate);
        QVERIFY2(written.ok(), qPrintable(written.error));
        const ArchivedRecipe recipe = archive::readArchivedRecipe(
            *cursors.arkk, *cursors.arsir, *cursors.arpit, *cursors.arprem, written.number);
        QVERIFY(!recipe.raws.isEmpty() && !recipe.chars.isEmpty());
        premixRows += int(recipe.premixes.size());

        QList<QStringList> cut(3);
        const QStringList rows = archive::buildCertificateText(recipe, values, kDate).tableRows();
        for (const QString &tableRow : rows) {
            const QStringList cells = archive::certificateCells(tableRow);
            for (int c = 0; c < 3; ++c) {
                QVERIFY2(cells.at(c).size() <= archive::kCertificateColumns[c].content,
                         qPrintable(cells.at(c)));
                if (!cells.at(c).isEmpty())
                    cut[c] << entry({cells.at(c)});
            }
        }
        // A filler too long for one row goes on in the rows under it.
        const QList<QStringList> expected = builderEntries(recipe, values);
        const qsizetype premixes = recipe.premixes.size();
        cut[1] = cut[1].mid(0, premixes) << entry(cut[1].mid(premixes));
        for (int c = 0; c < 3; ++c)
            QCOMPARE(cut.at(c), expected.at(c));
    }
    QVERIFY(premixRows > 0); // the premix column was filled, not only its filler
}

QTEST_GUILESS_MAIN(TestCertificateColumns)
#include "tst_certificatecolumns.moc"
