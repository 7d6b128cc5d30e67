#pragma once
// The side documents of the current entry, as the stack of buttons beside the displays shows
// them: adding documents to the selected entries, removing one on a modifier-click, and opening
// one by its tag in the PDF viewer, the MP4 viewer or the desktop's default application.
// Session files come from other people, so only regular, readable files are opened, and never a
// program or desktop entry.

#include "model/PlaylistEntry.h"

#include <QObject>
#include <QUrl>
#include <functional>
#include <optional>
#include <vector>

class Panels;
class ViewerWindows;

class SideDocumentStack : public QObject {
    Q_OBJECT
public:
    // What the main window supplies.
    struct Hooks {
        // The entries of the selected table rows.
        std::function<std::vector<PlaylistEntryPtr>()> selectedEntries;
        // Shows the add panel ("Add", "Add an associated document"); answers with the chosen
        // files, none when cancelled.
        std::function<void(std::function<void(std::vector<QUrl>)>)> chooseDocuments;
        // Opens a file with the desktop's default application; false when none took it.
        std::function<bool(const QUrl&)> openWithDefaultApplication;
    };

    SideDocumentStack(Panels& panels, ViewerWindows& viewers, Hooks hooks);

    // The rebuild: the stack now shows this entry's documents (none for no entry).
    void setCurrentEntry(const PlaylistEntryPtr& entry);
    const PlaylistEntryPtr& currentEntry() const { return entry; }
    std::vector<std::shared_ptr<SideDocument>> documents() const;

    void sideStackAddButtonPressed();
    // Each URL goes to each entry that has no document with an equal URL yet.
    void addDocuments(const std::vector<QUrl>& urls, const std::vector<PlaylistEntryPtr>& entries);
    // With Alt or Control held: removal after asking; otherwise the document opens.
    void buttonClicked(const std::shared_ptr<SideDocument>& document);
    void open(const SideDocument& document);

    // Why the file must not be opened, none when it may be. The viewers only read the file; the
    // desktop's default application could run it, so for that programs are refused as well
    // (the execute bit, a desktop entry, or an executable or script type).
    static std::optional<QString> refusalReason(const QUrl& url, bool withDefaultApplication);

signals:
    // The buttons must be built again.
    void rebuilt();
    // Documents were added or removed: the session has unsaved changes.
    void documentsChanged();

private:
    void removeDocument(const QUrl& url);

    Panels& panels;
    ViewerWindows& viewers;
    Hooks hooks;
    PlaylistEntryPtr entry;
};
