#pragma once

// The tables of the data directory checked before any window is made
// (store/datadirectorycheck.h). A table that cannot be read whole, keys that cannot be
// read, or list counts in order.dbf that do not fit their lists, would leave the program
// working on nothing and the close copying the damage over the good backup copy. So the
// start stops there: when arhiv holds a copy of that file that reads
// whole, the user may take it back (the damaged file is kept beside it under the name
// <file>.damaged) or leave the program; without such a copy the program ends.

#include "shell/crashrecovery.h"
#include "shell/messagesink.h"
#include "shell/workingfolder.h"

namespace shell
{

StartDecision checkDataTables(const WorkingFolder &folder, const MessageSink &show,
                              const Question &restore);

// The question of checkDataTables in a message box: "Восстановить из копии" or "Выход".
Question restoreQuestionBox();

} // namespace shell
