#pragma once
// A window showing one of the program's own HTML pages (compiled into the program). Links with
// the scheme "varlin:" are commands for the page's controller; links within the pages stay in the
// window; any other link goes to the desktop's browser.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTextBrowser>
#include <QUrl>
#include <functional>
#include <memory>

class HtmlViewController : public QObject {
    Q_OBJECT
public:
    // `page` is a file name among the help pages ("index.html", "About.html").
    HtmlViewController(const QString& page, const QString& title);
    ~HtmlViewController() override;

    QTextBrowser* browser() const { return _browser; }
    void show();

    // Where a link outside the pages is opened (by default the desktop's browser).
    void setLinkOpener(std::function<bool(const QUrl&)> opener);

    void linkActivated(const QUrl& url);

    static QUrl pageUrl(const QString& page);

protected:
    // A "varlin:" link's text after the scheme. The base knows no command.
    virtual void command(const QString& name);
    // The page's HTML as it is shown; pages may fill in what only the running program knows.
    virtual QString pageText(const QString& html) const { return html; }
    void load();

private:
    QString page;
    QPointer<QTextBrowser> _browser;
    std::function<bool(const QUrl&)> openLink;
};
