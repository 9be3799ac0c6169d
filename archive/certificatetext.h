#pragma once

// The quality certificate of one archived recipe as plain text lines. The archive window
// shows the lines for editing, the print and the word-processor export read them back
// by position, so the layout below is the format every reader relies on:
//
//   0 .. 13            head: enterprise, address, title, date, recipe title (two lines),
//                      standard, production date, kind of feed, conformity certificate,
//                      recipient, a rule of "*", the column heading, the rule again;
//   14 .. count - 7    the table rows, three columns side by side (certificatecolumns.h):
//                      composition, premix additions with the filler, actual quality
//                      figures with the fixed closing entries;
//   count - 6          a rule of "*";
//   count - 5 .. - 2   four fixed lines about compound feed;
//   count - 1          the signature line.

#include <QDate>
#include <QString>
#include <QStringList>

namespace settings
{
struct Settings;
}

namespace archive
{

struct ArchivedRecipe;

struct CertificateText {
    static constexpr int kHeadLines = 14;   // lines before the first table row
    static constexpr int kClosingLines = 6; // lines after the last table row
    static constexpr int kFirstTableRow = kHeadLines;

    QStringList lines;

    int count() const { return int(lines.size()); }
    // Line i, or an empty text when the (edited) text has no such line.
    QString line(int i) const;
    // The recipe's title, lines 4 and 5 joined again (a blank put between them only where
    // the join would glue two words), for the print and the export to wrap as they need.
    QString title() const;
    // Index of the last table row: count - 7; below kFirstTableRow when there is none.
    int lastTableRow() const { return count() - kClosingLines - 1; }
    // Lines kFirstTableRow .. lastTableRow(); empty when there is none.
    QStringList tableRows() const;

    // The text as the editor holds it (lines joined by "\n") and back.
    QString plainText() const;
    static CertificateText fromPlainText(const QString &text);
};

// The kind of feed for the form letter gk of the head row: "ГРАНУЛЫ", "КРУПКА",
// "РОССЫПЬ" for empty; any other letter is given as stored.
QString feedKindText(const QString &gk);

// Builds the certificate of `recipe` with the enterprise settings and the working date.
// The quality column opens with the usual moisture, 13.00 %, unless the recipe has a
// characteristic "Влажность" of its own.
CertificateText buildCertificateText(const ArchivedRecipe &recipe, const settings::Settings &values,
                                     const QDate &workingDate);

} // namespace archive
