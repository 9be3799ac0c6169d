#pragma once

// Opening a saved document in the desktop's application for its kind of file.
//
// Scripts and tests name a program to open documents with instead, through the
// environment variable KORMOPLAN_OPEN_DOCUMENT: it is run with the file's path and
// waited for, and the document counts as opened when it exits with 0.

#include <QString>

namespace platform
{

inline constexpr char kOpenDocumentVariable[] = "KORMOPLAN_OPEN_DOCUMENT";

// False when no application could be started for the file.
bool openDocument(const QString &path);

} // namespace platform
