#pragma once

// The files of the data directory that belong to the program: the nine tables, the
// optional ratio table, the settings file and the eight instruction texts. The backup copy and its
// restore take these and nothing else, so a stray or half-written file never travels with them.

#include <QString>
#include <QStringList>

namespace store
{

// pit, kk, sir, norm, order, arkk, arsir, arpit, arprem (".dbf"), in the data module's
// cursor order.
const QStringList &tableFileNames();

// Tables a data directory may lack: without one its records are simply none (ratio.dbf).
const QStringList &optionalTableFileNames();

// The tables of `folder` that must be whole: tableFileNames(), then the optional tables
// the folder holds.
QStringList presentTableFileNames(const QString &folder);

// The tables, the optional ones, cons.txt and the instruction texts.
const QStringList &programFileNames();

// Whether a file name (without folder) is one of programFileNames(), in any letter case
// (the names come from a desktop whose file names ignore case).
bool isProgramFile(const QString &fileName);

// The name a new table file is written under until it is complete and takes the name
// `path` (a kill in between leaves it behind).
QString newTableFileName(const QString &path);

// The number fields that order or tie the records of a program table, by its file name
// in any letter case (list positions, permanent keys, archive numbers); empty for others.
QStringList keyFieldNames(const QString &fileName);

// Why the table file cannot be read whole, or one of its key fields (keyFieldNames) is no
// number field or holds in some record no whole number (the table layer's message naming
// the file, the record and the field), or an empty text when it reads. A key field the
// table lacks is left to those who use it. The file is only read.
QString tableReadProblem(const QString &path);

} // namespace store
