#include "archive/window/certificatepage.h"

#include "archive/certificatetext.h"
#include "platform/virtualpage.h"

#include <QPainter>

#include <algorithm>

namespace archive
{

namespace
{

constexpr double kFrameRight = 4630;
constexpr double kColumnRules[] = {1490, 3050};
constexpr double kRowStep = 100;
constexpr double kLastUsableY = 6714; // below it a sheet has no room for another line

// Where the table of one page lies (virtual units).
struct TableArea {
    double frameTop;
    double headingY; // the column heading line
    double ruleY;    // the rule under it
    double firstRowY;
};

constexpr TableArea kFirstPage{1750, 1900, 2100, 2250};
constexpr TableArea kFurtherPage{100, 250, 450, 600};

// Room under the frame for the closing lines and the signature.
constexpr double kClosingHeight = 650 + 150;

void centred(platform::VirtualPage &page, double vy, const QString &s)
{
    page.text((page.x(4500) - page.textWidth(s)) / 2, page.y(vy), s);
}

void drawHead(platform::VirtualPage &page, const CertificateText &t)
{
    page.setFont(14, true);
    centred(page, 100, t.line(0));
    page.setFont(14);
    page.textAt(1000, 300, t.line(1));
    page.setFont(14, true);
    centred(page, 500, t.line(2));
    page.setFont(10);
    centred(page, 700, t.line(3));
    const QString title = t.line(4) + t.line(5);
    page.setFont(12, true);
    page.textAt(100, 850, title.left(78));
    page.textAt(100, 1000, title.mid(78, 333));
    page.textAt(400, 1150, t.line(6));
    page.setFont(10);
    for (int i = 0; i < 4; ++i)
        page.textAt(400, 1300 + 100 * i, t.line(7 + i));
}

// The frame from the area's top to `bottom`, its heading, the rule and the column rules.
void drawFrame(platform::VirtualPage &page, const CertificateText &t, const TableArea &area,
               double bottom)
{
    page.setPenWidth(5);
    const int left = 0;
    page.painter()->drawRect(left, page.y(area.frameTop), page.x(kFrameRight) - left,
                             page.y(bottom) - page.y(area.frameTop));
    page.setFont(8, true);
    page.textAt(30, area.headingY, t.line(12).left(108));
    page.line(left, page.y(area.ruleY), page.x(kFrameRight), page.y(area.ruleY));
    for (double x : kColumnRules)
        page.line(page.x(x), page.y(area.frameTop), page.x(x), page.y(bottom));
}

void drawRows(platform::VirtualPage &page, const QStringList &rows, double firstY)
{
    page.setFont(8, true);
    for (int i = 0; i < rows.size(); ++i)
        page.textAt(30, firstY + kRowStep * i, rows.at(i).left(121));
}

void drawClosing(platform::VirtualPage &page, const CertificateText &t, double frameBottom)
{
    const int count = t.count();
    page.setFont(8, true);
    for (int i = 0; i < 4; ++i)
        page.textAt(30, frameBottom + 50 + kRowStep * i, t.line(count - 5 + i));
    page.setFont(10, true);
    page.textAt(400, frameBottom + 650, t.line(count - 1));
}

// Rows that fit under `firstY` when the frame must end by `limit`.
int rowsFitting(double firstY, double limit)
{
    return std::max(0, int((limit - 150 - firstY) / kRowStep));
}

} // namespace

CertificatePage::CertificatePage(QPainter *painter, std::function<bool()> newPage)
    : painter_(painter), newPage_(std::move(newPage))
{
}

int CertificatePage::draw(const CertificateText &text)
{
    platform::VirtualPage page(painter_, newPage_);
    drawHead(page, text);
    QStringList rows = text.tableRows();
    const double oneSheetBottom = 100.0 * text.count() + 400;
    if (oneSheetBottom + kClosingHeight <= kLastUsableY + 100) {
        // the whole certificate on one sheet, the frame ending at 100·count + 400
        drawFrame(page, text, kFirstPage, oneSheetBottom);
        drawRows(page, rows, kFirstPage.firstRowY);
        drawClosing(page, text, oneSheetBottom);
        return 1;
    }
    int pages = 1;
    TableArea area = kFirstPage;
    for (;;) {
        const int lastSheetRows = rowsFitting(area.firstRowY, kLastUsableY - kClosingHeight);
        const bool last = rows.size() <= lastSheetRows;
        const int take = last ? int(rows.size())
                              : std::max(1, std::min(int(rows.size()) - 1,
                                                     rowsFitting(area.firstRowY, kLastUsableY)));
        const double bottom = area.firstRowY + kRowStep * take + 150;
        drawFrame(page, text, area, bottom);
        drawRows(page, rows.mid(0, take), area.firstRowY);
        rows = rows.mid(take);
        if (last) {
            drawClosing(page, text, bottom);
            return pages;
        }
        if (!page.newPage())
            return pages;
        ++pages;
        area = kFurtherPage;
    }
}

} // namespace archive
