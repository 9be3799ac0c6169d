#pragma once

// The .docx file of a document: an Office Open XML package (a zip of the document
// part, its styles and settings, the content types and the relationships), every part
// written with QXmlStreamWriter so that any text of the user stays well-formed XML.

#include <QByteArray>
#include <QString>

namespace documents
{

class DocxDocument;

// The main part, word/document.xml. Characters XML cannot carry (control characters,
// lone surrogates) are written as spaces.
QByteArray docxDocumentXml(const DocxDocument &document);

// Writes the package to `path`, which must not exist yet (an earlier file is never
// overwritten). The file appears whole or not at all. Returns an empty text on
// success, else what went wrong, in Russian.
QString writeDocx(const DocxDocument &document, const QString &path);

} // namespace documents
