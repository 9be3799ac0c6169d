#pragma once

// Replacing files so that no moment and no failure leaves the target missing or half
// written: the new content is complete on disk before it takes the old file's name.

#include <QString>

namespace platform
{

// Renames `from` over `to` in one step (rename(2) on POSIX, MoveFileEx with
// MOVEFILE_REPLACE_EXISTING on Windows); `to` keeps its old content if it fails.
// On failure returns false and puts the system's reason into *error when given.
bool replaceFile(const QString &from, const QString &to, QString *error = nullptr);

// The temporary name beside `target` under which its new content is written first.
QString temporaryNameFor(const QString &target);
// Whether a file name is such a temporary name, left behind by a copy that was cut off.
bool isTemporaryName(const QString &fileName);

// Copies `from` to temporaryNameFor(to) and forces the copy onto the disk; `to` itself
// is not touched. A failed copy leaves no temporary file behind.
bool writeTemporaryCopy(const QString &from, const QString &to, QString *error = nullptr);

// Copies `from` to `to`, overwriting: the copy is written beside the target under a
// temporary name and then renamed over it, so a failed copy leaves the old target whole.
bool copyFileReplacing(const QString &from, const QString &to, QString *error = nullptr);

} // namespace platform
