#include "archive/window/certificatepage.h"

#include "archive/certificatecolumns.h"
#include "archive/certificatetext.h"
#include "platform/virtualpage.h"
#include "store/splitline.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <utility>

namespace archive
{

namespace
{

using store::wrapText;

constexpr double kLeft = CertificatePage::kLeft;
constexpr double kRight = CertificatePage::kRight;
constexpr double kRowStep = 100;
constexpr double kLastUsableY = 6714;   // nothing is drawn below it
constexpr double kFrameBelowRows = 150; // from where a further row would stand to the foot
constexpr double kNotesX = kLeft + 30;
constexpr double kSignatureX = 400;
constexpr int kHeadingLine = 12;
constexpr int kTitle = -1; // lines 4 and 5, joined

// Where the table of one page lies (virtual units).
struct TableArea {
    double frameTop;
    double headingY; // the column heading line
    double ruleY;    // the rule under it
    double firstRowY;
};

constexpr TableArea kFirstPage{1750, 1900, 2100, 2250};
constexpr TableArea kFurtherPage{100, 250, 450, 600};

enum class Align { Left, Centre };

// A line of the head, where it begins (between the margins when centred) and its top.
struct HeadLine {
    int line;
    int size;
    bool bold;
    Align align;
    double x;
    double y;
};

constexpr HeadLine kHead[] = {{0, 14, true, Align::Centre, kLeft, 100},
                              {1, 14, false, Align::Left, 1000, 300},
                              {2, 14, true, Align::Centre, kLeft, 500},
                              {3, 10, false, Align::Centre, kLeft, 700},
                              {kTitle, 12, true, Align::Left, kLeft + 100, 850},
                              {6, 12, true, Align::Left, 400, 1150},
                              {7, 10, false, Align::Left, 400, 1300},
                              {8, 10, false, Align::Left, 400, 1400},
                              {9, 10, false, Align::Left, 400, 1500},
                              {10, 10, false, Align::Left, 400, 1600}};

// Between the lines of one wrapped text: the title's second line stands 150 below its
// first, lines of 10 pt and less 100 apart.
double stepFor(int pointSize)
{
    return pointSize >= 12 ? 150 : kRowStep;
}

// Texts drawn down a sheet in reading order, each at its place on the virtual page moved
// down by as much as the texts above it grew by wrapping, so that none prints over another.
class SheetFlow
{
public:
    explicit SheetFlow(platform::VirtualPage &page) : page_(page) {}

    platform::VirtualPage &page() const { return page_; }
    // The pixel row of virtual y on this sheet, moved down as the texts above it were.
    int y(double vy) const { return page_.y(vy) + shift_; }
    // The same, moved further down when something drawn reaches below it.
    int place(double vy)
    {
        const int top = std::max(y(vy), bottom_);
        shift_ = top - page_.y(vy);
        return top;
    }
    // Texts side by side in the current font, each at its pixel x, their top at virtual y.
    void line(double vy, const QList<std::pair<int, QString>> &texts)
    {
        const int top = place(vy);
        for (const auto &[x, s] : texts)
            page_.text(x, top, s);
        bottom_ = top + page_.painter()->fontMetrics().height();
    }
    // Moves everything after it down by virtual units: a text took more lines than the
    // place it had.
    void grow(double vy) { shift_ += page_.y(vy); }
    void newSheet()
    {
        shift_ = 0;
        bottom_ = 0;
    }

private:
    platform::VirtualPage &page_;
    int shift_ = 0;  // pixels
    int bottom_ = 0; // pixels
};

// Characters of the current font that fit in `pixels`.
int charsIn(const platform::VirtualPage &page, int pixels)
{
    const int advance = page.textWidth(QStringLiteral("0"));
    return advance > 0 ? std::max(1, pixels / advance) : 1;
}

// A text in the current font wrapped between x (the left margin when centred) and the
// right margin, its lines `step` apart from virtual y down; returns how many it took.
qsizetype drawParagraph(SheetFlow &flow, const QString &text, Align align, double vx, double vy,
                        double step)
{
    const platform::VirtualPage &page = flow.page();
    const int left = page.x(vx);
    const int right = page.x(kRight);
    const QStringList lines = wrapText(text, charsIn(page, right - left));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &s = lines.at(i);
        const int x = align == Align::Centre ? (left + right - page.textWidth(s)) / 2 : left;
        flow.line(vy + step * double(i), {{x, s}});
    }
    return lines.size();
}

void drawHead(SheetFlow &flow, const CertificateText &t)
{
    for (const HeadLine &h : kHead) {
        flow.page().setFont(h.size, h.bold);
        const double step = stepFor(h.size);
        const qsizetype lines = drawParagraph(flow, h.line == kTitle ? t.title() : t.line(h.line),
                                              h.align, h.x, h.y, step);
        const qsizetype room = h.line == kTitle ? 2 : 1;
        if (lines > room)
            flow.grow(step * double(lines - room));
    }
}

// The table's cells across the frame: each as wide as its column's entry in the table's
// font, the room left over shared out as equal margins on both sides of every entry.
struct TableGrid {
    std::array<int, kCertificateColumns.size() + 1> edges{}; // the frame's sides and the rules
    int padding = 0;                                         // pixels

