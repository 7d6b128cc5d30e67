#include "shell/PropertiesController.h"

#include <QDir>

PropertiesController::PropertiesController(PlaylistPtr playlist, FolderChooser chooseFolder,
                                           std::function<void()> foldersChanged)
    : playlist(std::move(playlist)), chooseFolder(std::move(chooseFolder)),
      foldersChanged(std::move(foldersChanged)) {}

QString PropertiesController::sessionUrlText() const {
    if (!playlist->url)
        return "Not saved yet";
    return playlist->url->toDisplayString(QUrl::PreferLocalFile);
}

QString PropertiesController::prefixText() const {
    return playlist->_directoryPrefix.value_or(QString());
}

void PropertiesController::prefixEdited(const QString& text) {
    const QString trimmed = text.trimmed();
    const std::optional<QString> prefix =
        trimmed.isEmpty() ? std::nullopt : std::optional<QString>(trimmed);
    if (prefix == playlist->_directoryPrefix)
        return;
    playlist->_directoryPrefix = prefix;
    playlist->dirty = true;
    if (foldersChanged)
        foldersChanged();
    emit changed();
}

void PropertiesController::choosePrefixPressed() {
    const QString start = playlist->directoryPrefix();
    chooseFolder(start.isEmpty() ? QDir::homePath() : start, [this](std::optional<QString> path) {
        if (path)
            prefixEdited(*path);
    });
}
