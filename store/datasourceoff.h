#pragma once

// Switches a cursor's data source off for the life of the object and back to what it
// was at its end, also when the operation ends by an error: grids bound to the cursor
// neither repaint nor react while a bulk operation walks the table. Nested operations
// leave the switch off until the outermost one ends.

#include "store/table.h"

namespace store
{

class DataSourceOff final
{
    Q_DISABLE_COPY_MOVE(DataSourceOff)

public:
    explicit DataSourceOff(Table &table) : table_(table), wasOn_(table.dataSourceEnabled())
    {
        table_.setDataSourceEnabled(false);
    }
    ~DataSourceOff() { table_.setDataSourceEnabled(wasOn_); }

private:
    Table &table_;
    bool wasOn_;
};

} // namespace store
