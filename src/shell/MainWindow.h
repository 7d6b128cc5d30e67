#pragma once
// The main window around the main view: menus with their shortcuts, the toolbar with the search
// field and the clock, the status bar, and the saved frame ("VarlinDefaultWindow"). It makes the
// main controller and hands it to the application delegate.

#include "shell/SheetPanels.h"

#include <QMainWindow>
#include <memory>

class AboutViewController;
class AppDelegate;
class HelpViewController;
class MainView;
class MainViewController;
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
    MainViewController* _controller;
    QLineEdit* _searchField = nullptr;
    QMenu* recentMenu = nullptr;
    std::unique_ptr<HelpViewController> guideWindow;
    std::unique_ptr<AboutViewController> aboutWindow;
};
