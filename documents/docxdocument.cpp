#include "documents/docxdocument.h"

namespace documents
{

const QString DocxDocument::kFontName = QStringLiteral("Courier New");

namespace
{

DocxRun runOf(const QString &text, const DocxFormat &format)
{
    return {text, format.pointSize, format.bold};
}

void applyFormat(DocxParagraph &paragraph, const DocxFormat &format)
{
    paragraph.align = format.align;
    paragraph.leftIndent = format.leftIndent;
    paragraph.mark = runOf(QString(), format);
}

} // namespace

QString DocxParagraph::text() const
{
    QString joined;
    for (const DocxRun &run : runs)
        joined += run.text;
    return joined;
}

DocxCell DocxCell::fromText(const QString &text, const DocxFormat &format)
{
    DocxCell cell;
    for (const QString &part : text.split(QLatin1Char('\n'))) {
        DocxParagraph paragraph;
        applyFormat(paragraph, format);
        if (!part.isEmpty())
            paragraph.runs.append(runOf(part, format));
        cell.paragraphs.append(paragraph);
    }
    return cell;
}

DocxTable DocxTable::sized(int rows, const QList<double> &columnWidths)
{
    DocxTable table;
    table.columnWidths = columnWidths;
    const DocxCell empty = DocxCell::fromText(QString(), DocxFormat());
    for (int r = 0; r < rows; ++r)
        table.rows.append(QList<DocxCell>(columnWidths.size(), empty));
    return table;
}

void DocxDocument::addText(const QString &text, const DocxFormat &format)
{
    const QStringList parts = text.split(QLatin1Char('\n'));
    for (int i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            closed_.append(open_);
            open_ = DocxParagraph();
        }
        applyFormat(open_, format);
        if (!parts.at(i).isEmpty())
            open_.runs.append(runOf(parts.at(i), format));
    }
}

void DocxDocument::addTable(const DocxTable &table)
{
    // A table cannot split a paragraph: text typed without a closing mark ends first.
    if (!open_.runs.isEmpty()) {
        closed_.append(open_);
        DocxParagraph next;
        next.align = open_.align;
        next.leftIndent = open_.leftIndent;
        next.mark = open_.mark;
        open_ = next;
    }
    closed_.append(table);
}

QList<DocxBlock> DocxDocument::blocks() const
{
    QList<DocxBlock> all = closed_;
    all.append(open_);
    return all;
}

} // namespace documents
