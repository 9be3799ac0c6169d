#include "sourcetable.h"

#include "store/numbertext.h"

#include <QFile>
#include <QFileInfo>

#include <stdexcept>

void failWith(const QString &message)
{
    throw std::runtime_error(message.toStdString());
}

QStringList readTextLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        failWith(QStringLiteral("Не удается прочитать файл %1: %2").arg(path, file.errorString()));
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text.split(QLatin1Char('\n'));
}

SourceTable SourceTable::read(const QString &path)
{
    SourceTable table;
    table.path_ = path;
    const QStringList lines = readTextLines(path);
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        QStringList cells = line.split(QLatin1Char(';'));
        for (QString &cell : cells)
            cell = cell.trimmed();
        SourceRow row{i + 1, cells};
        if (table.header_.isEmpty()) {
            table.header_ = cells;
            continue;
        }
        if (cells.size() != table.header_.size())
            table.fail(
                row,
                QStringLiteral("%1 полей вместо %2").arg(cells.size()).arg(table.header_.size()));
        table.rows_.append(row);
    }
    if (table.header_.isEmpty())
        failWith(QStringLiteral("Файл %1 пуст").arg(path));
    return table;
}

int SourceTable::column(const QString &name) const
{
    const int index = int(header_.indexOf(name));
    if (index < 0)
        failWith(QStringLiteral("В файле %1 нет колонки «%2»").arg(path_, name));
    return index;
}

QString SourceTable::text(const SourceRow &row, int column) const
{
    return row.cells.at(column);
}

double SourceTable::number(const SourceRow &row, int column, bool *blank) const
{
    const QString cell = row.cells.at(column);
    if (blank)
        *blank = cell.isEmpty();
    if (cell.isEmpty()) {
        if (!blank)
            fail(row, QStringLiteral("пустое поле «%1»").arg(header_.at(column)));
        return 0;
    }
    bool ok = false;
    const double value = store::parseNumber(cell, &ok);
    if (!ok)
        fail(row, QStringLiteral("«%1» в поле «%2» не число").arg(cell, header_.at(column)));
    return value;
}

void SourceTable::fail(const SourceRow &row, const QString &what) const
{
    failWith(QStringLiteral("%1, строка %2: %3")
                 .arg(QFileInfo(path_).fileName())
                 .arg(row.line)
                 .arg(what));
}
