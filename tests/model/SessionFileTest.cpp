// The session file: round trips, exchange with Python's plistlib (the peer reader and writer of
// the binary property-list format), decoding failures and failed saves.
#include "model/Playlist.h"
#include "model/PlistCodec.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {
// Runs a Python script with the given arguments; returns its standard output. The test fails
// when Python is missing or the script exits with an error.
QByteArray runPython(const QString& script, const QStringList& arguments = {}) {
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    EXPECT_FALSE(python.isEmpty()) << "python3 is needed (scripts/install-deps installs it)";
    QProcess process;
    process.start(python, QStringList{QStringLiteral("-c"), script} + arguments);
    process.waitForFinished(60000);
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

const QDateTime played(QDate(2026, 3, 1), QTime(20, 15, 30, 250), Qt::UTC);
// Before 2001 libplist gave the fraction of a second without its sign: the date moved at each save.
const QDateTime early(QDate(1941, 1, 10), QTime(21, 30, 5, 125), Qt::UTC);

// Two entries with every field set on the first, and `fillers` plain ones after them.
PlaylistPtr sampleSession(int fillers = 0) {
    auto playlist = std::make_shared<Playlist>();
    auto first = std::make_shared<PlaylistEntry>(QUrl::fromLocalFile("/music/Waltz ä.mp3"), 180.25);
    first->prevTimeRangeSet =
        std::make_shared<TimeRangeSet>(std::vector<TimeRange>{{0, 10.5}, {20.1, 33.3}});
    first->currentTimeRangeSet = std::make_shared<TimeRangeSet>(std::vector<TimeRange>{{1, 2}});
    first->zeros = {1.0, 5.5, 123.456};
    first->playedDates = {early, played};
    first->storedBookmark = QByteArray("/music/Waltz \xc3\xa4.mp3");
    first->sideDocuments = {
        std::make_shared<SideDocument>(QUrl::fromLocalFile("/music/w.pdf"), "pdf")};
    first->isCheckmarked = true;
    first->zombie_playedSinceHistory = true;
    // A zero character typed into a tag is left out, or the file could not be opened again.
    first->tags = QString::fromUtf8("waltz \xc3\xa4") + QChar(0) + " slow";
    auto second = std::make_shared<PlaylistEntry>(QUrl::fromLocalFile("/music/polka.mp3"));
    playlist->allEntries = {first, second};
    for (int i = 0; i < fillers; ++i)
        playlist->allEntries.push_back(std::make_shared<PlaylistEntry>(
            QUrl::fromLocalFile(QString("/music/a rather long folder name/track %1.mp3").arg(i)),
            i * 0.5));
    playlist->currentTime = 12.75;
    playlist->_ageUnits = AgeUnits::weeks;
    playlist->automaticallyMoveToHistory = false;
    playlist->_directoryPrefix = "/music";
    return playlist;
}

// A copy of a dictionary with `key` replaced, added, or removed when `value` is none.
CodecValue with(const CodecValue& dict, const QString& key, std::optional<CodecValue> value) {
    CodecValue::Dict result = dict.toDict();
    const auto found = std::find_if(result.begin(), result.end(),
                                    [&key](const auto& element) { return element.first == key; });
    if (found != result.end() && value)
        found->second = *value;
    else if (found != result.end())
        result.erase(found);
    else if (value)
        result.emplace_back(key, *value);
    return CodecValue::dict(result);
}

// The same with `key` changed inside the first entry.
CodecValue withEntryKey(const CodecValue& root, const QString& key,
                        std::optional<CodecValue> value) {
    CodecValue::Array entries = root.find(QLatin1StringView("playlist"))->toArray();
    entries[0] = with(entries[0], key, std::move(value));
    return with(root, "playlist", CodecValue::array(entries));
}

// Opens the bytes as a session file; the reason when that fails, else "".
QString openFailure(const QByteArray& bytes, PlaylistPtr* opened = nullptr) {
    QTemporaryDir dir;
    const QString path = writeFile(dir.filePath("s.varlin"), bytes);
    QString reason;
    PlaylistPtr playlist = Playlist::open(QUrl::fromLocalFile(path), &reason);
    if (opened)
        *opened = playlist;
    EXPECT_EQ(playlist == nullptr, !reason.isEmpty());
    EXPECT_TRUE(reason.isEmpty() || reason.startsWith("can't open " + path))
        << reason.toStdString();
    return reason;
}

} // namespace

