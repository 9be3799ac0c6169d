#include "documents/docxwriter.h"

#include "documents/docxdocument.h"

#include <QList>
#include <QXmlStreamWriter>

#include <cmath>
#include <zip.h>

namespace documents
{

namespace
{

const QString kW = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
const QString kRelationships =
    QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships");
const QString kOfficeRelationships =
    QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/");

// A4 portrait and the cells' padding, twentieths of a point
constexpr int kPageWidth = int(DocxDocument::kPageWidth * 20 + 0.5);
constexpr int kPageHeight = int(DocxDocument::kPageHeight * 20 + 0.5);
constexpr int kCellMargin = int(DocxDocument::kCellPadding * 20 + 0.5);
constexpr int kBorderEighths = 4; // border lines of half a point

QString twips(double points)
{
    return QString::number(std::lround(points * 20));
}

QString halfPoints(double points)
{
    return QString::number(std::lround(points * 2));
}

// The text with every character XML 1.0 cannot hold replaced by a space (a lone
// surrogate by the replacement character).
QString xmlText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
        } else if (c.isSurrogate() || c.unicode() == 0xFFFE || c.unicode() == 0xFFFF) {
            out += QChar(QChar::ReplacementCharacter);
        } else if (c.unicode() < 0x20) {
            out += QLatin1Char(' ');
        } else {
            out += c;
        }
    }
    return out;
}

class PartWriter final
{
public:
    explicit PartWriter(QByteArray *out) : xml_(out)
    {
        xml_.setAutoFormatting(false);
        xml_.writeStartDocument(QStringLiteral("1.0"), true);
    }
    QXmlStreamWriter &xml() { return xml_; }

    // <w:name w:val="value"/>
    void value(const QString &name, const QString &val)
    {
        xml_.writeEmptyElement(kW, name);
        xml_.writeAttribute(kW, QStringLiteral("val"), val);
    }
    void start(const QString &name) { xml_.writeStartElement(kW, name); }
    void empty(const QString &name) { xml_.writeEmptyElement(kW, name); }
    void attribute(const QString &name, const QString &val) { xml_.writeAttribute(kW, name, val); }
    void end() { xml_.writeEndElement(); }

    void runProperties(double pointSize, bool bold)
    {
        start(QStringLiteral("rPr"));
        empty(QStringLiteral("rFonts"));
        for (const char *script : {"ascii", "hAnsi", "cs", "eastAsia"})
            attribute(QString::fromLatin1(script), DocxDocument::kFontName);
        if (bold) {
            empty(QStringLiteral("b"));
            empty(QStringLiteral("bCs"));
        }
        value(QStringLiteral("sz"), halfPoints(pointSize));
        value(QStringLiteral("szCs"), halfPoints(pointSize));
        end();
    }

    void paragraph(const DocxParagraph &p)
    {
        start(QStringLiteral("p"));
        start(QStringLiteral("pPr"));
        empty(QStringLiteral("spacing"));
        attribute(QStringLiteral("before"), QStringLiteral("0"));
        attribute(QStringLiteral("after"), QStringLiteral("0"));
        if (p.leftIndent != 0) {
            empty(QStringLiteral("ind"));
            attribute(QStringLiteral("left"), twips(p.leftIndent));
        }
        value(QStringLiteral("jc"), alignment(p.align));
        runProperties(p.mark.pointSize, p.mark.bold);
        end();
        for (const DocxRun &run : p.runs) {
            start(QStringLiteral("r"));
            runProperties(run.pointSize, run.bold);
            start(QStringLiteral("t"));
            xml_.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
            xml_.writeCharacters(xmlText(run.text));
            end();
            end();
        }
        end();
    }

