// dbfdump: prints the records of a table, the named fields separated by '|' (UTF-8),
// or writes a small sample table with Cyrillic text, numbers and blanks.
// Exit status: 0 read whole; 1 the table cannot be read (the reason on stderr);
// 2 wrong arguments; 3 read, but number fields hold no number (printed as they stand,
// each named on stderr).

#include "store/table.h"
#include "store/unreadablenumber.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

namespace
{

constexpr char kUsage[] = "Использование: dbfdump ФАЙЛ [ПОЛЕ ...]\n"
                          "               dbfdump --sample ФАЙЛ\n";

int usage()
{
    QTextStream(stderr) << kUsage;
    return 2;
}

int help()
{
    QTextStream(stdout)
        << kUsage
        << "\n"
           "Печатает записи таблицы dBASE (.dbf, кодовая страница 1251) в UTF-8, по строке на\n"
           "запись: значения названных полей (без полей - всех) через \"|\".\n"
           "С --sample записывает небольшую пробную таблицу в ФАЙЛ.\n"
           "\n"
           "Код возврата: 0 - таблица прочитана; 1 - таблицу нельзя прочитать (причина в\n"
           "stderr); 2 - неверные параметры; 3 - в числовых полях не числа (напечатаны как\n"
           "есть, названы в stderr).\n";
    return 0;
}

void writeSample(const QString &path)
{
    store::Table table;
    table.setFileName(path);
    table.create({{"NAIM", 'C', 30, 0},
                  {"VES", 'N', 10, 3},
                  {"order", 'N', 4, 0},
                  {"ot", 'C', 1, 0},
                  {"FLAG", 'L', 1, 0}});
    table.open();
    const QList<QVariantList> rows{{"Мука пшеничная", 12.5, 1, "+", true},
                                   {" Ячмень ёлочный", QVariant(), 2, "", false},
                                   {"Соль «Экстра»", -0.125, 3, "+", QVariant()}};
    for (const QVariantList &row : rows) {
        table.append();
        for (int i = 0; i < row.size(); ++i)
            table.setValue(i, row.at(i));
        table.post();
    }
    table.close();
}

// Prints the records; a number field that holds no number is printed as it stands and
// named in problems.
void dump(const QString &path, QStringList fields, QStringList *problems)
{
    store::Table table;
    table.setFileName(path);
    table.open();
    if (fields.isEmpty()) {
        for (const store::FieldDef &field : table.fields())
            fields << field.name;
    }
    QTextStream out(stdout);
    for (table.first(); !table.eof(); table.next()) {
        QStringList values;
        for (const QString &field : fields) {
            const QVariant value = table.value(field);
            if (store::isUnreadableNumber(value)) {
                values << store::unreadableText(value);
                try {
                    table.number(field); // the message naming table, record and field
                } catch (const store::TableError &e) {
                    problems->append(e.message());
                }
            } else {
                values << (value.isValid() ? value.toString() : QString());
            }
        }
        out << values.join(QLatin1Char('|')) << '\n';
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    if (args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h"))
        return help();
    try {
        if (args.first() == QLatin1String("--sample")) {
            if (args.size() != 2)
                return usage();
            writeSample(args.at(1));
        } else {
            const QString path = args.takeFirst();
            QStringList problems;
            dump(path, args, &problems);
            if (!problems.isEmpty()) {
                QTextStream(stderr) << problems.join(QLatin1Char('\n')) << '\n';
                return 3;
            }
        }
    } catch (const store::TableError &e) {
        QTextStream(stderr) << e.message() << '\n';
        return 1;
    }
    return 0;
}
