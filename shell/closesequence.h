#pragma once

// What happens when the main window closes, however it is closed:
//   1. the program's files of the data directory become the new backup copy arhiv, as a
//      whole and only when every table of the copy reads back whole (backupswitch.h);
//   2. the crash markers are removed (the run ended normally);
//   3. the four recipe archive tables are rewritten without deleted recipes.
// The copy in arhiv is taken before the rewrite, so it still holds the deleted rows.
// A kill at any moment of it leaves arhiv one whole set and every table whole; the next
// start clears what the kill left half done (tidyAfterInterruptedClose).

#include "shell/messagesink.h"
#include "shell/workingfolder.h"

namespace store
{
class DataModule;
}

namespace shell
{

// Step 2: error1.err and error2.err go.
void removeMarkers(const WorkingFolder &folder);

// At start, before the crash markers are looked at: the backup switch settled, the new
// files of an interrupted archive rewrite and unfinished file copies removed from itog3.
void tidyAfterInterruptedClose(const WorkingFolder &folder);

// The whole close over the data module: its tables are flushed first, so that the copy
// in arhiv holds everything posted during the run.
void runCloseSequence(const WorkingFolder &folder, store::DataModule &dataModule,
                      const MessageSink &show);

} // namespace shell
