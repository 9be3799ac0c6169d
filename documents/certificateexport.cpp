#include "documents/certificateexport.h"

#include "archive/certificatecolumns.h"
#include "archive/certificatetext.h"

#include <algorithm>
#include <cmath>

namespace documents
{

namespace
{

using archive::CertificateColumn;
using archive::kCertificateColumns;

constexpr int kFirstTableRow = archive::CertificateText::kFirstTableRow;
constexpr double kHeaderSize = 8;
constexpr double kTableSize = archive::kCertificateTableFontSize;
constexpr double kCharWidth = 0.6; // of the font size: Courier New is fixed-pitch

const QString kMark = QStringLiteral("\n");

DocxFormat centred(double size, bool bold)
{
    return {size, bold, DocxAlign::Centre, 0};
}

// Line i of the text; empty past its ends (the user may have removed lines).
QString line(const QStringList &lines, int i)
{
    return lines.value(i);
}

void addHead(DocxDocument &docx, const QStringList &lines)
{
    docx.addText(line(lines, 0) + kMark, centred(14, true));
    docx.addText(line(lines, 1) + kMark + kMark, centred(14, false));
    docx.addText(line(lines, 2), centred(14, true));
    docx.addText(kMark + line(lines, 3) + kMark, centred(10, false));
    docx.addText(kMark + archive::CertificateText{lines}.title() + kMark, centred(14, true));
    QString details = kMark;
    for (int i = 6; i <= 10; ++i)
        details += line(lines, i) + kMark;
    docx.addText(details + kMark, {10, false, DocxAlign::Left, 40});
}

// Each column as wide as its entries in the table's font, the room left between the
// margins shared out equally, so that the table neither runs past the margins nor wraps
// an entry.
QList<double> columnWidths(double textWidth)
{
    QList<double> widths;
    double used = 0;
    for (const CertificateColumn &column : kCertificateColumns) {
        widths << column.content * kCharWidth * kTableSize + 2 * DocxDocument::kCellPadding;
        used += widths.last();
    }
    const double spare = std::max(0.0, textWidth - used) / double(widths.size());
    for (double &width : widths)
        width = std::floor(width + spare);
    return widths;
}

void addTable(DocxDocument &docx, const QStringList &lines)
{
    const DocxFormat body = {kTableSize, true, DocxAlign::Left, 0};
    DocxTable table = DocxTable::sized(2, columnWidths(docx.textWidth()));
    table.firstRowHeight = 15;
    table.inside = DocxBorder::Single;
    table.outside = DocxBorder::Double;
    const QStringList headers = {QStringLiteral("Состав рецепта %"),
                                 QStringLiteral("Введены добавки на 1 т"),
                                 QStringLiteral("Показатели качества")};
    QList<QStringList> columns(3);
    const int lastRow = int(lines.size()) - archive::CertificateText::kClosingLines - 1;
    for (int i = kFirstTableRow; i <= lastRow; ++i) {
        const QStringList cells = archive::certificateCells(lines.at(i));
        for (int c = 0; c < 3; ++c)
            columns[c] << cells.at(c) + QLatin1Char(' ');
    }
    for (int c = 0; c < 3; ++c) {
        table.rows[0][c] = DocxCell::fromText(headers.at(c), centred(kHeaderSize, true));
        table.rows[0][c].centredVertically = true;
        table.rows[1][c] = DocxCell::fromText(kMark + columns.at(c).join(kMark), body);
    }
    docx.addTable(table);
}

void addClosing(DocxDocument &docx, const QStringList &lines)
{
    const int count = int(lines.size());
    QString closing = kMark;
    for (int i = count - 5; i <= count - 2; ++i)
        closing += line(lines, i) + kMark;
    docx.addText(closing, {8, true, DocxAlign::Left, 0});
    docx.addText(kMark + kMark + QStringLiteral("     ") + line(lines, count - 1),
                 {10, false, DocxAlign::Left, 0});
}

} // namespace

DocxDocument certificateDocx(const QStringList &lines)
{
    DocxDocument docx;
    docx.setMargins({18, 18, 18, 18});
    addHead(docx, lines);
    addTable(docx, lines);
    addClosing(docx, lines);
    return docx;
}

} // namespace documents
