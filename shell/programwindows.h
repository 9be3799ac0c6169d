#pragma once

// The program's windows and its data module, created at start-up in their fixed order
// (the menu first, the data module third) and living until the end of the run. Every
// window but the menu is created hidden and opened modally from the menu. A window is
// switched on here: create it in its place in the order and give the menu its opener.

#include "shell/mainmenu.h"
#include "shell/messagesink.h"
#include "shell/workingfolder.h"

#include <memory>

class TForm3;
class TForm5;
class TForm6;
class TForm11;

namespace calc
{
class TForm10;
}
namespace documents
{
class TForm15;
}
namespace results
{
class TForm8;
class TForm12;
} // namespace results

namespace maintenance
{
class TForm13;
class TForm16;
class TForm17;
} // namespace maintenance

namespace archive
{
class TForm14;
}

namespace platform
{
class VolumeSource;
}

namespace store
{
class TDataModule2;
}

namespace shell
{

class ProgramWindows final
{
    Q_DISABLE_COPY_MOVE(ProgramWindows)

public:
    // Null when the data module cannot open its tables; the reason has been shown.
    static std::unique_ptr<ProgramWindows> create(const WorkingFolder &folder,
                                                  const MessageSink &show);
    ~ProgramWindows();

    TForm1 &menu() { return *form1; }
    store::TDataModule2 &dataModule() { return *dataModule2; }

private:
    ProgramWindows(const WorkingFolder &folder, const MessageSink &show);
    bool createDataModule();
    void createWindows();
    void connectMenu();
    void openRecipeView(int number);
    void chooseProduct();
    void openSensitivity();

    WorkingFolder folder;
    MessageSink show;
    // Declared before the menu so that it outlives every window (they are the menu's
    // children and go with it).
    std::unique_ptr<store::TDataModule2> dataModule2;
    std::unique_ptr<platform::VolumeSource> volumes; // the removable and network volumes
    std::unique_ptr<TForm1> form1;
    TForm3 *form3 = nullptr;                // characteristics list
    TForm5 *form5 = nullptr;                // feed types list
    TForm6 *form6 = nullptr;                // raw materials list
    calc::TForm10 *form10 = nullptr;        // calculation preparation
    results::TForm8 *form8 = nullptr;       // calculation results, over TForm10
    TForm11 *form11 = nullptr;              // parameters
    results::TForm12 *form12 = nullptr;     // mix characteristics
    documents::TForm15 *form15 = nullptr;   // recipe view and print
    archive::TForm14 *form14 = nullptr;     // recipe archive
    maintenance::TForm13 *form13 = nullptr; // instructions viewer
    maintenance::TForm16 *form16 = nullptr; // backup to a removable drive
    maintenance::TForm17 *form17 = nullptr; // restore from it
};

} // namespace shell
