#pragma once

// Raw access to one .dbf file: the header is checked before anything is trusted, all
// records are read into memory as bytes, and a written record goes through to the file
// at once together with the header's record count and date. While writes are deferred,
// a rewritten record (not an appended one) stays in memory until flush() writes all of
// them in one pass.

#include "store/table.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <set>
#include <vector>

namespace store
{

// A field as it lies in the record: its definition and its first byte (byte 0 of a
// record is the deletion mark).
struct DbfField {
    FieldDef def;
    int offset = 0;
};

class DbfFile final
{
    Q_DISABLE_COPY_MOVE(DbfFile)

public:
    DbfFile() = default;
    ~DbfFile();

    // Reads and checks the whole file; throws TableError naming displayName.
    void open(const QString &path, const QString &displayName);
    void close();
    bool isOpen() const { return !path_.isEmpty(); }

    // Only the field definitions of an existing file (for a table made like it).
    static QList<FieldDef> readFieldDefs(const QString &path, const QString &displayName);
    // A new file with these fields and no records, replacing path only once complete.
    static void create(const QString &path, const QString &displayName,
                       const QList<FieldDef> &fields);

    const QList<DbfField> &fields() const { return fields_; }
    int recordLength() const { return recordLength_; }
    int recordCount() const { return int(records_.size()); }
    const QByteArray &record(int index) const { return records_[size_t(index)]; }
    bool isDeleted(int index) const { return records_[size_t(index)].at(0) == '*'; }
    QByteArray blankRecord() const { return QByteArray(recordLength_, ' '); }

    // Writes record index (index == recordCount() appends) and the header, flushed.
    void writeRecord(int index, const QByteArray &bytes);
    // Writes the deferred records and the header. A record that could not be written
    // stays deferred for the next flush.
    void flush();
    // Switching off writes the deferred records (flush()); those it fails to write stay
    // for the next flush.
    void setDeferred(bool on);
    bool deferred() const { return deferred_; }
    bool hasDeferredRecords() const { return !deferredRecords_.empty(); }

private:
    struct Header;
    static Header parse(const QByteArray &bytes, const QString &displayName);
    void openWriter();
    void checkCountOnDisk() const;

    QString path_;
    QString displayName_;
    QList<DbfField> fields_;
    int recordLength_ = 0;
    std::vector<QByteArray> records_;
    void *writer_ = nullptr; // shapelib handle, opened on the first write
    bool deferred_ = false;
    std::set<int> deferredRecords_; // in file order
};

} // namespace store
