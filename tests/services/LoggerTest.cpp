#include "services/Logger.h"

#include "model/PlaylistEntry.h"
#include "model/WallClock.h"
#include "platform/Diagnostics.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

class LoggerTest : public testing::Test {
protected:
    LoggerTest() {
        // Each test starts without a log, also when the tests share one process.
        QDir(QFileInfo(path()).path()).removeRecursively();
        QFile::remove(QFileInfo(path()).path());
        setNow(QDateTime(QDate(2026, 12, 6), QTime(14, 5, 9)));
    }
    ~LoggerTest() override { WallClock::setSource({}); }

    void setNow(const QDateTime& when) {
        WallClock::setSource([when] { return when; });
    }

    static QString path() {
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
               "/net.brenmoor.varlin/net.brenmoor.varlin.log.txt";
    }

    static QStringList lines() {
        QFile file(path());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QString text = QString::fromUtf8(file.readAll());
        EXPECT_TRUE(text.isEmpty() || text.endsWith('\n'));
        EXPECT_FALSE(text.contains('\r'));
        text.chop(1);
        return text.split('\n');
    }

    // An entry of a 100 s track of which `played` seconds were heard.
    static std::shared_ptr<PlaylistEntry> played(const QString& file, double played) {
        auto entry = std::make_shared<PlaylistEntry>(QUrl::fromLocalFile(file), 100.0);
        entry->currentTimeRangeSet = std::make_shared<TimeRangeSet>();
        entry->currentTimeRangeSet->insertRange(10, 10 + played);
        return entry;
    }
};

TEST_F(LoggerTest, TitleOnceDateHeadersPerDayAndPerRun) {
    {
        Logger logger;
        EXPECT_EQ(logger.url, QUrl::fromLocalFile(path()));
        EXPECT_EQ(lines(), QStringList{"Varlin Log"});
        logger.log("-------------------------");
        logger.log("two\nlines");
        setNow(QDateTime(QDate(2026, 12, 7), QTime(0, 1, 2)));
        logger.log("after midnight");
    }
    QStringList log = lines();
    ASSERT_EQ(log.size(), 7);
    EXPECT_TRUE(log[1].startsWith(": ") && log[1].contains("2026") && !log[1].contains("05"));
    EXPECT_TRUE(log[2].contains("05") && log[2].contains("09") && !log[2].contains("2026"));
    EXPECT_TRUE(log[3].endsWith(" two"));
    EXPECT_EQ(log[4], "lines");
    EXPECT_TRUE(log[5].startsWith(": ") && log[5].contains("7"));
    EXPECT_NE(log[5], log[1]);
    EXPECT_TRUE(log[6].endsWith(" after midnight"));

    // A new run on the same day repeats the date header and never the title.
    Logger again;
    again.log("restarted");
    log = lines();
    ASSERT_EQ(log.size(), 9);
    EXPECT_EQ(log.count("Varlin Log"), 1);
    EXPECT_EQ(log[7], log[5]);
}

TEST_F(LoggerTest, PlayedTracksFromTenPercentWithFolderHeadersAndTitles) {
    Logger logger;
    logger.logPlayed(played("/music/a/Waltz.mp3", 9.49));
    EXPECT_EQ(lines(), QStringList{"Varlin Log"}) << "9.49 % is not logged, not even its folder";

    auto unreadable = std::make_shared<PlaylistEntry>(QUrl::fromLocalFile("/nowhere/y.mp3"));
    unreadable->currentTimeRangeSet = std::make_shared<TimeRangeSet>();
    unreadable->currentTimeRangeSet->insertRange(0, 1000);
    logger.logPlayed(unreadable);
    EXPECT_EQ(lines().size(), 1);

    logger.logPlayed(played("/music/a/Waltz.mp3", 9.5));
    logger.logPlayed(played("/music/a/Reel.MP3", 42));
    logger.logPlayed(played("/music/b/Jig.flac", 100));
    logger.logPlayed(played("/music/a/Polka.mp3.wav", 55.5));
    const QStringList log = lines();
    ASSERT_EQ(log.size(), 9);
    // The folder header of the run's first track stands above the date header.
    EXPECT_EQ(log[1], "> /music/a/");
    EXPECT_TRUE(log[2].startsWith(": "));
    EXPECT_TRUE(log[3].endsWith(" 10% Waltz"));
    EXPECT_TRUE(log[4].endsWith(" 42% Reel.MP3"));
    EXPECT_EQ(log[5], "> /music/b/");
    EXPECT_TRUE(log[6].endsWith(" 100% Jig.flac"));
    EXPECT_EQ(log[7], "> /music/a/");
    EXPECT_TRUE(log[8].endsWith(" 56% Polka.mp3.wav"));
}

TEST_F(LoggerTest, LinesThatCannotBeWrittenAreReportedAndDropped) {
    DiagnosticCapture capture;
    {
        Logger logger;
        ASSERT_TRUE(QFile::remove(path()));
        logger.log("lost");
        EXPECT_EQ(capture.lines(), (QStringList{"Can't write to log", "Can't write to log"}));
        EXPECT_FALSE(QFile::exists(path())) << "a deleted log is not recreated without its title";
    }
    Logger next;
    next.log("kept");
    EXPECT_EQ(lines().size(), 3);
    EXPECT_EQ(lines().front(), "Varlin Log");

    // The application folder cannot be made: the logger is created anyway and says so per line.
    capture.clear();
    const QString folder = QFileInfo(path()).path();
    ASSERT_TRUE(QDir(folder).removeRecursively());
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Logger blocked;
    blocked.log("nowhere");
    EXPECT_EQ(capture.lines().size(), 3);
}

} // namespace
