#include "documents/exportfile.h"

#include "documents/docxwriter.h"

#include <QDir>
#include <QFileInfo>

namespace documents
{

namespace
{

constexpr int kMaxAttempts = 1000;

} // namespace

QString exportFileName(const QString &stem, const QDateTime &when, int attempt)
{
    QString name = stem + QLatin1Char(' ') + when.toString(QStringLiteral("yyyy-MM-dd HH-mm"));
    if (attempt > 1)
        name += QStringLiteral(" (%1)").arg(attempt);
    return name + QStringLiteral(".docx");
}

ExportedFile saveExport(const DocxDocument &document, const QString &folder, const QString &stem,
                        const QDateTime &when)
{
    const QDir dir(folder);
    if (!dir.mkpath(QStringLiteral("."))) {
        return {{},
                QStringLiteral("Не удалось создать папку %1")
                    .arg(QDir::toNativeSeparators(dir.absolutePath()))};
    }
    for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
        const QString path = dir.absoluteFilePath(exportFileName(stem, when, attempt));
        if (QFileInfo::exists(path))
            continue;
        const QString error = writeDocx(document, path);
        if (error.isEmpty())
            return {path, {}};
        if (!QFileInfo::exists(path)) // not a name taken meanwhile: a real failure
            return {{}, error};
    }
    return {{},
            QStringLiteral("В папке %1 нет свободного имени для файла")
                .arg(QDir::toNativeSeparators(dir.absolutePath()))};
}

} // namespace documents
