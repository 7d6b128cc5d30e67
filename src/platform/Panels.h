#pragma once
// The questions the shell asks the user: file panels and the one confirmation alert. Each answer
// arrives through a continuation, so the window can show them as window-modal sheets while the
// music goes on, and tests can answer at once with a fake.

#include <QString>
#include <QUrl>
#include <functional>
#include <optional>
#include <vector>

class Panels {
public:
    virtual ~Panels() = default;

    // Open panel for one session file, starting in `folder`. None when cancelled.
    virtual void chooseSessionToOpen(const QString& folder,
                                     std::function<void(std::optional<QUrl>)> done) = 0;
    // Save panel for a session, starting in `folder` with `proposedName`. None when cancelled.
    virtual void chooseSessionToSave(const QString& folder, const QString& proposedName,
                                     std::function<void(std::optional<QUrl>)> done) = 0;
    // Open panel for several audio files and folders. Empty when cancelled.
    virtual void chooseFilesToAdd(std::function<void(std::vector<QUrl>)> done) = 0;
    // Open panel for the one file that a moved track now is. None when cancelled.
    virtual void chooseMovedFile(std::function<void(std::optional<QUrl>)> done) = 0;
    // Warning alert with two buttons; true only for the first (`okTitle`).
    virtual void confirm(const QString& message, const QString& okTitle, const QString& cancelTitle,
                         std::function<void(bool)> done) = 0;
};
