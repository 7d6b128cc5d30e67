#include "services/Exporter.h"

#include "platform/Diagnostics.h"
#include "services/Preferences.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Session {
    Session() {
        QDir(root.path()).mkpath("music");
        QDir(root.path()).mkpath("cloud");
        write("music/a.mp3", "first track");
        write("music/b.mp3", "unchecked track");
        write("music/c.mp3", "third track");
        write("Friday.varlin", "session bytes");
        for (const char* name : {"a.mp3", "b.mp3", "c.mp3", "missing.mp3"}) {
            auto entry = std::make_shared<PlaylistEntry>(
                QUrl::fromLocalFile(root.filePath(QString("music/") + name)), 60.0);
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
        return QUrl::fromLocalFile(root.filePath("cloud/Documents/Friday/" + name)).toString();
    }
    QUrl sessionUrl() const { return QUrl::fromLocalFile(root.filePath("Friday.varlin")); }

    QTemporaryDir root;
    std::shared_ptr<Playlist> playlist = std::make_shared<Playlist>();
};

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(Exporter, CopiesCheckmarkedEntriesOnceAndNeverOverwrites) {
    Session session;
    Preferences::shared().setCloudFolder(session.cloud());
    const QDateTime sessionModified = QFileInfo(session.sessionUrl().toLocalFile()).lastModified();
    DiagnosticCapture output;
    Exporter exporter;

    const Exporter::Counts first =
        exporter.exportPlaylist(*session.playlist, session.sessionUrl()).result();
    EXPECT_EQ(first.copied, 2);
    EXPECT_EQ(first.skipped, 1);
    EXPECT_EQ(output.lines(), QStringList({"Friday", "copied to " + session.exported("a.mp3"),
                                           "copied to " + session.exported("c.mp3"),
                                           "didn't copy to " + session.exported("missing.mp3")}));
    const QDir folder(session.root.filePath("cloud/Documents/Friday"));
    EXPECT_EQ(folder.entryList(QDir::Files), QStringList({"a.mp3", "c.mp3"}));

    output.clear();
    session.write("music/a.mp3", "changed since");
    const Exporter::Counts again =
        exporter.exportPlaylist(*session.playlist, session.sessionUrl()).result();
    EXPECT_EQ(again.copied, 0);
    EXPECT_EQ(again.skipped, 3);
    EXPECT_EQ(output.lines().size(), 4);
    EXPECT_EQ(contents(folder.filePath("a.mp3")), "first track");

    EXPECT_EQ(contents(session.sessionUrl().toLocalFile()), "session bytes");
    EXPECT_EQ(QFileInfo(session.sessionUrl().toLocalFile()).lastModified(), sessionModified);
}

TEST(Exporter, TheListIsTakenBeforeTheCopyingStarts) {
    Session session;
    DiagnosticCapture output;
    Exporter exporter([&] { return std::optional(session.cloud()); });
    QFuture<Exporter::Counts> done =
        exporter.exportPlaylist(*session.playlist, session.sessionUrl());
    // The worker must not depend on the playlist, which the main thread keeps changing.
    session.playlist->allEntries.clear();
    session.playlist.reset();
    done.waitForFinished();
    EXPECT_EQ(output.lines().size(), 4);
    EXPECT_TRUE(QFile::exists(session.root.filePath("cloud/Documents/Friday/a.mp3")));
}

TEST(Exporter, NothingToExportWithoutSessionOrCloudFolder) {
    Session session;
    DiagnosticCapture output;
    std::optional<QString> cloud;
    Exporter exporter([&] { return cloud; });

    // Cancelled, so that whoever waits for counts hears nothing.
    EXPECT_TRUE(exporter.exportPlaylist(*session.playlist, std::nullopt).isCanceled());
    EXPECT_TRUE(output.lines().isEmpty());

    exporter.exportPlaylist(*session.playlist, session.sessionUrl()).waitForFinished();
    EXPECT_EQ(output.lines(),
              QStringList("No cloud folder chosen: choose one in Preferences to export"));

    // Never saved, with a cloud folder: still nothing, not even the session name.
    output.clear();
    cloud = session.cloud();
    exporter.exportPlaylist(*session.playlist, std::nullopt).waitForFinished();
    EXPECT_TRUE(output.lines().isEmpty());
    EXPECT_TRUE(QDir(session.cloud()).isEmpty());
}

TEST(Exporter, FolderNamesAndFailures) {
    EXPECT_EQ(Exporter::sessionName(QUrl::fromLocalFile("/s/Friday.varlin")), "Friday");
    EXPECT_EQ(Exporter::sessionName(QUrl::fromLocalFile("/s/a.varlin.varlin")), "a.varlin");
    EXPECT_EQ(Exporter::sessionName(QUrl::fromLocalFile("/s/.varlin")), ".varlin");

    Session session;
    DiagnosticCapture output;
    Exporter exporter([&] { return std::optional(session.cloud()); });

    // No checkmarks: the folder is made, empty.
    for (const PlaylistEntryPtr& entry : session.playlist->allEntries)
        entry->isCheckmarked = false;
    exporter.exportPlaylist(*session.playlist, QUrl::fromLocalFile("/s/Empty.varlin"))
        .waitForFinished();
    EXPECT_EQ(output.lines(), QStringList("Empty"));
    EXPECT_TRUE(QDir(session.root.filePath("cloud/Documents/Empty")).exists());

    // A file where the folder should be: every copy fails with its own line.
    output.clear();
    session.write("cloud/Documents/Blocked", "in the way");
    session.playlist->allEntries[0]->isCheckmarked = true;
    exporter.exportPlaylist(*session.playlist, QUrl::fromLocalFile("/s/Blocked.varlin"))
        .waitForFinished();
    const QString target =
        QUrl::fromLocalFile(session.root.filePath("cloud/Documents/Blocked/a.mp3")).toString();
    EXPECT_EQ(output.lines(), QStringList({"Blocked", "failed to create directory Blocked",
                                           "didn't copy to " + target}));
}
