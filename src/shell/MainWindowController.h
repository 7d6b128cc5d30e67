#pragma once
// The main window's commands around the main controller: the two mode tools (prepare and dance)
// with their pictures, the transport and break tools, adding and removing entries, the companion
// reference program, the idle countdown on window activation, the keyboard's media keys while the
// window has the focus, and the mouse pointer that hides after a second without movement while
// the window is active, so it never sits over the times.

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

class MainViewController;
class Panels;
class QAction;
class QKeyEvent;
class QWidget;

class MainWindowController : public QObject {
    Q_OBJECT
public:
    struct Options {
        // Seconds since the mouse last moved; defaults to watching the program's mouse events.
        std::function<double()> secondsSinceMouseMoved;
        // Whether the main window is the active one; defaults to asking the window.
        std::function<bool()> windowIsActive;
    };

    MainWindowController(MainViewController& main, Panels& panels, QWidget& window,
                         Options options = {}, QObject* parent = nullptr);
    ~MainWindowController() override;

    // Dance mode: the session is live. Prepare mode: the player previews, nothing is recorded
    // and no break follows a track; a running break countdown stops.
    void actionDance();
    void actionPrepare();
    // Files chosen in the panel join the end of the list; the first of them becomes current.
    void actionAddEntry();
    // Starts the companion reference program ("choreodex" on PATH); the command is disabled
    // without one.
    void actionChoreodex();

    // The timer's action: hides the pointer after `mouseTimeOut` seconds without movement while
    // the window is active; it shows again when the mouse moves.
    void hideMouse();
    bool pointerHidden() const { return _pointerHidden; }

    // The pictures the mode tools show now ("dance-active", "prepare-inactive", ...).
    QString danceToolImage() const;
    QString prepareToolImage() const;

    QAction* prepareTool;
    QAction* danceTool;
    QAction* playTool;
    QAction* pauseTool;
    QAction* back1Tool;
    QAction* forward1Action;
    QAction* markZeroTool;
    QAction* prevZeroTool;
    QAction* nextZeroTool;
    QAction* breakTool;
    QAction* addEntryTool;
    QAction* removeEntryTool;
    QAction* choreodexAction;

    static constexpr float mouseTimeOut = 1.0f;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showModeImages();
    void showPointer();
    // Runs a media key pressed in the main window as the desktop's media controls do.
    bool mediaKeyPressed(QObject* watched, const QKeyEvent& key);

    MainViewController& main;
    Panels& panels;
    QWidget& window;
    Options options;
    QTimer mouseTimer;
    QElapsedTimer sinceMouseMoved;
    bool _pointerHidden = false;
    QString choreodexPath;
};
