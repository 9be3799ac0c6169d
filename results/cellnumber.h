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

} // namespace results
