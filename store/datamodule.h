#pragma once

// The data module: one cursor per table of the data directory, shared by every window.
//
// Every window reads and writes through these cursors, so the index, range, filter and
// position one window leaves are what the next one sees. order.dbf and the four archive
// tables open with the module; pit, kk and sir are put into their normal state when the
// main window first becomes active; norm and ratio are opened only for the length of an
// operation (ratio.dbf may be missing: no ratios); scratch is a scratch cursor without a file until
// one is given to it.

#include "store/table.h"

#include <QList>
#include <QObject>
#include <QString>

#include <memory>

namespace store
{

class DataModule final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DataModule)

public:
    // The module over dataDirectory with order.dbf and the archive tables open, or null
    // with *error set (a Russian message naming the missing or damaged file).
    static std::unique_ptr<DataModule>
    create(const QString &dataDirectory = QStringLiteral("itog3"), QString *error = nullptr);
    ~DataModule() override;

    Table characteristics; // pit.dbf: nutrient characteristics, index "order"
    Table feedTypes;       // kk.dbf: feed types with their nutrient norms, index "order"
    Table rawMaterials;    // sir.dbf: raw materials with contents, price and stock, index "order"
    Table inclusionNorms;  // norm.dbf: inclusion limits per feed type, index "si" on kods
    Table counters;        // order.dbf: in-use counts of the three lists, last archive number
    Table archiveHeaders;  // arkk.dbf: recipe archive headers
    Table archiveCompositions;    // arsir.dbf: recipe archive compositions
    Table archiveCharacteristics; // arpit.dbf: recipe archive characteristics
    Table archivePremixes;        // arprem.dbf: recipe archive premix rows
    Table ratios;                 // ratio.dbf: nutrient ratios per feed type, optional
    Table scratch;                // scratch cursor, used to rewrite the archive files

    // Selected-entry counts: feed types (kk.ot = "+", at most 40) and raw materials
    // (sir.ot = "+", at most 50). Counted by countSelected(), kept up to date by the
    // selection toggles of the list windows.
    int selectedFeedCount = 0;
    int selectedRawCount = 0;

    QString dataDirectory() const { return dataDirectory_; }
    QString filePath(const QString &fileName) const; // a file of the data directory
    QList<Table *> tables();                         // characteristics ... scratch
    QList<Table *> dataTables();                     // the same without scratch

    // The normal state of the three lists: pit, kk and sir each closed, given the index
    // "order", reopened, ranged to order 1 ... its count from order.dbf, unfiltered, on
    // its first record. Throws TableError.
    void setNormalState();
    // Counts the selected feed types and raw materials by walking kk and sir; sir is
    // put back on its first record.
    void countSelected();

    // The single record of order.dbf.
    int pitCount() const;
    int kkCount() const;
    int sirCount() const;
    int lastArchiveNumber() const;
    void setPitCount(int count);
    void setKkCount(int count);
    void setSirCount(int count);
    void setLastArchiveNumber(int number);

private:
    explicit DataModule(const QString &dataDirectory);
    void openAtCreation();
    int orderValue(const char *field) const;
    void setOrderValue(const char *field, int value);

    QString dataDirectory_;
};

// The data module of the running program; null while there is none.
DataModule *dataModule();

} // namespace store
