#pragma once

// The platform's printer choice: the system printers plus "PDF-файл", so that a
// machine without a printer can still print. A chosen printer comes back configured
// (high resolution, A4 portrait); a PDF file is laid out on the whole sheet.
//
// Scripts and tests force the output into a PDF file without any dialog, either by
// passing the path or through the environment variable KORMOPLAN_PRINT_TO_PDF.

#include <QString>

#include <functional>
#include <memory>

class QPrinter;
class QWidget;

namespace platform
{

inline constexpr char kForcedPdfVariable[] = "KORMOPLAN_PRINT_TO_PDF";

struct PrinterChoice {
    std::unique_ptr<QPrinter> printer; // null: the user cancelled
    bool preview = false;              // show the pages before they go to the printer
    bool forced = false;               // output forced into a file, no dialog was shown
    explicit operator bool() const { return printer != nullptr; }
};

// A printer writing a PDF file at `path` (A4 portrait, high resolution, no margins).
std::unique_ptr<QPrinter> pdfPrinter(const QString &path);

// The PDF path forced by the environment; empty when printing goes through the dialog.
QString forcedPdfPath();

// Asks where to print. With forcedPdf (or the environment variable) set, returns a PDF
// printer for that file at once. documentName names the print job and suggests the
// PDF file name.
PrinterChoice choosePrinter(QWidget *parent, const QString &documentName,
                            const QString &forcedPdf = {});

// Runs the print job: through a preview window when the choice asks for one (its own
// print button sends the pages to the printer), else straight to the printer.
// paint draws every page of the document on the printer it is given.
// Returns false when nothing was printed (preview closed without printing).
bool printWithChoice(QWidget *parent, const PrinterChoice &choice,
                     const std::function<void(QPrinter *)> &paint);

} // namespace platform