    void table(const DocxTable &t)
    {
        start(QStringLiteral("tbl"));
        start(QStringLiteral("tblPr"));
        double total = 0;
        for (double w : t.columnWidths)
            total += w;
        empty(QStringLiteral("tblW"));
        attribute(QStringLiteral("w"), twips(total));
        attribute(QStringLiteral("type"), QStringLiteral("dxa"));
        start(QStringLiteral("tblBorders"));
        for (const char *side : {"top", "left", "bottom", "right"})
            border(QString::fromLatin1(side), t.outside);
        border(QStringLiteral("insideH"), t.inside);
        border(QStringLiteral("insideV"), t.inside);
        end();
        empty(QStringLiteral("tblLayout"));
        attribute(QStringLiteral("type"), QStringLiteral("fixed"));
        end();
        start(QStringLiteral("tblGrid"));
        for (double w : t.columnWidths) {
            empty(QStringLiteral("gridCol"));
            attribute(QStringLiteral("w"), twips(w));
        }
        end();
        for (qsizetype r = 0; r < t.rows.size(); ++r) {
            start(QStringLiteral("tr"));
            if (r == 0 && t.firstRowHeight > 0) {
                start(QStringLiteral("trPr"));
                empty(QStringLiteral("trHeight"));
                attribute(QStringLiteral("val"), twips(t.firstRowHeight));
                attribute(QStringLiteral("hRule"), QStringLiteral("atLeast"));
                end();
            }
            const QList<DocxCell> &cells = t.rows.at(r);
            for (qsizetype c = 0; c < cells.size() && c < t.columnWidths.size(); ++c)
                cell(cells.at(c), t.columnWidths.at(c));
            end();
        }
        end();
    }

    void sectionProperties(const DocxMargins &m)
    {
        start(QStringLiteral("sectPr"));
        empty(QStringLiteral("pgSz"));
        attribute(QStringLiteral("w"), QString::number(kPageWidth));
        attribute(QStringLiteral("h"), QString::number(kPageHeight));
        attribute(QStringLiteral("orient"), QStringLiteral("portrait"));
        empty(QStringLiteral("pgMar"));
        attribute(QStringLiteral("top"), twips(m.top));
        attribute(QStringLiteral("right"), twips(m.right));
        attribute(QStringLiteral("bottom"), twips(m.bottom));
        attribute(QStringLiteral("left"), twips(m.left));
        for (const char *zero : {"header", "footer", "gutter"})
            attribute(QString::fromLatin1(zero), QStringLiteral("0"));
        end();
    }

private:
    static QString alignment(DocxAlign a)
    {
        switch (a) {
        case DocxAlign::Centre:
            return QStringLiteral("center");
        case DocxAlign::Right:
            return QStringLiteral("right");
        case DocxAlign::Left:
            break;
        }
        return QStringLiteral("left");
    }

    void border(const QString &side, DocxBorder style)
    {
        empty(side);
        switch (style) {
        case DocxBorder::None:
            attribute(QStringLiteral("val"), QStringLiteral("nil"));
            return;
        case DocxBorder::Single:
            attribute(QStringLiteral("val"), QStringLiteral("single"));
            break;
        case DocxBorder::Double:
            attribute(QStringLiteral("val"), QStringLiteral("double"));
            break;
        }
        attribute(QStringLiteral("sz"), QString::number(kBorderEighths));
        attribute(QStringLiteral("space"), QStringLiteral("0"));
        attribute(QStringLiteral("color"), QStringLiteral("auto"));
    }

    void cell(const DocxCell &c, double width)
    {
        start(QStringLiteral("tc"));
        start(QStringLiteral("tcPr"));
        empty(QStringLiteral("tcW"));
        attribute(QStringLiteral("w"), twips(width));
        attribute(QStringLiteral("type"), QStringLiteral("dxa"));
        if (c.centredVertically)
            value(QStringLiteral("vAlign"), QStringLiteral("center"));
        end();
        if (c.paragraphs.isEmpty())
            paragraph(DocxParagraph()); // a cell holds at least one paragraph
        for (const DocxParagraph &p : c.paragraphs)
            paragraph(p);
        end();
    }

    QXmlStreamWriter xml_;
};

