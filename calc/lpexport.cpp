#include "calc/lpexport.h"

#include <QSaveFile>

#include <charconv>

namespace calc
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

// Coefficient a(i, j) of the programme; the list holds it negated.
double coefficient(const ProblemRecord &rec, int i, int j)
{
    return -rec.coef.at(i, j);
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

QByteArray lpText(const ProblemRecord &rec)
{
    const int n = rec.columnCount;
    const int m = rec.rowCount;
    QByteArray out;
    out += "\\ Kormoplan calculation programme: " + QByteArray::number(m) + " rows, " +
           QByteArray::number(n) + " columns\n";
    for (int j = 1; j <= n; ++j)
        out += "\\ x" + QByteArray::number(j) + ": feed type " +
               QByteArray::number(rec.columnFeed[j]) + ", raw material " +
               QByteArray::number(rec.columnRaw[j]) + "\n";
    out += "Minimize\n obj:";
    int onLine = 0;
    for (int j = 1; j <= n; ++j) {
        out += " + ";
        out += number(rec.columnValue[j]);
        out += " x" + QByteArray::number(j);
        if (++onLine == 8) {
            out += "\n   ";
            onLine = 0;
        }
    }
    out += "\nSubject To\n";
    for (int i = 1; i <= m; ++i) {
        out += ' ' + name('r', i) + ':';
        onLine = 0;
        for (int j = 1; j <= n; ++j) {
            const double a = coefficient(rec, i, j);
            if (a != 0)
                appendTerm(out, a, name('x', j), onLine);
        }
        if (rec.rowLower[i] == rec.rowUpper[i])
            out += " = " + number(rec.rowUpper[i]) + '\n';
        else
            out += " - " + name('y', i) + " = 0\n";
    }
    out += "Bounds\n";
    for (int j = 1; j <= n; ++j)
        out += ' ' + number(rec.columnLower[j]) + " <= " + name('x', j) +
               " <= " + number(rec.columnUpper[j]) + '\n';
    for (int i = 1; i <= m; ++i)
        if (rec.rowLower[i] != rec.rowUpper[i])
            out += ' ' + number(rec.rowLower[i]) + " <= " + name('y', i) +
                   " <= " + number(rec.rowUpper[i]) + '\n';
    out += "End\n";
    return out;
}

QByteArray mpsText(const ProblemRecord &rec)
{
    const int n = rec.columnCount;
    const int m = rec.rowCount;
    auto upperRow = [&](int i) { return name('r', i) + 'u'; };
    auto split = [&](int i) { return rec.rowLower[i] > rec.rowUpper[i]; };
    QByteArray out = "NAME KORMOPLAN\nROWS\n N obj\n";
    for (int i = 1; i <= m; ++i) {
        out += (rec.rowLower[i] == rec.rowUpper[i] ? " E " : " G ") + name('r', i) + '\n';
        if (split(i)) // bounds the wrong way round: two rows, so nothing is lost
            out += " L " + upperRow(i) + '\n';
    }
    out += "COLUMNS\n";
    for (int j = 1; j <= n; ++j) {
        const QByteArray x = name('x', j);
        out += ' ' + x + " obj " + number(rec.columnValue[j]) + '\n';
        for (int i = 1; i <= m; ++i) {
            const double a = coefficient(rec, i, j);
            if (a == 0)
                continue;
            out += ' ' + x + ' ' + name('r', i) + ' ' + number(a) + '\n';
            if (split(i))
                out += ' ' + x + ' ' + upperRow(i) + ' ' + number(a) + '\n';
        }
    }
    out += "RHS\n";
    for (int i = 1; i <= m; ++i) {
        out += " RHS " + name('r', i) + ' ' + number(rec.rowLower[i]) + '\n';
        if (split(i))
            out += " RHS " + upperRow(i) + ' ' + number(rec.rowUpper[i]) + '\n';
    }
    out += "RANGES\n";
    for (int i = 1; i <= m; ++i)
        if (rec.rowLower[i] < rec.rowUpper[i])
            out += " RNG " + name('r', i) + ' ' + number(rec.rowUpper[i] - rec.rowLower[i]) + '\n';
    out += "BOUNDS\n";
    for (int j = 1; j <= n; ++j) {
        out += " LO BND " + name('x', j) + ' ' + number(rec.columnLower[j]) + '\n';
        out += " UP BND " + name('x', j) + ' ' + number(rec.columnUpper[j]) + '\n';
    }
    out += "ENDATA\n";
    return out;
}

} // namespace

QByteArray programmeText(const ProblemRecord &record, LpFormat format)
{
    return format == LpFormat::CplexLp ? lpText(record) : mpsText(record);
}

bool exportProgramme(const ProblemRecord &record, const QString &path, LpFormat format,
                     QString *error)
{
    if (!record.coef.allocated() && record.rowCount > 0 && record.columnCount > 0) {
        if (error)
            *error = QStringLiteral("Линейная программа не составлена: выгружать нечего.");
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(programmeText(record, format)) < 0 ||
        !file.commit()) {
        if (error)
            *error =
                QStringLiteral("Не удалось записать файл %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace calc
