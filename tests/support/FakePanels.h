#pragma once
// The user's panels answered by a test: prepared answers, and a record of the questions asked.

#include "platform/Panels.h"

#include <QStringList>

// Answers each question with the next prepared answer, and keeps the questions asked.
class FakePanels : public Panels {
public:
    void chooseSessionToOpen(const QString&,
                             std::function<void(std::optional<QUrl>)> done) override {
        done(std::nullopt);
    }
    void chooseSessionToSave(const QString&, const QString&,
                             std::function<void(std::optional<QUrl>)> done) override {
        done(std::nullopt);
    }
    void chooseFilesToAdd(std::function<void(std::vector<QUrl>)> done) override { done({}); }
    void chooseMovedFile(std::function<void(std::optional<QUrl>)> done) override {
        done(movedFile);
    }
    void confirm(const QString& message, const QString& okTitle, const QString& cancelTitle,
                 std::function<void(bool)> done) override {
        questions << QStringList{message, okTitle, cancelTitle}.join(QLatin1Char('|'));
        done(confirmAnswer);
    }

    std::optional<QUrl> movedFile;
    bool confirmAnswer = true;
    QStringList questions;
};
