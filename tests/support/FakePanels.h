#pragma once
// The user's panels answered by a test: prepared answers, and a record of what was shown.

#include "platform/Panels.h"

#include <QStringList>

// Answers each panel at once with the answer the test prepared, and keeps what it showed.
class FakePanels : public Panels {
public:
    void chooseSessionToOpen(const QString& folder,
                             std::function<void(std::optional<QUrl>)> done) override {
        shownFolder = folder;
        done(openAnswer);
    }
    void chooseSessionToSave(const QString& folder, const QString& proposedName,
                             std::function<void(std::optional<QUrl>)> done) override {
        ++saveShown;
        shownFolder = folder;
        shownName = proposedName;
        done(saveAnswer);
    }
    void chooseFilesToAdd(std::function<void(std::vector<QUrl>)> done) override { done(addAnswer); }
    void chooseMovedFile(std::function<void(std::optional<QUrl>)> done) override {
        done(movedFile);
    }
    void confirm(const QString& message, const QString& okTitle, const QString& cancelTitle,
                 std::function<void(bool)> done) override {
        questions << QStringList{message, okTitle, cancelTitle}.join(QLatin1Char('|'));
        done(confirmAnswer);
    }

    std::optional<QUrl> openAnswer;
    std::optional<QUrl> saveAnswer;
    std::optional<QUrl> movedFile;
    std::vector<QUrl> addAnswer;
    bool confirmAnswer = true;
    QStringList questions;
    int saveShown = 0;
    QString shownFolder;
    QString shownName;
};
