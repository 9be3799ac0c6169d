#pragma once

// Splitting a text so that its first part fits a width: the purpose line of the
// recipe title and the title of the quality certificate are split with it.

#include <QString>

namespace store
{

struct SplitText {
    QString first;
    QString rest;
};

// Breaks after a space, "-", ".", "," or ")" so that `first` holds at most `width`
// characters; when no break gives a rest that fits the width either, the text is cut
// hard at `width` (the rest then keeps at most 333 characters).
SplitText splitLine(const QString &text, int width);

} // namespace store
