#include "documents/window/textplacement.h"

#include <algorithm>

namespace documents
{

QRect TextPlacement::freeBox(QRect box) const
{
    bool moved = true;
    while (moved) { // ends: every move goes strictly down past one of finitely many boxes
        moved = false;
        for (const QRect &placed : boxes_) {
            if (placed.intersects(box)) {
                box.moveTop(placed.y() + placed.height());
                moved = true;
            }
        }
    }
    return box;
}

QRect TextPlacement::place(const QRect &box)
{
    const QRect free = freeBox(box);
    if (!free.isEmpty())
        boxes_.append(free);
    return free;
}

int TextPlacement::bottom(int fallback) const
{
    if (boxes_.isEmpty())
        return fallback;
    int lowest = boxes_.first().y() + boxes_.first().height();
    for (const QRect &placed : boxes_)
        lowest = std::max(lowest, placed.y() + placed.height());
    return lowest;
}

} // namespace documents
