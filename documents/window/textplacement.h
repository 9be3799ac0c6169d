#pragma once

// Texts placed on a printed page one after the other, each as the box it covers (device
// pixels). A text that would overlap one placed before it goes down just below it, so
// that no two texts of the page print over each other.

#include <QList>
#include <QRect>

namespace documents
{

class TextPlacement final
{
public:
    // The box moved down (never up) until it overlaps no placed box.
    QRect freeBox(QRect box) const;
    // freeBox, then kept as placed.
    QRect place(const QRect &box);
    // The lowest edge of what is placed (y + height); `fallback` when nothing is.
    int bottom(int fallback) const;

private:
    QList<QRect> boxes_;
};

} // namespace documents
