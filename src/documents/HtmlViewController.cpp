#include "documents/HtmlViewController.h"

#include "documents/ScreenFit.h"
#include "platform/Desktop.h"
#include "platform/Diagnostics.h"

#include <QDebug>
#include <QFile>
#include <QTextBrowser>

// Outside any namespace, as Q_INIT_RESOURCE requires. The pages live in this static
// library, whose resource registration a linker may otherwise leave out.
static void registerHelpPages() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(help);
        return true;
    }();
    (void)registered;
}

namespace {
const QString pagesFolder = QStringLiteral(":/help/");
}

HtmlViewController::HtmlViewController(const QString& page, const QString& title)
    : page(page), _browser(new QTextBrowser), openLink(Desktop::openFile) {
    registerHelpPages();
    _browser->setWindowTitle(title);
    resizeToFit(*_browser, QSize(760, 860));
    _browser->setOpenLinks(false);
    _browser->setSearchPaths({pagesFolder});
    _browser->document()->setDocumentMargin(14);
    connect(_browser, &QTextBrowser::anchorClicked, this, &HtmlViewController::linkActivated);
}

HtmlViewController::~HtmlViewController() {
    delete _browser;
}

QUrl HtmlViewController::pageUrl(const QString& page) {
    return QUrl("qrc" + pagesFolder + page);
}

void HtmlViewController::load() {
    QFile file(pagesFolder + page);
    if (!file.open(QIODevice::ReadOnly)) {
        printLine("Can't read the page " + page);
        return;
    }
    _browser->document()->setBaseUrl(pageUrl(page));
    _browser->setHtml(pageText(QString::fromUtf8(file.readAll())));
}

void HtmlViewController::show() {
    _browser->show();
    _browser->raise();
    _browser->activateWindow();
}

void HtmlViewController::setLinkOpener(std::function<bool(const QUrl&)> opener) {
    openLink = std::move(opener);
}

void HtmlViewController::linkActivated(const QUrl& url) {
    if (url.scheme() == "varlin") {
        command(url.path());
        return;
    }
    // A link to a place on the page, or to another page of the program, stays in the window.
    if (url.isRelative() || url.scheme() == "qrc") {
        const QString target = url.path().section('/', -1);
        if (!target.isEmpty() && target != page) {
            page = target;
            load();
        }
        if (url.hasFragment())
            _browser->scrollToAnchor(url.fragment());
        return;
    }
    qDebug().noquote() << "linkActivated url=" + url.toString();
    if (!openLink(url))
        printLine("No application opened " + url.toString());
}

void HtmlViewController::command(const QString& name) {
    printLine("Unknown page command: " + name);
}
