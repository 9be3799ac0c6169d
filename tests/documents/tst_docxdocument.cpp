// The document model: text typed in groups becomes paragraphs as a word processor
// makes them (marks end paragraphs, an unended one goes on with the next group and
// takes its paragraph format), tables go before the open paragraph.

#include "documents/docxdocument.h"

#include <QTest>

using namespace documents;

namespace
{

// One typed group or a table ("|").
struct Step {
    QString text;
    double size;
};

// Each block as text: a paragraph as "text@size" (the size of its mark), a table as "|".
QStringList shape(const DocxDocument &document)
{
    QStringList out;
    for (const DocxBlock &block : document.blocks()) {
        if (const auto *p = std::get_if<DocxParagraph>(&block))
            out << p->text() + QLatin1Char('@') + QString::number(p->mark.pointSize);
        else
            out << QStringLiteral("|");
    }
    return out;
}

} // namespace

Q_DECLARE_METATYPE(QList<Step>)

class TestDocxDocument final : public QObject
{
    Q_OBJECT

private slots:
    void typing_data();
    void typing();
    void groupsShareAParagraph();
    void cellText_data();
    void cellText();
};

void TestDocxDocument::typing_data()
{
    QTest::addColumn<QList<Step>>("steps");
    QTest::addColumn<QStringList>("blocks");
    QTest::newRow("empty document: one open paragraph") << QList<Step>{} << QStringList{"@10"};
    QTest::newRow("a mark ends the paragraph; the next takes the format")
        << QList<Step>{{"А\n", 14}} << QStringList{"А@14", "@14"};
    QTest::newRow("two marks: an empty paragraph between")
        << QList<Step>{{"А\n\n", 14}, {"Б", 8}} << QStringList{"А@14", "@14", "Б@8"};
    QTest::newRow("a group without a mark goes on in the next")
        << QList<Step>{{"А", 14}, {"\nБ\n", 10}} << QStringList{"А@10", "Б@10", "@10"};
    QTest::newRow("a table before the open empty paragraph")
        << QList<Step>{{"А\n", 14}, {"|", 0}, {"\n", 3}, {"|", 0}}
        << QStringList{"А@14", "|", "@3", "|", "@3"};
    QTest::newRow("a table after unended text ends it first")
        << QList<Step>{{"А", 14}, {"|", 0}, {"Б", 8}} << QStringList{"А@14", "|", "Б@8"};
}

void TestDocxDocument::typing()
{
    QFETCH(QList<Step>, steps);
    QFETCH(QStringList, blocks);
    DocxDocument document;
    for (const Step &step : steps) {
        if (step.text == QLatin1String("|"))
            document.addTable(DocxTable::sized(1, {100}));
        else
            document.addText(step.text, {step.size, false, DocxAlign::Left, 0});
    }
    QCOMPARE(shape(document), blocks);
}

// Runs keep their own font; the paragraph takes the alignment and indent of the last
// group that touched it.
void TestDocxDocument::groupsShareAParagraph()
{
    DocxDocument document;
    document.addText(QStringLiteral("строка"), {14, true, DocxAlign::Centre, 0});
    document.addText(QStringLiteral("\nдалее"), {10, false, DocxAlign::Left, 40});
    const QList<DocxBlock> blocks = document.blocks();
    QCOMPARE(blocks.size(), 2);
    const auto &first = std::get<DocxParagraph>(blocks.at(0));
    QCOMPARE(first.runs.size(), 1);
    QCOMPARE(first.runs.at(0).pointSize, 14.0);
    QVERIFY(first.runs.at(0).bold);
    QCOMPARE(first.align, DocxAlign::Left);
    QCOMPARE(first.leftIndent, 40.0);
    QCOMPARE(first.mark.pointSize, 10.0);
    const auto &second = std::get<DocxParagraph>(blocks.at(1));
    QCOMPARE(second.text(), QStringLiteral("далее"));
    QVERIFY(!second.runs.at(0).bold);
}

void TestDocxDocument::cellText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("paragraphs");
    QTest::newRow("empty: one empty paragraph") << "" << QStringList{""};
    QTest::newRow("column: mark first, mark after each") << "\nА\nБ\n"
                                                         << QStringList{"", "А", "Б", ""};
    QTest::newRow("two lines") << "Количество на\nпартию" << QStringList{"Количество на", "партию"};
}

void TestDocxDocument::cellText()
{
    QFETCH(QString, text);
    QFETCH(QStringList, paragraphs);
    const DocxCell cell = DocxCell::fromText(text, {8, true, DocxAlign::Right, 0});
    QStringList got;
    for (const DocxParagraph &p : cell.paragraphs) {
        got << p.text();
        QCOMPARE(p.align, DocxAlign::Right);
        QCOMPARE(p.mark.pointSize, 8.0);
    }
    QCOMPARE(got, paragraphs);
}

QTEST_APPLESS_MAIN(TestDocxDocument)
#include "tst_docxdocument.moc"
