#include "model/PlaylistEntry.h"

#include "model/WallClock.h"
#include "model/Zeros.h"
#include "platform/audio/AudioDecoder.h"
#include "platform/audio/AudioFilePlayer.h"

#include <QFileInfo>
#include <atomic>

namespace {
std::atomic<int> nextEntryId{0};

std::optional<double> measure(const QUrl& url) {
    if (!url.isLocalFile())
        return std::nullopt;
    return audioFileDuration(url.toLocalFile());
}
} // namespace

PlaylistEntry::PlaylistEntry(QUrl url, std::optional<double> cachedDuration)
    : _url(std::move(url)), _cachedDuration(cachedDuration), id(++nextEntryId) {}

std::shared_ptr<PlaylistEntry> PlaylistEntry::create(const QUrl& url) {
    const std::optional<double> length = measure(url);
    if (!length)
        return nullptr;
    return std::make_shared<PlaylistEntry>(url, length);
}

std::shared_ptr<PlaylistEntry> PlaylistEntry::decode(const CodecReader& reader) {
    auto entry = std::make_shared<PlaylistEntry>(reader.required<QUrl>("_url"),
                                                 reader.optional<double>("_cachedDuration"));
    entry->prevTimeRangeSet = TimeRangeSet::decode(reader.requiredDict("prevTimeRangeSet"));
    entry->currentTimeRangeSet =
        reader.optionalDict("currentTimeRangeSet", TimeRangeSet::decode).value_or(nullptr);
    entry->zeros = reader.optional<std::vector<double>>("zeros").value_or(std::vector<double>());
    entry->playedDates =
        reader.optional<std::vector<QDateTime>>("playedDates").value_or(std::vector<QDateTime>());
    entry->storedBookmark = reader.optional<QByteArray>("storedBookmark");
    entry->sideDocuments =
        reader.optionalDicts("sideDocuments", QStringLiteral("side document"), SideDocument::decode)
            .value_or(std::vector<std::shared_ptr<SideDocument>>());
    entry->isCheckmarked = reader.optional<bool>("isCheckmarked").value_or(false);
    entry->zombie_inHistory = reader.optional<bool>("inHistory").value_or(false);
    entry->zombie_playedSinceHistory = reader.optional<bool>("playedSinceHistory").value_or(false);
    entry->tags = reader.optional<QString>("tags");
    return entry;
}

CodecValue PlaylistEntry::encode() const {
    CodecValue::Dict dict;
    dict.reserve(12);
    dict.emplace_back("_url", CodecValue::url(_url));
    dict.emplace_back("prevTimeRangeSet", prevTimeRangeSet->encode());
    if (currentTimeRangeSet)
        dict.emplace_back("currentTimeRangeSet", currentTimeRangeSet->encode());
    dict.emplace_back("zeros", CodecValue::reals(zeros));
    dict.emplace_back("playedDates", CodecValue::dates(playedDates));
    if (storedBookmark)
        dict.emplace_back("storedBookmark", CodecValue::data(*storedBookmark));
    if (_cachedDuration)
        dict.emplace_back("_cachedDuration", CodecValue::real(*_cachedDuration));
    CodecValue::Array documents;
    documents.reserve(sideDocuments.size());
    for (const std::shared_ptr<SideDocument>& document : sideDocuments)
        documents.push_back(document->encode());
    dict.emplace_back("sideDocuments", CodecValue::array(std::move(documents)));
    dict.emplace_back("isCheckmarked", CodecValue::boolean(isCheckmarked));
    dict.emplace_back("inHistory", CodecValue::boolean(zombie_inHistory));
    dict.emplace_back("playedSinceHistory", CodecValue::boolean(zombie_playedSinceHistory));
    if (tags)
        dict.emplace_back("tags", CodecValue::string(*tags));
    return CodecValue::dict(std::move(dict));
}

