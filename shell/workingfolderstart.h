#pragma once

// Start-up's step into the working folder: chooses it from the arguments, the current
// directory and the user's documents, makes it the current directory (so that every path
// the program writes, netpath.txt and saved documents too, is relative to it) and tells the
// user where the data are when the data directory was created now.

#include "shell/messagesink.h"
#include "shell/workingfolder.h"

#include <QStringList>

#include <optional>

namespace shell
{

// Empty when the program cannot start; the reason was shown.
std::optional<WorkingFolder> enterWorkingFolder(const QStringList &arguments,
                                                const MessageSink &show);

} // namespace shell
