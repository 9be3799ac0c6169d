#include "documents/window/wordexport.h"

#include "documents/certificateexport.h"
#include "documents/exportfile.h"
#include "platform/documentopener.h"
#include "widgets/message.h"

#include <QDateTime>
#include <QDir>

namespace documents
{

namespace
{

const QString kNoEditor =
    QStringLiteral("Не найдено приложение для файлов .docx (LibreOffice Writer, Word)");

} // namespace

bool exportToWord(QWidget *parent, const DocxDocument &document, const QString &stem)
{
    const ExportedFile file =
        saveExport(document, kExportFolder, stem, QDateTime::currentDateTime());
    if (!file.ok()) {
        widgets::showMessage(parent, QStringLiteral("Документ не сохранен.\n") + file.error);
        return false;
    }
    if (!platform::openDocument(file.path)) {
        widgets::showMessage(parent, kNoEditor + QStringLiteral("\nДокумент сохранен в файле ") +
                                         QDir::toNativeSeparators(file.path));
        return false;
    }
    return true;
}

bool exportCertificateToWord(QWidget *parent, const QStringList &certificateText, int number)
{
    return exportToWord(parent, certificateDocx(certificateText),
                        QStringLiteral("Удостоверение ") + QString::number(number));
}

} // namespace documents
