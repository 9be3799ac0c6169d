#pragma once

// TForm16, the backup window: the data directory into the folder arhivkpl of a
// removable or network volume, or of any folder the user chooses.

#include "maintenance/window/drivewindow.h"

namespace maintenance
{

class TForm16 final : public DriveWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm16)

public:
    TForm16(store::TDataModule2 &data, const platform::VolumeSource &volumes,
            QWidget *parent = nullptr);
};

} // namespace maintenance
