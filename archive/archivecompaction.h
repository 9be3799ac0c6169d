#pragma once

// The rewrite of the four recipe archive tables at close, without the rows of deleted
// recipes (arnom -1). Each table is first written in full to <name>2.dbf beside it
// through the scratch cursor (same fields, same indexes, rows with arnom > 0 copied
// field by field by position) and flushed; only then is the new file renamed over the
// old one in a single step. A failure at any point leaves every old table whole and
// readable: at worst it keeps its deleted rows until the next close.

#include "archive/archivecursors.h"

#include <QString>

#include <functional>

namespace archive
{

enum class CompactionOutcome {
    Done,
    NotWritten,  // a new file could not be written; its old table was kept
    NotReplaced, // a new file could not take the old one's name; the step stopped there
};

// Renames a finished new file over the old table in one step, leaving the old one whole
// when it fails. The program passes the desktop's replace (platform/filereplace.h).
using FileReplacer = std::function<bool(const QString &from, const QString &to)>;

// Writes the new files for arkk, arpit, arprem and arsir in this order, closes the four
// cursors, then puts the new files in place for arkk, arsir, arpit and arprem. The
// order cursor of `cursors` is not used.
CompactionOutcome compactArchiveTables(const ArchiveCursors &cursors, store::Table &scratch,
                                       const FileReplacer &replace);

// At start: removes the new files of a rewrite that a kill interrupted (<name>2.dbf and
// the table layer's file it is created under) from the data directory. Each old table
// is whole at every moment of the rewrite, so nothing of value goes with them.
void removeRewriteLeftovers(const QString &dataDirectory);

// What a failed compaction tells the user (the folder, what to check, that no recipe is
// lost), given to `show`; nothing for Done.
void reportCompaction(CompactionOutcome outcome, const QString &dataDirectory,
                      const std::function<void(const QString &text)> &show);

} // namespace archive