// Enough entries for wide object references and long array and string markers.
TEST(SessionFile, PlistlibAndTheProgramReadEveryFieldTheProgramWrites) {
    QTemporaryDir dir;
    PlaylistPtr playlist = sampleSession(3000);
    const QUrl url = QUrl::fromLocalFile(dir.filePath("s.varlin"));
    playlist->assignedEntry = playlist->allEntries[1];
    playlist->dirty = true;
    ASSERT_TRUE(playlist->save(url));
    EXPECT_FALSE(playlist->dirty);
    // Python checks every key, its order and its type; a failed assertion fails runPython.
    const QByteArray output = runPython(R"(
import plistlib, sys
from datetime import datetime
raw = open(sys.argv[1], 'rb').read()
assert raw.startswith(b'bplist00')
d = plistlib.loads(raw)
assert list(d) == ['playlist', 'currentItem', 'currentTime', 'ageUnits',
                   'automaticallyMoveToHistory', 'directoryPrefix'], list(d)
assert [d[k] for k in list(d)[1:]] == [1, 12.75, 'weeks', False, '/music'], d
assert d['automaticallyMoveToHistory'] is False
first, second = d['playlist'][:2]
assert list(first) == ['_url', 'prevTimeRangeSet', 'currentTimeRangeSet', 'zeros', 'playedDates',
                       'storedBookmark', '_cachedDuration', 'sideDocuments', 'isCheckmarked',
                       'inHistory', 'playedSinceHistory', 'tags'], list(first)
assert first == {
    '_url': {'relative': 'file:///music/Waltz%20%C3%A4.mp3'},
    'prevTimeRangeSet': {'ranges': [{'start': 0.0, 'end': 10.5}, {'start': 20.1, 'end': 33.3}]},
    'currentTimeRangeSet': {'ranges': [{'start': 1.0, 'end': 2.0}]},
    'zeros': [1.0, 5.5, 123.456],
    'playedDates': [datetime(1941, 1, 10, 21, 30, 5, 125000),
                    datetime(2026, 3, 1, 20, 15, 30, 250000)],
    'storedBookmark': '/music/Waltz \u00e4.mp3'.encode(),
    '_cachedDuration': 180.25,
    'sideDocuments': [{'url': {'relative': 'file:///music/w.pdf'}, 'tag': 'pdf'}],
    'isCheckmarked': True, 'inHistory': False, 'playedSinceHistory': True,
    'tags': 'waltz \u00e4 slow',
}, first
bools = [first[k] for k in ['isCheckmarked', 'inHistory', 'playedSinceHistory']]
assert all(type(v) is bool for v in bools) and all(type(z) is float for z in first['zeros'])
assert list(second) == ['_url', 'prevTimeRangeSet', 'zeros', 'playedDates', 'sideDocuments',
                        'isCheckmarked', 'inHistory', 'playedSinceHistory'], list(second)
last = d['playlist'][-1]
print(len(d['playlist']), last['_url']['relative'], last['_cachedDuration'])
)",
                                        {url.toLocalFile()});
    EXPECT_EQ(output.trimmed(),
              "3002 file:///music/a%20rather%20long%20folder%20name/track%202999.mp3 1499.5");

    // The program reads what it wrote; the plistlib file below shows every field is read.
    const PlaylistPtr read = Playlist::open(url, nullptr);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->encodedFile(), playlist->encodedFile());
}

TEST(SessionFile, ReadsAFileWrittenByPlistlibInTheOriginalFormAndWritesItBackWhole) {
    // Python writes the session, the program opens it and saves a copy, and Python compares the
    // copy with what it wrote: every field must have been read and written back unchanged.
    const char* script = R"(
import plistlib, sys, datetime
entry = {
    '_url': {'relative': 'file:///music/Tango%20one.mp3'},
    'prevTimeRangeSet': {'ranges': [{'start': 0.0, 'end': 10.5}, {'start': 20, 'end': 30.25}]},
    'zeros': [1.0, 5.5],
    'playedDates': [datetime.datetime(2024, 3, 1, 20, 15, 30, 250000)],
    'storedBookmark': b'/music/Tango one.mp3',
    '_cachedDuration': 180.25,
    'sideDocuments': [{'url': {'relative': 'file:///music/cues.pdf'}, 'tag': 'pdf'}],
    'isCheckmarked': True, 'inHistory': True, 'playedSinceHistory': False,
    'tags': 'tango',
}
plain = {'_url': 'file:///music/plain.mp3', 'prevTimeRangeSet': {'ranges': []}}
session = {'playlist': [entry, plain], 'currentItem': -1, 'currentTime': 42.5,
           'ageUnits': 'hours', 'automaticallyMoveToHistory': True}
if sys.argv[1] == 'write':
    with open(sys.argv[2], 'wb') as f:
        plistlib.dump(session, f, fmt=plistlib.FMT_BINARY, sort_keys=False)
else:
    d = plistlib.load(open(sys.argv[2], 'rb'))
    first, second = d.pop('playlist')
    assert first == entry, first
    assert second == {'_url': {'relative': plain['_url']}, 'prevTimeRangeSet': {'ranges': []},
                      'zeros': [], 'playedDates': [], 'sideDocuments': [], 'isCheckmarked': False,
                      'inHistory': False, 'playedSinceHistory': False}, second
    del session['playlist']
    assert d == session, d
    print('checked')
)";
    QTemporaryDir dir;
    const QString path = dir.filePath("original.varlin");
    runPython(script, {"write", path});
    QString reason;
    PlaylistPtr playlist = Playlist::open(QUrl::fromLocalFile(path), &reason);
    ASSERT_TRUE(playlist) << reason.toStdString();
    EXPECT_EQ(playlist->allEntries[0]->_url.toLocalFile(), "/music/Tango one.mp3");
    const QString copy = dir.filePath("copy.varlin");
    ASSERT_TRUE(playlist->save(QUrl::fromLocalFile(copy)));
    EXPECT_EQ(runPython(script, {"check", copy}).trimmed(), "checked");
}

