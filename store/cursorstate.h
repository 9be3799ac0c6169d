#pragma once

// The state a window leaves on a shared cursor: its index, range, filter text, filter
// switch and current record. An operation that changes them for a walk and must put
// them back — also when a table error ends it half-way — saves them in a guard:
//
//     store::CursorStateGuard keep(dm.archiveCompositions);  // put back when the block ends
//     table.setFilter(...); ... walk ...
//
// or keeps what it reached when it succeeds:
//
//     store::CursorStateGuard keep(arkk);
//     ... walk, throwing on a table error ...
//     keep.dismiss(); // done: the new view and position stay
//
// A pending edit or insert of the failed operation is cancelled before the state is put
// back. The data-source switch is DataSourceOff's business.

#include "store/table.h"

namespace store
{

struct CursorState {
    QString indexName;
    bool ranged = false;
    QVariant rangeLow;
    QVariant rangeHigh;
    QString filter;
    bool filtered = false;
    int record = -1;  // place in the file, -1 when the view was empty
    bool eof = false; // the cursor stood past the end

    static CursorState of(const Table &table);
    // Puts the state back: the record when it is still in the view, else the first
    // record. A closed cursor gets its index and filter only. Throws TableError.
    void restore(Table &table) const;
};

class CursorStateGuard final
{
    Q_DISABLE_COPY_MOVE(CursorStateGuard)

public:
    explicit CursorStateGuard(Table &table) : table_(table), state_(CursorState::of(table)) {}
    // Puts the state back unless dismissed; a failure to do so is swallowed (the
    // operation's own error is the one reported).
    ~CursorStateGuard();

    void dismiss() { dismissed_ = true; }
    const CursorState &saved() const { return state_; }

private:
    Table &table_;
    CursorState state_;
    bool dismissed_ = false;
};

} // namespace store
