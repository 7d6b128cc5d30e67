#include "documents/SideDocumentStack.h"

#include "platform/Desktop.h"
#include "platform/Diagnostics.h"
#include "platform/Panels.h"
#include "documents/ViewerWindows.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeDatabase>
#include <QStringList>
#include <algorithm>

namespace {

// MIME types (and their subtypes, such as every script type) that run code when "opened".
const QStringList runnableMimeTypes = {
    "application/x-executable",
    "application/x-sharedlib",
    "application/x-shellscript",
    "application/x-desktop",
    "application/x-ms-dos-executable",
    "application/x-msdownload",
    "application/vnd.microsoft.portable-executable",
    "application/x-msi",
    "application/vnd.appimage",
    "application/x-java-archive",
};

bool isRunnable(const QFileInfo& file) {
    if (file.isExecutable() || file.suffix().compare("desktop", Qt::CaseInsensitive) == 0)
        return true;
    const QMimeType type = QMimeDatabase().mimeTypeForFile(file);
    return std::any_of(runnableMimeTypes.begin(), runnableMimeTypes.end(),
                       [&](const QString& name) { return type.inherits(name); });
}

} // namespace

SideDocumentStack::SideDocumentStack(Panels& panels, ViewerWindows& viewers, Hooks hooks)
    : panels(panels), viewers(viewers), hooks(std::move(hooks)) {
    if (!this->hooks.openWithDefaultApplication)
        this->hooks.openWithDefaultApplication = Desktop::openFile;
}

void SideDocumentStack::setCurrentEntry(const PlaylistEntryPtr& newEntry) {
    entry = newEntry;
    emit rebuilt();
}

std::vector<std::shared_ptr<SideDocument>> SideDocumentStack::documents() const {
    return entry ? entry->sideDocuments : std::vector<std::shared_ptr<SideDocument>>{};
}

void SideDocumentStack::sideStackAddButtonPressed() {
    if (!hooks.chooseDocuments)
        return;
    hooks.chooseDocuments([this](std::vector<QUrl> urls) {
        if (!urls.empty() && hooks.selectedEntries)
            addDocuments(urls, hooks.selectedEntries());
    });
}

void SideDocumentStack::addDocuments(const std::vector<QUrl>& urls,
                                     const std::vector<PlaylistEntryPtr>& entries) {
    bool added = false;
    for (const QUrl& url : urls) {
        for (const PlaylistEntryPtr& target : entries) {
            auto& list = target->sideDocuments;
            const bool present = std::any_of(list.begin(), list.end(),
                                             [&](const auto& doc) { return doc->url == url; });
            if (present)
                continue;
            list.push_back(std::make_shared<SideDocument>(url, QFileInfo(url.path()).suffix()));
            added = true;
        }
    }
    if (added)
        emit documentsChanged();
    emit rebuilt();
}

void SideDocumentStack::buttonClicked(const std::shared_ptr<SideDocument>& document) {
    if (!(QGuiApplication::queryKeyboardModifiers() & (Qt::AltModifier | Qt::ControlModifier))) {
        open(*document);
        return;
    }
    const QUrl url = document->url;
    panels.confirm("Remove file button?", "Remove", "Cancel", [this, url](bool remove) {
        if (remove)
            removeDocument(url);
    });
}

void SideDocumentStack::removeDocument(const QUrl& url) {
    if (!entry)
        return;
    auto& list = entry->sideDocuments;
    const auto removed = std::erase_if(
        list, [&](const std::shared_ptr<SideDocument>& doc) { return doc->url == url; });
    if (removed > 0)
        emit documentsChanged();
    emit rebuilt();
}

std::optional<QString> SideDocumentStack::refusalReason(const QUrl& url,
                                                        bool withDefaultApplication) {
    if (!url.isLocalFile())
        return "it is not a local file";
    const QFileInfo link(url.toLocalFile());
    const QFileInfo file(link.canonicalFilePath());
    if (!link.exists() || !file.isFile())
        return "it is not a regular file";
    if (!file.isReadable())
        return "it is not readable";
    // Judged on both the link and its target: either may carry the program's name or type.
    if (withDefaultApplication && (isRunnable(link) || isRunnable(file)))
        return "it is a program or desktop entry";
    return std::nullopt;
}

void SideDocumentStack::open(const SideDocument& document) {
    const QString name = document.url.toDisplayString(QUrl::PreferLocalFile);
    // The tag compares exactly: "PDF" is not "pdf" and goes to the default application.
    const bool inViewer = document.tag == "pdf" || document.tag == "mp4";
    if (const auto reason = refusalReason(document.url, !inViewer)) {
        printLine("Not opening side document " + name + ": " + *reason);
        return;
    }
    if (document.tag == "pdf")
        viewers.openPdf(document.url);
    else if (document.tag == "mp4")
        viewers.openMp4(document.url);
    else if (!hooks.openWithDefaultApplication(document.url))
        printLine("No application opened side document " + name);
}
