#include "shell/programwindows.h"

#include "archive/window/archivewindow.h"
#include "calc/window/preparationwindow.h"
#include "calc/window/sensitivitywindow.h"
#include "documents/window/recipeviewwindow.h"
#include "documents/window/wordexport.h"
#include "lists/window/characteristicswindow.h"
#include "lists/window/feedtypeswindow.h"
#include "lists/window/rawmaterialswindow.h"
#include "lists/window/selectionkey.h"
#include "maintenance/window/backupwindow.h"
#include "maintenance/window/instructionswindow.h"
#include "maintenance/window/restorewindow.h"
#include "platform/volumes.h"
#include "results/window/mixwindow.h"
#include "results/window/resultswindow.h"
#include "settings/window/parameterswindow.h"
#include "shell/closesequence.h"
#include "store/datamodule.h"

#include <QPushButton>

namespace shell
{

ProgramWindows::ProgramWindows(const WorkingFolder &folder, const MessageSink &show)
    : folder(folder), show(show)
{
}

ProgramWindows::~ProgramWindows() = default;

std::unique_ptr<ProgramWindows> ProgramWindows::create(const WorkingFolder &folder,
                                                       const MessageSink &show)
{
    std::unique_ptr<ProgramWindows> windows(new ProgramWindows(folder, show));
    windows->mainMenu = std::make_unique<MainMenu>(folder, show);
    if (!windows->createDataModule())
        return nullptr;
    windows->createWindows();
    windows->connectMenu();
    return windows;
}

bool ProgramWindows::createDataModule()
{
    QString error;
    data_ = store::DataModule::create(folder.dataDir(), &error);
    if (data_)
        return true;
    show(QStringLiteral("Программа не может открыть базу данных в папке %1:\n%2\n\nПроверьте, "
                        "что папка itog3 с таблицами лежит в папке, из которой запускается "
                        "программа.")
             .arg(QDir::toNativeSeparators(folder.dataDir()), error));
    return false;
}

// In the start-up order: CharacteristicsWindow, FeedTypesWindow, RawMaterialsWindow,
// DeleteConfirmation, PreparationWindow, ResultsWindow, SelectionKeyDialog, ParametersWindow,
// MixWindow, RecipeViewWindow, InstructionsWindow, BackupWindow, RestoreWindow — those that exist
// so far. The sensitivity of the last run's optimum, over the results window.
void ProgramWindows::openSensitivity()
{
    const calc::RunResult &run = preparationWindow->lastRun();
    QStringList feedTypes;
    for (int p = 1; p <= run.selection.feedCount; ++p)
        feedTypes.append(run.selection.feedType[p]);
    calc::SensitivityWindow window(run.sensitivity, feedTypes, resultsWindow);
    window.exec();
}

void ProgramWindows::createWindows()
{
    QWidget *menu = mainMenu.get();
    characteristicsWindow = new lists::CharacteristicsWindow(*data_, menu);
    feedTypesWindow = new lists::FeedTypesWindow(*data_, menu);
    rawMaterialsWindow = new lists::RawMaterialsWindow(*data_, menu);
    preparationWindow = new calc::PreparationWindow(*data_, menu);
    preparationWindow->setRefinementOpeners([this] { feedTypesWindow->exec(); },
                                            [this] { rawMaterialsWindow->exec(); });
    resultsWindow =
        new results::ResultsWindow(*data_, preparationWindow->lastRun(), preparationWindow);
    preparationWindow->setResultsOpener([this] {
        resultsWindow->exec();
        return resultsWindow->exitRequested();
    });
    resultsWindow->setSensitivityOpener([this] { openSensitivity(); });
    parametersWindow = new settings::ParametersWindow(menu, folder.dataDir());
    mixWindow = new results::MixWindow(*data_, menu);
    recipeViewWindow = new documents::RecipeViewWindow(*data_, menu);
    resultsWindow->setRecipeViewOpener([this](int number) { openRecipeView(number); });
    mixWindow->setProductChooser([this] { chooseProduct(); });
    mixWindow->setRecipePrinter([this](int number) { openRecipeView(number); });
    archiveWindow = new archive::ArchiveWindow(
        *data_, folder.root.filePath(QStringLiteral("netpath.txt")), menu);
    archiveWindow->setRecipeViewOpener([this](int number) { openRecipeView(number); });
    archiveWindow->setKeyAsker([this] { return lists::SelectionKeyDialog::ask(archiveWindow); });
    archiveWindow->setCertificateExporter([this](const QStringList &lines, int number) {
        documents::exportCertificateToWord(archiveWindow, lines, number);
    });
    instructionsWindow = new maintenance::InstructionsWindow(folder.dataDir(), menu);
    volumes = std::make_unique<platform::SystemVolumes>();
    backupWindow = new maintenance::BackupWindow(*data_, *volumes, menu);
    restoreWindow = new maintenance::RestoreWindow(*data_, *volumes, menu);
    maintenance::shareChosenFolders(*backupWindow, *restoreWindow);
}

// The recipe view window on an archived recipe, for the results, mix and archive windows.
void ProgramWindows::openRecipeView(int number)
{
    recipeViewWindow->setArchiveNumber(number);
    recipeViewWindow->exec();
}

// The feed types window as the mix window's product choice: the selection for
// calculation cannot be changed from there.
void ProgramWindows::chooseProduct()
{
    feedTypesWindow->setProductChoice(true);
    feedTypesWindow->exec();
    feedTypesWindow->setProductChoice(false);
}

void ProgramWindows::connectMenu()
{
    mainMenu->setDataModule(data_.get());
    mainMenu->setOpener(MenuItem::Characteristics, [this] { characteristicsWindow->exec(); });
    mainMenu->setOpener(MenuItem::RawMaterials, [this] { rawMaterialsWindow->exec(); });
    mainMenu->setOpener(MenuItem::FeedTypes, [this] { feedTypesWindow->exec(); });
    mainMenu->setOpener(MenuItem::Calculation, [this] { preparationWindow->exec(); });
    mainMenu->setOpener(MenuItem::Parameters, [this] { parametersWindow->exec(); });
    mainMenu->setOpener(MenuItem::MixCharacteristics, [this] { mixWindow->exec(); });
    mainMenu->setOpener(MenuItem::Archive, [this] { archiveWindow->exec(); });
    mainMenu->setOpener(MenuItem::Backup, [this] { backupWindow->exec(); });
    mainMenu->setOpener(MenuItem::Restore, [this] { restoreWindow->exec(); });
    for (int number = 1; number <= kInstructionCount; ++number) {
        mainMenu->setOpener(instructionItem(number), [this, number] {
            instructionsWindow->setInstruction(number);
            instructionsWindow->exec();
        });
    }
    mainMenu->setCloseSequence([this] { runCloseSequence(folder, *data_, show); });
}

} // namespace shell
