#pragma once
// The promise every session the program accepts must keep: written, it opens again unchanged.

#include "FuzzCheck.h"
#include "model/Playlist.h"

inline void requireRoundTrip(const Playlist& playlist) {
    const QByteArray saved = playlist.encodedFile();
    QString reason;
    const PlaylistPtr reopened = Playlist::decodeFile(saved, &reason);
    require(reopened != nullptr, "a session written opens again");
    require(reopened->encodedFile() == saved, "a session written opens unchanged");
}
