#pragma once

// The quality certificate as a word-processor document, made from the certificate
// text by line position, the user's edits included: lines 0-10 the head, lines 14 to
// count - 7 the table rows (shown as a three-column table under its own header, cut
// into columns and sized as archive/certificatecolumns.h lays them out), then four
// closing lines and the signature line. The rules and the column heading of the
// text (lines 11-13 and count - 6) are not carried over.

#include "documents/docxdocument.h"

#include <QStringList>

namespace documents
{

DocxDocument certificateDocx(const QStringList &lines);

} // namespace documents
