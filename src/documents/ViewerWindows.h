#pragma once
// The side-document viewers of the current entry: at most one PDF and one MP4 viewer. The main
// controller closes both when another entry becomes current, and routes the remote's buttons to
// the MP4 viewer while its window is in front.

#include <QUrl>
#include <functional>
#include <memory>

class Mp4ViewController;
class PdfViewController;
class RemoteControlDelegate;

class ViewerWindows {
public:
    ViewerWindows();
    ~ViewerWindows();
    ViewerWindows(const ViewerWindows&) = delete;
    ViewerWindows& operator=(const ViewerWindows&) = delete;

    // Each replaces the viewer of its kind that is open, and shows the new one in front.
    PdfViewController& openPdf(const QUrl& url);
    Mp4ViewController& openMp4(const QUrl& url);

    // The Window menu's "2" and "3": the viewer open for this entry comes back to the front,
    // even after its window was closed; false when there is none.
    bool raisePdfViewer();
    bool raiseMp4Viewer();

    // Called whenever the current entry changes.
    void closeViewers();

    PdfViewController* pdfViewController() const { return _pdfViewController.get(); }
    Mp4ViewController* mp4ViewController() const { return _mp4ViewController.get(); }

    // The MP4 viewer when its window is the active one; the remote's buttons then go to it alone.
    RemoteControlDelegate* activeRemoteTarget() const;

    // Runs after a viewer opened or the viewers closed (the Window menu's items follow).
    std::function<void()> changed;

private:
    void notifyChanged();

    std::unique_ptr<PdfViewController> _pdfViewController;
    std::unique_ptr<Mp4ViewController> _mp4ViewController;
};
