#pragma once

// Where exported documents go: the folder "export" of the working folder, one new
// file per export, named after what it holds and when it was made
// ("Рецепт 17 2026-12-07 14-05.docx"); an earlier file is never overwritten.

#include <QDateTime>
#include <QString>

namespace documents
{

class DocxDocument;

inline const QString kExportFolder = QStringLiteral("export");

struct ExportedFile {
    QString path;  // the file written; empty when nothing was written
    QString error; // what went wrong, in Russian; empty on success
    bool ok() const { return error.isEmpty(); }
};

// The file name for `stem` made at `when`; attempt 2, 3, … add " (2)", " (3)", ….
QString exportFileName(const QString &stem, const QDateTime &when, int attempt = 1);

// Creates the folder when missing and writes the document under the first name of
// exportFileName that no file has yet.
ExportedFile saveExport(const DocxDocument &document, const QString &folder, const QString &stem,
                        const QDateTime &when);

} // namespace documents
