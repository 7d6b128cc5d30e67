#pragma once
// The user's panels as window-modal sheets over the main window: file dialogs for sessions and
// tracks, and the warning alert with two buttons. Each answer arrives when the sheet closes.

#include "platform/Panels.h"

class QWidget;

class SheetPanels : public Panels {
public:
    explicit SheetPanels(QWidget* window) : window(window) {}

    void chooseSessionToOpen(const QString& folder,
                             std::function<void(std::optional<QUrl>)> done) override;
    void chooseSessionToSave(const QString& folder, const QString& proposedName,
                             std::function<void(std::optional<QUrl>)> done) override;
    void chooseFilesToAdd(std::function<void(std::vector<QUrl>)> done) override;
    void chooseMovedFile(std::function<void(std::optional<QUrl>)> done) override;
    void confirm(const QString& message, const QString& okTitle, const QString& cancelTitle,
                 std::function<void(bool)> done) override;

    // The side documents' add panel, several existing files at once. Empty when cancelled.
    static void chooseDocuments(QWidget* window, std::function<void(std::vector<QUrl>)> done);

private:
    QWidget* window;
};
