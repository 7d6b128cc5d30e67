#pragma once
// Copies the audio files of a session's checkmarked entries into the synchronised folder the user
// chose, under "Documents/<session name>/", so that the tracks can be reached from another
// machine. The list of files is taken on the calling (main) thread; the copying runs on a
// worker thread of the exporter's own, one export after another, and never overwrites a file.
// Every outcome is one line on standard output.

#include "model/Playlist.h"

#include <QFuture>
#include <QString>
#include <QThreadPool>
#include <QUrl>
#include <atomic>
#include <functional>
#include <optional>

class Exporter {
public:
    // What one export did: files copied, and files skipped (already there, or unreadable).
    struct Counts {
        int copied = 0;
        int skipped = 0;
    };

    // `cloudFolder` answers which folder stands for the cloud container; by default the
    // "cloudFolder" preference.
    explicit Exporter(std::function<std::optional<QString>()> cloudFolder = nullptr);
    // Waits for the file being copied; exports not yet started are dropped.
    ~Exporter();
    Exporter(const Exporter&) = delete;
    Exporter& operator=(const Exporter&) = delete;

    // Returns at once. Nothing happens for a session never saved (`sessionUrl` none): the
    // future is then cancelled.
    QFuture<Counts> exportPlaylist(const Playlist& playlist, const std::optional<QUrl>& sessionUrl);

    // The session file's name without an exact trailing ".varlin".
    static QString sessionName(const QUrl& sessionUrl);

private:
    struct Copy {
        QString source;
        QString targetName;
    };

    Counts copyAll(const QString& folder, const QString& session, const std::vector<Copy>& copies);

    std::function<std::optional<QString>()> cloudFolder;
    std::atomic<bool> closing = false;
    QThreadPool worker;
};
