#pragma once
// The play log: an append-only text journal of which tracks were heard, how much of each, from
// which folder and when ("net.brenmoor.varlin.log.txt" in the application folder). Every line is
// written by its own open, append and close, so an editor may hold the file open meanwhile.
// Failures print "Can't write to log" and are otherwise silent. Main thread only.

#include <QDateTime>
#include <QString>
#include <QUrl>
#include <memory>

class PlaylistEntry;

class Logger {
public:
    // Creates the file with its title line when there is none yet.
    Logger();

    void writeRaw(const QString& text);
    void logDateIfChanged(const QDateTime& date);
    // One event line, stamped with the current time (WallClock::now()).
    void log(const QString& message);
    // The percentage heard of a track being left, when it is at least 10 %.
    void logPlayed(const std::shared_ptr<PlaylistEntry>& entry);

    QString prevDate;
    QString lastDir;
    const QUrl url;
};
