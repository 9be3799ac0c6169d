#pragma once

// "Импорт в Word" of the document windows: the document is saved in the export folder
// of the working folder and opened in the desktop's editor for such files.

#include <QString>

class QWidget;

namespace documents
{

class DocxDocument;

// Saves and opens the document; stem names it ("Рецепт 17"). When the file cannot be
// written, or nothing opens it, says "Word не установлен!" with the reason or with
// where the file was saved. True when the document was opened.
bool exportToWord(QWidget *parent, const DocxDocument &document, const QString &stem);

} // namespace documents
