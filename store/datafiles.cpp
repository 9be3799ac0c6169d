#include "store/datafiles.h"

#include "store/fieldcodec.h"
#include "store/ratiotable.h"
#include "store/table.h"

#include <QFileInfo>
#include <QHash>

namespace store
{

const QStringList &tableFileNames()
{
    static const QStringList names{"pit.dbf",  "kk.dbf",    "sir.dbf",   "norm.dbf",  "order.dbf",
                                   "arkk.dbf", "arsir.dbf", "arpit.dbf", "arprem.dbf"};
    return names;
}

const QStringList &optionalTableFileNames()
{
    static const QStringList names{kRatioFileName};
    return names;
}

QStringList presentTableFileNames(const QString &folder)
{
    QStringList names = tableFileNames();
    for (const QString &name : optionalTableFileNames())
        if (QFileInfo::exists(folder + QLatin1Char('/') + name))
            names.append(name);
    return names;
}

const QStringList &programFileNames()
{
    static const QStringList names =
        tableFileNames() + optionalTableFileNames() +
        QStringList{"cons.txt", "pit.txt", "sir.txt",   "kk.txt",    "ras.txt",
                    "smes.txt", "arh.txt", "param.txt", "rezerv.txt"};
    return names;
}

bool isProgramFile(const QString &fileName)
{
    return programFileNames().contains(fileName, Qt::CaseInsensitive);
}

QString newTableFileName(const QString &path)
{
    const QFileInfo info(path);
    return info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".new.dbf");
}

QStringList keyFieldNames(const QString &fileName)
{
    static const QHash<QString, QStringList> keys{
        {"pit.dbf", {"order", "KEY"}},
        {"kk.dbf", {"order", "kodkk"}},
        {"sir.dbf", {"order", "kods"}},
        {"norm.dbf", {"kodkk", "kods"}},
        {"arkk.dbf", {"arnom"}},
        {"arsir.dbf", {"arnom"}},
        {"arpit.dbf", {"arnom"}},
        {"arprem.dbf", {"arnom"}},
        {kRatioFileName, {"KODKK", "K1", "K2"}},
    };
    return keys.value(fileName.toLower());
}

namespace
{

QString typeText(char type)
{
    const auto code = static_cast<unsigned char>(type);
    return code > 0x20 && code < 0x7F ? QString(QLatin1Char(type))
                                      : QStringLiteral("0x%1").arg(code, 2, 16, QLatin1Char('0'));
}

// Every record's key is read by ordering the table on it: the table layer's own rule.
void checkKeyField(Table &table, const QString &name)
{
    const int index = table.fieldIndex(name);
    if (index < 0)
        return;
    const FieldDef field = table.fields().at(index);
    if (!isNumericType(field.type))
        throw TableError(QStringLiteral("Таблица %1: поле %2 должно быть числовым, а его тип %3")
                             .arg(table.fileName(), field.name, typeText(field.type)));
    table.defineIndex({field.name, field.name});
    table.setIndexName(field.name);
}

} // namespace

QString tableReadProblem(const QString &path)
{
    Table table;
    table.setFileName(path);
    try {
        table.open();
        for (const QString &key : keyFieldNames(QFileInfo(path).fileName()))
            checkKeyField(table, key);
        table.close();
    } catch (const TableError &error) {
        return error.message();
    }
    return {};
}

} // namespace store
