#pragma once

// The plain files of a folder that a copy of the data directory carries: sub-folders
// and the temporary files of a cut-off copy left out.

#include <QFileInfoList>
#include <QString>

namespace maintenance
{

QFileInfoList flatFiles(const QString &folder);

} // namespace maintenance
