#include "lists/feedratios.h"

#include "store/cursorstate.h"
#include "store/table.h"

#include <QFileInfo>

#include <optional>

namespace lists
{

namespace
{

// Opens the cursor for the length of an operation when it was closed, with the filter
// switched off, and puts everything back afterwards.
class WholeTable final
{
    Q_DISABLE_COPY_MOVE(WholeTable)

public:
    explicit WholeTable(store::Table &table) : table_(table), wasOpen_(table.isOpen())
    {
        if (!wasOpen_)
            table_.open();
        keep_.emplace(table_);
        table_.setFiltered(false);
    }
    ~WholeTable()
    {
        keep_.reset();
        if (!wasOpen_)
            table_.close();
    }

private:
    store::Table &table_;
    bool wasOpen_;
    std::optional<store::CursorStateGuard> keep_;
};

bool exists(const store::Table &ratios)
{
    return QFileInfo(ratios.fileName()).isFile();
}

void writeRecord(store::Table &ratios, int kodkk, const store::RatioRecord &row)
{
    ratios.setNumber(QStringLiteral("KODKK"), kodkk);
    ratios.setNumber(QStringLiteral("K1"), row.numeratorKey);
    ratios.setNumber(QStringLiteral("K2"), row.denominatorKey);
    ratios.setNumber(QStringLiteral("RMIN"), row.minimum);
    ratios.setNumber(QStringLiteral("RMAX"), row.maximum);
    ratios.setText(QStringLiteral("ON"), row.on ? QStringLiteral("+") : QString());
    ratios.post();
}

void freeRecord(store::Table &ratios)
{
    for (const char *field : {"KODKK", "K1", "K2", "RMIN", "RMAX", "ON"})
        ratios.setBlank(QLatin1String(field));
    ratios.post();
}

} // namespace

QList<RatioCharacteristic> ratioCharacteristics(store::Table &pit)
{
    QList<RatioCharacteristic> list;
    for (pit.first(); !pit.eof(); pit.next()) {
        if (pit.integer(QStringLiteral("order")) > 1)
            list.append(
                {pit.integer(QStringLiteral("KEY")), pit.text(QStringLiteral("PIT")).trimmed()});
    }
    pit.first();
    return list;
}

// Every write to the ratios cursor ends flushed (here and in newentry), so the file is read
// as it stands.
QList<store::RatioRecord> readFeedRatios(store::Table &ratios, int kodkk)
{
    QList<store::RatioRecord> rows;
    if (kodkk <= 0)
        return rows;
    for (const store::RatioRecord &r : store::readRatioRecords(ratios.fileName()))
        if (r.kodkk == kodkk)
            rows.append(r);
    return rows;
}

void writeFeedRatios(store::Table &ratios, int kodkk, const QList<store::RatioRecord> &rows)
{
    if (kodkk <= 0)
        return;
    if (!exists(ratios)) {
        if (rows.isEmpty())
            return;
        store::createRatioTable(ratios.fileName());
    }
    {
        WholeTable whole(ratios);
        QList<int> own;
        QList<int> free;
        for (ratios.first(); !ratios.eof(); ratios.next()) {
            const int key = ratios.integer(QStringLiteral("KODKK"));
            if (key == kodkk)
                own.append(ratios.recordNumber());
            else if (key == 0)
                free.append(ratios.recordNumber());
        }
        const QList<int> places = own + free;
        for (int i = 0; i < rows.size(); ++i) {
            if (i < places.size())
                ratios.moveToRecord(places.at(i));
            else
                ratios.append();
            writeRecord(ratios, kodkk, rows.at(i));
        }
        for (int i = int(rows.size()); i < own.size(); ++i) {
            ratios.moveToRecord(own.at(i));
            freeRecord(ratios);
        }
    }
    if (ratios.isOpen())
        ratios.flush();
}

QString ratioBoundsProblem(const store::RatioRecord &row, const QString &name)
{
    if (row.maximum > 0 && row.minimum > row.maximum)
        return QStringLiteral("Минимум соотношения ") + name + QStringLiteral(" больше максимума.");
    return {};
}

} // namespace lists
