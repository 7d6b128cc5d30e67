#include "documents/AboutViewController.h"

#include "services/Environment.h"

AboutViewController::AboutViewController(std::function<void()> showHelpWindow)
    : HtmlViewController("About.html", "About Varlin"), showHelpWindow(std::move(showHelpWindow)) {
    load();
}

void AboutViewController::command(const QString& name) {
    if (name == "showHelpWindow" && showHelpWindow)
        showHelpWindow();
    else
        HtmlViewController::command(name);
}

QString AboutViewController::pageText(const QString& html) const {
    return QString(html)
        .replace("@VERSION@", Environment::appVersion().toHtmlEscaped())
        .replace("@BUILD_DATE@", Environment::buildDate().toString(Qt::ISODate));
}
