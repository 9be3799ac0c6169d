#pragma once

// Splitting a text so that its first part fits a width: the purpose line of the
// recipe title and the title of the quality certificate are split with it; printed
// texts that must stay inside a frame are wrapped into lines.

#include <QString>
#include <QStringList>

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

// A text in as many lines as it takes, none longer than `width` (at least 1): each line
// ends at a blank where one lets it fit, else after "-", ".", "," or ")", else a word too
// long for a line is cut hard. Blanks at the ends of the lines are dropped; an empty or blank
// text gives no line.
QStringList wrapText(const QString &text, int width);

} // namespace store
