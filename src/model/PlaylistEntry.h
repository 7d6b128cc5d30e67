#pragma once
// One track of a session: its file, what has been heard of it (in this run and ever), its zero
// marks, play dates, notes, attached documents, checkmark and tags. Entries are shared by the
// playlist, the player, the time slider and the undo stacks; two are equal when their URLs are.

#include "model/CodecValue.h"
#include "model/SideDocument.h"
#include "model/TextNoteSet.h"
#include "model/TimeRangeSet.h"

#include <QDateTime>
#include <QUrl>
#include <memory>
#include <optional>
#include <vector>

class PlaylistEntry {
public:
    // An entry whose duration is already known (or left to be measured on demand).
    explicit PlaylistEntry(QUrl url, std::optional<double> cachedDuration = std::nullopt);

    // Measures the file; null when it cannot be decoded as audio.
    static std::shared_ptr<PlaylistEntry> create(const QUrl& url);
    // Throws CodecError naming the missing or mistyped required key.
    static std::shared_ptr<PlaylistEntry> decode(const CodecReader& reader);
    CodecValue encode() const;

    QUrl url() const { return _url; }

    // The cached length, measured and cached when unknown; none when the file cannot be decoded
    // (then `playProblem` says why, and the file is not measured again on every call).
    std::optional<double> duration();
    // Notes a file that is no longer there, without opening any (a cheap check at session open).
    void checkFileExists();
    // Heard length of `set` over the duration; 0 for an unknown or near-zero duration.
    double playedFraction(const TimeRangeSet& set);
    // Starts (or rejoins) the range that the player extends while playing from t.
    void beginPlayedRange(double t);

    void addZero(double t);
    double nextZero(double t);
    double previousZero(double t) const;

    // Bookkeeping when the entry stops being current: unsaved notes are written, this run's
    // ranges join the ranges ever heard, and a play is dated once more than half was heard.
    void recordLeave();
    // Calendar days in the local time zone between the last play and today.
    std::optional<qint64> daysSinceLastPlayed() const;
    std::optional<qint64> secondsSinceLastPlayed() const;
    void markPlayedToday();
    // Removes the last play date when it lies less than 4 hours back; true when one was removed.
    bool clearRecentPlay();

    // The bookmark is the file's absolute path in UTF-8; none when the URL is no local file.
    static std::optional<QByteArray> bookmarkFor(const QUrl& url);
    // Points `_url` at the bookmarked file when it exists (true); otherwise drops the bookmark.
    bool resolveBookmark();

    // The file moved: the URL changes, a bookmark follows it, and the notes are read again from
    // beside the new file on next use.
    void relocate(const QUrl& newURL);

    // The notes, read from the file beside the track on first use.
    const std::shared_ptr<TextNoteSet>& noteSet();
    bool hasNoteSet() const { return _noteSet != nullptr; }

    bool operator==(const PlaylistEntry& other) const { return _url == other._url; }

    QUrl _url;
    std::shared_ptr<TimeRangeSet> currentTimeRangeSet;
    std::shared_ptr<TimeRangeSet> prevTimeRangeSet = std::make_shared<TimeRangeSet>();
    std::vector<double> zeros;
    bool hasBeenCompleted = false;
    std::vector<QDateTime> playedDates;
    std::optional<QByteArray> storedBookmark;
    std::optional<double> _cachedDuration;
    std::optional<int> cachedTimeRangeIndex;
    // Why the file cannot be played, one line, as learnt when it was measured or loaded; none
    // while nothing is known against it.
    std::optional<QString> playProblem;
    const int id;
    std::vector<std::shared_ptr<SideDocument>> sideDocuments;
    bool isCheckmarked = false;
    bool zombie_inHistory = false;
    bool zombie_playedSinceHistory = false;
    std::optional<QString> tags;

private:
    std::shared_ptr<TextNoteSet> _noteSet;
};

using PlaylistEntryPtr = std::shared_ptr<PlaylistEntry>;
