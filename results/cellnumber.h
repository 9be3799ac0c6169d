#pragma once

// Numbers in the cells of the results window: how a cell's text is read as a number and
// how a number is written in the general format.
//
// A cell is read the way the window's users know from typing: leading blanks are
// skipped, then a number with "." as the decimal point (sign, digits, point, digits,
// exponent); the first character that cannot continue the number ends the reading with
// a failure at its position (counted from 1; the end of the text counts as the position
// after the last character). An empty cell fails at position 1.

#include <QString>

namespace results
{

struct CellNumber {
    double value = 0;
    int errorPosition = 0; // 0: the text is a number
    bool ok() const { return errorPosition == 0; }
};

CellNumber readCellNumber(const QString &text);

// The shortest text of x with up to 15 significant digits, without trailing zeros.
QString generalText(double x);

// A cell of the window: the text it shows and the number that text stands for. What the
// user types is read once, as it is typed; a number the window writes carries its value
// with its text, so that no cell is ever read back.
struct CellValue {
    QString text;
    CellNumber number{0, 1}; // an empty cell is no number

    // Text as typed, read as above.
    static CellValue typed(const QString &text);
    // x in fixedText, with the value that text shows (x rounded to its decimals).
    static CellValue fixed(double x, int width, int decimals);
    // x in generalText, with x itself: the window writes this way only numbers read from
    // the settings and the tables, none of which has more than 15 significant digits.
    static CellValue general(double x);
};

} // namespace results
