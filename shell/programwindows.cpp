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
    windows->form1 = std::make_unique<TForm1>(folder, show);
    if (!windows->createDataModule())
        return nullptr;
    windows->createWindows();
    windows->connectMenu();
    return windows;
}

bool ProgramWindows::createDataModule()
{
    QString error;
    dataModule2 = store::TDataModule2::create(folder.dataDir(), &error);
    if (dataModule2)
        return true;
    show(QStringLiteral("Программа не может открыть базу данных в папке %1:\n%2\n\nПроверьте, "
                        "что папка itog3 с таблицами лежит в папке, из которой запускается "
                        "программа.")
             .arg(QDir::toNativeSeparators(folder.dataDir()), error));
    return false;
}

// In the start-up order: TForm3, TForm5, TForm6, TForm7, TForm10, TForm8, TForm9, TForm11,
// TForm12, TForm15, TForm13, TForm16, TForm17 — those that exist so far.
// The sensitivity of the last run's optimum, over the results window.
void ProgramWindows::openSensitivity()
{
    const calc::RunResult &run = form10->lastRun();
    QStringList feedTypes;
    for (int p = 1; p <= run.selection.feedCount; ++p)
        feedTypes.append(run.selection.feedType[p]);
    calc::SensitivityWindow window(run.sensitivity, feedTypes, form8);
    window.exec();
}

void ProgramWindows::createWindows()
{
    QWidget *menu = form1.get();
    form3 = new TForm3(*dataModule2, menu);
    form5 = new TForm5(*dataModule2, menu);
    form6 = new TForm6(*dataModule2, menu);
    form10 = new calc::TForm10(*dataModule2, menu);
    form10->setRefinementOpeners([this] { form5->exec(); }, [this] { form6->exec(); });
    form8 = new results::TForm8(*dataModule2, form10->lastRun(), form10);
    form10->setResultsOpener([this] {
        form8->exec();
        return form8->exitRequested();
    });
    form8->setSensitivityOpener([this] { openSensitivity(); });
    form11 = new TForm11(menu, folder.dataDir());
    form12 = new results::TForm12(*dataModule2, menu);
    form15 = new documents::TForm15(*dataModule2, menu);
    form8->setRecipeViewOpener([this](int number) { openRecipeView(number); });
    form12->setProductChooser([this] { chooseProduct(); });
    form12->setRecipePrinter([this](int number) { openRecipeView(number); });
    form14 = new archive::TForm14(*dataModule2, folder.root.filePath(QStringLiteral("netpath.txt")),
                                  menu);
    form14->setRecipeViewOpener([this](int number) { openRecipeView(number); });
    form14->setKeyAsker([this] { return TForm9::ask(form14); });
    form14->setCertificateExporter([this](const QStringList &lines, int number) {
        documents::exportCertificateToWord(form14, lines, number);
    });
    form13 = new maintenance::TForm13(folder.dataDir(), menu);
    volumes = std::make_unique<platform::SystemVolumes>();
    form16 = new maintenance::TForm16(*dataModule2, *volumes, menu);
    form17 = new maintenance::TForm17(*dataModule2, *volumes, menu);
}

// The recipe view window on an archived recipe, for the results, mix and archive windows.
void ProgramWindows::openRecipeView(int number)
{
    form15->setArchiveNumber(number);
    form15->exec();
}

// The feed types window as the mix window's product choice: the selection for
// calculation cannot be changed from there.
void ProgramWindows::chooseProduct()
{
    form5->setProductChoice(true);
    form5->exec();
    form5->setProductChoice(false);
}

void ProgramWindows::connectMenu()
{
    form1->setDataModule(dataModule2.get());
    form1->setOpener(MenuItem::Characteristics, [this] { form3->exec(); });
    form1->setOpener(MenuItem::RawMaterials, [this] { form6->exec(); });
    form1->setOpener(MenuItem::FeedTypes, [this] { form5->exec(); });
    form1->setOpener(MenuItem::Calculation, [this] { form10->exec(); });
    form1->setOpener(MenuItem::Parameters, [this] { form11->exec(); });
    form1->setOpener(MenuItem::MixCharacteristics, [this] { form12->exec(); });
    form1->setOpener(MenuItem::Archive, [this] { form14->exec(); });
    form1->setOpener(MenuItem::Backup, [this] { form16->exec(); });
    form1->setOpener(MenuItem::Restore, [this] { form17->exec(); });
    for (int number = 1; number <= kInstructionCount; ++number) {
        form1->setOpener(instructionItem(number), [this, number] {
            form13->setInstruction(number);
            form13->exec();
        });
    }
    form1->setCloseSequence([this] { runCloseSequence(folder, *dataModule2, show); });
}

} // namespace shell