QByteArray stylesXml()
{
    QByteArray out;
    PartWriter w(&out);
    w.xml().writeNamespace(kW, QStringLiteral("w"));
    w.start(QStringLiteral("styles"));
    w.start(QStringLiteral("docDefaults"));
    w.start(QStringLiteral("rPrDefault"));
    w.runProperties(10, false);
    w.end();
    w.start(QStringLiteral("pPrDefault"));
    w.start(QStringLiteral("pPr"));
    w.empty(QStringLiteral("spacing"));
    w.attribute(QStringLiteral("before"), QStringLiteral("0"));
    w.attribute(QStringLiteral("after"), QStringLiteral("0"));
    w.attribute(QStringLiteral("line"), QStringLiteral("240"));
    w.attribute(QStringLiteral("lineRule"), QStringLiteral("auto"));
    w.end();
    w.end();
    w.end();
    // The defaults every paragraph and table falls back on.
    w.start(QStringLiteral("style"));
    w.attribute(QStringLiteral("type"), QStringLiteral("paragraph"));
    w.attribute(QStringLiteral("default"), QStringLiteral("1"));
    w.attribute(QStringLiteral("styleId"), QStringLiteral("Normal"));
    w.value(QStringLiteral("name"), QStringLiteral("Normal"));
    w.end();
    w.start(QStringLiteral("style"));
    w.attribute(QStringLiteral("type"), QStringLiteral("table"));
    w.attribute(QStringLiteral("default"), QStringLiteral("1"));
    w.attribute(QStringLiteral("styleId"), QStringLiteral("TableNormal"));
    w.value(QStringLiteral("name"), QStringLiteral("Normal Table"));
    w.start(QStringLiteral("tblPr"));
    w.start(QStringLiteral("tblCellMar"));
    for (const char *side : {"top", "left", "bottom", "right"}) {
        const QString name = QString::fromLatin1(side);
        w.empty(name);
        const bool padded = name == QLatin1String("left") || name == QLatin1String("right");
        w.attribute(QStringLiteral("w"), QString::number(padded ? kCellMargin : 0));
        w.attribute(QStringLiteral("type"), QStringLiteral("dxa"));
    }
    w.end();
    w.end();
    w.end();
    w.end();
    w.xml().writeEndDocument();
    return out;
}

QByteArray settingsXml()
{
    QByteArray out;
    PartWriter w(&out);
    w.xml().writeNamespace(kW, QStringLiteral("w"));
    w.start(QStringLiteral("settings"));
    w.value(QStringLiteral("defaultTabStop"), QStringLiteral("708"));
    w.start(QStringLiteral("compat"));
    w.empty(QStringLiteral("compatSetting"));
    w.attribute(QStringLiteral("name"), QStringLiteral("compatibilityMode"));
    w.attribute(QStringLiteral("uri"), QStringLiteral("http://schemas.microsoft.com/office/word"));
    w.attribute(QStringLiteral("val"), QStringLiteral("15"));
    w.end();
    w.end();
    w.xml().writeEndDocument();
    return out;
}

QByteArray contentTypesXml()
{
    const QString ns =
        QStringLiteral("http://schemas.openxmlformats.org/package/2006/content-types");
    const QString wordml = QStringLiteral("application/vnd.openxmlformats-officedocument."
                                          "wordprocessingml.");
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    xml.writeDefaultNamespace(ns);
    xml.writeStartElement(ns, QStringLiteral("Types"));
    const QList<std::pair<QString, QString>> defaults = {
        {QStringLiteral("rels"),
         QStringLiteral("application/vnd.openxmlformats-package.relationships+xml")},
        {QStringLiteral("xml"), QStringLiteral("application/xml")}};
    for (const auto &[extension, type] : defaults) {
        xml.writeEmptyElement(ns, QStringLiteral("Default"));
        xml.writeAttribute(QStringLiteral("Extension"), extension);
        xml.writeAttribute(QStringLiteral("ContentType"), type);
    }
    const QList<std::pair<QString, QString>> parts = {
        {QStringLiteral("/word/document.xml"), wordml + QStringLiteral("document.main+xml")},
        {QStringLiteral("/word/styles.xml"), wordml + QStringLiteral("styles+xml")},
        {QStringLiteral("/word/settings.xml"), wordml + QStringLiteral("settings+xml")}};
    for (const auto &[part, type] : parts) {
        xml.writeEmptyElement(ns, QStringLiteral("Override"));
        xml.writeAttribute(QStringLiteral("PartName"), part);
        xml.writeAttribute(QStringLiteral("ContentType"), type);
    }
    xml.writeEndDocument();
    return out;
}

