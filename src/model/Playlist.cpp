#include "model/Playlist.h"

#include "model/AtomicFile.h"
#include "model/PlistCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <algorithm>

namespace {
std::function<std::optional<QString>()>& preferredPrefixSource() {
    static std::function<std::optional<QString>()> source;
    return source;
}

std::optional<QString> settingsPrefix() {
    // One settings object for the program's life: the folder is shown on every tick while music
    // plays and on every painted row, and making a QSettings each time costs file lookups. Writes
    // through other QSettings objects of the process show here at once.
    static const QSettings settings;
    const QVariant value = settings.value(QStringLiteral("directoryPrefix"));
    if (!value.isValid())
        return std::nullopt;
    return value.toString();
}

// Without trailing slashes, except for the root itself.
QString folderPath(const QString& path) {
    QString folder = QDir::cleanPath(path);
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

// The folder's path with the separator that starts a path inside it.
QString folderStem(const QString& folder) {
    return folder == QLatin1String("/") ? folder : folder + QLatin1Char('/');
}

// The path moved from below `oldFolder` to below `newFolder`; none when it is not below it.
// Whole folder names only: /a/b holds /a/b/x but not /a/bc/x.
std::optional<QString> movedPath(const QString& path, const QString& oldFolder,
                                 const QString& newFolder) {
    if (path == oldFolder)
        return newFolder;
    if (!path.startsWith(folderStem(oldFolder)))
        return std::nullopt;
    return folderStem(newFolder) + path.mid(folderStem(oldFolder).size());
}
} // namespace

std::shared_ptr<Playlist> Playlist::open(const QUrl& url, QString* reason) {
    QFile file(url.toLocalFile());
    QString problem;
    std::shared_ptr<Playlist> playlist;
    if (!file.open(QIODevice::ReadOnly))
        problem = file.errorString();
    else
        playlist = decodeFile(file.readAll(), &problem);
    if (!playlist) {
        if (reason)
            *reason = QStringLiteral("can't open %1: %2").arg(url.toLocalFile(), problem);
        return nullptr;
    }
    playlist->url = url;
    return playlist;
}

std::shared_ptr<Playlist> Playlist::decodeFile(const QByteArray& bytes, QString* reason) {
    const std::optional<CodecValue> root = PlistCodec::decode(bytes, reason);
    if (!root)
        return nullptr;
    try {
        return decode(CodecReader(*root, QString(), CodecReader::Form::Binary));
    } catch (const CodecError& error) {
        if (reason)
            *reason = error.reason;
        return nullptr;
    }
}

std::shared_ptr<Playlist> Playlist::decode(const CodecReader& reader) {
    auto playlist = std::make_shared<Playlist>();
    for (const CodecReader& entry : reader.requiredDicts("playlist", "entry"))
        playlist->allEntries.push_back(PlaylistEntry::decode(entry));
    playlist->_currentItem = reader.optional<qint64>("currentItem");
    playlist->currentTime = reader.required<double>("currentTime");
    if (std::optional<QString> units = reader.optional<QString>("ageUnits")) {
        playlist->_ageUnits = ageUnitsFromText(*units);
        if (!playlist->_ageUnits)
            reader.fail(QStringLiteral("unknown \"ageUnits\" value \"%1\"").arg(*units));
    }
    playlist->automaticallyMoveToHistory = reader.optional<bool>("automaticallyMoveToHistory");
    playlist->_directoryPrefix = reader.optional<QString>("directoryPrefix");
    return playlist;
}

CodecValue Playlist::encode() const {
    CodecValue::Array entries;
    entries.reserve(allEntries.size());
    for (const PlaylistEntryPtr& entry : allEntries)
        entries.push_back(entry->encode());
    CodecValue::Dict dict;
    dict.emplace_back("playlist", CodecValue::array(std::move(entries)));
    if (_currentItem)
        dict.emplace_back("currentItem", CodecValue::integer(*_currentItem));
    dict.emplace_back("currentTime", CodecValue::real(currentTime));
    if (_ageUnits)
        dict.emplace_back("ageUnits", CodecValue::string(ageUnitsText(*_ageUnits)));
    if (automaticallyMoveToHistory)
        dict.emplace_back("automaticallyMoveToHistory",
                          CodecValue::boolean(*automaticallyMoveToHistory));
    if (_directoryPrefix)
        dict.emplace_back("directoryPrefix", CodecValue::string(*_directoryPrefix));
    return CodecValue::dict(std::move(dict));
}

QByteArray Playlist::encodedFile() const {
    return PlistCodec::encode(encode());
}

void Playlist::setPreferredPrefixSource(std::function<std::optional<QString>()> source) {
    preferredPrefixSource() = std::move(source);
}

QString Playlist::directoryPrefix() const {
    if (_directoryPrefix)
        return *_directoryPrefix;
    const auto& source = preferredPrefixSource();
    return (source ? source() : settingsPrefix()).value_or(QString());
}

QString Playlist::folderText(const PlaylistEntry& entry) const {
    const QString path = entry._url.isLocalFile() ? entry._url.toLocalFile() : entry._url.path();
    QString folder = path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
    // A prefix is a folder, written with or without its final "/"; without one (or with "/"
    // alone) the path shows whole.
    QString prefix = directoryPrefix();
    while (prefix.endsWith(QLatin1Char('/')))
        prefix.chop(1);
    if (!prefix.isEmpty() && folder.startsWith(prefix + QLatin1Char('/')))
        folder.remove(0, prefix.size() + 1);
    return folder;
}

std::vector<PlaylistEntryPtr> Playlist::entries() const {
    if (filterText.isEmpty())
        return allEntries;
    std::vector<PlaylistEntryPtr> shown;
    std::copy_if(allEntries.begin(), allEntries.end(), std::back_inserter(shown),
                 [this](const PlaylistEntryPtr& entry) { return matchesFilter(*entry); });
    return shown;
}

bool Playlist::matchesFilter(const PlaylistEntry& entry) const {
    QString name = entry._url.fileName();
    if (name.endsWith(QLatin1String(".mp3")))
        name.chop(4);
    return name.toLower().contains(filterText.toLower());
}

std::optional<int> Playlist::currentItem() const {
    if (!assignedEntry)
        return std::nullopt;
    return withEntries([&](const auto& shown) { return indexByURL(shown, assignedEntry); });
}

void Playlist::afterLoad() {
    for (const PlaylistEntryPtr& entry : allEntries)
        entry->currentTimeRangeSet = std::make_shared<TimeRangeSet>();
    if (_currentItem && *_currentItem >= 0 && *_currentItem < qint64(allEntries.size()))
        assignedEntry = allEntries[size_t(*_currentItem)];
}

bool Playlist::save(const QUrl& target, QString* reason) {
    url = target;
    if (!writeCopy(target, reason))
        return false;
    dirty = false;
    return true;
}

bool Playlist::writeCopy(const QUrl& target, QString* reason) {
    _currentItem = assignedEntry ? indexByURL(allEntries, assignedEntry).value_or(-1) : -1;
    const QByteArray bytes = encodedFile();
    if (bytes.isEmpty()) {
        if (reason)
            *reason = QStringLiteral("can't encode the session");
        return false;
    }
    return AtomicFile::write(target.toLocalFile(), bytes, reason);
}

PlaylistEntryPtr Playlist::entryAt(int i) const {
    return withEntries([i](const auto& shown) {
        return i >= 0 && i < int(shown.size()) ? shown[size_t(i)] : nullptr;
    });
}

std::optional<int> Playlist::indexOfEntry(const PlaylistEntryPtr& entry) const {
    if (!entry)
        return std::nullopt;
    return withEntries([&](const auto& shown) { return indexByURL(shown, entry); });
}

bool Playlist::insertURL(const QUrl& fileURL, const PlaylistEntryPtr& target) {
    auto existing = std::find_if(allEntries.begin(), allEntries.end(),
                                 [&](const PlaylistEntryPtr& e) { return e->_url == fileURL; });
    PlaylistEntryPtr entry =
        existing != allEntries.end() ? *existing : PlaylistEntry::create(fileURL);
    if (!entry)
        return false;
    insertEntry(entry, target);
    return true;
}

void Playlist::insertEntry(const PlaylistEntryPtr& entry, const PlaylistEntryPtr& target) {
    auto existing = std::find_if(allEntries.begin(), allEntries.end(),
                                 [&](const PlaylistEntryPtr& e) { return *e == *entry; });
    PlaylistEntryPtr inserted = entry;
    if (existing != allEntries.end()) {
        inserted = *existing;
        allEntries.erase(existing);
    }
    const std::optional<int> index = target ? indexByURL(allEntries, target) : std::nullopt;
    allEntries.insert(index ? allEntries.begin() + *index : allEntries.end(), inserted);
    dirty = true;
}

void Playlist::moveCheckedToTop() {
    std::stable_partition(allEntries.begin(), allEntries.end(),
                          [](const PlaylistEntryPtr& entry) { return entry->isCheckmarked; });
    dirty = true;
}

int Playlist::relocate(const QString& oldFolder, const QString& newFolder) {
    const QString from = folderPath(oldFolder);
    const QString to = folderPath(newFolder);
    auto moved = [&](const QUrl& fileURL) -> std::optional<QUrl> {
        if (!fileURL.isLocalFile())
            return std::nullopt;
        std::optional<QString> path = movedPath(fileURL.toLocalFile(), from, to);
        return path ? std::optional(QUrl::fromLocalFile(*path)) : std::nullopt;
    };
    int count = 0;
    for (const PlaylistEntryPtr& entry : allEntries) {
        if (std::optional<QUrl> newURL = moved(entry->_url)) {
            entry->relocate(*newURL);
            ++count;
        }
        for (const std::shared_ptr<SideDocument>& document : entry->sideDocuments)
            if (std::optional<QUrl> newURL = moved(document->url))
                document->url = *newURL;
    }
    if (count > 0)
        dirty = true;
    return count;
}

std::optional<int> Playlist::indexByURL(const std::vector<PlaylistEntryPtr>& list,
                                        const PlaylistEntryPtr& entry) {
    for (int i = 0; i < int(list.size()); ++i)
        if (*list[size_t(i)] == *entry)
            return i;
    return std::nullopt;
}
