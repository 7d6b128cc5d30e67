#pragma once
// What the playlist table and the entry commands need of the main controller. The main
// controller implements it; the table side knows nothing else of it.

#include "model/Playlist.h"

#include <QUrl>

class EntryCommandHost {
public:
    virtual ~EntryCommandHost() = default;

    virtual Playlist& playlist() = 0;
    // While the player plays, a selection change waits as the next entry.
    virtual bool isPlaying() const = 0;

    // The one rule that changes the current entry: by row of the visible list (-1 or past the
    // end: none), or by entry.
    virtual void setCurrentEntry(int row) = 0;
    virtual void assignEntry(const PlaylistEntryPtr& entry) = 0;

    virtual void updateDisplays() = 0;
    // The entry's zeros, notes or ranges changed outside the player: the time slider rebuilds.
    virtual void entryMarksChanged(const PlaylistEntryPtr& entry) = 0;
    // A session file dropped on the table: save the current one if needed, then open it.
    virtual void openDroppedSession(const QUrl& url) = 0;
    // The toolbar search field is emptied and the filter cleared.
    virtual void clearSearch() = 0;
};
