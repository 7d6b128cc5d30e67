#include "services/Exporter.h"

#include "platform/Diagnostics.h"
#include "services/Preferences.h"
#include "support/TestFiles.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The texts said without a cloud folder, a folder that cannot be made and the session's name have
// no test of their own.
TEST(Exporter, CopiesCheckmarkedEntriesOnceFromAListTakenAtTheStartAndNeverOverwrites) {
    // A saved session "Friday" of three tracks of which the second is not checkmarked, and a
    // fourth that does not exist.
    QTemporaryDir root;
    const QString cloud = root.filePath("cloud");
    QDir(root.path()).mkpath("music");
    QDir(root.path()).mkpath("cloud");
    const QUrl session = QUrl::fromLocalFile(writeFile(root.filePath("Friday.varlin"), "session"));
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
        writeFile(root.filePath(QString("music/") + name), QByteArray("track ") + name);
    const auto playlist = [&root] {
        auto list = std::make_unique<Playlist>();
        for (const char* name : {"a.mp3", "b.mp3", "c.mp3", "missing.mp3"}) {
            auto entry = std::make_shared<PlaylistEntry>(
                QUrl::fromLocalFile(root.filePath(QString("music/") + name)));
            entry->isCheckmarked = QString(name) != "b.mp3";
            list->allEntries.push_back(entry);
        }
        return list;
    };
    const auto exported = [&root](const QString& name) {
        return QUrl::fromLocalFile(root.filePath("cloud/Documents/Friday/" + name)).toString();
    };
    DiagnosticCapture output;
    Preferences::shared().setCloudFolder(cloud);
    const QDateTime sessionModified = QFileInfo(session.toLocalFile()).lastModified();
    Exporter exporter;
    // Never saved: cancelled, so that whoever waits for counts hears nothing.
    EXPECT_TRUE(exporter.exportPlaylist(*playlist(), std::nullopt).isCanceled());
    EXPECT_TRUE(output.lines().isEmpty() && QDir(cloud).isEmpty());

    // The worker must not depend on the playlist, which the main thread keeps changing.
    auto list = playlist();
    QFuture<Exporter::Counts> done = exporter.exportPlaylist(*list, session);
    list.reset();
    EXPECT_EQ(std::pair(done.result().copied, done.result().skipped), std::pair(2, 1));
    EXPECT_EQ(output.lines(), QStringList({"Friday", "copied to " + exported("a.mp3"),
                                           "copied to " + exported("c.mp3"),
                                           "didn't copy to " + exported("missing.mp3")}));

    writeFile(root.filePath("music/a.mp3"), "changed since");
    const Exporter::Counts again = exporter.exportPlaylist(*playlist(), session).result();
    EXPECT_EQ(std::pair(again.copied, again.skipped), std::pair(0, 3));
    EXPECT_EQ(readFile(root.filePath("cloud/Documents/Friday/a.mp3")), "track a.mp3");
    EXPECT_EQ(QFileInfo(session.toLocalFile()).lastModified(), sessionModified);
}
