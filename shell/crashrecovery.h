#pragma once

// The crash markers and the recovery of the data directory from the backup copy folder.
// A run that starts creates error1.err; a normal close removes both markers. So:
//   no marker          -> create error1.err, start normally;
//   error1.err only    -> warn, create error2.err, start (the data are not touched);
//   both markers       -> restore itog3 from arhiv (or warn that there is none), start;
//                         the markers stay until a run ends normally.
// Only a data directory that is missing and cannot be created stops the start.

#include "shell/messagesink.h"
#include "shell/workingfolder.h"

namespace shell
{

enum class StartDecision { Go, Terminate };

StartDecision checkMarkersAndRecover(const WorkingFolder &folder, const MessageSink &show);

} // namespace shell
