// varlin-docshots FOLDER: writes pdf-viewer.png, help.png and preferences.png into FOLDER.
// Preferences are read from a scratch settings folder, so the user's own are never shown or
// changed.

#include "services/Preferences.h"
#include "documents/HelpViewController.h"
#include "documents/PdfViewController.h"
#include "shell/PreferencesDialog.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QPainter>
#include <QPdfWriter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

namespace {

// A two-page cue sheet in the shape callers write them: the dance, its formation, and the figures
// with their bars.
void writeCueSheet(const QString& path) {
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(144);
    writer.setTitle("Cue sheet");
    QPainter painter(&writer);
    const int width = writer.width();
    const auto line = [&](int x, int y, const QString& text, int pointSize, bool bold = false) {
        QFont font("DejaVu Sans", pointSize);
        font.setBold(bold);
        painter.setFont(font);
        painter.drawText(QRect(x, y, width - x - 100, 80), Qt::AlignLeft | Qt::AlignVCenter, text);
    };
    const QStringList figures = {"A1  Circle left, circle right",
                                 "A2  Long lines forward and back",
                                 "B1  Partners swing",
                                 "B2  Promenade the hall",
                                 "C1  Ladies chain over and back",
                                 "C2  Star right, star left",
                                 "D1  Do-si-do your corner",
                                 "D2  Balance and swing"};
    for (int page = 0; page < 2; ++page) {
        if (page > 0)
            writer.newPage();
        line(100, 80, page == 0 ? "The Brenmoor Reel" : "The Brenmoor Reel (second time through)",
             22, true);
        line(100, 170, "Longways, four couples · 32 bars · music: reel at 118 bpm", 12);
        painter.drawLine(100, 260, width - 100, 260);
        for (int i = 0; i < figures.size(); ++i) {
            line(100, 300 + i * 100, QString("bar %1").arg(i * 4 + 1), 12);
            line(260, 300 + i * 100, figures[i], 15);
        }
        line(100, 1200, page == 0 ? "Call the chain two bars early." : "Last time: bow and honour.",
             13, true);
    }
}

bool save(QWidget* window, const QString& path) {
    window->show();
    // Pages are rendered on a worker thread; give them time to arrive.
    QEventLoop settle;
    QTimer::singleShot(1500, &settle, &QEventLoop::quit);
    settle.exec();
    const bool saved = window->grab().save(path);
    if (!saved)
        std::fprintf(stderr, "varlin-docshots: can't write %s\n", qPrintable(path));
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return 1;
    setenv("XDG_CONFIG_HOME", qPrintable(scratch.filePath("config")), 1);
    setenv("XDG_DATA_HOME", qPrintable(scratch.filePath("data")), 1);
    setenv("XDG_CACHE_HOME", qPrintable(scratch.filePath("cache")), 1);
    QApplication app(argc, argv);
    QApplication::setOrganizationName("brenmoor");
    QApplication::setApplicationName("varlin");
    if (argc != 2) {
        std::fprintf(stderr, "usage: varlin-docshots FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = true;

    const QString sheet = scratch.filePath("Brenmoor Reel.pdf");
    writeCueSheet(sheet);
    PdfViewController pdf(QUrl::fromLocalFile(sheet));
    pdf.window()->resize(720, 820);
    ok &= save(pdf.window(), out.filePath("pdf-viewer.png"));

    HelpViewController help;
    help.browser()->resize(760, 900);
    ok &= save(help.browser(), out.filePath("help.png"));

    Preferences::shared().setRestSoundAttenuation(0.3f);
    Preferences::shared().setTimerDuration(5.0);
    Preferences::shared().setDirectoryPrefix("/home/caller/Music");
    Preferences::shared().setCloudFolder("/home/caller/Sync");
    PreferencesDialog preferences;
    ok &= save(&preferences, out.filePath("preferences.png"));
    return ok ? 0 : 1;
}
