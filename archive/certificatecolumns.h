#pragma once

// The three columns of the certificate's table as a row of the text holds them side by
// side: where each begins, how many characters it takes there, and how many of them its
// entry fills once the blanks that part it from its neighbours are left out. The text is
// built to these widths; the print and the word-processor export cut the rows with them
// and size their cells from them, so that every entry fits its cell.

#include <QStringList>

#include <array>

namespace archive
{

struct CertificateColumn {
    int start;   // first character of the column in a row, from 0
    int width;   // characters the column takes in a row
    int content; // characters its entry fills at most, the parting blanks left out
};

inline constexpr std::array<CertificateColumn, 3> kCertificateColumns{{
    {0, 37, 37},  // composition: the name padded to 31, the share in 6
    {37, 43, 39}, // premix additions: 3 blanks, name padded to 21, amount in 7, unit in 11
    {80, 42, 40}, // quality: a blank, name padded to 21, value in 7 between blanks, unit in 11
}};

// The table's entries on paper and in the export, in points: at 8 pt the three columns
// are wider than an A4 sheet inside its margins.
inline constexpr int kCertificateTableFontSize = 7;

// The entries of one table row (or of the column heading line), trimmed: each column's
// characters, the last column taking the rest of the row, so that nothing typed past its
// end is lost.
QStringList certificateCells(const QString &row);

} // namespace archive
