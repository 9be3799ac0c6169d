#pragma once

// The list-editing scheme shared by the characteristics, raw-materials and feed-types
// lists. Each list is a fixed pool of records ordered by the field `order`: records with
// order first ... N (N, the count, kept in order.dbf) form the list, the others are free
// slots. Adding takes the first free slot (order N + 1) and renumbers; deleting moves the
// entry to the end of the list and lowers N, so that it becomes the first free slot with
// its old values (cleared when it is taken again). Renumbering walks the pool in file
// order, reading each record's order before changing it.
//
// What the three lists do differently is given by ListTraits. The scheme moves records
// and the cursor; the windows show and hide their buttons, ask for confirmation and clear
// the columns of a new entry.

#include <QString>

#include <functional>

namespace store
{
class Table;
}

namespace lists
{

enum class AddPlace { Above, AtEnd };

// The text an add writes into the name fields of the slot it takes: a single blank above
// the current entry, empty text at the end.
inline QString newEntryName(AddPlace place)
{
    return place == AddPlace::Above ? QStringLiteral(" ") : QString();
}

struct ListTraits {
    store::Table *table = nullptr;  // the list's cursor: pit, kk or sir
    store::Table *counts = nullptr; // order.dbf, one record
    QString countField;             // "pit", "KK" or "sir"
    int firstPosition = 1;          // first order shown: 2 for pit (1 is the price)
    int limit = 400;                // visible count at which adding is refused
    bool dropsFilter = false;       // filter dropped before add, delete and a move
    // Writes the name fields of the slot taken by an add (the cursor stands on it; the
    // scheme posts).
    std::function<void(store::Table &, AddPlace)> nameNewEntry;
};

class ListScheme final
{
    Q_DISABLE_COPY_MOVE(ListScheme)

public:
    explicit ListScheme(ListTraits traits);

    const ListTraits &traits() const { return traits_; }
    store::Table &table() const { return *traits_.table; }

    int count() const;        // N from order.dbf
    int visibleCount() const; // records in the list's view as it stands (filter included)
    int currentOrder() const; // order of the current record; 0 when the view is empty
    // Adding is possible: fewer than `limit` entries and a free slot left in the pool.
    bool canAdd() const;

    // Range first ... N on the index order, first record current; measures the pool.
    void activate();
    // Range 1 ... N again, as the other windows expect the list (pit leaves 2 ... N).
    void restoreNormalRange();

    // Takes the first free slot as a blank entry above the current one; the cursor ends
    // on it. Runs with the data source off. False, with nothing changed, when adding is
    // not possible or there is no current entry.
    bool addAbove();
    // Takes the first free slot as a blank entry at the end; the cursor ends on it. The
    // data source stays on, so the move to the new entry passes through scroll events.
    // False, with nothing changed, when adding is not possible.
    bool addAtEnd();
    // Moves the current entry behind the list and lowers the count; the cursor ends on
    // the entry above, or on the new first entry when the first was deleted.
    void deleteCurrent();

    // Two-phase move: remember the current entry, then put it where the cursor stands.
    void beginMove();
    void finishMove();
    void abandonMove() { moveFrom_ = 0; }
    bool moving() const { return moveFrom_ > 0; }

    // Drops the filter (text cleared, filtering off) when the list's traits say so.
    void dropFilter();

private:
    void setCount(int n);
    // Drops the filter as dropFilter() and finds the current entry again; its order.
    int dropFilterKeepingCurrent();
    // Visits the pool in file order; newOrder gives each record's new order.
    void walkPhysical(const std::function<int(int order)> &newOrder);
    void reopenView();

    ListTraits traits_;
    int poolSize_ = 0; // records in the pool, measured on activation
    int moveFrom_ = 0; // order remembered by the first phase of a move
};

} // namespace lists