TEST(SessionFile, BrokenFilesFailWithAReasonAndOptionalKeysOfAnotherTypeReadAsMissing) {
    const CodecValue root = sampleSession()->encode();
    const auto bytes = [](const CodecValue& value) { return PlistCodec::encode(value); };
    const CodecValue rangeWithoutEnd = CodecValue::dict(
        {{"ranges", CodecValue::array({CodecValue::dict({{"start", CodecValue::real(1)}})})}});
    // libplist aborts the program on a dictionary key that holds a zero byte.
    QByteArray zeroKey = bytes(root);
    zeroKey[zeroKey.indexOf("currentTime") + 7] = '\0';
    // In an XML property list a zero byte reaches a text whole, and saving would write it into
    // a binary file that cannot be opened again.
    QByteArray rawZero = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">"
                         "<dict><key>playlist</key><array/><key>tags</key>"
                         "<string>wa@tz</string></dict></plist>";
    rawZero[rawZero.indexOf('@')] = '\0';
    // libplist reads dates as 32-bit seconds from 2001: year 1000 cannot come back as itself.
    const CodecValue ancient =
        CodecValue::array({CodecValue::date(QDateTime(QDate(1000, 1, 1), QTime(0, 0), Qt::UTC))});
    const struct {
        QByteArray broken;
        const char* reasonPart;
    } cases[] = {
        {zeroKey, "a text in the property list holds a zero character"},
        {rawZero, "a text in the property list holds a zero"},
        {bytes(withEntryKey(root, "playedDates", ancient)), "a date out of range"},
        {{}, "the file is empty"},
        {"just some text, not a property list\n", "not a property list"},
        {bytes(root).chopped(20), ""},
        {bytes(with(root, "currentTime", CodecValue::string("12"))),
         "key \"currentTime\" is not a real number"},
        {bytes(withEntryKey(root, "_url", CodecValue::dict({{"base", CodecValue::string("x")}}))),
         "entry 1: key \"_url\" is not a URL"},
        {bytes(withEntryKey(root, "prevTimeRangeSet", rangeWithoutEnd)),
         "entry 1, prevTimeRangeSet, range 1: missing key \"end\""},
        {bytes(CodecValue::array({})), "not a dictionary"},
        // A value quoted from the file keeps the reason on one line (found by the fuzzer).
        {bytes(with(root, "ageUnits", CodecValue::string("we\neks\t"))),
         "unknown \"ageUnits\" value \"we\uFFFDeks\uFFFD\""},
    };
    for (const auto& c : cases) {
        const QString reason = openFailure(c.broken);
        EXPECT_TRUE(!reason.isEmpty() && reason.contains(c.reasonPart)) << reason.toStdString();
    }
    QString reason;
    EXPECT_FALSE(Playlist::open(QUrl::fromLocalFile("/nonexistent/s.varlin"), &reason));
    EXPECT_TRUE(reason.startsWith("can't open /nonexistent/s.varlin: ")) << reason.toStdString();

    CodecValue broken = with(root, "currentItem", CodecValue::string("1"));
    broken = withEntryKey(broken, "zeros", CodecValue::array({CodecValue::string("1")}));
    broken = withEntryKey(broken, "playedDates", CodecValue::array({CodecValue::real(3)}));
    PlaylistPtr playlist;
    ASSERT_EQ(openFailure(bytes(broken), &playlist), "");
    EXPECT_FALSE(playlist->_currentItem);
    EXPECT_TRUE(playlist->allEntries[0]->zeros.empty() &&
                playlist->allEntries[0]->playedDates.empty());
}

TEST(SessionFile, FailedSaveLeavesTheOldFileWholeAndTheSessionDirty) {
    QTemporaryDir dir;
    const QUrl url = QUrl::fromLocalFile(dir.filePath("s.varlin"));
    PlaylistPtr playlist = sampleSession();
    ASSERT_TRUE(playlist->save(url));
    const QByteArray before = readFile(url.toLocalFile());

    playlist->allEntries = sampleSession(50)->allEntries;
    playlist->dirty = true;
    // The file system refuses to grow the file past a few hundred bytes, as on a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = rlim_t(before.size() + 100);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString reason;
    const bool saved = playlist->save(url, &reason);
    setrlimit(RLIMIT_FSIZE, &old);

    EXPECT_FALSE(saved);
    EXPECT_TRUE(reason.startsWith("can't write " + url.toLocalFile())) << reason.toStdString();
    EXPECT_TRUE(playlist->dirty);
    EXPECT_EQ(readFile(url.toLocalFile()), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"s.varlin"});
}
