#pragma once
// The session: the ordered entries the caller works through, which one is current, the position
// in it, a few stored settings and the undo stacks. Saved as a binary property list (".varlin").

#include "model/AgeUnits.h"
#include "model/ChangeFlag.h"
#include "model/CodecValue.h"
#include "model/PlaylistEntry.h"
#include "model/Undoer.h"

#include <QString>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Playlist {
public:
    Playlist() = default;
    Playlist(const Playlist&) = delete;
    Playlist& operator=(const Playlist&) = delete;

    // Reads and decodes a session file; null with a one-line reason (which key, which entry)
    // when it cannot be opened. `url` is set; afterLoad() is left to the caller.
    static std::shared_ptr<Playlist> open(const QUrl& url, QString* reason);
    // Throws CodecError naming the missing or mistyped key.
    static std::shared_ptr<Playlist> decode(const CodecReader& reader);
    CodecValue encode() const;
    // The session file's bytes, and back; null with a one-line reason.
    QByteArray encodedFile() const;
    static std::shared_ptr<Playlist> decodeFile(const QByteArray& bytes, QString* reason);

    // Where the directory-prefix preference comes from (by default the user setting
    // "directoryPrefix"); an empty function restores the default.
    static void setPreferredPrefixSource(std::function<std::optional<QString>()> source);
    // The playlist's own prefix, else the preference, else "".
    QString directoryPrefix() const;
    // The entry's folder as the table shows it: ending in "/", without a leading prefix folder
    // (the whole path when there is none).
    QString folderText(const PlaylistEntry& entry) const;

    // The entries the table shows: all of them, or those matching `filterText`.
    std::vector<PlaylistEntryPtr> entries() const;
    bool matchesFilter(const PlaylistEntry& entry) const;
    // Index of the assigned entry in `entries`; none without one or when it is filtered out.
    std::optional<int> currentItem() const;

    // After decoding: this run's played ranges start empty; the saved current item is assigned.
    void afterLoad();
    // Writes the session to `url` atomically; on failure the previous file stays whole, `dirty`
    // stays set and `reason` (when given) receives a one-line reason.
    bool save(const QUrl& url, QString* reason = nullptr);
    // The same file written as a copy: `url` and `dirty` stay as they are.
    bool writeCopy(const QUrl& url, QString* reason = nullptr);

    PlaylistEntryPtr entryAt(int i) const;
    std::optional<int> indexOfEntry(const PlaylistEntryPtr& entry) const;
    // Puts the file's entry (the existing one, else a new one) before `target`, or at the end.
    // False when the file cannot be decoded as audio.
    bool insertURL(const QUrl& url, const PlaylistEntryPtr& target);
    // Puts the entry before `target`, or at the end; when the list already holds an entry for
    // the same file, that one moves instead (it keeps its marks and dates).
    void insertEntry(const PlaylistEntryPtr& entry, const PlaylistEntryPtr& target);
    void moveCheckedToTop();
    // Moves every entry file (and attached document) below `oldFolder` to the same place below
    // `newFolder`; matches whole folder names only. Returns the number of entries moved.
    int relocate(const QString& oldFolder, const QString& newFolder);

    std::vector<PlaylistEntryPtr> allEntries;
    double currentTime = 0.0;
    std::optional<qint64> _currentItem;
    std::optional<AgeUnits> _ageUnits;
    std::optional<bool> automaticallyMoveToHistory;
    std::optional<QString> _directoryPrefix;
    PlaylistEntryPtr assignedEntry;
    // Raised by every change to a saved field; cleared by save().
    ChangeFlag dirty;
    std::optional<QUrl> url;
    QString filterText;
    Undoer undoer{*this};

private:
    // Runs `use` on the shown entries, without copying the list when nothing is filtered (the
    // table asks for every row).
    template <class Use> auto withEntries(Use use) const {
        return filterText.isEmpty() ? use(allEntries) : use(entries());
    }
    // Index in `list` of the first entry with the entry's URL.
    static std::optional<int> indexByURL(const std::vector<PlaylistEntryPtr>& list,
                                         const PlaylistEntryPtr& entry);
};

using PlaylistPtr = std::shared_ptr<Playlist>;
