#include "shell/datacheck.h"

#include "platform/filereplace.h"
#include "store/datadirectorycheck.h"
#include "store/datafiles.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace shell
{

namespace
{

bool backupCopyReads(const WorkingFolder &folder, const QString &name)
{
    const QString copy = folder.backupDir() + QLatin1Char('/') + name;
    return QFileInfo(copy).isFile() && store::tableReadProblem(copy).isEmpty();
}

// The damaged file is kept under <name>.damaged, then the copy takes its place.
bool takeBackupCopy(const WorkingFolder &folder, const QString &name)
{
    const QString damaged = folder.dataDir() + QLatin1Char('/') + name;
    if (QFileInfo::exists(damaged) &&
        !platform::copyFileReplacing(damaged, damaged + QStringLiteral(".damaged")))
        return false;
    return platform::copyFileReplacing(folder.backupDir() + QLatin1Char('/') + name, damaged);
}

const QString kEnd = QStringLiteral("Программа будет закрыта. Если данные сильно испорчены - "
                                    "обратитесь к поставщику программы....");

QString offer(const store::DataDirectoryProblem &problem)
{
    return problem.text +
           QStringLiteral("\n\nВ папке arhiv есть копия файла %1, сделанная при последнем "
                          "нормальном завершении программы. Восстановить файл из этой копии? "
                          "Изменения, внесенные в него после того, будут потеряны; "
                          "поврежденный файл останется в папке itog3 под именем %1.damaged.")
               .arg(problem.fileName);
}

} // namespace

StartDecision checkDataTables(const WorkingFolder &folder, const MessageSink &show,
                              const Question &restore)
{
    QSet<QString> restored;
    for (;;) {
        const store::DataDirectoryProblem problem = store::dataDirectoryProblem(folder.dataDir());
        if (!problem.found())
            return StartDecision::Go;
        if (restored.contains(problem.fileName)) {
            show(problem.text + QStringLiteral("\n\nКопия из папки arhiv этого не исправила. ") +
                 kEnd);
            return StartDecision::Terminate;
        }
        if (!backupCopyReads(folder, problem.fileName)) {
            show(problem.text +
                 QStringLiteral("\n\nЦелой копии файла %1 в папке arhiv нет. ")
                     .arg(problem.fileName) +
                 kEnd);
            return StartDecision::Terminate;
        }
        if (!restore(offer(problem)))
            return StartDecision::Terminate;
        if (!takeBackupCopy(folder, problem.fileName)) {
            show(problem.fileName + QStringLiteral(" не скопирован. ") + kEnd);
            return StartDecision::Terminate;
        }
        restored.insert(problem.fileName);
    }
}

Question restoreQuestionBox()
{
    return questionBox(QStringLiteral("Восстановить из копии"), QStringLiteral("Выход"));
}

} // namespace shell