    int entryX(std::size_t column) const { return edges[column] + padding; }
    int entryWidth(std::size_t column) const
    {
        return edges[column + 1] - edges[column] - 2 * padding;
    }
};

TableGrid tableGrid(platform::VirtualPage &page)
{
    page.setFont(kCertificateTableFontSize, true);
    const int advance = page.textWidth(QStringLiteral("0"));
    int used = 0;
    for (const CertificateColumn &column : kCertificateColumns)
        used += column.content * advance;
    TableGrid grid;
    const int cells = int(kCertificateColumns.size());
    grid.padding = std::max(0, (page.x(kRight) - page.x(kLeft) - used) / (2 * cells));
    grid.edges[0] = page.x(kLeft);
    for (int i = 0; i < cells; ++i)
        grid.edges[i + 1] =
            grid.edges[i] + kCertificateColumns[i].content * advance + 2 * grid.padding;
    grid.edges[cells] = page.x(kRight);
    return grid;
}

// Entries side by side, each wrapped to its width in characters: the lines they take
// together, as many as the longest entry needs (at least one).
QList<QStringList> wrapSideBySide(const QStringList &entries, const QList<int> &widths)
{
    QList<QStringList> wrapped;
    qsizetype height = 1;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        wrapped << wrapText(entries.at(i), widths.at(i));
        height = std::max(height, wrapped.last().size());
    }
    QList<QStringList> lines(height);
    for (const QStringList &entry : wrapped) {
        for (qsizetype k = 0; k < height; ++k)
            lines[k] << entry.value(k);
    }
    return lines;
}

// The table rows as printed lines: a row whose entry takes two lines in its cell takes
// two lines across the table.
QList<QStringList> printedRows(const QStringList &rows)
{
    QList<int> widths;
    for (const CertificateColumn &column : kCertificateColumns)
        widths << column.content;
    QList<QStringList> lines;
    for (const QString &row : rows)
        lines << wrapSideBySide(certificateCells(row), widths);
    return lines;
}

void drawHeading(SheetFlow &flow, const TableGrid &grid, const QString &heading, double vy)
{
    platform::VirtualPage &page = flow.page();
    page.setFont(8, true);
    QList<int> widths;
    for (std::size_t c = 0; c < kCertificateColumns.size(); ++c)
        widths << charsIn(page, grid.entryWidth(c));
    const QList<QStringList> lines = wrapSideBySide(certificateCells(heading), widths);
    for (qsizetype k = 0; k < lines.size(); ++k) {
        QList<std::pair<int, QString>> texts;
        for (std::size_t c = 0; c < kCertificateColumns.size(); ++c) {
            const QString &s = lines.at(k).at(c);
            texts.append({(grid.edges[c] + grid.edges[c + 1] - page.textWidth(s)) / 2, s});
        }
        flow.line(vy + kRowStep * double(k), texts);
    }
}

void drawRows(SheetFlow &flow, const TableGrid &grid, const QList<QStringList> &lines,
              double firstY)
{
    flow.page().setFont(kCertificateTableFontSize, true);
    for (qsizetype k = 0; k < lines.size(); ++k) {
        QList<std::pair<int, QString>> texts;
        for (std::size_t c = 0; c < kCertificateColumns.size(); ++c)
            texts.append({grid.entryX(c), lines.at(k).at(c)});
        flow.line(firstY + kRowStep * double(k), texts);
    }
}

