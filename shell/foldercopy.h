#pragma once

// The flat folder copy of recovery and close: every plain file of one folder into
// another under the same name, overwriting, sub-folders left out.

#include "shell/messagesink.h"

#include <QString>

namespace shell
{

// Copies the files of `from` into the existing folder `to`. A file that cannot be
// copied is reported by its name followed by " не скопирован" and the copy goes on
// with the next one. Returns the number of files that failed.
int copyFlatFolder(const QString &from, const QString &to, const MessageSink &show);

} // namespace shell
