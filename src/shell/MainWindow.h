#pragma once
// The main window around the main view: menus with their shortcuts, the toolbar (the mode tools,
// the search field, the transport and break tools, adding and removing, the clock), the status
// bar, and the saved frame ("VarlinDefaultWindow"). It makes the main controller and the window's
// controller and hands the main controller to the application delegate.

#include "shell/SheetPanels.h"

#include <QMainWindow>
#include <memory>

class AboutViewController;
class AppDelegate;
class HelpViewController;
class MainView;
class MainViewController;
class MainWindowController;
class QLineEdit;
class QMenu;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char* frameKey = "VarlinDefaultWindow";
    static constexpr int statusSeconds = 6;

    explicit MainWindow(AppDelegate& delegate, QWidget* parent = nullptr);
    ~MainWindow() override;

    MainView& mainView() const { return *view; }
    MainViewController& controller() const { return *_controller; }
    MainWindowController& windowController() const { return *_windowController; }
    QLineEdit* searchField() const { return _searchField; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildToolbar();
    void fillRecentMenu();
    // The guide's window, made once and kept.
    HelpViewController& guide();

    AppDelegate& delegate;
    MainView* view;
    SheetPanels panels;
    // Owned here rather than as child objects, so that they go before the widgets do: the
    // widgets' teardown (the focus leaving the note field, windows hiding) then reaches no
    // controller, and no controller reaches a half-destroyed widget.
    std::unique_ptr<MainViewController> _controller;
    std::unique_ptr<MainWindowController> _windowController;
    QLineEdit* _searchField = nullptr;
    QMenu* recentMenu = nullptr;
    std::unique_ptr<HelpViewController> guideWindow;
    std::unique_ptr<AboutViewController> aboutWindow;
};
