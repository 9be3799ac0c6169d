#include "listsfixture.h"

#include <QMessageBox>

namespace
{

using store::FieldDef;

QList<FieldDef> characteristicColumns(bool withMaxima)
{
    QList<FieldDef> fields;
    for (int key = 1; key <= 65; ++key)
        fields.append({QStringLiteral("MI%1").arg(key), 'N', 12, 4});
    for (int key = 1; withMaxima && key <= 65; ++key)
        fields.append({QStringLiteral("MA%1").arg(key), 'N', 12, 4});
    return fields;
}

QList<FieldDef> pitFields()
{
    return {{"PIT", 'C', 20, 0}, {"EDIZ", 'C', 12, 0}, {"KEY", 'N', 3, 0}, {"order", 'N', 3, 0}};
}

QList<FieldDef> kkFields()
{
    QList<FieldDef> fields{{"TIP", 'C', 10, 0},
                           {"NASN", 'C', 122, 0},
                           {"GOST", 'C', 10, 0},
                           {"NDS", 'N', 5, 2},
                           {"VES", 'N', 10, 3}};
    fields += characteristicColumns(true);
    fields += QList<FieldDef>{{"kodkk", 'N', 4, 0},
                              {"order", 'N', 4, 0},
                              {"ot", 'C', 1, 0},
                              {"vibor", 'C', 1, 0},
                              {"vib", 'C', 1, 0}};
    return fields;
}

QList<FieldDef> sirFields()
{
    QList<FieldDef> fields{{"NAIM", 'C', 30, 0}, {"PREM", 'C', 1, 0}};
    fields += characteristicColumns(false);
    fields += QList<FieldDef>{{"VES", 'N', 10, 3},  {"kods", 'N', 4, 0},  {"order", 'N', 4, 0},
                              {"ot", 'C', 1, 0},    {"vibor", 'C', 1, 0}, {"vib", 'C', 1, 0},
                              {"MINOR", 'N', 8, 3}, {"MANOR", 'N', 8, 3}};
    return fields;
}

void create(const QString &path, const QList<FieldDef> &fields,
            const std::function<void(store::Table &, int)> &fill, int records)
{
    store::Table table;
    table.setFileName(path);
    table.create(fields);
    table.open();
    for (int i = 1; i <= records; ++i) {
        table.append();
        fill(table, i);
        table.post();
    }
    table.close();
}

} // namespace

namespace
{

QtMessageHandler previousHandler = nullptr;

// The offscreen platform warns about every window shown; that says nothing about the
// program. Everything else goes to the test's own handler.
void quietMessages(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (text.contains(QLatin1String("propagateSizeHints")))
        return;
    if (previousHandler)
        previousHandler(type, context, text);
}

} // namespace

ListsFixture::ListsFixture(const ListsData &data)
{
    if (!previousHandler)
        previousHandler = qInstallMessageHandler(quietMessages);
    build(data);
    restart();
}

ListsFixture::~ListsFixture() = default;

void ListsFixture::build(const ListsData &data)
{
    create(
        path("pit.dbf"), pitFields(),
        [](store::Table &t, int i) {
            t.setText("PIT",
                      i == 1 ? QStringLiteral("Цена") : QStringLiteral("ХАРАКТЕРИСТИКА %1").arg(i));
            t.setText("EDIZ", i == 1 ? QStringLiteral("руб/т") : QStringLiteral("%"));
            t.setNumber("KEY", i);
            t.setNumber("order", i);
        },
        65);
    create(
        path("kk.dbf"), kkFields(),
        [](store::Table &t, int i) {
            t.setText("TIP", QStringLiteral("ТИП %1").arg(i));
            t.setText("NASN", QStringLiteral("Комбикорм номер %1 для птицы").arg(i));
            t.setText("GOST", QStringLiteral("ГОСТ-%1").arg(i));
            t.setNumber("NDS", 10);
            t.setNumber("VES", i);
            for (int key = 1; key <= 65; ++key) {
                t.setNumber(QStringLiteral("MI%1").arg(key), i * 100 + key);
                t.setNumber(QStringLiteral("MA%1").arg(key), i * 100 + key + 0.5);
            }
            t.setNumber("kodkk", i);
            t.setNumber("order", i);
        },
        data.feedPool);
    create(
        path("sir.dbf"), sirFields(),
        [](store::Table &t, int i) {
            t.setText("NAIM", QStringLiteral("СЫРЬЕ %1").arg(i));
            for (int key = 1; key <= 65; ++key)
                t.setNumber(QStringLiteral("MI%1").arg(key), i * 100 + key);
            t.setNumber("VES", 50);
            t.setNumber("kods", i);
            t.setNumber("order", i);
            t.setNumber("MINOR", 0);
            t.setNumber("MANOR", 0);
        },
        data.rawPool);
    create(
        path("norm.dbf"),
        {{"kodkk", 'N', 4, 0}, {"kods", 'N', 4, 0}, {"min", 'N', 8, 3}, {"max", 'N', 8, 3}},
        [](store::Table &, int) {}, 0);
    create(
        path("order.dbf"),
        {{"pit", 'N', 3, 0}, {"KK", 'N', 4, 0}, {"sir", 'N', 4, 0}, {"arhnom", 'N', 5, 0}},
        [&data](store::Table &t, int) {
            t.setNumber("pit", data.characteristics);
            t.setNumber("KK", data.feedCount);
            t.setNumber("sir", data.rawCount);
            t.setNumber("arhnom", 0);
        },
        1);
    for (const char *name : {"arkk.dbf", "arsir.dbf", "arpit.dbf", "arprem.dbf"})
        create(
            path(QLatin1String(name)), {{"arnom", 'N', 5, 0}, {"vibor", 'C', 1, 0}},
            [](store::Table &, int) {}, 0);
}

void ListsFixture::restart()
{
    dm_.reset();
    QString error;
    dm_ = store::DataModule::create(dir(), &error);
    if (!dm_)
        qFatal("data module: %s", qPrintable(error));
    dm_->setNormalState();
    dm_->countSelected();
}

std::unique_ptr<store::Table> ListsFixture::fresh(const QString &file) const
{
    auto table = std::make_unique<store::Table>();
    table->setFileName(path(file));
    table->defineIndex({"order", "order"});
    table->defineIndex({"si", "kods"});
    table->open();
    if (table->hasField("order"))
        table->setIndexName("order");
    return table;
}

int ListsFixture::count(const QString &field) const
{
    auto order = fresh("order.dbf");
    return order->integer(field);
}

QStringList ListsFixture::listTexts(const QString &file, const QString &field, int first) const
{
    const QString countField = file.startsWith("pit")  ? "pit"
                               : file.startsWith("kk") ? "KK"
                                                       : "sir";
    const int n = count(countField);
    auto table = fresh(file);
    table->setRange(first, n);
    QStringList texts;
    for (table->first(); !table->eof(); table->next())
        texts << table->text(field).trimmed();
    return texts;
}

void catchNextMessage(QString *text)
{
    onNextModal<QMessageBox>([text](QMessageBox *box) {
        // every message of the program is captioned with its title
        *text = box->windowTitle() == QStringLiteral("Кормоплан")
                    ? box->text()
                    : QStringLiteral("caption \"%1\": %2").arg(box->windowTitle(), box->text());
        box->accept();
    });
}
