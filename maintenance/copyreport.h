#pragma once

// What a copy of the data directory to or from the backup folder came to.

#include <QStringList>

namespace maintenance
{

struct CopyReport {
    bool done = false;    // at least one file, and every file copied
    QStringList messages; // each failure as the user is told of it, in order
};

} // namespace maintenance
