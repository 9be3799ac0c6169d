#pragma once

// TForm17, the restore window: the data directory back from the folder arhivkpl of a
// removable or network volume, or of any folder the user chooses, after a question
// naming the backup's folder and date.

#include "maintenance/window/drivewindow.h"

namespace maintenance
{

class TForm17 final : public DriveWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm17)

public:
    TForm17(store::TDataModule2 &data, const platform::VolumeSource &volumes,
            QWidget *parent = nullptr);
};

} // namespace maintenance
