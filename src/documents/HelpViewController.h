#pragma once
// The guide ("index.html"): how to run an evening, the keys, the remote, the modes. The same
// pages are compiled into "Help.pdf" at build time, for the Help menu.

#include "documents/HtmlViewController.h"

#include <optional>

class HelpViewController : public HtmlViewController {
    Q_OBJECT
public:
    static constexpr const char* remoteAnchor = "remote";

    HelpViewController();

    // The remote's section: the two layouts with their picture.
    void showRemoteSection();

    // Writes the guide as a PDF into the program's cache folder (a viewer needs a file) and
    // returns its path; none with a one-line diagnostic when it cannot be written.
    static std::optional<QString> writeHelpPdf();
    // The Help menu's "Help": the PDF guide in the desktop's default application.
    static void openPdfHelp(const std::function<bool(const QUrl&)>& opener);
};
