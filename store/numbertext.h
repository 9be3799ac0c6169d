#pragma once

// Number texts and rounding: the one place where the program turns numbers into
// text and rounds them, so that what is stored equals what is shown.
//
// roundTo(x, d) is x "written with d decimals and read back": halves away from zero,
// judged on the exact binary value (12.125 is exact and becomes 12.13; 2.675 is
// really 2.67499999... and becomes 2.67). roundHalfEven(x) is the whole-number
// rounding that takes a half to the even neighbour (1234.5 -> 1234, 1235.5 -> 1236).

#include <QString>

namespace store
{

double roundTo(double x, int decimals);
double roundHalfEven(double x);

inline double round2(double x)
{
    return roundTo(x, 2);
}
inline double round3(double x)
{
    return roundTo(x, 3);
}
inline double round4(double x)
{
    return roundTo(x, 4);
}

// x written with d decimals (rounded as roundTo), right-aligned in w characters;
// a number that needs more room takes it, nothing is cut. Point as decimal separator.
QString fixedText(double x, int width, int decimals);

// Text helpers of the documents: spaces added on the left / right up to m characters;
// a longer text is left as it is.
QString rightAligned(const QString &text, int width);
QString padded(const QString &text, int width);

// Reads a number written with "." as the decimal point, blanks around it allowed.
// ok is false for anything else (empty text included).
double parseNumber(const QString &text, bool *ok = nullptr);

} // namespace store
