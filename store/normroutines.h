#pragma once

// The data module's routines that move the raw-material inclusion limits of one feed
// type between norm.dbf and the working columns MINOR/MANOR of sir, and the scroll events
// on kk that run them while the feed-types window is active.
//
// MINOR/MANOR always hold the limits of the feed type for which LoadNorms ran last;
// LoadNorms leaves norm filtered by "kodkk=" + that feed type's key, and SaveNorms writes
// back to exactly that feed type. Limits are never deleted: a pair set back to 0 keeps
// its record with zeros.
//
// What the routines do to the feed-types window (read-only switching, focus) goes
// through FeedTypesWindowLink, which that window implements: the store links no widgets.

#include <QObject>
#include <QString>

namespace store
{

class DataModule;

class FeedTypesWindowLink
{
public:
    virtual ~FeedTypesWindowLink() = default;
    virtual void focusFeedTypesGrid() = 0;
    // The feed-types grid, the norms grid, the 128 characteristic fields and the
    // purpose memo become read-only.
    virtual void lockFeedTypeEditors() = 0;
    virtual bool normsGridReadOnly() const = 0;
    virtual void setNormsGridReadOnly(bool readOnly) = 0;
    // A table error inside a scroll event (the user moved to another feed type).
    virtual void reportNormError(const QString &message) = 0;
};

// Removes a highlight filter from sir, keeping the selection filter and the current
// raw material; without a highlight only focuses the feed-types grid (window may be null).
void DropRawHighlight(DataModule &dm, FeedTypesWindowLink *window);

// Writes MINOR/MANOR of every raw material in sir's view back to norm for the feed type
// whose limits were loaded last: found records are overwritten, missing ones appended
// when a limit is not zero. Does nothing when no limits were loaded.
void SaveNorms(DataModule &dm);

// Fills MINOR/MANOR of every raw material in sir's view from norm for the current feed
// type (0 where the pair has no record). Throws TableError.
void LoadNorms(DataModule &dm, FeedTypesWindowLink *window);

// The feed type whose limits MINOR/MANOR hold (its kodkk), or -1 when none was loaded.
int loadedNormsFeedKey(const DataModule &dm);

// The data module's scroll events on kk while the feed-types window is active: before
// the current feed type changes its limits are written (a highlight on sir dropped
// first, so that limits of hidden raw materials are written too), after the change those
// of the new one are loaded. Both only while kk's data source is on. Lives as long as
// the window is active.
class FeedTypeScrollEvents final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FeedTypeScrollEvents)

public:
    FeedTypeScrollEvents(DataModule &dm, FeedTypesWindowLink &window);
    ~FeedTypeScrollEvents() override;

private:
    void beforeScroll();
    void afterScroll();

    DataModule &dm_;
    FeedTypesWindowLink &window_;
    bool busy_ = false;
};

} // namespace store
