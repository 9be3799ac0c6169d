#include "calc/window/outcomeprint.h"

#include "store/numbertext.h"
#include "store/splitline.h"
#include "widgets/fixedpitchfont.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace calc
{

namespace
{

constexpr double kLargestPoints = 10;
constexpr double kSmallestPoints = 5;
constexpr int kListWidth = 110; // a list's longer lines are wrapped rather than shrunk

int widest(const QStringList &lines)
{
    int w = 0;
    for (const QString &line : lines)
        w = std::max(w, int(line.size()));
    return w;
}

// The characters a block needs in one line: a grid its widest row, a list its widest
// line up to kListWidth (longer ones are wrapped).
int neededChars(const OutcomeBlock &block)
{
    const int w = widest(block.lines);
    return block.kind == OutcomeBlock::Kind::Grid ? w : std::min(w, kListWidth);
}

} // namespace

OutcomePrint::OutcomePrint(QPainter *painter, std::function<bool()> newPage)
    : painter_(painter), newPage_(std::move(newPage))
{
    const QPaintDevice *device = painter_->device();
    sx_ = double(device->width()) / kVirtualWidth;
    sy_ = double(device->height()) / kVirtualHeight;
}

int OutcomePrint::x(double v) const
{
    return int(store::roundHalfEven(v * sx_));
}

int OutcomePrint::y(double v) const
{
    return int(store::roundHalfEven(v * sy_));
}

int OutcomePrint::linesPerPage()
{
    return (kBottom - kLinesTop) / kLineStep;
}

// Courier New at the largest size up to 10 points at which the widest block fits between
// the margins; not below 5 points.
void OutcomePrint::chooseFont(const QList<OutcomeBlock> &blocks)
{
    int chars = 0;
    for (const OutcomeBlock &block : blocks)
        chars = std::max(chars, neededChars(block));
    font_ = widgets::fixedPitchFont();
    font_.setFixedPitch(true);
    const double room = x(kRight) - x(kLeft);
    const auto advanceAt = [this](double points) {
        font_.setPointSizeF(points);
        return QFontMetricsF(font_, painter_->device()).horizontalAdvance(u'0');
    };
    double points = kLargestPoints;
    double advance = advanceAt(points);
    // the advance of a scaled font may round up: step down until the block really fits
    while (advance > 0 && chars * advance > room && points > kSmallestPoints) {
        points =
            std::max(kSmallestPoints, std::min(points - 0.1, points * room / (chars * advance)));
        advance = advanceAt(points);
    }
    painter_->setFont(font_);
    charsPerLine_ = advance > 0 ? int(room / advance) : 0;
}

// A heading wider than the line goes on in the next lines.
QStringList OutcomePrint::headingLines(const QString &heading) const
{
    if (charsPerLine_ <= 0 || heading.size() <= charsPerLine_)
        return {heading};
    return store::wrapText(heading, charsPerLine_);
}

// A list line too long even at the smallest size goes on in the next line.
QStringList OutcomePrint::fittedLines(const OutcomeBlock &block) const
{
    if (block.kind == OutcomeBlock::Kind::Grid || charsPerLine_ <= 0)
        return block.lines;
    QStringList lines;
    for (const QString &line : block.lines) {
        QString rest = line;
        while (rest.size() > charsPerLine_) {
            // at the last blank that lets the piece fit, else where the page ends
            int cut = int(rest.lastIndexOf(u' ', charsPerLine_));
            if (cut <= 2)
                cut = charsPerLine_;
            lines.append(rest.left(cut));
            rest = QStringLiteral("  ") + rest.mid(cut).trimmed();
        }
        lines.append(rest);
    }
    return lines;
}

bool OutcomePrint::startPage()
{
    if (pages_ > 0 && newPage_ && !newPage_())
        return false;
    ++pages_;
    return true;
}

void OutcomePrint::textAt(double vx, double vy, const QString &text)
{
    const QFontMetricsF metrics(painter_->font(), painter_->device());
    painter_->drawText(QPointF(x(vx), y(vy) + metrics.ascent()), text);
}

// Where a block that shares the page puts its heading: a blank line under the block
// before, when the heading and the first lines fit there; 0 for a page of its own.
int OutcomePrint::sharedHeadingTop(const OutcomeBlock &block, int headingLines, int lineCount) const
{
    if (!block.sharesPage || pages_ == 0)
        return 0;
    const bool grid = block.kind == OutcomeBlock::Kind::Grid;
    const int headingTop = nextFree_ + kLineStep;
    const int linesTop =
        headingTop + (kLinesTop - kHeadingTop) + kLineStep * std::max(0, headingLines - 2);
    const int lastSlot = grid ? std::min(3, lineCount - 1) : std::min(3, lineCount);
    return linesTop + kLineStep * std::max(0, lastSlot) <= kBottom ? headingTop : 0;
}

int OutcomePrint::drawBlock(const OutcomeBlock &block)
{
    const bool grid = block.kind == OutcomeBlock::Kind::Grid;
    const QStringList lines = fittedLines(block);
    const QStringList heading = headingLines(block.heading);
    int headingTop = sharedHeadingTop(block, int(heading.size()), int(lines.size()));
    int next = 0; // next line to print
    int pages = 0;
    do {
        if (headingTop == 0) {
            if (!startPage())
                return pages;
            ++pages;
            headingTop = kHeadingTop;
        }
        for (int i = 0; i < heading.size(); ++i)
            textAt(kLeft, headingTop + kLineStep * i, heading.at(i));
        // headings of more than two lines push the block's lines down
        const int top = headingTop + (kLinesTop - kHeadingTop) +
                        kLineStep * std::max(0, int(heading.size()) - 2);
        const int perPage = std::max(1, (kBottom - top) / kLineStep);
        int slot = grid ? 0 : 1;
        if (grid && next > 0 && !lines.isEmpty())
            textAt(kLeft, kLineStep * slot++ + top, lines.first());
        for (; slot <= perPage && next < lines.size(); ++slot, ++next)
            textAt(kLeft, kLineStep * slot + top, lines.at(next));
        nextFree_ = kLineStep * slot + top;
        headingTop = 0;
    } while (next < lines.size());
    return pages;
}

int OutcomePrint::draw(const QList<OutcomeBlock> &blocks)
{
    pages_ = 0;
    painter_->setPen(Qt::black);
    chooseFont(blocks);
    for (const OutcomeBlock &block : blocks)
        drawBlock(block);
    return pages_;
}

} // namespace calc
