#pragma once

// The highlight search over a list cursor: records whose searched fields contain a key
// are marked vibor = "+" and the view is narrowed to them by a filter, on top of the
// selection filter when that is set. Cancelling goes back to the selection filter (or
// none) and keeps the cursor on its record; the marks stay until the next search.

#include <QString>
#include <QStringList>

namespace store
{

class Table;

inline const QString selectionFilterText = QStringLiteral("ot='+'");
inline const QString highlightFilterText = QStringLiteral("vibor='+'");

// A key that trims to nothing means that no search is made.
bool isSearchKey(const QString &key);

// The key, as typed (blanks kept), occurs in text; both upper-cased (Cyrillic too).
bool keyOccursIn(const QString &key, const QString &text);

// The filter that adds the highlight to the current one: "vibor='+'", or the current
// filter + " and " + "vibor='+'" when it holds the selection ("ot=").
QString highlightFilterAfter(const QString &currentFilter);

// The whole search on the cursor's view: cancels a highlight, marks every record of the
// view (a record matches when the key occurs in any of fields), goes to the first record
// and, when something matched, narrows the view. Runs with the data source off.
// Returns the number of matches; 0 leaves the view without a highlight.
int highlightRecords(Table &table, const QString &key, const QStringList &fields);

// Removes the highlight filter, keeping the selection filter, and finds the record the
// cursor stood on again by a key search on order. False when there was no highlight.
bool cancelHighlight(Table &table);

bool hasHighlight(const Table &table);

} // namespace store
