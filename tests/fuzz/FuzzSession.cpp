// A session file's bytes: whatever decodes must save and open again as the same session.
#include "SessionRoundTrip.h"
#include "model/Playlist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QString reason;
    const PlaylistPtr playlist = Playlist::decodeFile(fuzzInput(data, size), &reason);
    require(playlist || (!reason.isEmpty() && !reason.contains('\n')), "a one-line reason");
    if (playlist)
        requireRoundTrip(*playlist);
    return 0;
}
