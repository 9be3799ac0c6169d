#pragma once

// Which folder the program works in. A folder that already holds the data directory itog3
// (or its backup copy arhiv) is used as it stands: a developer or a mill that starts the
// program in its own folder sees no change. Started from the desktop menu, where the
// current directory is the home folder, the program works in a folder of its own,
// "Кормоплан" in the user's documents, which gets a copy of the shipped demo data the first
// time. `--workdir DIR` names another folder, set up the same way when it has no data yet.

#include <QString>
#include <QStringList>

namespace shell
{

struct WorkingFolderPlaces {
    QString currentDir;   // where the program was started
    QString requestedDir; // the --workdir folder; empty when not given
    QString documentsDir; // the user's documents folder
    QString templateDir;  // the shipped demo data directory; empty when none was found
};

struct WorkingFolderChoice {
    QString path;       // absolute working folder; empty when none could be set up
    QString seededFrom; // set when itog3 was created now: the folder it was copied from
    QString error;      // why the program cannot start, in Russian
};

// The per-user folder's name inside the documents folder.
QString perUserFolderName();

// Picks the working folder and, when it has no data directory, creates it as a copy of the
// backup copy arhiv found there or else of the demo template. The copy is made beside and
// renamed into place, so an interrupted copy never leaves a half data directory behind.
WorkingFolderChoice chooseWorkingFolder(const WorkingFolderPlaces &places);

// What the user is told after the data directory was created.
QString seededMessage(const WorkingFolderChoice &choice);

// The demo template shipped with the program: share/kormoplan/itog3 beside the installed
// program, or data/itog3 of the source tree beside a build folder. Empty when neither is
// there.
QString findTemplateDir(const QString &applicationDir);

struct WorkdirOption {
    QString dir;   // empty when the option was not given
    QString error; // a Russian usage text when the arguments are not understood
};

// Reads `--workdir DIR` from the program's arguments (the program name first).
WorkdirOption parseWorkdirOption(const QStringList &arguments);

} // namespace shell
