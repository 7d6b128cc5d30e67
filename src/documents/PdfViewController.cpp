#include "documents/PdfViewController.h"

#include "documents/ScreenFit.h"
#include "platform/Diagnostics.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPdfDocument>
#include <QPdfPageNavigator>
#include <QPdfView>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <functional>

namespace {

constexpr double minimumZoom = 0.25;
constexpr double maximumZoom = 6.0;

// The viewer's window hands every key to the controller; the view itself never takes the focus,
// so page keys do not scroll it behind the controller's back.
class PdfWindow : public QWidget {
public:
    explicit PdfWindow(std::function<void(int, const QString&)> keyDown)
        : keyDown(std::move(keyDown)) {
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override { keyDown(event->key(), event->text()); }

private:
    std::function<void(int, const QString&)> keyDown;
};

bool isModifierKey(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr || key == Qt::Key_CapsLock;
}

} // namespace

PdfKeyAction pdfKeyAction(int key, const QString& text) {
    switch (key) {
    case Qt::Key_Escape:
        return PdfKeyAction::close;
    case Qt::Key_PageDown:
    case Qt::Key_Right:
    case Qt::Key_Space:
        return PdfKeyAction::nextPage;
    case Qt::Key_PageUp:
    case Qt::Key_Left:
    case Qt::Key_Backspace:
        return PdfKeyAction::previousPage;
    case Qt::Key_Home:
        return PdfKeyAction::firstPage;
    case Qt::Key_End:
        return PdfKeyAction::lastPage;
    case Qt::Key_Down:
        return PdfKeyAction::scrollDown;
    case Qt::Key_Up:
        return PdfKeyAction::scrollUp;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        return PdfKeyAction::zoomIn;
    case Qt::Key_Minus:
        return PdfKeyAction::zoomOut;
    case Qt::Key_0:
    case Qt::Key_W:
        return PdfKeyAction::fitWidth;
    default:
        break;
    }
    if (isModifierKey(key) || (text.isEmpty() && key == 0))
        return PdfKeyAction::ignore;
    return PdfKeyAction::print;
}

PdfViewController::PdfViewController(const QUrl& url) {
    auto* window = new PdfWindow([this](int key, const QString& text) { keyDown(key, text); });
    _window = window;
    window->setWindowTitle(QFileInfo(url.toLocalFile()).fileName());
    resizeToFit(*window, QSize(800, 1000));
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);

    auto document = std::make_unique<QPdfDocument>();
    const QPdfDocument::Error error =
        url.isLocalFile() ? document->load(url.toLocalFile()) : QPdfDocument::Error::FileNotFound;
    if (error != QPdfDocument::Error::None || document->pageCount() < 1) {
        const QString line =
            "Can't show " + url.toDisplayString(QUrl::PreferLocalFile) + " as a PDF document";
        printLine(line);
        auto* message = new QLabel(line, window);
        message->setAlignment(Qt::AlignCenter);
        message->setWordWrap(true);
        layout->addWidget(message);
        return;
    }
    _theDocument = std::move(document);
    _pdfView = new QPdfView(window);
    _pdfView->setFocusPolicy(Qt::NoFocus);
    _pdfView->setPageMode(QPdfView::PageMode::MultiPage);
    _pdfView->setDocument(_theDocument.get());
    _pdfView->setZoomMode(QPdfView::ZoomMode::FitToWidth);
    layout->addWidget(_pdfView);
}

PdfViewController::~PdfViewController() {
    // The view draws from the document, so it goes first.
    delete _window;
}

int PdfViewController::currentPage() const {
    return _pdfView ? _pdfView->pageNavigator()->currentPage() : 0;
}

void PdfViewController::goToPage(int page) {
    if (!_pdfView)
        return;
    const int last = _theDocument->pageCount() - 1;
    _pdfView->pageNavigator()->jump(std::clamp(page, 0, last), {},
                                    _pdfView->pageNavigator()->currentZoom());
}

void PdfViewController::zoomBy(double factor) {
    if (!_pdfView)
        return;
    const double zoom = std::clamp(_pdfView->zoomFactor() * factor, minimumZoom, maximumZoom);
    // A fitted view reports 1.0, so zooming starts from what is on screen.
    _pdfView->setZoomMode(QPdfView::ZoomMode::Custom);
    _pdfView->setZoomFactor(zoom);
}

void PdfViewController::fitWidth() {
    if (_pdfView)
        _pdfView->setZoomMode(QPdfView::ZoomMode::FitToWidth);
}

void PdfViewController::keyDown(int key, const QString& text) {
    QScrollBar* scrollBar = _pdfView ? _pdfView->verticalScrollBar() : nullptr;
    switch (pdfKeyAction(key, text)) {
    case PdfKeyAction::close:
        _window->close();
        break;
    case PdfKeyAction::nextPage:
        goToPage(currentPage() + 1);
        break;
    case PdfKeyAction::previousPage:
        goToPage(currentPage() - 1);
        break;
    case PdfKeyAction::firstPage:
        goToPage(0);
        break;
    case PdfKeyAction::lastPage:
        goToPage(_theDocument ? _theDocument->pageCount() - 1 : 0);
        break;
    case PdfKeyAction::scrollDown:
        if (scrollBar)
            scrollBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case PdfKeyAction::scrollUp:
        if (scrollBar)
            scrollBar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case PdfKeyAction::zoomIn:
        zoomBy(1.25);
        break;
    case PdfKeyAction::zoomOut:
        zoomBy(0.8);
        break;
    case PdfKeyAction::fitWidth:
        fitWidth();
        break;
    case PdfKeyAction::ignore:
        break;
    case PdfKeyAction::print:
        printLine("PdfViewController: " + (text.isEmpty() ? QKeySequence(key).toString() : text));
        break;
    }
}
