#pragma once

// The printed outcome of a calculation: what the preparation window shows (the solution
// summary, the failure analysis, the error list) as lines of fixed-pitch text under a
// heading. Laid out on a virtual page of 4676 × 6814 units scaled to the painter's
// device, so the layout is the same on every printer: the heading at (400, 100), a
// list's line n (from 1) at (400, 100 × n + 300), a grid's row r (from 0, the header
// row) at (400, 100 × r + 300). Courier New (Liberation Mono where it is missing), in one
// size for the whole print: the largest up to 10 points at which the widest block fits
// between the margins (400 units on either side). A list's very long lines are wrapped
// instead, at a blank, and go on indented in the next line; a heading too long for the
// line goes on in the next one (a third heading line moves the block's lines down). A
// block too long for one page goes on over the next pages under its heading again (a
// grid also repeats its header row); every block starts a page of its own, unless it
// shares the page: then it starts one blank line under the block before when its heading
// and its first lines (a grid's header row and three rows) still fit there.

#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QPainter;

namespace calc
{

// One printed block: a heading and its lines.
struct OutcomeBlock {
    enum class Kind { List, Grid };
    QString heading;
    QStringList lines; // a grid: its header row first
    Kind kind = Kind::List;
    bool sharesPage = false; // may start under the block before on the same page
};

class OutcomePrint final
{
    Q_DISABLE_COPY_MOVE(OutcomePrint)

public:
    static constexpr int kVirtualWidth = 4676;
    static constexpr int kVirtualHeight = 6814;
    static constexpr int kLeft = 400;
    static constexpr int kRight = kVirtualWidth - 400; // no text goes past it
    static constexpr int kHeadingTop = 100;
    static constexpr int kLineStep = 100;
    static constexpr int kLinesTop = 300;
    static constexpr int kBottom = 6600; // no line starts below this

    // newPage starts the next page on the painter's device (a printer's newPage()).
    OutcomePrint(QPainter *painter, std::function<bool()> newPage);

    // Draws the blocks; returns the number of pages drawn.
    int draw(const QList<OutcomeBlock> &blocks);

    // Device pixels of a virtual horizontal / vertical value.
    int x(double v) const;
    int y(double v) const;

    // The slots of one page under a heading of one or two lines: list lines
    // 1 .. linesPerPage(), grid rows 0 .. that.
    static int linesPerPage();

    // The point size of the print's text, once draw() has chosen it.
    double pointSize() const { return font_.pointSizeF(); }

private:
    void chooseFont(const QList<OutcomeBlock> &blocks);
    QStringList fittedLines(const OutcomeBlock &block) const;
    QStringList headingLines(const QString &heading) const;
    bool startPage();
    void textAt(double vx, double vy, const QString &text);
    int drawBlock(const OutcomeBlock &block);
    int sharedHeadingTop(const OutcomeBlock &block, int headingLines, int lineCount) const;

    QPainter *painter_;
    std::function<bool()> newPage_;
    double sx_ = 1;
    double sy_ = 1;
    int pages_ = 0;
    int nextFree_ = 0; // the virtual y under the last line drawn on the page
    QFont font_;
    int charsPerLine_ = 0; // of that font
};

} // namespace calc
