#include "archive/window/consumptionpage.h"

#include "platform/virtualpage.h"

namespace archive
{

namespace
{

constexpr double kFirstY = 200;
constexpr double kStep = 100;
constexpr double kLastY = 6614; // the last line of a sheet starts here at the latest

} // namespace

ConsumptionPage::ConsumptionPage(QPainter *painter, std::function<bool()> newPage)
    : painter_(painter), newPage_(std::move(newPage))
{
}

int ConsumptionPage::draw(const QStringList &lines)
{
    platform::VirtualPage page(painter_, newPage_);
    page.setFont(10, true);
    int pages = 1;
    double y = kFirstY;
    for (const QString &line : lines) {
        if (y > kLastY) {
            if (!page.newPage())
                return pages;
            ++pages;
            page.setFont(10, true);
            y = kFirstY;
        }
        page.textAt(400, y, line);
        y += kStep;
    }
    return pages;
}

} // namespace archive
