#pragma once

// Small tables for the store tests: created in a temporary folder through store::Table.

#include "store/table.h"

#include <QFile>
#include <QList>
#include <QString>
#include <QVariant>

namespace fixture
{

// Creates path with fields and rows (values in field order, invalid = blank).
inline void makeTable(const QString &path, const QList<store::FieldDef> &fields,
                      const QList<QVariantList> &rows)
{
    store::Table table;
    table.setFileName(path);
    table.create(fields);
    table.open();
    for (const QVariantList &row : rows) {
        table.append();
        for (int i = 0; i < row.size(); ++i)
            table.setValue(i, row.at(i));
        table.post();
    }
    table.close();
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

} // namespace fixture
