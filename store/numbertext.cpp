#include "store/numbertext.h"

#include <charconv>
#include <cmath>

namespace store
{

namespace
{

// 10^d as an exact quad value (exact for d <= 48).
__float128 powerOfTen(int decimals)
{
    __float128 p = 1;
    for (int i = 0; i < decimals; ++i)
        p *= 10;
    return p;
}

} // namespace

double roundTo(double x, int decimals)
{
    if (!std::isfinite(x) || decimals < 0 || decimals > 20)
        return x;
    // A double has 53 significant bits and 10^d = 2^d * 5^d needs 2.33*d more, so for
    // d <= 20 the product fits the 113 bits of a quad exactly: the tie test is exact.
    const __float128 scaled = static_cast<__float128>(x) * powerOfTen(decimals);
    if (scaled >= static_cast<__float128>(1e30) || scaled <= static_cast<__float128>(-1e30))
        return x; // far beyond any amount the program handles; nothing to round
    __int128 whole = static_cast<__int128>(scaled); // truncates toward zero
    const __float128 fraction = scaled - static_cast<__float128>(whole);
    if (fraction >= static_cast<__float128>(0.5))
        ++whole;
    else if (fraction <= static_cast<__float128>(-0.5))
        --whole;
    // "read back": the nearest double to whole / 10^d, as a decimal reader gives it.
    char text[64];
    const bool negative = whole < 0;
    unsigned __int128 magnitude = negative ? -static_cast<unsigned __int128>(whole) : whole;
    char digits[48];
    int n = 0;
    do {
        digits[n++] = char('0' + int(magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    while (n <= decimals)
        digits[n++] = '0';
    int k = 0;
    if (negative)
        text[k++] = '-';
    for (int i = n - 1; i >= 0; --i) {
        text[k++] = digits[i];
        if (i == decimals && decimals > 0)
            text[k++] = '.';
    }
    text[k] = '\0';
    double value = 0;
    std::from_chars(text, text + k, value);
    return value;
}

double roundHalfEven(double x)
{
    return std::nearbyint(x); // the default rounding mode takes halves to even
}

QString fixedText(double x, int width, int decimals)
{
    double rounded = roundTo(x, decimals);
    if (rounded == 0)
        rounded = 0; // no "-0.00"
    // The rounded value printed with d decimals gives back its own digits: no second
    // rounding happens here (QString::asprintf always writes "." as the point).
    return rightAligned(QString::asprintf("%.*f", decimals, rounded), width);
}

QString rightAligned(const QString &text, int width)
{
    return text.size() >= width ? text : QString(width - text.size(), QLatin1Char(' ')) + text;
}

QString padded(const QString &text, int width)
{
    return text.size() >= width ? text : text + QString(width - text.size(), QLatin1Char(' '));
}

double parseNumber(const QString &text, bool *ok)
{
    const QString trimmed = text.trimmed();
    bool good = false;
    double value = 0;
    if (!trimmed.isEmpty() && !trimmed.contains(QLatin1Char(','))) {
        const QByteArray bytes = trimmed.toLatin1();
        const char *begin = bytes.constData() + (bytes.startsWith('+') ? 1 : 0);
        const char *end = bytes.constData() + bytes.size();
        const auto [stop, error] = std::from_chars(begin, end, value);
        good = error == std::errc() && stop == end && std::isfinite(value);
    }
    if (ok)
        *ok = good;
    return good ? value : 0;
}

} // namespace store
