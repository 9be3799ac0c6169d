#pragma once

// Selection of list entries for the next calculation (ot = "+"), shared by the
// raw-materials and feed-types windows. The selected count lives in the data module;
// these keep it in step with the table.

#include <QString>

namespace store
{
class Table;
}

namespace lists
{

// Counts the records of the view whose ot is "+", with the data source off; the cursor
// ends on the first record.
int countSelected(store::Table &list);

// Toggles the selection of the current record. Selecting sets ot = "+" and VES = 0 and
// raises count, unless count has reached limit: then nothing changes and the message
// refusal + count + "." is returned. Deselecting empties ot and lowers count.
QString toggleSelection(store::Table &list, int &count, int limit, const QString &refusal);

// Selects every record of the list (filter dropped first) with the data source off, as
// one toggle each would: ot = "+", and VES = 0 where ot was not "+" yet; count becomes the
// number of entries, and the current record is found again. All or nothing: when the list
// holds more entries than limit, nothing changes and the refusal naming the limit and the
// entries ("типов сырья") is returned, as a part chosen by list order would be a
// selection nobody made.
QString selectAll(store::Table &list, int &count, int limit, const QString &entries);

// Empties ot in every record of the list (filter dropped first), with the data source
// off, and finds the current record again.
void clearAllSelections(store::Table &list);

} // namespace lists
