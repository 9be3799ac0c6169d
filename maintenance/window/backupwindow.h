#pragma once

// TForm16, the backup window: the data directory onto a removable drive named by its
// letter, into the folder arhivkpl there.

#include "maintenance/window/drivewindow.h"

namespace maintenance
{

class TForm16 final : public DriveWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TForm16)

public:
    TForm16(store::TDataModule2 &data, const platform::DriveLetters &drives,
            QWidget *parent = nullptr);
};

} // namespace maintenance
