#pragma once

// The cursors of the recipe archive: order.dbf with the last archive number and the
// four archive tables (the data module's counters .. archivePremixes).

namespace store
{
class Table;
class DataModule;
} // namespace store

namespace archive
{

struct ArchiveCursors {
    store::Table *order = nullptr;
    store::Table *arkk = nullptr;
    store::Table *arsir = nullptr;
    store::Table *arpit = nullptr;
    store::Table *arprem = nullptr;
};

// The archive cursors of the data module.
ArchiveCursors archiveCursors(store::DataModule &dataModule);

} // namespace archive
