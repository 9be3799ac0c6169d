#pragma once

// The flat folder copy of recovery and close: the program's own files of one folder
// (the tables, the settings file, the instruction texts) into another under the same
// names, overwriting; other files and sub-folders are left out, so a stray or
// half-written file never travels into the backup copy or back.

#include "shell/messagesink.h"

#include <QString>

namespace shell
{

// Copies the program's files found in `from` into the existing folder `to`. A file that
// cannot be copied is reported by its name followed by " не скопирован" and the copy
// goes on with the next one. Returns the number of files that failed.
int copyProgramFiles(const QString &from, const QString &to, const MessageSink &show);

// Removes the temporary files that a copy into `folder` leaves when it is killed half-way
// (the copy is written under a temporary name and renamed over its target when whole).
void removeUnfinishedCopies(const QString &folder);

} // namespace shell
