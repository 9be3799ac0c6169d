#include "platform/printerchoice.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace platform
{

namespace
{

const QString kPdfItem = QStringLiteral("PDF-файл");

// The dialog's list: the system printers, the default one first, then the PDF file.
void fillPrinterList(QListWidget *list)
{
    const QString defaultName = QPrinterInfo::defaultPrinterName();
    QStringList names = QPrinterInfo::availablePrinterNames();
    if (names.removeOne(defaultName))
        names.prepend(defaultName);
    for (const QString &name : names) {
        auto *item = new QListWidgetItem(name, list);
        item->setData(Qt::UserRole, name);
        if (name == defaultName)
            item->setText(name + QStringLiteral(" (по умолчанию)"));
    }
    auto *pdf = new QListWidgetItem(kPdfItem, list);
    pdf->setData(Qt::UserRole, QString());
    list->setCurrentRow(0);
}

QString suggestedPdfPath(const QString &documentName)
{
    QString base = documentName.trimmed();
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    for (QChar &c : base) {
        if (forbidden.contains(c))
            c = QLatin1Char('_');
    }
    if (base.isEmpty())
        base = QStringLiteral("документ");
    QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (dir.isEmpty() || !QDir(dir).exists())
        dir = QDir::currentPath();
    return QDir(dir).filePath(base + QStringLiteral(".pdf"));
}

QString askPdfPath(QWidget *parent, const QString &documentName)
{
    QString path = QFileDialog::getSaveFileName(
        parent, QStringLiteral("Сохранить документ в PDF-файл"), suggestedPdfPath(documentName),
        QStringLiteral("PDF-файлы (*.pdf)"));
    if (!path.isEmpty() && !path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    return path;
}

std::unique_ptr<QPrinter> systemPrinter(const QString &name)
{
    auto printer =
        std::make_unique<QPrinter>(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
    printer->setPageOrientation(QPageLayout::Portrait);
    return printer;
}

} // namespace

std::unique_ptr<QPrinter> pdfPrinter(const QString &path)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    printer->setFullPage(true);
    return printer;
}

QString forcedPdfPath()
{
    return qEnvironmentVariable(kForcedPdfVariable);
}

PrinterChoice choosePrinter(QWidget *parent, const QString &documentName, const QString &forcedPdf)
{
    PrinterChoice choice;
    const QString forced = forcedPdf.isEmpty() ? forcedPdfPath() : forcedPdf;
    if (!forced.isEmpty()) {
        choice.printer = pdfPrinter(forced);
        choice.printer->setDocName(documentName);
        choice.forced = true;
        return choice;
    }

    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("PrinterChoiceDialog"));
    dialog.setWindowTitle(QStringLiteral("Выбор принтера"));
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Куда печатать:"), &dialog));
    auto *list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("printerList"));
    fillPrinterList(list);
    layout->addWidget(list);
    auto *preview = new QCheckBox(QStringLiteral("Предварительный просмотр"), &dialog);
    preview->setObjectName(QStringLiteral("previewBox"));
    layout->addWidget(preview);
    auto *buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(QStringLiteral("Печатать"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    dialog.resize(360, 260);

    if (dialog.exec() != QDialog::Accepted || list->currentItem() == nullptr)
        return choice;
    const QString printerName = list->currentItem()->data(Qt::UserRole).toString();
    if (printerName.isEmpty()) {
        const QString path = askPdfPath(parent, documentName);
        if (path.isEmpty())
            return choice;
        choice.printer = pdfPrinter(path);
    } else {
        choice.printer = systemPrinter(printerName);
    }
    choice.printer->setDocName(documentName);
    choice.preview = preview->isChecked();
    return choice;
}

bool printWithChoice(QWidget *parent, const PrinterChoice &choice,
                     const std::function<void(QPrinter *)> &paint)
{
    if (!choice)
        return false;
    if (!choice.preview) {
        paint(choice.printer.get());
        return true;
    }
    QPrintPreviewDialog dialog(choice.printer.get(), parent);
    dialog.setWindowTitle(QStringLiteral("Предварительный просмотр"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&paint](QPrinter *printer) { paint(printer); });
    return dialog.exec() == QDialog::Accepted;
}

} // namespace platform
