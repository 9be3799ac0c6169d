#include "archive/archivetables.h"

#include <QDir>

namespace archive
{

namespace
{

store::FieldDef text(const char *name, int width)
{
    return {QString::fromLatin1(name), 'C', width, 0};
}

store::FieldDef number(const char *name, int width, int decimals)
{
    return {QString::fromLatin1(name), 'N', width, decimals};
}

store::FieldDef logical(const char *name)
{
    return {QString::fromLatin1(name), 'L', 1, 0};
}

store::FieldDef archiveNumber()
{
    return number("arnom", 5, 0);
}

void create(const QString &dataDir, const char *file, const QList<store::FieldDef> &fields)
{
    store::Table table;
    table.setFileName(QDir(dataDir).filePath(QString::fromLatin1(file)));
    table.create(fields);
}

} // namespace

QList<store::FieldDef> arkkFields()
{
    return {archiveNumber(),         text("data", 10),    text("gost", 15),
            text("naim", 60),        text("nasn", 123),   text("prim", 254),
            number("ves", 12, 3),    number("nds", 8, 3), number("izder", 12, 2),
            number("gran", 12, 2),   text("gk", 1),       number("procprib", 8, 3),
            number("procpot", 8, 3), logical("kn1"),      logical("kn3"),
            logical("kn5"),          text("vibor", 1)};
}

QList<store::FieldDef> arsirFields()
{
    return {archiveNumber(),         text("prem", 1),        text("naim", 30),
            number("ves", 12, 3),    number("procin", 8, 3), number("price", 12, 2),
            number("pricein", 16, 6)};
}

QList<store::FieldDef> arpitFields()
{
    return {archiveNumber(),     text("pit", 20),     text("ediz", 12),   number("mi", 16, 6),
            number("ma", 16, 6), number("fa", 16, 6), number("ra", 16, 6)};
}

QList<store::FieldDef> arpremFields()
{
    return {archiveNumber(), text("pit", 20), text("ediz", 12), number("ra", 16, 6)};
}

void createArchiveTables(const QString &dataDir)
{
    create(dataDir, "arkk.dbf", arkkFields());
    create(dataDir, "arsir.dbf", arsirFields());
    create(dataDir, "arpit.dbf", arpitFields());
    create(dataDir, "arprem.dbf", arpremFields());
}

} // namespace archive
