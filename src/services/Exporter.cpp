#include "services/Exporter.h"

#include "platform/Diagnostics.h"
#include "services/Preferences.h"

#include <QDir>
#include <QFile>
#include <QtConcurrent/QtConcurrentRun>

namespace {

const QString sessionSuffix = QStringLiteral(".varlin");

} // namespace

Exporter::Exporter(std::function<std::optional<QString>()> cloudFolder)
    : cloudFolder(cloudFolder ? std::move(cloudFolder)
                              : [] { return Preferences::shared().cloudFolder(); }) {
    // One export after another: two exports of one session never race for the same target.
    worker.setMaxThreadCount(1);
}

Exporter::~Exporter() {
    closing = true;
    worker.waitForDone();
}

QString Exporter::sessionName(const QUrl& sessionUrl) {
    const QString fileName = sessionUrl.fileName();
    if (fileName.endsWith(sessionSuffix) && fileName.size() > sessionSuffix.size())
        return fileName.chopped(sessionSuffix.size());
    return fileName;
}

QFuture<Exporter::Counts> Exporter::exportPlaylist(const Playlist& playlist,
                                                   const std::optional<QUrl>& sessionUrl) {
    if (!sessionUrl)
        return {};
    const std::optional<QString> cloud = cloudFolder();
    if (!cloud) {
        printLine("No cloud folder chosen: choose one in Preferences to export");
        return {};
    }
    const QString session = sessionName(*sessionUrl);
    printLine(session);

    // The entries belong to the main thread: the worker gets copies of what it needs.
    std::vector<Copy> copies;
    for (const PlaylistEntryPtr& entry : playlist.allEntries)
        if (entry->isCheckmarked)
            copies.push_back({entry->_url.toLocalFile(), entry->_url.fileName()});
    const QString folder = QDir(*cloud).filePath(QStringLiteral("Documents/") + session);
    return QtConcurrent::run(&worker, [this, folder, session, copies = std::move(copies)] {
        return copyAll(folder, session, copies);
    });
}

Exporter::Counts Exporter::copyAll(const QString& folder, const QString& session,
                                   const std::vector<Copy>& copies) {
    Counts counts;
    if (closing)
        return counts;
    if (!QDir().mkpath(folder))
        printLine("failed to create directory " + session);
    for (const Copy& copy : copies) {
        if (closing)
            return counts;
        const QString target = QDir(folder).filePath(copy.targetName);
        const bool copied = !copy.source.isEmpty() && !copy.targetName.isEmpty() &&
                            QFile::copy(copy.source, target);
        const QString targetUrl = QUrl::fromLocalFile(target).toString();
        printLine((copied ? "copied to " : "didn't copy to ") + targetUrl);
        ++(copied ? counts.copied : counts.skipped);
    }
    return counts;
}
