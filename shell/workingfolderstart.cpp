#include "shell/workingfolderstart.h"

#include "shell/workingfolderchoice.h"

#include <QCoreApplication>
#include <QStandardPaths>

namespace shell
{

std::optional<WorkingFolder> enterWorkingFolder(const QStringList &arguments,
                                                const MessageSink &show)
{
    const WorkdirOption option = parseWorkdirOption(arguments);
    if (!option.error.isEmpty()) {
        show(option.error);
        return std::nullopt;
    }
    const WorkingFolderChoice choice =
        chooseWorkingFolder({QDir::currentPath(), option.dir,
                             QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                             findTemplateDir(QCoreApplication::applicationDirPath())});
    if (!choice.error.isEmpty()) {
        show(choice.error);
        return std::nullopt;
    }
    if (!QDir::setCurrent(choice.path)) {
        show(QStringLiteral("Рабочая папка недоступна: %1")
                 .arg(QDir::toNativeSeparators(choice.path)));
        return std::nullopt;
    }
    if (!choice.seededFrom.isEmpty())
        show(seededMessage(choice));
    return WorkingFolder{QDir(QStringLiteral("."))};
}

} // namespace shell
