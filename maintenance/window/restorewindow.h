#pragma once

// RestoreWindow, the restore window: the data directory back from the folder arhivkpl of a
// removable or network volume, or of any folder the user chooses, after a question
// naming the backup's folder and date.

#include "maintenance/window/drivewindow.h"

namespace maintenance
{

class RestoreWindow final : public DriveWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RestoreWindow)

public:
    RestoreWindow(store::DataModule &data, const platform::VolumeSource &volumes,
                  QWidget *parent = nullptr);
};

} // namespace maintenance
