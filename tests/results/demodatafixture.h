#pragma once

// The shipped demo data (data/itog3) copied into a temporary working folder, with the
// data module over it as the main menu leaves it (lists in their normal state, selected
// entries counted, settings read), and a calculation run on it as the preparation window
// starts one. Each test takes a fresh copy, so what one test writes no other sees.
//
//     roadtest::DemoData demo;
//     store::DataModule *dm = demo.open();
//     calc::RunResult run = demo.calculate(calc::CalcMode::Cost);

#include "calc/messageobserver.h"
#include "calc/run.h"
#include "settings/settings.h"
#include "settings/workingdate.h"
#include "store/datamodule.h"
#include "store/table.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace roadtest
{

class DemoData final
{
public:
    DemoData() : previous_(QDir::currentPath())
    {
        const QDir source(QStringLiteral(KP_SOURCE_DIR "/data/itog3"));
        QDir(dir_.path()).mkdir(QStringLiteral("itog3"));
        for (const QString &name : source.entryList(QDir::Files))
            ok_ = QFile::copy(source.filePath(name), dataDir() + u'/' + name) && ok_;
        QDir::setCurrent(dir_.path());
    }
    ~DemoData()
    {
        module_.reset();
        QDir::setCurrent(previous_);
    }
    Q_DISABLE_COPY_MOVE(DemoData)

    bool ok() const { return ok_ && dir_.isValid(); }
    QString dataDir() const { return dir_.filePath(QStringLiteral("itog3")); }

    // The data module as the main menu's first activation leaves it.
    store::DataModule *open()
    {
        QString error;
        module_ = store::DataModule::create(dataDir(), &error);
        if (!module_) {
            qWarning("%s", qPrintable(error));
            return nullptr;
        }
        module_->setNormalState();
        module_->countSelected();
        settings::ReadSettings(dataDir());
        settings::setWorkingDate(QDate(2026, 3, 5));
        return module_.get();
    }

    // A run on the selection as the preparation window starts it (kk and sir filtered),
    // with the nutrient ratios in force when asked.
    calc::RunResult calculate(calc::CalcMode mode, bool withRatios = false)
    {
        for (store::Table *t : {&module_->feedTypes, &module_->rawMaterials}) {
            t->setFilter(QStringLiteral("ot='+'"));
            t->setFiltered(true);
        }
        calc::RunOptions options;
        options.mode = mode;
        options.parameters = calc::CalcParameters::fromSettings(settings::currentSettings());
        const calc::CalcTables tables{
            &module_->characteristics, &module_->feedTypes,
            &module_->rawMaterials,    &module_->inclusionNorms,
            &module_->counters,        withRatios ? &module_->ratios : nullptr};
        return calc::runCalculation(tables, options, observer);
    }

    calc::MessageObserver observer; // the run's bars and messages pass unseen

private:
    QString previous_;
    QTemporaryDir dir_;
    bool ok_ = true;
    std::unique_ptr<store::DataModule> module_;
};

// A word of a PDF read back with pdftotext -bbox: its text and box in points.
struct PdfWord {
    QString text;
    double xMin = 0;
    double yMin = 0;
    double xMax = 0;
    double yMax = 0;
    int page = 0; // from 1
};

// Every word of the PDF, page by page; empty when pdftotext is missing or fails.
inline QList<PdfWord> pdfWords(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    QList<PdfWord> words;
    int page = 0;
    const QStringList lines = html.split(u'\n');
    for (const QString &line : lines) {
        if (line.contains(QLatin1String("<page ")))
            ++page;
        const int open = line.indexOf(QLatin1String("<word "));
        if (open < 0)
            continue;
        auto attribute = [&line](const char *name) {
            const QString key = QLatin1String(name) + QStringLiteral("=\"");
            const int at = line.indexOf(key);
            const int end = line.indexOf(u'"', at + key.size());
            return line.mid(at + key.size(), end - at - key.size()).toDouble();
        };
        const int textStart = line.indexOf(u'>', open) + 1;
        const int textEnd = line.indexOf(QLatin1String("</word>"));
        QString text = line.mid(textStart, textEnd - textStart);
        text.replace(QLatin1String("&lt;"), QLatin1String("<"))
            .replace(QLatin1String("&gt;"), QLatin1String(">"))
            .replace(QLatin1String("&quot;"), QLatin1String("\""))
            .replace(QLatin1String("&amp;"), QLatin1String("&"));
        words.append({text, attribute("xMin"), attribute("yMin"), attribute("xMax"),
                      attribute("yMax"), page});
    }
    return words;
}

// The plain text of a PDF (pdftotext -layout).
inline QString pdfText(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Where the tests leave the PDFs they print, one per case.
inline QString outputPdf(const QString &name)
{
    QDir().mkpath(QStringLiteral(KP_TEST_OUTPUT));
    return QStringLiteral(KP_TEST_OUTPUT "/") + name + QStringLiteral(".pdf");
}

} // namespace roadtest
