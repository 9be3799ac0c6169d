#pragma once

// The backup copy folder arhiv is replaced as a whole, never file by file, so that a kill
// at any moment leaves it one consistent set, from one close:
//   1. the new copy is written into arhiv.tmp and every table in it read back whole;
//   2. arhiv.tmp is renamed arhiv.new: from here on the new copy is complete;
//   3. arhiv is renamed arhiv.old, arhiv.new renamed arhiv, arhiv.old removed.
// A start after a kill settles what it finds: arhiv.tmp is removed, a waiting arhiv.new
// is switched in, and arhiv.old is removed once arhiv is there, or put back when not.

#include "shell/messagesink.h"
#include "shell/workingfolder.h"

namespace shell
{

// Step 1 of the close: the program's files of itog3 become the new arhiv. When a file
// cannot be copied, a table of the copy does not read whole or the folders cannot be
// switched, the old arhiv stays as it was and the user is told so. Returns whether arhiv
// now holds the new copy.
bool replaceBackupCopy(const WorkingFolder &folder, const MessageSink &show);

// At start, before anything reads arhiv: finishes or undoes a switch a kill interrupted.
void settleBackupSwitch(const WorkingFolder &folder);

} // namespace shell
