#include "calc/window/outcomeprint.h"

#include "store/numbertext.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>

namespace calc
{

namespace
{

constexpr double kRightMargin = 150;
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

// Courier New at the largest size up to 10 points at which the widest of the lines (but
// at most widthCap characters) fits between the left edge and the right margin; not
// below 5 points.
void OutcomePrint::chooseFont(const QStringList &lines, int widthCap)
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(kLargestPoints);
    painter_->setFont(font);
    const double room = x(kVirtualWidth - kLeft - kRightMargin);
    double advance = QFontMetricsF(painter_->font(), painter_->device()).horizontalAdvance(u'0');
    const int chars = std::min(widest(lines), widthCap);
    if (advance > 0 && chars * advance > room) {
        const double points = std::max(kSmallestPoints, kLargestPoints * room / (chars * advance));
        font.setPointSizeF(points);
        painter_->setFont(font);
        advance = QFontMetricsF(painter_->font(), painter_->device()).horizontalAdvance(u'0');
    }
    charsPerLine_ = advance > 0 ? int(room / advance) : 0;
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

int OutcomePrint::drawBlock(const OutcomeBlock &block)
{
    const bool grid = block.kind == OutcomeBlock::Kind::Grid;
    chooseFont(block.lines, grid ? INT_MAX : kListWidth);
    const QFont linesFont = painter_->font();
    const QStringList lines = fittedLines(block);
    const int perPage = linesPerPage();
    int next = 0; // next line to print
    int pages = 0;
    do {
        if (!startPage())
            return pages;
        ++pages;
        chooseFont({block.heading}, INT_MAX);
        textAt(kLeft, kHeadingTop, block.heading);
        painter_->setFont(linesFont);
        int slot = grid ? 0 : 1;
        if (grid && next > 0 && !lines.isEmpty())
            textAt(kLeft, kLineStep * slot++ + kLinesTop, lines.first());
        for (; slot <= perPage && next < lines.size(); ++slot, ++next)
            textAt(kLeft, kLineStep * slot + kLinesTop, lines.at(next));
    } while (next < lines.size());
    return pages;
}

int OutcomePrint::draw(const QList<OutcomeBlock> &blocks)
{
    pages_ = 0;
    painter_->setPen(Qt::black);
    for (const OutcomeBlock &block : blocks)
        drawBlock(block);
    return pages_;
}

} // namespace calc
