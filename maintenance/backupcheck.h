#pragma once

// The check a restore makes before it touches the data directory: the copy must hold
// every table the program opens, each one readable with the fields the program finds
// its records by; an optional table (ratio.dbf) may be missing.

#include <QStringList>

namespace store
{
class DataModule;
}

namespace maintenance
{

// The problems of the tables in `folder`, one message each; empty when the copy is whole.
// The data module names the tables and their indexes.
QStringList checkBackupTables(const QString &folder, store::DataModule &dataModule);

} // namespace maintenance
