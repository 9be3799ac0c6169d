// The .docx package: well-formed XML whatever the texts hold, the parts a reader
// needs, and a file that is written whole or not at all and never over another.

#include "documents/docxdocument.h"
#include "documents/docxwriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <zip.h>

using namespace documents;

namespace
{

// The texts of the w:t elements of document.xml; an error text when it is not
// well-formed.
QStringList runTexts(const QByteArray &xml, QString *error)
{
    QStringList texts;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == u"t")
            texts << reader.readElementText();
    }
    if (reader.hasError())
        *error = reader.errorString();
    return texts;
}

DocxDocument sample(const QString &text)
{
    DocxDocument document;
    document.addText(text + QStringLiteral("\n"), {10, false, DocxAlign::Left, 0});
    DocxTable table = DocxTable::sized(1, {100, 50});
    table.rows[0][1] = DocxCell::fromText(text, {8, true, DocxAlign::Centre, 0});
    document.addTable(table);
    return document;
}

QStringList zipEntries(const QString &path)
{
    QStringList names;
    int code = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    if (archive == nullptr)
        return names;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i)
        names << QString::fromUtf8(zip_get_name(archive, zip_uint64_t(i), 0));
    zip_discard(archive);
    return names;
}

} // namespace

class TestDocxWriter final : public QObject
{
    Q_OBJECT

private slots:
    void textsStayWellFormed_data();
    void textsStayWellFormed();
    void packageHoldsTheParts();
    void earlierFileIsNeverOverwritten();
    void unwritablePlaceIsReported();
};

void TestDocxWriter::textsStayWellFormed_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("readBack");
    QTest::newRow("markup characters") << "<w:t>&amp; \"'</w:t>"
                                       << "<w:t>&amp; \"'</w:t>";
    QTest::newRow("cyrillic") << "Шрот «подсолнечный» №1"
                              << "Шрот «подсолнечный» №1";
    QTest::newRow("control characters become spaces")
        << QStringLiteral("а\x01б\tв\x1A") << "а б в ";
    QTest::newRow("lone surrogate becomes the replacement character")
        << QString(QChar(0xD800)) + "x" << QString(QChar(QChar::ReplacementCharacter)) + "x";
    QTest::newRow("pair kept") << QString::fromUcs4(U"\U0001F33E")
                               << QString::fromUcs4(U"\U0001F33E");
    QTest::newRow("leading and trailing blanks kept") << "  а  "
                                                      << "  а  ";
}

void TestDocxWriter::textsStayWellFormed()
{
    QFETCH(QString, text);
    QFETCH(QString, readBack);
    QString error;
    const QStringList texts = runTexts(docxDocumentXml(sample(text)), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(texts, QStringList({readBack, readBack}));
}

void TestDocxWriter::packageHoldsTheParts()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Рецепт 1.docx"));
    QCOMPARE(writeDocx(sample(QStringLiteral("текст")), path), QString());
    const QStringList entries = zipEntries(path);
    for (const char *part :
         {"[Content_Types].xml", "_rels/.rels", "word/document.xml", "word/styles.xml",
          "word/settings.xml", "word/_rels/document.xml.rels"})
        QVERIFY2(entries.contains(QLatin1String(part)), part);
}

void TestDocxWriter::earlierFileIsNeverOverwritten()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.docx"));
    QFile earlier(path);
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier");
    earlier.close();
    const QString error = writeDocx(sample(QStringLiteral("x")), path);
    QVERIFY(error.startsWith(QStringLiteral("Не удалось записать файл")));
    QVERIFY(earlier.open(QIODevice::ReadOnly));
    QCOMPARE(earlier.readAll(), QByteArray("earlier"));
}

void TestDocxWriter::unwritablePlaceIsReported()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("нет такой папки/a.docx"));
    const QString error = writeDocx(sample(QStringLiteral("x")), path);
    QVERIFY(error.contains(path));
    QVERIFY(!QFile::exists(path));
}

QTEST_APPLESS_MAIN(TestDocxWriter)
#include "tst_docxwriter.moc"
