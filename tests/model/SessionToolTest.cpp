// varlin-session run as a separate process, as a caller's script would.
#include "model/Playlist.h"
#include "support/TestFiles.h"
#include "testaudio/TestAudio.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

Result runTool(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(VARLIN_SESSION_TOOL), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

// Show, json and a refused from-json leave the file alone; from-json rebuilds it byte for byte.
TEST(SessionTool, ShowJsonFromJsonAndRelocate) {
    // A saved session of three entries, the second one a real (measurable) track.
    QTemporaryDir dir;
    const QString folder = dir.filePath("music");
    ASSERT_TRUE(QDir().mkpath(folder));
    auto playlist = std::make_shared<Playlist>();
    auto waltz = std::make_shared<PlaylistEntry>(QUrl::fromLocalFile(folder + "/waltz.mp3"), 200.0);
    waltz->prevTimeRangeSet = std::make_shared<TimeRangeSet>(std::vector<TimeRange>{{0, 150}});
    waltz->zeros = {2.0, 30.0};
    waltz->playedDates = {QDateTime(QDate(2026, 1, 10), QTime(21, 30, 5, 125), Qt::UTC)};
    waltz->storedBookmark = (folder + "/waltz.mp3").toUtf8();
    waltz->isCheckmarked = true;
    waltz->tags = "slow";
    waltz->sideDocuments = {
        std::make_shared<SideDocument>(QUrl::fromLocalFile(folder + "/waltz.pdf"), "pdf")};
    ASSERT_TRUE(testaudio::write({}, testaudio::Container::Wav, folder + "/tone.wav"));
    auto tone = std::make_shared<PlaylistEntry>(QUrl::fromLocalFile(folder + "/tone.wav"));
    playlist->allEntries = {
        waltz, tone,
        std::make_shared<PlaylistEntry>(QUrl::fromLocalFile(folder + "x/other.mp3"), 60.0)};
    playlist->currentTime = 31.5;
    playlist->_ageUnits = AgeUnits::days;
    playlist->assignedEntry = tone;
    const QString session = dir.filePath("Session.varlin");
    ASSERT_TRUE(playlist->save(QUrl::fromLocalFile(session)));
    writeFile(folder + "/waltz.txt", "x\n 0:10 one\n 0:20 two\n");
    const QByteArray original = readFile(session);

    const Result show = runTool({"show", session});
    ASSERT_EQ(show.exitCode, 0) << show.err.toStdString();
    const QStringList lines = show.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    // Folder, title, duration, played, age, tags, checked, zeros, notes.
    const QStringList row = lines[1].split(' ', Qt::SkipEmptyParts);
    ASSERT_EQ(row.size(), 10) << lines[1].toStdString();
    EXPECT_EQ(row.mid(2, 3), QStringList({"waltz", "3:20", "75%"}));
    EXPECT_EQ(row.mid(6), QStringList({"slow", "yes", "2", "2"}));
    // The real track is measured; the cached durations of the others are shown as stored.
    EXPECT_TRUE(lines[2].contains(" 0:01 ")) << lines[2].toStdString();

    const Result json = runTool({"json", session});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    EXPECT_TRUE(json.out.contains("\"2026-01-10T21:30:05.125Z\"")) << json.out.toStdString();
    const QString jsonPath = dir.filePath("session.json");
    const auto fromJson = [&](const QString& text, const QString& target) {
        writeFile(jsonPath, text.toUtf8());
        return runTool({"from-json", jsonPath, target});
    };
    const Result back = fromJson(json.out, dir.filePath("Copy.varlin"));
    ASSERT_EQ(back.exitCode, 0) << back.err.toStdString();
    EXPECT_EQ(readFile(dir.filePath("Copy.varlin")), original);

    const Result refused =
        fromJson(R"({"playlist": [{"_url": "file:///m/a.mp3"}], "currentTime": 1})", session);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("entry 1: missing key \"prevTimeRangeSet\""))
        << refused.err.toStdString();
    // A zero character would make the session written one that cannot be opened.
    const Result zero = fromJson(QString(json.out).replace("slow", "sl\\u0000ow"), session);
    EXPECT_EQ(zero.exitCode, 1);
    EXPECT_TRUE(zero.err.contains("a text holds a zero character")) << zero.err.toStdString();
    EXPECT_EQ(readFile(session), original);

    // A session file holds dates within 68 years of 2001 only: a later one is not a date (and
    // its optional key reads as missing) rather than one that would come back as another.
    const QString far = dir.filePath("Far.varlin");
    ASSERT_EQ(fromJson(QString(json.out).replace("2026-01-10T21", "3195-01-10T21"), far).exitCode,
              0);
    const PlaylistPtr farPlaylist = Playlist::open(QUrl::fromLocalFile(far), nullptr);
    ASSERT_TRUE(farPlaylist);
    EXPECT_TRUE(farPlaylist->allEntries[0]->playedDates.empty());

    const Result moved = runTool({"relocate", session, folder, dir.filePath("moved") + "/"});
    ASSERT_EQ(moved.exitCode, 0) << moved.err.toStdString();
    EXPECT_EQ(moved.out.trimmed(), "2 of 3 entries moved");
    const PlaylistPtr relocated = Playlist::open(QUrl::fromLocalFile(session), nullptr);
    ASSERT_TRUE(relocated);
    EXPECT_EQ(relocated->allEntries[1]->_url.toLocalFile(), dir.filePath("moved/tone.wav"));
}