std::optional<double> PlaylistEntry::duration() {
    if (_cachedDuration || playProblem || !_url.isLocalFile())
        return _cachedDuration;
    QString reason;
    _cachedDuration = audioFileDuration(_url.toLocalFile(), &reason);
    if (!_cachedDuration)
        playProblem = AudioFilePlayer::openFailure(_url, reason);
    return _cachedDuration;
}

void PlaylistEntry::checkFileExists() {
    if (_url.isLocalFile() && !QFileInfo::exists(_url.toLocalFile()))
        playProblem = AudioFilePlayer::openFailure(_url, QStringLiteral("no such file"));
}

double PlaylistEntry::playedFraction(const TimeRangeSet& set) {
    const double length = duration().value_or(0.0);
    return length > 0.001 ? set.totalLength() / length : 0.0;
}

void PlaylistEntry::beginPlayedRange(double t) {
    if (!currentTimeRangeSet)
        currentTimeRangeSet = std::make_shared<TimeRangeSet>();
    cachedTimeRangeIndex = currentTimeRangeSet->indexContaining(t);
    if (!cachedTimeRangeIndex)
        cachedTimeRangeIndex = currentTimeRangeSet->insertRange(t, t, 0);
}

void PlaylistEntry::addZero(double t) {
    Zeros::addZero(zeros, t);
}

double PlaylistEntry::nextZero(double t) {
    return Zeros::nextZero(zeros, t, duration());
}

double PlaylistEntry::previousZero(double t) const {
    return Zeros::previousZero(zeros, t);
}

void PlaylistEntry::recordLeave() {
    if (_noteSet && _noteSet->altered)
        _noteSet->save();
    // Read again next time, so that a notes file fixed meanwhile is used.
    if (_noteSet && _noteSet->refusal)
        _noteSet.reset();
    if (!currentTimeRangeSet)
        return;
    int index = 0;
    for (const TimeRange& range : currentTimeRangeSet->ranges())
        index = prevTimeRangeSet->insertRange(range.start, range.end, index);
    if (playedFraction(*currentTimeRangeSet) > 0.5 && !hasBeenCompleted) {
        playedDates.push_back(WallClock::now());
        hasBeenCompleted = true;
    }
}

std::optional<qint64> PlaylistEntry::daysSinceLastPlayed() const {
    if (playedDates.empty())
        return std::nullopt;
    // Counted on local calendar dates rather than in 86,400-second steps, so that a day of 23 or
    // 25 hours (a daylight-saving change) still counts as one day.
    const QDate last = playedDates.back().toLocalTime().date();
    return last.daysTo(WallClock::now().toLocalTime().date());
}

std::optional<qint64> PlaylistEntry::secondsSinceLastPlayed() const {
    if (playedDates.empty())
        return std::nullopt;
    return playedDates.back().secsTo(WallClock::now());
}

void PlaylistEntry::markPlayedToday() {
    playedDates.push_back(WallClock::now());
}

bool PlaylistEntry::clearRecentPlay() {
    const std::optional<qint64> seconds = secondsSinceLastPlayed();
    if (!seconds || *seconds > 14399)
        return false;
    playedDates.pop_back();
    return true;
}

std::optional<QByteArray> PlaylistEntry::bookmarkFor(const QUrl& url) {
    if (!url.isLocalFile())
        return std::nullopt;
    return QFileInfo(url.toLocalFile()).absoluteFilePath().toUtf8();
}

bool PlaylistEntry::resolveBookmark() {
    if (!storedBookmark)
        return false;
    const QString path = QString::fromUtf8(*storedBookmark);
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        storedBookmark.reset();
        return false;
    }
    _url = QUrl::fromLocalFile(path);
    return true;
}

void PlaylistEntry::relocate(const QUrl& newURL) {
    _url = newURL;
    playProblem.reset();
    if (storedBookmark)
        storedBookmark = bookmarkFor(newURL);
    _noteSet.reset();
}

const std::shared_ptr<TextNoteSet>& PlaylistEntry::noteSet() {
    if (!_noteSet)
        _noteSet = std::make_shared<TextNoteSet>(_url);
    return _noteSet;
}
