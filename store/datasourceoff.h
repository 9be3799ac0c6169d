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
    explicit DataSourceOff(Table &table) : m_table(table), m_wasOn(table.dataSourceEnabled())
    {
        m_table.setDataSourceEnabled(false);
    }
    ~DataSourceOff() { m_table.setDataSourceEnabled(m_wasOn); }

private:
    Table &m_table;
    bool m_wasOn;
};

} // namespace store
