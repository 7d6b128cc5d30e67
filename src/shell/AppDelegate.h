#pragma once
// The application's side of the main window: the first activation, files opened from outside
// (the command line, or a second start handing its files over) and quitting, which waits for
// the session to be saved.

#include <QObject>
#include <QStringList>

class MainViewController;

class AppDelegate : public QObject {
    Q_OBJECT
public:
    explicit AppDelegate(QObject* parent = nullptr);

    MainViewController* mainViewController() const { return _mainViewController; }
    // Set by the main window once its controller exists.
    void setMainViewController(MainViewController* controller);

    // The first time only, the main controller comes back to the last run.
    void applicationDidBecomeActive();
    // Opens the files once the first activation has run (so the last run does not replace
    // them); at once after it.
    void openFiles(const QStringList& paths);
    // Audio Varlin can play joins the top of the list; any other file is opened as a session
    // when it is one. False for a non-audio file when there is no main controller.
    bool openFile(const QString& path);

    // Closing the main window or Quit: a note being typed is kept; ends now with a clean
    // session, otherwise after the save (not at all when the save is cancelled or fails).
    void requestQuit();

signals:
    // The application may end now.
    void terminating();
    // A second start asked for the window.
    void activationRequested();

private:
    MainViewController* _mainViewController = nullptr;
    bool _first = true;
    QStringList waitingFiles;
};
