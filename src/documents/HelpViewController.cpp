#include "documents/HelpViewController.h"

#include "platform/Diagnostics.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextBrowser>

static void registerHelpPdf() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(helppdf);
        return true;
    }();
    (void)registered;
}

HelpViewController::HelpViewController() : HtmlViewController("index.html", "Varlin Help") {
    load();
}

void HelpViewController::showRemoteSection() {
    show();
    browser()->scrollToAnchor(remoteAnchor);
}

std::optional<QString> HelpViewController::writeHelpPdf() {
    registerHelpPdf();
    QFile resource(":/Help.pdf");
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    const QString path = folder + "/Help.pdf";
    QSaveFile target(path);
    if (!resource.open(QIODevice::ReadOnly) || !QDir().mkpath(folder) ||
        !target.open(QIODevice::WriteOnly) || target.write(resource.readAll()) != resource.size() ||
        !target.commit()) {
        printLine("Can't write the help document to " + path);
        return std::nullopt;
    }
    return path;
}

void HelpViewController::openPdfHelp(const std::function<bool(const QUrl&)>& opener) {
    if (const auto path = writeHelpPdf(); path && !opener(QUrl::fromLocalFile(*path)))
        printLine("No application opened " + *path);
}
