#include "documents/ViewerWindows.h"

#include "documents/Mp4ViewController.h"
#include "documents/PdfViewController.h"

#include <QWidget>

namespace {
void bringToFront(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}
} // namespace

ViewerWindows::ViewerWindows() = default;
ViewerWindows::~ViewerWindows() = default;

PdfViewController& ViewerWindows::openPdf(const QUrl& url) {
    _pdfViewController.reset();
    _pdfViewController = std::make_unique<PdfViewController>(url);
    bringToFront(_pdfViewController->window());
    notifyChanged();
    return *_pdfViewController;
}

Mp4ViewController& ViewerWindows::openMp4(const QUrl& url) {
    _mp4ViewController.reset();
    _mp4ViewController = std::make_unique<Mp4ViewController>(url);
    bringToFront(_mp4ViewController->window());
    notifyChanged();
    return *_mp4ViewController;
}

bool ViewerWindows::raisePdfViewer() {
    if (!_pdfViewController)
        return false;
    bringToFront(_pdfViewController->window());
    return true;
}

bool ViewerWindows::raiseMp4Viewer() {
    if (!_mp4ViewController)
        return false;
    bringToFront(_mp4ViewController->window());
    return true;
}

void ViewerWindows::closeViewers() {
    if (!_pdfViewController && !_mp4ViewController)
        return;
    _pdfViewController.reset();
    _mp4ViewController.reset();
    notifyChanged();
}

void ViewerWindows::notifyChanged() {
    if (changed)
        changed();
}

RemoteControlDelegate* ViewerWindows::activeRemoteTarget() const {
    if (_mp4ViewController && _mp4ViewController->window()->isActiveWindow())
        return _mp4ViewController.get();
    return nullptr;
}
