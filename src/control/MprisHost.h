#pragma once
// What the MPRIS player needs from the program around it: the window, quitting, opening files,
// and the names the desktop shows for a track and the session.

#include <QString>

class PlaylistEntry;
class QUrl;

class MprisHost {
public:
    virtual ~MprisHost() = default;

    // The main window to the front.
    virtual void raise() = 0;
    // Quits as the menu does, saving first.
    virtual void quit() = 0;
    // Opens a file as the command line does: a session replaces the session, a track joins it.
    virtual void openFile(const QUrl& url) = 0;
    // The entry's title as the playlist table shows it, without its tags.
    virtual QString title(const PlaylistEntry& entry) const = 0;
    // The session's name ("Dance" for Dance.varlin); empty without a session file.
    virtual QString sessionName() const = 0;
};
