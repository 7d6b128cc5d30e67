#pragma once
// The commands of varlin-session. Each returns the process exit code; results go to `out`,
// errors (one line each) to `err`. Only from-json and relocate write, and always atomically.

#include "model/Playlist.h"

#include <QStringList>
#include <QTextStream>

class SessionTool {
public:
    SessionTool(QTextStream& out, QTextStream& err) : _out(out), _err(err) {}

    // Dispatches "show", "json", "from-json" and "relocate" with their arguments.
    int run(const QStringList& arguments);

    // The session that from-json writes for the JSON text; null with a one-line reason.
    static PlaylistPtr playlistFromJson(const QByteArray& json, QString* reason);

private:
    int show(const QString& file);
    int json(const QString& file);
    int fromJson(const QString& jsonFile, const QString& file);
    int relocate(const QString& file, const QString& oldFolder, const QString& newFolder);
    int usage();
    int fail(const QString& message);

    QTextStream& _out;
    QTextStream& _err;
};
