#pragma once
// The About page ("About.html"): the version, and a link that opens the guide.

#include "documents/HtmlViewController.h"

class AboutViewController : public HtmlViewController {
    Q_OBJECT
public:
    // `showHelpWindow` runs for the page's "varlin:showHelpWindow" link.
    explicit AboutViewController(std::function<void()> showHelpWindow);

protected:
    void command(const QString& name) override;
    QString pageText(const QString& html) const override;

private:
    std::function<void()> showHelpWindow;
};
