#include "services/Logger.h"

#include "model/PlaylistEntry.h"
#include "platform/Diagnostics.h"
#include "support/FixedClock.h"
#include "support/TestFiles.h"

#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {
// An entry of a track of `duration` seconds of which `played` seconds were heard.
std::shared_ptr<PlaylistEntry> played(const QString& file, double played,
                                      std::optional<double> duration = 100.0) {
    auto entry = std::make_shared<PlaylistEntry>(QUrl::fromLocalFile(file), duration);
    entry->currentTimeRangeSet = std::make_shared<TimeRangeSet>();
    entry->currentTimeRangeSet->insertRange(10, 10 + played);
    return entry;
}
} // namespace

// A new day's header, the exact form of dates and times and an application folder that cannot be
// made have no test of their own.
TEST(Logger, TitleOnceHeadersPerRunPlayedTracksFromTenPercentAndNoFileWithoutItsTitle) {
    FixedClock clock{QDateTime(QDate(2026, 12, 6), QTime(14, 5, 9))};
    const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                         "/net.brenmoor.varlin/net.brenmoor.varlin.log.txt";
    {
        Logger logger;
        logger.log("two\nlines");
        logger.logPlayed(played("/music/a/Waltz.mp3", 9.49));
        logger.logPlayed(played("/nowhere/y.mp3", 1000, std::nullopt));
        logger.logPlayed(played("/music/a/Waltz.mp3", 9.5));
        logger.logPlayed(played("/music/b/Jig.flac", 100));
    }
    Logger again;
    again.log("restarted");
    const QString text = QString::fromUtf8(readFile(path));
    ASSERT_TRUE(text.endsWith('\n') && !text.contains('\r'));
    const QStringList log = text.chopped(1).split('\n');
    ASSERT_EQ(log.size(), 10) << text.toStdString();
    EXPECT_EQ(log[0], "Varlin Log");
    EXPECT_TRUE(log[1].startsWith(": ") && log[1].contains("2026") && !log[1].contains("05"));
    EXPECT_TRUE(log[2].contains("05") && log[2].contains("09") && log[2].endsWith(" two"));
    EXPECT_EQ(log[3], "lines");
    EXPECT_EQ(log[4], "> /music/a/");
    EXPECT_TRUE(log[5].endsWith(" 10% Waltz"));
    EXPECT_EQ(log[6], "> /music/b/");
    EXPECT_TRUE(log[7].endsWith(" 100% Jig.flac"));
    EXPECT_EQ(log[8], log[1]) << "a new run on the same day repeats the date header";

    DiagnosticCapture capture;
    ASSERT_TRUE(QFile::remove(path));
    again.log("lost");
    EXPECT_EQ(capture.lines(), QStringList{"Can't write to log"});
    EXPECT_FALSE(QFile::exists(path)) << "a deleted log is not recreated without its title";
}
