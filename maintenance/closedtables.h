#pragma once

// The table cursors of the data module (all but the scratch one) closed for a copy of their files,
// and opened again after it.
//
// Closing posts a pending edit and flushes each table, so the files hold everything the
// run has posted. Reopening brings the lists back into their normal state (index "order",
// range 1 ... count from order.dbf, unfiltered), recounts the selected entries (a restore
// may have brought other ones) and puts each cursor back on the record it stood on: the
// lists by their "order" key, the other tables by their position in the view. A table
// that was closed before stays closed (norm is open only within an operation).

#include <QList>
#include <QStringList>

namespace store
{
class Table;
class DataModule;
} // namespace store

namespace maintenance
{

class ClosedTables final
{
    Q_DISABLE_COPY_MOVE(ClosedTables)

public:
    explicit ClosedTables(store::DataModule &dataModule);
    // Reopens the tables if reopen() has not run (an operation cut short by an error).
    ~ClosedTables();

    // What went wrong while closing (a pending edit that could not be posted).
    QStringList closeErrors() const { return closeErrors_; }
    // Opens the tables again; what could not be opened, as messages.
    QStringList reopen();

private:
    struct Saved {
        store::Table *table = nullptr;
        bool open = false;
        int position = -1; // view position, the "order" key for the lists
    };
    void reopenLists(QStringList &errors);

    store::DataModule &dataModule_;
    QList<Saved> saved_;
    QStringList closeErrors_;
    bool reopened_ = false;
};

} // namespace maintenance
