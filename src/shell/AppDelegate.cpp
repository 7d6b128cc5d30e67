#include "shell/AppDelegate.h"

#include "platform/audio/AudioFileTypes.h"
#include "shell/MainViewController.h"
#include "shell/SessionController.h"

#include <QCoreApplication>
#include <QFileInfo>

AppDelegate::AppDelegate(QObject* parent) : QObject(parent) {}

void AppDelegate::setMainViewController(MainViewController* controller) {
    _mainViewController = controller;
}

void AppDelegate::applicationDidBecomeActive() {
    if (!_mainViewController || !_first)
        return;
    _first = false;
    _mainViewController->firstActivation();
    openFiles(std::exchange(waitingFiles, {}));
}

void AppDelegate::openFiles(const QStringList& paths) {
    if (_first) {
        waitingFiles += paths;
        return;
    }
    for (const QString& path : paths)
        openFile(path);
}

bool AppDelegate::openFile(const QString& path) {
    const QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    if (!_mainViewController)
        return isReadableAudioFile(path);
    _mainViewController->openFile(url);
    return true;
}

void AppDelegate::requestQuit() {
    if (_mainViewController) {
        _mainViewController->finishNoteEditing();
        const auto reply = _mainViewController->sessions().applicationShouldTerminate([this] {
            QMetaObject::invokeMethod(this, &AppDelegate::requestQuit, Qt::QueuedConnection);
        });
        if (reply == SessionController::TerminateReply::later)
            return;
    }
    emit terminating();
    QCoreApplication::quit();
}
