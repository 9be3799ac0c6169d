#pragma once

// A word-processor document in the shape the exports build it: paragraph groups
// (a text whose "\n" are paragraph marks, in one formatting) and tables of fixed column
// widths, on a portrait A4 page with given margins. Everything is set in Courier New.
//
// Text goes in as a typist would type it at the end of the document: a group that
// does not end with a mark leaves its last paragraph open, and the next group goes
// on in it; a table is put before the open paragraph, which stays after it. The
// paragraphs a group touches take its alignment and indent, as a paragraph format
// applied to a selection would.

#include <QList>
#include <QString>

#include <variant>

namespace documents
{

enum class DocxAlign { Left, Centre, Right };
enum class DocxBorder { None, Single, Double };

// The formatting of a paragraph group. Sizes and indents are in points.
struct DocxFormat {
    double pointSize = 10;
    bool bold = false;
    DocxAlign align = DocxAlign::Left;
    double leftIndent = 0;
};

struct DocxRun {
    QString text;
    double pointSize = 10;
    bool bold = false;
};

struct DocxParagraph {
    QList<DocxRun> runs;
    DocxAlign align = DocxAlign::Left;
    double leftIndent = 0;
    DocxRun mark; // the paragraph mark's font (no text): it sets an empty line's height

    QString text() const; // the runs' texts joined
};

struct DocxCell {
    QList<DocxParagraph> paragraphs; // at least one
    bool centredVertically = false;  // else the text starts at the top

    // A cell holding text, its "\n" being paragraph marks, in one formatting.
    static DocxCell fromText(const QString &text, const DocxFormat &format);
};

struct DocxTable {
    QList<double> columnWidths;  // points
    QList<QList<DocxCell>> rows; // each row has one cell per column
    DocxBorder inside = DocxBorder::Single;
    DocxBorder outside = DocxBorder::Single;
    double firstRowHeight = 0; // points, at least; 0 leaves it to the text

    // A table of rows × columns empty cells.
    static DocxTable sized(int rows, const QList<double> &columnWidths);
};

using DocxBlock = std::variant<DocxParagraph, DocxTable>;

struct DocxMargins {
    double left = 72;
    double right = 72;
    double top = 72;
    double bottom = 72;
};

class DocxDocument final
{
public:
    static const QString kFontName;             // "Courier New"
    static constexpr double kPageWidth = 595.3; // A4 portrait, points
    static constexpr double kPageHeight = 841.9;
    static constexpr double kCellPadding = 5.4; // left and right in every table cell, points

    // Points between the left and the right margin.
    double textWidth() const { return kPageWidth - margins_.left - margins_.right; }

    void setMargins(const DocxMargins &margins) { margins_ = margins; }
    const DocxMargins &margins() const { return margins_; }

    // Types text at the end of the document in one formatting; "\n" ends a paragraph.
    void addText(const QString &text, const DocxFormat &format);
    // Puts a table before the open paragraph.
    void addTable(const DocxTable &table);

    // The blocks in document order, the open paragraph last.
    QList<DocxBlock> blocks() const;

private:
    DocxMargins margins_;
    QList<DocxBlock> closed_;
    DocxParagraph open_;
};

} // namespace documents
