#pragma once

// Selecting recipes by a key, and clearing the planned output, in the archive window.
// The selection mark vibor is stored in the head rows; the filter decides whether the
// selection is in force. On a table error the head cursor is put back as it was and the
// error is thrown on.

#include <QString>

#include <optional>

namespace store
{
class Table;
}

namespace archive
{

inline const QString kNoMatchMessage = QStringLiteral("Записей, соответствующих ключу, нет...");

// Marks every live recipe whose purpose, note or name holds the key (as typed, spaces
// kept; letter case ignored, Cyrillic included) with vibor "+" and clears the mark of
// the others. With a match the head table shows the selected recipes, else all; it
// stands on its first row. Returns the number of matches; nothing when the key trims to
// nothing (then nothing is done).
std::optional<int> selectByKey(store::Table &arkk, const QString &key);

// Back to all recipes; the marks stay.
void cancelSelection(store::Table &arkk);

// Sets ves to 0 in every head row of the current view (all or the selected recipes);
// the head cursor then stands on the first row.
void clearOutput(store::Table &arkk);

} // namespace archive
