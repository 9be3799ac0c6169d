#include "store/splitline.h"

#include <algorithm>

namespace store
{

namespace
{

constexpr int kMaxRemainder = 300; // characters kept after each break
constexpr int kMaxHardRest = 333;  // characters kept by a hard cut

// Position (from 0) of the first break character in w; -1 when there is none.
int firstBreak(const QString &w)
{
    static const QString breaks = QStringLiteral(" -.,)");
    for (int i = 0; i < w.size(); ++i) {
        if (breaks.contains(w.at(i)))
            return i;
    }
    return -1;
}

} // namespace

SplitText splitLine(const QString &text, int width)
{
    if (text.size() <= width)
        return {text, QString()};
    QString w = text.trimmed() + QLatin1Char(' ');
    SplitText result;
    for (;;) {
        const int p = firstBreak(w);
        if (p < 0) {
            result.rest = w;
            break;
        }
        const QString piece = w.left(p + 1);
        w = w.mid(p + 1, kMaxRemainder);
        if (result.first.size() + piece.size() > width || w.isEmpty()) {
            result.rest = piece + w;
            break;
        }
        result.first += piece;
    }
    if (result.rest.size() > width)
        return {text.left(width), text.mid(width, kMaxHardRest)};
    return result;
}

QStringList wrapText(const QString &text, int width)
{
    static const QString otherBreaks = QStringLiteral("-.,)");
    width = std::max(width, 1);
    QStringList lines;
    QString rest = text.trimmed();
    while (rest.size() > width) {
        // the last blank that keeps the line within the width, else the last other break
        qsizetype cut = rest.lastIndexOf(u' ', width);
        for (qsizetype i = width - 1; i >= 0 && cut <= 0; --i) {
            if (otherBreaks.contains(rest.at(i)))
                cut = i + 1;
        }
        if (cut <= 0)
            cut = width; // a word longer than the line
        lines.append(rest.left(cut).trimmed());
        rest = rest.mid(cut).trimmed();
    }
    if (!rest.isEmpty())
        lines.append(rest);
    return lines;
}

} // namespace store
