#pragma once

// "Импорт в Word" of the document windows: the document is saved in the export folder
// of the working folder and opened in the desktop's editor for such files.

#include <QStringList>

class QWidget;

namespace documents
{

class DocxDocument;

// Saves and opens the document; stem names it ("Рецепт 17"). When the file cannot be
// written, says why; when nothing opens it, that no application for .docx files was
// found and where the file was saved. True when the document was opened.
bool exportToWord(QWidget *parent, const DocxDocument &document, const QString &stem);

// The certificate panel's export: the quality certificate of recipe `number` from its
// text as it stands, the user's edits included ("Удостоверение <number> ….docx").
bool exportCertificateToWord(QWidget *parent, const QStringList &certificateText, int number);

} // namespace documents
