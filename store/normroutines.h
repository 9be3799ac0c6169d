#pragma once

// The data module's routines that move the raw-material inclusion limits of one feed
// type between norm.dbf and the working columns MINOR/MANOR of sir.
//
// MINOR/MANOR always hold the limits of the feed type for which LoadNorms ran last;
// LoadNorms leaves norm filtered by "kodkk=" + that feed type's key, and SaveNorms writes
// back to exactly that feed type. Limits are never deleted: a pair set back to 0 keeps
// its record with zeros.
//
// The feed-types window runs them around every move to another feed type; what that
// means for its editors and focus is the window's business.

namespace store
{

class DataModule;

// Removes a highlight filter from sir, keeping the selection filter and the current
// raw material; false when sir had no highlight. Throws TableError.
bool DropRawHighlight(DataModule &dm);

// Writes MINOR/MANOR of every raw material in sir's view back to norm for the feed type
// whose limits were loaded last: found records are overwritten, missing ones appended
// when a limit is not zero. Does nothing when no limits were loaded.
void SaveNorms(DataModule &dm);

// Fills MINOR/MANOR of every raw material in sir's view from norm for the current feed
// type (0 where the pair has no record). Throws TableError.
void LoadNorms(DataModule &dm);

// The feed type whose limits MINOR/MANOR hold (its kodkk), or -1 when none was loaded.
int loadedNormsFeedKey(const DataModule &dm);

} // namespace store
