#include "services/Logger.h"

#include "model/PlaylistEntry.h"
#include "platform/Diagnostics.h"
#include "support/FixedClock.h"
#include "support/TestFiles.h"

#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

class LoggerTest : public testing::Test {
protected:
    LoggerTest() {
        // Each test starts without a log, also when the tests share one process.
        QDir(folder).removeRecursively();
        QFile::remove(folder);
    }

    QStringList lines() const {
        const QString text = QString::fromUtf8(readFile(path));
        EXPECT_TRUE(text.endsWith('\n') && !text.contains('\r'));
        return text.chopped(1).split('\n');
    }

    // An entry of a track of `duration` seconds of which `played` seconds were heard.
    static std::shared_ptr<PlaylistEntry> played(const QString& file, double played,
                                                 std::optional<double> duration = 100.0) {
        auto entry = std::make_shared<PlaylistEntry>(QUrl::fromLocalFile(file), duration);
        entry->currentTimeRangeSet = std::make_shared<TimeRangeSet>();
        entry->currentTimeRangeSet->insertRange(10, 10 + played);
        return entry;
    }

    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                           "/net.brenmoor.varlin";
    const QString path = folder + "/net.brenmoor.varlin.log.txt";
    FixedClock clock{QDateTime(QDate(2026, 12, 6), QTime(14, 5, 9))};
};

TEST_F(LoggerTest, TitleOnceDateHeadersPerDayAndPerRun) {
    {
        Logger logger;
        logger.log("two\nlines");
        clock.set(QDateTime(QDate(2026, 12, 7), QTime(0, 1, 2)));
        logger.log("after midnight");
    }
    Logger again;
    again.log("restarted");
    const QStringList log = lines();
    ASSERT_EQ(log.size(), 8);
    EXPECT_EQ(log[0], "Varlin Log");
    EXPECT_TRUE(log[1].startsWith(": ") && log[1].contains("2026") && !log[1].contains("05"));
    EXPECT_TRUE(log[2].contains("05") && log[2].contains("09") && log[2].endsWith(" two"));
    EXPECT_EQ(log[3], "lines");
    EXPECT_TRUE(log[4].startsWith(": ") && log[4] != log[1]);
    EXPECT_EQ(log[6], log[4]) << "a new run on the same day repeats the date header";
}

TEST_F(LoggerTest, PlayedTracksFromTenPercentWithFolderHeaders) {
    Logger logger;
    logger.logPlayed(played("/music/a/Waltz.mp3", 9.49));
    logger.logPlayed(played("/nowhere/y.mp3", 1000, std::nullopt));
    EXPECT_EQ(lines(), QStringList{"Varlin Log"}) << "not even the folder is logged";

    logger.logPlayed(played("/music/a/Waltz.mp3", 9.5));
    logger.logPlayed(played("/music/b/Jig.flac", 100));
    logger.logPlayed(played("/music/a/Polka.mp3.wav", 55.5));
    const QStringList log = lines();
    ASSERT_EQ(log.size(), 8);
    // The folder header of the run's first track stands above the date header.
    EXPECT_EQ(log[1], "> /music/a/");
    EXPECT_TRUE(log[3].endsWith(" 10% Waltz"));
    EXPECT_EQ(log[4], "> /music/b/");
    EXPECT_TRUE(log[5].endsWith(" 100% Jig.flac"));
    EXPECT_EQ(log[6], "> /music/a/");
    EXPECT_TRUE(log[7].endsWith(" 56% Polka.mp3.wav"));
}

TEST_F(LoggerTest, LinesThatCannotBeWrittenAreReportedAndDropped) {
    DiagnosticCapture capture;
    {
        Logger logger;
        ASSERT_TRUE(QFile::remove(path));
        logger.log("lost");
        EXPECT_EQ(capture.lines(), (QStringList{"Can't write to log", "Can't write to log"}));
        EXPECT_FALSE(QFile::exists(path)) << "a deleted log is not recreated without its title";
    }
    // The application folder cannot be made: the logger is created anyway and says so per line.
    capture.clear();
    ASSERT_TRUE(QDir(folder).removeRecursively());
    writeFile(folder, {});
    Logger blocked;
    blocked.log("nowhere");
    EXPECT_EQ(capture.lines().size(), 3);
}

} // namespace
