#pragma once

// Code page 1251 (Cyrillic Windows), the encoding of every table and text file of the
// data directory. A fixed 256-entry table: fast, and a character without a 1251 byte
// is reported instead of being replaced.

#include <QByteArray>
#include <QString>

namespace store
{

QString decode1251(const char *bytes, qsizetype size);
inline QString decode1251(const QByteArray &bytes)
{
    return decode1251(bytes.constData(), bytes.size());
}

// The 1251 bytes of text; false (and *bytes untouched) when a character has no byte.
bool encode1251(const QString &text, QByteArray *bytes);

} // namespace store
