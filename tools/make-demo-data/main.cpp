// make-demo-data: builds the shipped data directory (itog3) from the readable demo
// sources. Usage: make-demo-data --source data/source --out data/itog3

#include "demosource.h"
#include "demowriter.h"
#include "store/table.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <exception>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Builds the demo data directory from its readable sources."));
    parser.addHelpOption();
    const QCommandLineOption source(QStringLiteral("source"),
                                    QStringLiteral("Folder with the sources."),
                                    QStringLiteral("dir"), QStringLiteral("data/source"));
    const QCommandLineOption out(QStringLiteral("out"),
                                 QStringLiteral("Data directory to (re)create."),
                                 QStringLiteral("dir"), QStringLiteral("data/itog3"));
    parser.addOption(source);
    parser.addOption(out);
    parser.process(app);

    QTextStream err(stderr);
    try {
        const DemoSource data = DemoSource::load(parser.value(source));
        writeDemoData(data, parser.value(out));
        QTextStream(stdout) << "Данные записаны в " << parser.value(out) << ": "
                            << data.characteristics.size() << " характеристик, " << data.raws.size()
                            << " видов сырья, " << data.feeds.size() << " типов комбикормов, "
                            << data.limits.size() << " норм ввода\n";
        return 0;
    } catch (const store::TableError &e) {
        err << e.message() << '\n';
    } catch (const std::exception &e) {
        err << QString::fromUtf8(e.what()) << '\n';
    }
    return 1;
}
