#pragma once
// The run state kept beside the sessions ("state.plist") so that after a restart or a crash the
// program comes back to the same session, track and position, with that track's played ranges and
// zero marks as they were at the last moment.

#include "model/CodecValue.h"
#include "model/TimeRangeSet.h"

#include <QUrl>
#include <memory>
#include <optional>
#include <vector>

struct AppState {
    std::optional<QUrl> playlistURL;
    double currentTime = 0.0;
    std::optional<qint64> currentEntryIndex;
    std::shared_ptr<TimeRangeSet> currentTimeRangeSet;
    std::optional<std::vector<double>> zeros;

    CodecValue encode() const;
    // Throws CodecError when "currentTime" is missing or not a number.
    static AppState decode(const CodecReader& reader);
    // The state file's bytes, and back; none with a one-line reason.
    QByteArray encodedFile() const;
    static std::optional<AppState> decodeFile(const QByteArray& bytes, QString* reason);

    // The per-user data folder + "net.brenmoor.varlin/state.plist"; the folder is created when
    // missing (a failure shows at the first write).
    static QUrl stateFileURL();

    // Replaces the state file atomically; false with a one-line reason on failure.
    bool write(QString* reason = nullptr) const;
    // None (with a reason) when the file is missing or cannot be decoded; one that cannot be
    // decoded is set aside (BadFile), so the next start is a clean one.
    static std::optional<AppState> read(QString* reason = nullptr);
    // Deletes the state file (an unsaved session leaves nothing to restore).
    static void remove();
};
