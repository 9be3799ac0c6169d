#pragma once

// The program's windows and its data module, created at start-up in their fixed order
// (the menu first, the data module third) and living until the end of the run. Every
// window but the menu is created hidden and opened modally from the menu. A window is
// switched on here: create it in its place in the order and give the menu its opener.

#include "shell/mainmenu.h"
#include "shell/messagesink.h"
#include "shell/workingfolder.h"

#include <memory>

namespace lists
{
class CharacteristicsWindow;
class FeedTypesWindow;
class RawMaterialsWindow;
} // namespace lists

namespace settings
{
class ParametersWindow;
}

namespace calc
{
class PreparationWindow;
}
namespace documents
{
class RecipeViewWindow;
}
namespace results
{
class ResultsWindow;
class MixWindow;
} // namespace results

namespace maintenance
{
class InstructionsWindow;
class BackupWindow;
class RestoreWindow;
} // namespace maintenance

namespace archive
{
class ArchiveWindow;
}

namespace platform
{
class VolumeSource;
}

namespace store
{
class DataModule;
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

    MainMenu &menu() { return *mainMenu; }
    store::DataModule &dataModule() { return *data_; }

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
    std::unique_ptr<store::DataModule> data_;
    std::unique_ptr<platform::VolumeSource> volumes; // the removable and network volumes
    std::unique_ptr<MainMenu> mainMenu;
    lists::CharacteristicsWindow *characteristicsWindow = nullptr; // characteristics list
    lists::FeedTypesWindow *feedTypesWindow = nullptr;             // feed types list
    lists::RawMaterialsWindow *rawMaterialsWindow = nullptr;       // raw materials list
    calc::PreparationWindow *preparationWindow = nullptr;          // calculation preparation
    results::ResultsWindow *resultsWindow = nullptr; // calculation results, over PreparationWindow
    settings::ParametersWindow *parametersWindow = nullptr;        // parameters
    results::MixWindow *mixWindow = nullptr;                       // mix characteristics
    documents::RecipeViewWindow *recipeViewWindow = nullptr;       // recipe view and print
    archive::ArchiveWindow *archiveWindow = nullptr;               // recipe archive
    maintenance::InstructionsWindow *instructionsWindow = nullptr; // instructions viewer
    maintenance::BackupWindow *backupWindow = nullptr;             // backup to a removable drive
    maintenance::RestoreWindow *restoreWindow = nullptr;           // restore from it
};

} // namespace shell
