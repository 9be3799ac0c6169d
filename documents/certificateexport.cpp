#include "documents/certificateexport.h"

namespace documents
{

namespace
{

constexpr int kFirstTableRow = 14;
constexpr int kClosingLines = 6; // the rule, four fixed lines, the signature
// Where the columns of a table row begin in the text (from 0) and how wide they are.
constexpr int kMiddleColumn = 38;
constexpr int kMiddleWidth = 42;
constexpr int kLastColumn = 80;
constexpr int kLastWidth = 42;

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
    docx.addText(kMark + line(lines, 4) + QStringLiteral("   ") + line(lines, 5) + kMark,
                 centred(14, true));
    QString details = kMark;
    for (int i = 6; i <= 10; ++i)
        details += line(lines, i) + kMark;
    docx.addText(details + kMark, {10, false, DocxAlign::Left, 40});
}

void addTable(DocxDocument &docx, const QStringList &lines)
{
    const DocxFormat body = {8, true, DocxAlign::Left, 0};
    DocxTable table = DocxTable::sized(2, {189, 182, 200});
    table.firstRowHeight = 15;
    table.inside = DocxBorder::Single;
    table.outside = DocxBorder::Double;
    const QStringList headers = {QStringLiteral("Состав рецепта %"),
                                 QStringLiteral("Введены добавки на 1 т"),
                                 QStringLiteral("Показатели качества")};
    QList<QStringList> columns(3);
    const int lastRow = int(lines.size()) - kClosingLines - 1;
    for (int i = kFirstTableRow; i <= lastRow; ++i) {
        const QStringList cells = certificateColumns(lines.at(i));
        for (int c = 0; c < 3; ++c)
            columns[c] << cells.at(c) + QLatin1Char(' ');
    }
    for (int c = 0; c < 3; ++c) {
        table.rows[0][c] = DocxCell::fromText(headers.at(c), centred(8, true));
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

// The first column keeps its blanks (names and shares line up in it); the others are
// cut where the text lays them out, so that no character of one lands in another.
QStringList certificateColumns(const QString &row)
{
    return {row.left(kMiddleColumn), row.mid(kMiddleColumn, kMiddleWidth).trimmed(),
            row.mid(kLastColumn, kLastWidth).trimmed()};
}

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
