#include "lp/lpexport.h"

#include <QSaveFile>

#include <charconv>

namespace lp
{

namespace
{

// The shortest text that reads back to exactly x.
QByteArray number(double x)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, x).ptr;
    return QByteArray(text, int(end - text));
}

QByteArray name(char prefix, int index)
{
    return prefix + QByteArray::number(index);
}

void appendTerm(QByteArray &out, double a, const QByteArray &variable, int &onLine)
{
    out += a < 0 ? " - " : " + ";
    out += number(a < 0 ? -a : a);
    out += ' ';
    out += variable;
    if (++onLine == 8) {
        out += "\n   ";
        onLine = 0;
    }
}

QByteArray lpText(const Programme &p, const ColumnNote &note)
{
    const int n = p.columnCount();
    const int m = p.rowCount();
    QByteArray out;
    out += "\\ Kormoplan calculation programme: " + QByteArray::number(m) + " rows, " +
           QByteArray::number(n) + " columns\n";
    if (note)
        for (ColIndex j(1); j.number() <= n; ++j)
            out += "\\ x" + QByteArray::number(j.number()) + ": " + note(j) + "\n";
    out += "Minimize\n obj:";
    int onLine = 0;
    for (ColIndex j(1); j.number() <= n; ++j) {
        out += " + ";
        out += number(p.cost(j));
        out += " x" + QByteArray::number(j.number());
        if (++onLine == 8) {
            out += "\n   ";
            onLine = 0;
        }
    }
    out += "\nSubject To\n";
    for (RowIndex i(1); i.number() <= m; ++i) {
        out += ' ' + name('r', i.number()) + ':';
        onLine = 0;
        for (const Entry &e : p.row(i))
            appendTerm(out, e.value, name('x', e.column.number()), onLine);
        if (p.rowLower(i) == p.rowUpper(i))
            out += " = " + number(p.rowUpper(i)) + '\n';
        else
            out += " - " + name('y', i.number()) + " = 0\n";
    }
    out += "Bounds\n";
    for (ColIndex j(1); j.number() <= n; ++j)
        out += ' ' + number(p.columnLower(j)) + " <= " + name('x', j.number()) +
               " <= " + number(p.columnUpper(j)) + '\n';
    for (RowIndex i(1); i.number() <= m; ++i)
        if (p.rowLower(i) != p.rowUpper(i))
            out += ' ' + number(p.rowLower(i)) + " <= " + name('y', i.number()) +
                   " <= " + number(p.rowUpper(i)) + '\n';
    out += "End\n";
    return out;
}

// The entries column by column, rows ascending: (row, a) of each column.
std::vector<std::vector<std::pair<RowIndex, double>>> columnsOf(const Programme &p)
{
    std::vector<std::vector<std::pair<RowIndex, double>>> columns(std::size_t(p.columnCount()));
    for (RowIndex i(1); i.number() <= p.rowCount(); ++i)
        for (const Entry &e : p.row(i))
            columns[std::size_t(e.column.number() - 1)].push_back({i, e.value});
    return columns;
}

QByteArray mpsText(const Programme &p)
{
    const int m = p.rowCount();
    auto upperRow = [&](RowIndex i) { return name('r', i.number()) + 'u'; };
    auto split = [&](RowIndex i) { return p.rowLower(i) > p.rowUpper(i); };
    QByteArray out = "NAME KORMOPLAN\nROWS\n N obj\n";
    for (RowIndex i(1); i.number() <= m; ++i) {
        out += (p.rowLower(i) == p.rowUpper(i) ? " E " : " G ") + name('r', i.number()) + '\n';
        if (split(i)) // bounds the wrong way round: two rows, so nothing is lost
            out += " L " + upperRow(i) + '\n';
    }
    out += "COLUMNS\n";
    const auto columns = columnsOf(p);
    for (ColIndex j(1); j.number() <= p.columnCount(); ++j) {
        const QByteArray x = name('x', j.number());
        out += ' ' + x + " obj " + number(p.cost(j)) + '\n';
        for (const auto &[i, a] : columns[std::size_t(j.number() - 1)]) {
            out += ' ' + x + ' ' + name('r', i.number()) + ' ' + number(a) + '\n';
            if (split(i))
                out += ' ' + x + ' ' + upperRow(i) + ' ' + number(a) + '\n';
        }
    }
    out += "RHS\n";
    for (RowIndex i(1); i.number() <= m; ++i) {
        out += " RHS " + name('r', i.number()) + ' ' + number(p.rowLower(i)) + '\n';
        if (split(i))
            out += " RHS " + upperRow(i) + ' ' + number(p.rowUpper(i)) + '\n';
    }
    out += "RANGES\n";
    for (RowIndex i(1); i.number() <= m; ++i)
        if (p.rowLower(i) < p.rowUpper(i))
            out += " RNG " + name('r', i.number()) + ' ' + number(p.rowUpper(i) - p.rowLower(i)) +
                   '\n';
    out += "BOUNDS\n";
    for (ColIndex j(1); j.number() <= p.columnCount(); ++j) {
        out += " LO BND " + name('x', j.number()) + ' ' + number(p.columnLower(j)) + '\n';
        out += " UP BND " + name('x', j.number()) + ' ' + number(p.columnUpper(j)) + '\n';
    }
    out += "ENDATA\n";
    return out;
}

} // namespace

QByteArray programmeText(const Programme &programme, LpFormat format, const ColumnNote &note)
{
    return format == LpFormat::CplexLp ? lpText(programme, note) : mpsText(programme);
}

bool exportProgramme(const Programme &programme, const QString &path, LpFormat format,
                     QString *error, const ColumnNote &note)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(programmeText(programme, format, note)) < 0 || !file.commit()) {
        if (error)
            *error =
                QStringLiteral("Не удалось записать файл %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace lp
