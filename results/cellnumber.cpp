#include "results/cellnumber.h"

#include "store/numbertext.h"

#include <cmath>

namespace results
{

namespace
{

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Skips the digits from i on; returns how many there were.
int skipDigits(const QString &text, int &i)
{
    const int start = i;
    while (i < text.size() && isDigit(text.at(i)))
        ++i;
    return i - start;
}

bool isSign(QChar c)
{
    return c == QLatin1Char('+') || c == QLatin1Char('-');
}

// Where the number that starts at `start` stops being one: the index of the first
// character that cannot continue it, or text.size() when it runs to the end; -1 when
// the whole rest is a number.
int numberEnd(const QString &text, int start)
{
    int i = start;
    if (i < text.size() && isSign(text.at(i)))
        ++i;
    int digits = skipDigits(text, i);
    if (i < text.size() && text.at(i) == QLatin1Char('.')) {
        ++i;
        digits += skipDigits(text, i);
    }
    if (digits == 0)
        return i;
    if (i < text.size() && (text.at(i) == QLatin1Char('e') || text.at(i) == QLatin1Char('E'))) {
        ++i;
        if (i < text.size() && isSign(text.at(i)))
            ++i;
        if (skipDigits(text, i) == 0)
            return i;
    }
    return i < text.size() ? i : -1;
}

} // namespace

CellNumber readCellNumber(const QString &text)
{
    int start = 0;
    while (start < text.size() && text.at(start) == QLatin1Char(' '))
        ++start;
    const int end = numberEnd(text, start);
    if (end >= 0)
        return {0, end + 1};
    bool ok = false;
    QString digits = text.mid(start);
    if (digits.endsWith(QLatin1Char('.')))
        digits.chop(1);
    if (digits.startsWith(QLatin1Char('.')) || digits.startsWith(QLatin1String("-.")) ||
        digits.startsWith(QLatin1String("+.")))
        digits.insert(digits.indexOf(QLatin1Char('.')), QLatin1Char('0'));
    const double value = store::parseNumber(digits, &ok);
    if (!ok || !std::isfinite(value))
        return {0, int(text.size()) + 1};
    return {value, 0};
}

QString generalText(double x)
{
    if (x == 0)
        return QStringLiteral("0");
    return QString::number(x, 'g', 15);
}

namespace
{

// The number a written text stands for. An infinity or NaN is written in letters, which
// no cell reads as a number: it fails where the letters begin, as when typed.
CellValue written(const QString &text, double value)
{
    if (!std::isfinite(value))
        return CellValue::typed(text);
    return {text, {value == 0 ? 0.0 : value, 0}}; // the text never shows "-0"
}

} // namespace

CellValue CellValue::typed(const QString &text)
{
    return {text, readCellNumber(text)};
}

CellValue CellValue::fixed(double x, int width, int decimals)
{
    return written(store::fixedText(x, width, decimals), store::roundTo(x, decimals));
}

CellValue CellValue::general(double x)
{
    return written(generalText(x), x);
}

} // namespace results
