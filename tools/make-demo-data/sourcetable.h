#pragma once

// One readable source table of the demo data: UTF-8 text, fields separated by ";",
// lines starting with "#" and empty lines ignored, the first remaining line naming
// the columns. Cells are trimmed; every row must have as many cells as the header.

#include <QList>
#include <QString>
#include <QStringList>

struct SourceRow {
    int line = 0; // line number in the file, for messages
    QStringList cells;
};

class SourceTable final
{
public:
    // Reads path; throws std::runtime_error with a message naming the file and line.
    static SourceTable read(const QString &path);

    const QString &path() const { return path_; }
    const QStringList &header() const { return header_; }
    const QList<SourceRow> &rows() const { return rows_; }
    int column(const QString &name) const; // throws when the header lacks it

    // Cell of a row as text, or as a number (an empty cell is "blank": *blank set).
    QString text(const SourceRow &row, int column) const;
    double number(const SourceRow &row, int column, bool *blank = nullptr) const;

    // Message "file, line n: what" as an exception.
    [[noreturn]] void fail(const SourceRow &row, const QString &what) const;

private:
    QString path_;
    QStringList header_;
    QList<SourceRow> rows_;
};

// Reads a whole UTF-8 text file as lines (LF or CRLF); throws when it cannot be read.
QStringList readTextLines(const QString &path);

[[noreturn]] void failWith(const QString &message);
