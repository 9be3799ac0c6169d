// The program's entry: the terminal's requests (--help, --version) and the display check
// before the windowing system starts, then the application title and icon, the guard
// against a second copy, the working folder, what an interrupted close left, the crash
// markers and recovery, the check of the tables, the windows and the data module, then the
// main menu's message loop until the main window closes.
#include "shell/closesequence.h"
#include "shell/commandline.h"
#include "shell/crashrecovery.h"
#include "shell/datacheck.h"
#include "shell/displaycheck.h"
#include "shell/messagesink.h"
#include "shell/programwindows.h"
#include "shell/russianlanguage.h"
#include "shell/singleinstance.h"
#include "shell/workingfolderstart.h"
#include "widgets/applicationtitle.h"
#include "widgets/enteronbuttons.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QIcon>
#include <QPointer>

#include <cstdio>

namespace
{

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toUtf8().constData(), stream);
    std::fflush(stream);
}

QStringList argumentList(int argc, char *argv[])
{
    QStringList arguments;
    for (int k = 0; k < argc; ++k)
        arguments << QString::fromLocal8Bit(argv[k]);
    return arguments;
}

// The sizes drawn from packaging/kormoplan.svg, built into the program as resources.
QIcon applicationIcon()
{
    QIcon icon;
    const QDir icons(QStringLiteral(":/icons"));
    for (const QString &file : icons.entryList({QStringLiteral("*.png")}))
        icon.addFile(icons.filePath(file));
    return icon;
}

// With KORMOPLAN_REPORT_SHOWN set, the moment the menu is up and ready (first activation
// done) is printed to stderr as milliseconds since the epoch, for the start-up benchmark.
void reportWhenShown(shell::MainMenu &menu)
{
    if (qEnvironmentVariableIsEmpty("KORMOPLAN_REPORT_SHOWN"))
        return;
    QObject::connect(&menu, &shell::MainMenu::firstActivationDone, [] {
        std::fprintf(stderr, "kormoplan: menu shown %lld\n",
                     static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
        std::fflush(stderr);
    });
}

} // namespace

int main(int argc, char *argv[])
{
    const QStringList arguments = argumentList(argc, argv);
    switch (shell::terminalRequest(arguments)) {
    case shell::TerminalRequest::Help:
        print(stdout, shell::helpText());
        return 0;
    case shell::TerminalRequest::Version:
        print(stdout, shell::versionText());
        return 0;
    case shell::TerminalRequest::None:
        break;
    }
    shell::DisplayCheck display(arguments);
    if (!display.problem().isEmpty()) {
        print(stderr, QStringLiteral("kormoplan: ") + display.problem() + u'\n');
        return 1;
    }

    QApplication app(argc, argv);
    display.release();
    QApplication::setApplicationName(QStringLiteral("kormoplan"));
    QApplication::setApplicationDisplayName(widgets::applicationTitle());
    QApplication::setWindowIcon(applicationIcon());
    const QString socketName = shell::instanceSocketName();
    if (shell::askRunningCopyToFront(socketName)) {
        print(stderr, QStringLiteral("kormoplan: ") + widgets::applicationTitle() +
                          QStringLiteral(" уже запущен, его окно выведено на передний план\n"));
        return 0;
    }
    shell::InstanceServer instance;
    if (const QString error = instance.listen(socketName); !error.isEmpty())
        print(stderr, QStringLiteral("kormoplan: ") + error + u'\n');
    QPointer<QWidget> mainWindow;
    QObject::connect(&instance, &shell::InstanceServer::frontRequested,
                     [&mainWindow] { shell::bringToFront(mainWindow); });
    widgets::installEnterOnButtons();
    if (!shell::useRussianLanguage(app))
        std::fprintf(stderr, "kormoplan: Qt's Russian translation (qt6-translations-l10n) "
                             "not found; Qt's own dialogs speak English\n");
    const shell::MessageSink show = shell::messageBoxSink();

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
    mainWindow = &windows->menu();
    windows->menu().show();
    return app.exec();
}
