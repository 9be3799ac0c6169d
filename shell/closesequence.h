#pragma once

// What happens when the main window closes, however it is closed:
//   1. the data directory is copied file by file into the backup copy folder arhiv;
//   2. the crash markers are removed (the run ended normally);
//   3. the four recipe archive tables are rewritten without deleted recipes.
// The copy in arhiv is taken before the rewrite, so it still holds the deleted rows.

#include "shell/messagesink.h"
#include "shell/workingfolder.h"

namespace store
{
class TDataModule2;
}

namespace shell
{

// Step 1: itog3 into arhiv (created when missing); a file that cannot be copied is
// reported by name and the copy goes on.
void backupDataDirectory(const WorkingFolder &folder, const MessageSink &show);

// Step 2: error1.err and error2.err go.
void removeMarkers(const WorkingFolder &folder);

// The whole close over the data module: its tables are flushed first, so that the copy
// in arhiv holds everything posted during the run.
void runCloseSequence(const WorkingFolder &folder, store::TDataModule2 &dataModule,
                      const MessageSink &show);

} // namespace shell
