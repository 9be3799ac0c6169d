#include "platform/virtualpage.h"

#include "store/numbertext.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace platform
{

VirtualPage::VirtualPage(QPainter *painter, std::function<bool()> newPage)
    : painter_(painter), newPage_(std::move(newPage))
{
    if (!newPage_) {
        newPage_ = [painter] {
            auto *paged = dynamic_cast<QPagedPaintDevice *>(painter->device());
            return paged != nullptr && paged->newPage();
        };
    }
    sx_ = double(painter_->device()->width()) / kWidth;
    sy_ = double(painter_->device()->height()) / kHeight;
}

int VirtualPage::x(double v) const
{
    return int(store::roundHalfEven(v * sx_));
}

int VirtualPage::y(double v) const
{
    return int(store::roundHalfEven(v * sy_));
}

void VirtualPage::setFont(int pointSize, bool bold)
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(pointSize);
    font.setBold(bold);
    painter_->setFont(font);
}

int VirtualPage::textWidth(const QString &s) const
{
    return painter_->fontMetrics().horizontalAdvance(s);
}

void VirtualPage::text(int px, int py, const QString &s)
{
    painter_->drawText(px, py + painter_->fontMetrics().ascent(), s);
}

void VirtualPage::textAt(double vx, double vy, const QString &s)
{
    text(x(vx), y(vy), s);
}

void VirtualPage::setPenWidth(double virtualWidth)
{
    QPen pen(Qt::black);
    pen.setWidth(x(virtualWidth));
    painter_->setPen(pen);
}

void VirtualPage::rectangle(double x1, double y1, double x2, double y2)
{
    painter_->drawRect(x(x1), y(y1), x(x2) - x(x1), y(y2) - y(y1));
}

void VirtualPage::line(int x1, int y1, int x2, int y2)
{
    painter_->drawLine(x1, y1, x2, y2);
}

bool VirtualPage::newPage()
{
    return newPage_();
}

} // namespace platform