// The frame between pixel rows top and bottom, the rule under the heading, the column rules.
void drawFrame(platform::VirtualPage &page, const TableGrid &grid, int top, int ruleY, int bottom)
{
    page.setPenWidth(5);
    const int left = grid.edges.front();
    const int right = grid.edges.back();
    page.painter()->drawRect(left, top, right - left, bottom - top);
    page.line(left, ruleY, right, ruleY);
    for (std::size_t i = 1; i + 1 < grid.edges.size(); ++i)
        page.line(grid.edges[i], top, grid.edges[i], bottom);
}

// The four closing lines and the signature, wrapped; each closing line keeps its place
// even when the user emptied it.
struct Closing {
    QStringList notes;
    QStringList signature;

    // Virtual units under the frame's foot.
    double signatureY() const { return 50 + kRowStep * double(notes.size()) + 200; }
    double height() const { return signatureY() + kRowStep * double(signature.size()); }
};

Closing closingOf(platform::VirtualPage &page, const CertificateText &t)
{
    Closing closing;
    page.setFont(8, true);
    const int noteChars = charsIn(page, page.x(kRight) - page.x(kNotesX));
    for (int i = t.count() - 5; i <= t.count() - 2; ++i) {
        const QStringList lines = wrapText(t.line(i), noteChars);
        closing.notes << (lines.isEmpty() ? QStringList{QString()} : lines);
    }
    page.setFont(10, true);
    closing.signature =
        wrapText(t.line(t.count() - 1), charsIn(page, page.x(kRight) - page.x(kSignatureX)));
    return closing;
}

void drawClosing(SheetFlow &flow, const Closing &closing, double frameFoot)
{
    platform::VirtualPage &page = flow.page();
    page.setFont(8, true);
    for (qsizetype i = 0; i < closing.notes.size(); ++i)
        flow.line(frameFoot + 50 + kRowStep * double(i), {{page.x(kNotesX), closing.notes.at(i)}});
    page.setFont(10, true);
    for (qsizetype i = 0; i < closing.signature.size(); ++i) {
        flow.line(frameFoot + closing.signatureY() + kRowStep * double(i),
                  {{page.x(kSignatureX), closing.signature.at(i)}});
    }
}

} // namespace

CertificatePage::CertificatePage(QPainter *painter, std::function<bool()> newPage)
    : painter_(painter), newPage_(std::move(newPage))
{
}

int CertificatePage::draw(const CertificateText &text)
{
    platform::VirtualPage page(painter_, newPage_);
    SheetFlow flow(page);
    drawHead(flow, text);
    const TableGrid grid = tableGrid(page);
    const QList<QStringList> rows = printedRows(text.tableRows());
    const Closing closing = closingOf(page, text);
    const int limit = page.y(kLastUsableY);
    qsizetype done = 0;
    int pages = 1;
    TableArea area = kFirstPage;
    for (;;) {
        const int frameTop = flow.place(area.frameTop);
        drawHeading(flow, grid, text.line(kHeadingLine), area.headingY);
        const int ruleY = flow.place(area.ruleY);
        flow.place(area.firstRowY);
        const auto foot = [&area](qsizetype rows) {
            return area.firstRowY + kRowStep * double(rows) + kFrameBelowRows;
        };
        // the rest of the table with the closing lines, else as many rows as the sheet
        // holds, keeping at least one for the sheet the closing lines go on
        const qsizetype remaining = rows.size() - done;
        const bool last = remaining == 0 || flow.y(foot(remaining) + closing.height()) <= limit;
        qsizetype take = remaining;
        if (!last) {
            qsizetype fitting = 0;
            while (fitting < remaining && flow.y(foot(fitting + 1)) <= limit)
                ++fitting;
            take = std::max<qsizetype>(1, std::min(remaining - 1, fitting));
        }
        drawRows(flow, grid, rows.mid(done, take), area.firstRowY);
        done += take;
        drawFrame(page, grid, frameTop, ruleY, flow.place(foot(take)));
        if (last) {
            drawClosing(flow, closing, foot(take));
            return pages;
        }
        if (!page.newPage())
            return pages;
        flow.newSheet();
        ++pages;
        area = kFurtherPage;
    }
}

} // namespace archive
