#pragma once
// The PDF viewer of a side document (a cue sheet): one window with the document's pages, page
// keys and zoom a reader expects. A file that cannot be read leaves the viewer without a document
// and a message in the window instead.

#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWidget>
#include <memory>

class QPdfDocument;
class QPdfView;

// What a key does in the PDF viewer.
enum class PdfKeyAction {
    close,
    nextPage,
    previousPage,
    firstPage,
    lastPage,
    scrollDown,
    scrollUp,
    zoomIn,
    zoomOut,
    fitWidth,
    ignore,
    print,
};

// The key table: `key` is a Qt::Key code, `text` the characters it typed.
PdfKeyAction pdfKeyAction(int key, const QString& text);

class PdfViewController {
public:
    static constexpr const char* windowMenuKey = "2";

    explicit PdfViewController(const QUrl& url);
    ~PdfViewController();
    PdfViewController(const PdfViewController&) = delete;
    PdfViewController& operator=(const PdfViewController&) = delete;

    QWidget* window() const { return _window; }
    // None when the file could not be loaded.
    QPdfDocument* theDocument() const { return _theDocument.get(); }
    QPdfView* pdfView() const { return _pdfView; }

    int currentPage() const;
    void goToPage(int page);
    void zoomBy(double factor);
    void fitWidth();

    void keyDown(int key, const QString& text);

private:
    std::unique_ptr<QPdfDocument> _theDocument;
    QPointer<QWidget> _window;
    QPdfView* _pdfView = nullptr;
};
