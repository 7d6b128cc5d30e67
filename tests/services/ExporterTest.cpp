#include "services/Exporter.h"

#include "platform/Diagnostics.h"
#include "services/Preferences.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Three tracks of which the second is not checkmarked, and a fourth that does not exist.
struct Session {
    Session() {
        QDir(root.path()).mkpath("music");
        QDir(root.path()).mkpath("cloud");
        write("Friday.varlin", "session bytes");
        for (const char* name : {"a.mp3", "b.mp3", "c.mp3", "missing.mp3"}) {
            const QString path = QString("music/") + name;
            if (QString(name) != "missing.mp3")
                write(path, QByteArray("track ") + name);
            auto entry = std::make_shared<PlaylistEntry>(QUrl::fromLocalFile(root.filePath(path)));
            entry->isCheckmarked = QString(name) != "b.mp3";
            playlist->allEntries.push_back(entry);
        }
    }

    void write(const QString& name, const QByteArray& bytes) const {
        QFile file(root.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QString cloud() const { return root.filePath("cloud"); }
    QString exported(const QString& name) const {
        return QUrl::fromLocalFile(root.filePath("cloud/Documents/" + name)).toString();
    }
    QUrl sessionUrl() const { return QUrl::fromLocalFile(root.filePath("Friday.varlin")); }

    QTemporaryDir root;
    std::shared_ptr<Playlist> playlist = std::make_shared<Playlist>();
};

} // namespace

TEST(Exporter, CopiesCheckmarkedEntriesOnceAndNeverOverwrites) {
    Session session;
    Preferences::shared().setCloudFolder(session.cloud());
    const QDateTime sessionModified = QFileInfo(session.sessionUrl().toLocalFile()).lastModified();
    DiagnosticCapture output;
    Exporter exporter;

    Exporter::Counts counts =
        exporter.exportPlaylist(*session.playlist, session.sessionUrl()).result();
    EXPECT_EQ(std::pair(counts.copied, counts.skipped), std::pair(2, 1));
    EXPECT_EQ(output.lines(),
              QStringList({"Friday", "copied to " + session.exported("Friday/a.mp3"),
                           "copied to " + session.exported("Friday/c.mp3"),
                           "didn't copy to " + session.exported("Friday/missing.mp3")}));
    const QDir folder(session.root.filePath("cloud/Documents/Friday"));
    EXPECT_EQ(folder.entryList(QDir::Files), QStringList({"a.mp3", "c.mp3"}));

    session.write("music/a.mp3", "changed since");
    counts = exporter.exportPlaylist(*session.playlist, session.sessionUrl()).result();
    EXPECT_EQ(std::pair(counts.copied, counts.skipped), std::pair(0, 3));
    QFile copy(folder.filePath("a.mp3"));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), "track a.mp3");
    EXPECT_EQ(QFileInfo(session.sessionUrl().toLocalFile()).lastModified(), sessionModified);
}

TEST(Exporter, TheListIsTakenBeforeTheCopyingStarts) {
    Session session;
    DiagnosticCapture output;
    Exporter exporter([&] { return std::optional(session.cloud()); });
    QFuture<Exporter::Counts> done =
        exporter.exportPlaylist(*session.playlist, session.sessionUrl());
    // The worker must not depend on the playlist, which the main thread keeps changing.
    session.playlist.reset();
    EXPECT_EQ(done.result().copied, 2);
}

TEST(Exporter, NothingToExportWithoutSessionOrCloudFolder) {
    Session session;
    DiagnosticCapture output;
    std::optional<QString> cloud;
    Exporter exporter([&] { return cloud; });
    exporter.exportPlaylist(*session.playlist, session.sessionUrl()).waitForFinished();
    EXPECT_EQ(output.lines(),
              QStringList("No cloud folder chosen: choose one in Preferences to export"));

    // Never saved: cancelled, so that whoever waits for counts hears nothing.
    output.clear();
    cloud = session.cloud();
    EXPECT_TRUE(exporter.exportPlaylist(*session.playlist, std::nullopt).isCanceled());
    EXPECT_TRUE(output.lines().isEmpty());
    EXPECT_TRUE(QDir(session.cloud()).isEmpty());
}

TEST(Exporter, FolderNamesAndFailures) {
    EXPECT_EQ(Exporter::sessionName(QUrl::fromLocalFile("/s/a.varlin.varlin")), "a.varlin");
    EXPECT_EQ(Exporter::sessionName(QUrl::fromLocalFile("/s/.varlin")), ".varlin");

    // A file where the folder should be: every copy fails with its own line.
    Session session;
    DiagnosticCapture output;
    Exporter exporter([&] { return std::optional(session.cloud()); });
    QDir(session.cloud()).mkpath("Documents");
    session.write("cloud/Documents/Blocked", "in the way");
    session.playlist->allEntries.resize(1);
    exporter.exportPlaylist(*session.playlist, QUrl::fromLocalFile("/s/Blocked.varlin"))
        .waitForFinished();
    EXPECT_EQ(output.lines(), QStringList({"Blocked", "failed to create directory Blocked",
                                           "didn't copy to " + session.exported("Blocked/a.mp3")}));
}
