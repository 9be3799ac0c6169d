#pragma once

// Reads exported .docx files back with real readers: python3-docx for the structure
// (tables, widths, borders, fonts, cell texts, as docxdump.py prints them) and
// LibreOffice, which converts them to PDF, read with pdftotext. The PDFs are left in
// the folder docx-pdf beside the .docx files (the printed PDFs keep their own names).

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace docxreadback
{

// Runs a program to its end; its standard output, or an error text.
inline bool run(const QString &program, const QStringList &arguments, QByteArray *out,
                QString *error,
                const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForStarted() || !process.waitForFinished(600000)) {
        *error = program + QStringLiteral(" did not run: ") + process.errorString();
        return false;
    }
    *out = process.readAllStandardOutput();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        *error = program + QStringLiteral(" failed: ") +
                 QString::fromUtf8(process.readAllStandardError());
        return false;
    }
    return true;
}

// docxdump.py's view of the files, by path.
inline QJsonObject dump(const QStringList &files, QString *error)
{
    QByteArray out;
    const QString script = QStringLiteral(KP_SOURCE_DIR "/tests/documents/docxdump.py");
    if (!run(QStringLiteral("/usr/bin/python3"), QStringList{script} + files, &out, error))
        return {};
    return QJsonDocument::fromJson(out).object();
}

// Converts the files to PDF with one LibreOffice run (a private
// profile and home, so that a running office or another test does not interfere) and
// returns each PDF's text by the .docx path.
inline QMap<QString, QString> pdfTexts(const QStringList &files, QString *error)
{
    QMap<QString, QString> texts;
    if (files.isEmpty())
        return texts;
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    const QString outDir = QFileInfo(files.first()).absolutePath() + QStringLiteral("/docx-pdf");
    QDir().mkpath(outDir);
    QByteArray out;
    const QStringList arguments = QStringList{QStringLiteral("-env:UserInstallation=file://") +
                                                  home.path() + QStringLiteral("/profile"),
                                              QStringLiteral("--headless"),
                                              QStringLiteral("--convert-to"),
                                              QStringLiteral("pdf"),
                                              QStringLiteral("--outdir"),
                                              outDir} +
                                  files;
    if (!run(QStringLiteral("soffice"), arguments, &out, error, environment))
        return texts;
    for (const QString &file : files) {
        const QFileInfo docx(file);
        const QString pdf =
            outDir + QLatin1Char('/') + docx.completeBaseName() + QStringLiteral(".pdf");
        if (!run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")},
                 &out, error))
            return {};
        texts.insert(file, QString::fromUtf8(out));
    }
    return texts;
}

inline QString outputPath(const QString &name)
{
    return QDir(QStringLiteral(KP_TEST_OUTPUT)).filePath(name + QStringLiteral(".docx"));
}

} // namespace docxreadback
