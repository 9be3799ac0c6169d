#pragma once

// Defers the writes of a cursor's posts for the life of the object: a walk that changes
// thousands of records writes them in one pass at its end instead of one file write per
// post. The operation calls write() when it is done, so that a failed write is reported
// as its error; if the operation ends by an error instead, the records still pending are
// written on the way out, or else by the next flush() or close(), which report a failure.
//
//     store::DeferredWrites deferred(table);
//     ... walk, edit, post ...
//     deferred.write();

#include "store/table.h"

namespace store
{

class DeferredWrites final
{
    Q_DISABLE_COPY_MOVE(DeferredWrites)

public:
    explicit DeferredWrites(Table &table) : table_(table), wasOn_(table.writesDeferred())
    {
        table_.setWritesDeferred(true);
    }
    ~DeferredWrites()
    {
        try {
            table_.setWritesDeferred(wasOn_);
        } catch (const TableError &) {
            // still pending: the next flush() or close() writes them or reports why not
        }
    }

    // Writes the pending records and the header; throws TableError.
    void write() { table_.flush(); }

private:
    Table &table_;
    bool wasOn_;
};

} // namespace store
