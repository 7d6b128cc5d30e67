// varlin-session from-json: whatever JSON it accepts must give a session file that opens as
// that session.
#include "SessionRoundTrip.h"
#include "SessionTool.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QString reason;
    const PlaylistPtr playlist = SessionTool::playlistFromJson(fuzzInput(data, size), &reason);
    require(playlist || (!reason.isEmpty() && !reason.contains('\n')), "a one-line reason");
    if (playlist)
        requireRoundTrip(*playlist);
    return 0;
}
