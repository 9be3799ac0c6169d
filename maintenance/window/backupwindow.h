#pragma once

// BackupWindow, the backup window: the data directory into the folder arhivkpl of a
// removable or network volume, or of any folder the user chooses.

#include "maintenance/window/drivewindow.h"

namespace maintenance
{

class BackupWindow final : public DriveWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BackupWindow)

public:
    BackupWindow(store::DataModule &data, const platform::VolumeSource &volumes,
                 QWidget *parent = nullptr);
};

} // namespace maintenance
