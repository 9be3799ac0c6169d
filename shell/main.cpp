// The program's entry: the application title, the guard against a second copy, the working
// folder, what an interrupted close left, the crash markers and recovery, the check of the
// tables, the windows and the data module, then the main menu's message loop until the main
// window closes.
#include "platform/windowlist.h"
#include "shell/closesequence.h"
#include "shell/crashrecovery.h"
#include "shell/datacheck.h"
#include "shell/instanceguard.h"
#include "shell/messagesink.h"
#include "shell/programwindows.h"
#include "shell/russianlanguage.h"
#include "shell/workingfolderstart.h"
#include "widgets/applicationtitle.h"

#include <QApplication>
#include <QDateTime>

#include <cstdio>

namespace
{

// With KORMOPLAN_REPORT_SHOWN set, the moment the menu is up and ready (first activation
// done) is printed to stderr as milliseconds since the epoch, for the start-up benchmark.
void reportWhenShown(shell::TForm1 &menu)
{
    if (qEnvironmentVariableIsEmpty("KORMOPLAN_REPORT_SHOWN"))
        return;
    QObject::connect(&menu, &shell::TForm1::firstActivationDone, [] {
        std::fprintf(stderr, "kormoplan: menu shown %lld\n",
                     static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
        std::fflush(stderr);
    });
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kormoplan"));
    QApplication::setApplicationDisplayName(widgets::applicationTitle());
    if (!shell::useRussianLanguage(app))
        std::fprintf(stderr, "kormoplan: Qt's Russian translation (qt6-translations-l10n) "
                             "not found; Qt's own dialogs speak English\n");
    const shell::MessageSink show = shell::messageBoxSink();

    if (const auto blocker = shell::findBlockingWindow(platform::topLevelWindows())) {
        show(shell::guardMessage(blocker->title));
        return 0;
    }
    const auto folder = shell::enterWorkingFolder(QApplication::arguments(), show);
    if (!folder)
        return 1;
    shell::tidyAfterInterruptedClose(*folder);
    if (shell::checkMarkersAndRecover(*folder, show) == shell::StartDecision::Terminate)
        return 1;
    if (shell::checkDataTables(*folder, show, shell::restoreQuestionBox()) ==
        shell::StartDecision::Terminate)
        return 1;

    const auto windows = shell::ProgramWindows::create(*folder, show);
    if (!windows)
        return 1;
    reportWhenShown(windows->menu());
    windows->menu().show();
    return app.exec();
}
