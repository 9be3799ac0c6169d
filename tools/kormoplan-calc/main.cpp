// kormoplan-calc: one calculation run on the tables of a data directory, as the
// calculation window would run it after opening, without any window.
//
//   kormoplan-calc --data DIR [--mode cost|proportional|product] [--uniform] [--json]
//                  [--export-lp FILE] [--rules described|textbook|auto]
//
// The run works on a temporary copy of DIR, so nothing there changes; what it prints
// names DIR. The data are checked first as the program checks them at its start. Exit
// status: 0 a solution, 1 a run without one, 2 bad usage or data refused by that check
// or unreadable.

#include "report.h"

#include "calc/assembly.h"
#include "calc/messageobserver.h"
#include "calc/run.h"
#include "settings/settings.h"
#include "store/datadirectorycheck.h"
#include "store/datamodule.h"
#include "store/highlight.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace
{

constexpr int kExitSolution = 0;
constexpr int kExitNoSolution = 1;
constexpr int kExitBadUsage = 2;

const char kUsage[] = "Использование: kormoplan-calc --data КАТАЛОГ "
                      "[--mode cost|proportional|product] [--uniform] [--json] "
                      "[--export-lp ФАЙЛ] [--rules described|textbook|auto]\n";
const char kHelp[] =
    "\n"
    "Один расчет рецептов по таблицам каталога данных, как его провело бы окно расчета,\n"
    "без окон. Расчет идет на временной копии: каталог не изменяется.\n"
    "\n"
    "  --data КАТАЛОГ    каталог данных (itog3)\n"
    "  --mode РЕЖИМ      cost - наименьшая стоимость (по умолчанию), proportional -\n"
    "                    наибольшая выработка в заданных пропорциях, product -\n"
    "                    наибольшая выработка одного продукта\n"
    "  --uniform         равномерно отступать от требований по всем характеристикам\n"
    "  --json            напечатать итог одним объектом JSON\n"
    "  --export-lp ФАЙЛ  записать первую задачу линейного программирования (.lp, или\n"
    "                    .mps по расширению файла)\n"
    "  --rules ПРАВИЛА   правила выбора шагов симплекс-метода: described - правила\n"
    "                    метода, textbook - учебные правила, auto - по размеру\n"
    "                    задачи: учебные для больших (по умолчанию)\n"
    "  -h, --help        показать эту справку и выйти\n"
    "\n"
    "Код возврата: 0 - решение получено, 1 - решения нет, 2 - неверные параметры или\n"
    "данные.\n";

struct Options {
    QString dataDir;
    calc::CalcMode mode = calc::CalcMode::Cost;
    bool uniform = false;
    bool json = false;
    QString exportPath;
    lp::Rules rules = lp::Rules::Automatic;
};

void printTo(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

bool parseMode(const QString &text, calc::CalcMode *mode)
{
    if (text == u"cost")
        *mode = calc::CalcMode::Cost;
    else if (text == u"proportional")
        *mode = calc::CalcMode::Proportional;
    else if (text == u"product")
        *mode = calc::CalcMode::Product;
    else
        return false;
    return true;
}

// Reads the arguments; an empty error means they were good.
QString parseArguments(const QStringList &args, Options *options)
{
    for (int k = 1; k < args.size(); ++k) {
        const QString &a = args[k];
        const bool hasValue = k + 1 < args.size();
        if (a == u"--data" && hasValue)
            options->dataDir = args[++k];
        else if (a == u"--mode" && hasValue) {
            if (!parseMode(args[++k], &options->mode))
                return QStringLiteral("Неизвестный режим: ") + args[k];
        } else if (a == u"--rules" && hasValue) {
            const std::optional<lp::Rules> rules = lp::rulesNamed(args[++k]);
            if (!rules)
                return QStringLiteral("Неизвестные правила: ") + args[k];
            options->rules = *rules;
        } else if (a == u"--export-lp" && hasValue)
            options->exportPath = args[++k];
        else if (a == u"--uniform")
            options->uniform = true;
        else if (a == u"--json")
            options->json = true;
        else
            return QStringLiteral("Непонятный аргумент: ") + a;
    }
    if (options->dataDir.isEmpty())
        return QStringLiteral("Не указан каталог данных (--data).");
    return {};
}

// The files of the data directory, copied to a temporary folder the run may touch.
QString copyDataDirectory(const QString &source, const QTemporaryDir &copy)
{
    const QDir dir(source);
    if (!dir.exists())
        return QStringLiteral("Каталог данных не найден: ") + source;
    const QFileInfoList files = dir.entryInfoList(QDir::Files);
    for (const QFileInfo &file : files) {
        if (!QFile::copy(file.absoluteFilePath(), copy.filePath(file.fileName())))
            return QStringLiteral("Не удалось скопировать файл ") + file.absoluteFilePath();
    }
    return {};
}

// The run works on a temporary copy of the data folder; what it prints names the folder
// the user gave instead, as it was given.
class FolderNaming final
{
public:
    FolderNaming(const QString &copy, const QString &given) : given_(QDir::cleanPath(given))
    {
        copies_ << copy << QFileInfo(copy).canonicalFilePath();
        copies_.removeAll(QString());
        copies_.removeDuplicates();
        // the longer first, so that neither leaves a piece of the other behind
        std::sort(copies_.begin(), copies_.end(),
                  [](const QString &a, const QString &b) { return a.size() > b.size(); });
    }
    QString operator()(QString text) const
    {
        for (const QString &copy : copies_)
            text.replace(copy, given_);
        return text;
    }

private:
    QStringList copies_;
    QString given_;
};

// Opens the copied directory as the calculation window finds it: the lists in their
// normal state, feed types and raw materials restricted to the selected entries.
std::unique_ptr<store::DataModule> openData(const QString &dir, QString *error)
{
    std::unique_ptr<store::DataModule> module = store::DataModule::create(dir, error);
    if (!module)
        return nullptr;
    try {
        module->setNormalState();
        for (store::Table *table : {&module->feedTypes, &module->rawMaterials}) {
            table->setFilter(store::selectionFilterText);
            table->setFiltered(true);
            table->first();
        }
    } catch (const store::TableError &e) {
        *error = e.message();
        return nullptr;
    }
    return module;
}

int fail(const QString &message)
{
    printTo(stderr, message + u'\n');
    return kExitBadUsage;
}

int run(const Options &options)
{
    QTemporaryDir copy;
    if (!copy.isValid())
        return fail(QStringLiteral("Не удалось создать временный каталог."));
    if (const QString error = copyDataDirectory(options.dataDir, copy); !error.isEmpty())
        return fail(error);
    const FolderNaming naming(copy.path(), options.dataDir);
    if (const store::DataDirectoryProblem problem = store::dataDirectoryProblem(copy.path());
        problem.found())
        return fail(naming(problem.text));
    const settings::SettingsRead read = settings::ReadSettings(copy.path());
    if (!read.problems.isEmpty())
        return fail(naming(read.problems.join(u'\n')));
    QString error;
    const std::unique_ptr<store::DataModule> module = openData(copy.path(), &error);
    if (!module)
        return fail(naming(error));

    calc::RunOptions runOptions;
    runOptions.mode = options.mode;
    runOptions.uniformRelax = options.uniform;
    runOptions.parameters = calc::CalcParameters::fromSettings(read.values);
    runOptions.solverLimits.rules = options.rules;
    runOptions.rulesFromEnvironment = false;
    QString exportError;
    bool exported = false;
    if (!options.exportPath.isEmpty()) {
        const lp::LpFormat format =
            options.exportPath.endsWith(QStringLiteral(".mps"), Qt::CaseInsensitive)
                ? lp::LpFormat::FreeMps
                : lp::LpFormat::CplexLp;
        runOptions.firstProgramme = [&, format](const calc::Selection &selection,
                                                const lp::Programme &programme) {
            exported = lp::exportProgramme(programme, options.exportPath, format, &exportError,
                                           calc::columnNote(selection));
        };
    }
    // the progress bars mean nothing here; the message boxes are printed as they come
    calc::MessageObserver observer([&](const QString &text) {
        if (!options.json)
            printTo(stdout, naming(text) + QStringLiteral("\n\n"));
    });
    const calc::CalcTables tables{&module->characteristics, &module->feedTypes,
                                  &module->rawMaterials,    &module->inclusionNorms,
                                  &module->counters,        &module->ratios};
    const calc::RunResult result = calc::runCalculation(tables, runOptions, observer);
    if (!result.dataError.isEmpty())
        return fail(naming(result.dataError));
    if (!exportError.isEmpty())
        printTo(stderr, exportError + u'\n');
    else if (!options.exportPath.isEmpty() && !exported)
        printTo(stderr, QStringLiteral("Программа не выгружена: расчет закончился до первой "
                                       "попытки.\n"));
    if (options.json)
        printTo(stdout, naming(QString::fromUtf8(kpcalc::jsonReport(result))));
    else
        printTo(stdout, naming(kpcalc::textReport(result).join(u'\n')) + u'\n');
    if (!exportError.isEmpty())
        return kExitBadUsage;
    return result.outcome == calc::RunOutcome::Solution ? kExitSolution : kExitNoSolution;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (const QStringList args = app.arguments();
        args.contains(u"--help") || args.contains(u"-h")) {
        std::fputs(kUsage, stdout);
        std::fputs(kHelp, stdout);
        return kExitSolution;
    }
    Options options;
    if (const QString error = parseArguments(app.arguments(), &options); !error.isEmpty()) {
        printTo(stderr, error + u'\n');
        std::fputs(kUsage, stderr);
        return kExitBadUsage;
    }
    return run(options);
}