// A relationships part: (id, type after the office prefix, target) per entry.
QByteArray relationshipsXml(const QList<std::array<QString, 3>> &entries)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    xml.writeDefaultNamespace(kRelationships);
    xml.writeStartElement(kRelationships, QStringLiteral("Relationships"));
    for (const auto &[id, type, target] : entries) {
        xml.writeEmptyElement(kRelationships, QStringLiteral("Relationship"));
        xml.writeAttribute(QStringLiteral("Id"), id);
        xml.writeAttribute(QStringLiteral("Type"), kOfficeRelationships + type);
        xml.writeAttribute(QStringLiteral("Target"), target);
    }
    xml.writeEndDocument();
    return out;
}

QString zipErrorText(int code)
{
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = QString::fromLocal8Bit(zip_error_strerror(&error));
    zip_error_fini(&error);
    return text;
}

} // namespace

QByteArray docxDocumentXml(const DocxDocument &document)
{
    QByteArray out;
    PartWriter w(&out);
    w.xml().writeNamespace(kW, QStringLiteral("w"));
    w.start(QStringLiteral("document"));
    w.start(QStringLiteral("body"));
    for (const DocxBlock &block : document.blocks()) {
        if (const auto *p = std::get_if<DocxParagraph>(&block))
            w.paragraph(*p);
        else
            w.table(std::get<DocxTable>(block));
    }
    w.sectionProperties(document.margins());
    w.end();
    w.end();
    w.xml().writeEndDocument();
    return out;
}

QString writeDocx(const DocxDocument &document, const QString &path)
{
    const QList<std::pair<const char *, QByteArray>> parts = {
        {"[Content_Types].xml", contentTypesXml()},
        {"_rels/.rels",
         relationshipsXml({{{QStringLiteral("rId1"), QStringLiteral("officeDocument"),
                             QStringLiteral("word/document.xml")}}})},
        {"word/document.xml", docxDocumentXml(document)},
        {"word/styles.xml", stylesXml()},
        {"word/settings.xml", settingsXml()},
        {"word/_rels/document.xml.rels",
         relationshipsXml(
             {{QStringLiteral("rId1"), QStringLiteral("styles"), QStringLiteral("styles.xml")},
              {QStringLiteral("rId2"), QStringLiteral("settings"),
               QStringLiteral("settings.xml")}})},
    };
    const QString failed = QStringLiteral("Не удалось записать файл %1: %2").arg(path);
    int code = 0;
    zip_t *archive = zip_open(path.toLocal8Bit().constData(), ZIP_CREATE | ZIP_EXCL, &code);
    if (archive == nullptr)
        return failed.arg(zipErrorText(code));
    for (const auto &[name, bytes] : parts) {
        zip_source_t *source = zip_source_buffer(archive, bytes.constData(), bytes.size(), 0);
        if (source == nullptr || zip_file_add(archive, name, source, ZIP_FL_ENC_UTF_8) < 0) {
            const QString reason = QString::fromLocal8Bit(zip_strerror(archive));
            zip_source_free(source);
            zip_discard(archive);
            return failed.arg(reason);
        }
    }
    // The buffers live until here: the archive reads them when it is closed.
    if (zip_close(archive) != 0) {
        const QString reason = QString::fromLocal8Bit(zip_strerror(archive));
        zip_discard(archive);
        return failed.arg(reason);
    }
    return {};
}

} // namespace documents
