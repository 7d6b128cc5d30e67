#pragma once
// The user's panels answered by a test: a prepared save answer, and a count of the save panels.

#include "platform/Panels.h"

// Answers each panel at once: no file chosen and every question confirmed, except the save
// panel, which answers what the test prepared and counts how often it was shown.
class FakePanels : public Panels {
public:
    void chooseSessionToOpen(const QString&,
                             std::function<void(std::optional<QUrl>)> done) override {
        done(std::nullopt);
    }
    void chooseSessionToSave(const QString&, const QString&,
                             std::function<void(std::optional<QUrl>)> done) override {
        ++saveShown;
        done(saveAnswer);
    }
    void chooseFilesToAdd(std::function<void(std::vector<QUrl>)> done) override { done({}); }
    void chooseMovedFile(std::function<void(std::optional<QUrl>)> done) override {
        done(std::nullopt);
    }
    void confirm(const QString&, const QString&, const QString&,
                 std::function<void(bool)> done) override {
        done(true);
    }

    std::optional<QUrl> saveAnswer;
    int saveShown = 0;
};
