#pragma once

// A cursor over one dBASE/FoxPro table (.dbf, text in code page 1251).
//
// The whole table is held in memory while open; posts are written through to the
// file at once and flush() makes them durable (record bytes and the header's record
// count). The cursor offers exactly what the program uses: named in-memory indexes,
// a range on the current index, a text filter ("ot='+'", "kodkk=12",
// "(arnom>0) and (vibor='+')"), navigation, key search, edit/post/append/cancel,
// creation of a table like another, and the events windows hang their behaviour on.
//
// Errors (missing file or field, damaged file, an index key or filtered number that
// cannot be read (store::keyNumber), a value that does not fit its field, a filter that
// cannot be parsed) throw TableError naming the file; a failed operation changes nothing.
//
// Navigation follows the xBase cursor rules the program was written against:
// first() sets bof(); next() on the last visible record sets eof() and stays there;
// an empty view is both bof() and eof(); last() sets eof(). Moving off a record that
// is being edited posts it first. A post keeps the cursor on its record while the record
// stays in the view (following it when its key moved it); a record the post takes out of
// the view leaves the cursor on the record now at its place (or the last one), so a walk
// that clears the filter field of each record still visits every record once.
//
// Index name, filter text and the filtered switch belong to the cursor and survive
// close/open; a range is dropped by close() and by a change of index.

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

#include <memory>
#include <stdexcept>

namespace store
{

class TableError final : public std::runtime_error
{
public:
    explicit TableError(const QString &message);
    QString message() const { return QString::fromUtf8(what()); }
};

// One field of a table definition. type: 'C' text, 'N' number, 'F' float, 'L' logical,
// 'D' date (read as text "yyyyMMdd").
struct FieldDef {
    QString name;
    char type = 'C';
    int width = 10;
    int decimals = 0;
};

// A named index: records ordered by the value of one field (numbers numerically, blank as
// 0; text by its 1251 bytes; a number sought in text is refused), ties in physical order.
struct IndexDef {
    QString name;
    QString field;
};

class Table final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Table)

public:
    enum class State { Inactive, Browse, Edit, Insert };

    explicit Table(const QString &objectName = {}, QObject *parent = nullptr);
    ~Table() override;

    // --- file ---
    void setFileName(const QString &path); // only while closed
    QString fileName() const;
    void open();  // loads the file; throws TableError
    void close(); // posts a pending edit, flushes, releases the file
    bool isOpen() const;
    void flush(); // pending record, record count and date in the header, to disk

    // Creates (replacing) the file named by fileName() with the given definitions and
    // the 1251 language-driver byte; the cursor stays closed.
    void create(const QList<FieldDef> &fields, const QList<IndexDef> &indexes = {});
    // Same, with the field and index definitions of another table (open or closed).
    void createLike(const Table &source);

    // --- structure ---
    QList<FieldDef> fields() const;
    int fieldCount() const;
    int fieldIndex(const QString &name) const; // case-insensitive; -1 when absent
    bool hasField(const QString &name) const;

    // --- indexes, range, filter ---
    void defineIndex(const IndexDef &index); // kept with the cursor, copied by createLike
    QList<IndexDef> indexes() const;
    void setIndexName(const QString &name); // "" = physical order; unknown name throws;
                                            // also on a closed cursor (used at open)
    QString indexName() const;
    void setRange(const QVariant &low, const QVariant &high); // on the current index
    void cancelRange();
    bool hasRange() const;
    QVariant rangeLow() const; // the bounds as given to setRange; invalid without a range
    QVariant rangeHigh() const;
    // Parsed at once, a bad text throws and the old filter stays; on a closed cursor the
    // field names are checked by open().
    void setFilter(const QString &expression);
    QString filter() const;
    void setFiltered(bool on);
    bool filtered() const;

    // --- navigation over the view (index order, range, filter; deleted records skipped)
    void first();
    void last();
    void next();
    void prior();
    bool bof() const;
    bool eof() const;
    bool isEmpty() const;
    int viewCount() const;             // records in the view
    int viewPosition() const;          // 0-based position of the current record; -1 when empty
    void moveTo(int position);         // to a view position (grids)
    bool findKey(const QVariant &key); // on the current index; not found: cursor stays
    // The current record by its place in the file (from 0; -1 when the view is empty),
    // and a move back to it; false, the cursor staying, when it is not in the view.
    int recordNumber() const;
    bool moveToRecord(int record);

    // --- reading fields of the current record ---
    // An invalid QVariant for a blank field; an UnreadableNumber (store/unreadablenumber.h)
    // for a numeric field that holds no number.
    QVariant value(const QString &field) const;
    QVariant value(int field) const;
    QString text(const QString &field) const; // trailing blanks removed
    // Blank reads 0; a numeric field that holds no number throws, naming the record.
    double number(const QString &field) const;
    int integer(const QString &field) const;
    bool logical(const QString &field) const;
    bool isBlank(const QString &field) const;
    // Reading a field of any view row without moving the cursor (grids).
    QVariant valueAt(int position, int field) const;

    // --- changing records ---
    State state() const;
    void edit();
    void append(); // a new blank record at the end; State::Insert until post/cancel
    void post();   // writes the record to the file; index order follows the new values
    void cancel();
    // Setters start an edit on a browsing cursor. An invalid QVariant writes a blank
    // field. A value that cannot be stored as it is (too wide, not in 1251) throws.
    void setValue(const QString &field, const QVariant &value);
    void setValue(int field, const QVariant &value);
    void setText(const QString &field, const QString &value);
    void setNumber(const QString &field, double value);
    void setBlank(const QString &field);

    // --- deferred writes: while on, posts of existing records stay in memory until
    // flush(), close() or switching off writes them in one pass (bulk changes, see
    // store/deferredwrites.h); appended records are written at once as always.
    void setWritesDeferred(bool on); // off writes what is pending; throws TableError
    bool writesDeferred() const;

    // --- data-source switch: while off, grids ignore the cursor (bulk operations)
    void setDataSourceEnabled(bool on);
    bool dataSourceEnabled() const;

signals:
    // Around every change of the current record: first/last/next/prior/moveTo/findKey
    // when they land on another record, and a post that takes the record out of the view.
    // setIndexName/setRange/cancelRange/setFilter/setFiltered reposition to the first
    // record with both events (beforeScroll only when there was a current record) when
    // they change the view: the same index name, the same filter text, the same switch,
    // cancelRange without a range, or a new filter text while filtering is off only post
    // a pending edit and leave view, range and position alone. open() sends afterScroll
    // alone. next() on the last record only sets eof().
    void beforeScroll();
    void afterScroll();
    void afterInsert();               // after append() created the new record (no scroll events)
    void viewChanged();               // rows appeared, vanished or were reordered
    void recordChanged(int position); // a posted record's values changed
    void dataSourceToggled(bool on);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace store
