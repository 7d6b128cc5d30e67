#pragma once
// What the Properties dialog shows and edits of the open session: its file, and the playlist's
// own directory prefix, which overrides the preference for this session. Changing the prefix
// marks the session changed and has the table show its folders again.

#include "model/Playlist.h"
#include "shell/PreferencesController.h"

#include <QObject>
#include <QString>
#include <functional>

class PropertiesController : public QObject {
    Q_OBJECT
public:
    PropertiesController(PlaylistPtr playlist, FolderChooser chooseFolder,
                         std::function<void()> foldersChanged);

    // The session file's path, or a note that it has not been saved yet.
    QString sessionUrlText() const;
    // The playlist's own prefix; empty when it uses the preference.
    QString prefixText() const;

    // An empty text drops the playlist's own prefix, so the preference applies again.
    void prefixEdited(const QString& text);
    void choosePrefixPressed();

signals:
    void changed();

private:
    PlaylistPtr playlist;
    FolderChooser chooseFolder;
    std::function<void()> foldersChanged;
};
