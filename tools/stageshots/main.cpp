// varlin-stageshots OUTDIR: writes clock-break-ring.png, screensaver.png and notifier-flash.png.
// Each picture is staged at a fixed moment so that it comes out the same on every run; run it under
// xvfb-run.

#include "playback/RestTimer.h"
#include "stage/Clock.h"
#include "stage/NamedColors.h"
#include "stage/Screensaver.h"
#include "stage/TextNotifierView.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPropertyAnimation>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cstdio>

namespace {

// A clock that stands still at the moment it is set to; the break timer's own deadline never comes.
struct StagedTime : TimeSource {
    QDateTime moment;

    QDateTime now() const override { return moment; }
    void callAt(const QDateTime&, std::function<void()>) override {}
    void cancel() override {}
};

QDateTime today(int hour, int minute, int second = 0) {
    return QDateTime(QDate(2026, 12, 6), QTime(hour, minute, second));
}

// A break timer armed at `armed` with a break of `minutes`, seen at `now`.
std::unique_ptr<RestTimer> breakTimer(const QDateTime& armed, const QDateTime& now,
                                      double minutes) {
    auto staged = std::make_unique<StagedTime>();
    StagedTime* clock = staged.get();
    clock->moment = armed;
    auto timer = std::make_unique<RestTimer>([minutes] { return minutes; }, std::move(staged));
    timer->arm();
    clock->moment = now;
    return timer;
}

bool save(QWidget& widget, const QDir& dir, const QString& name) {
    const QString path = dir.filePath(name);
    if (!widget.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// Something like the main window's content, for the overlays to cover.
void fillWithSession(QWidget& window) {
    auto* layout = new QVBoxLayout(&window);
    auto* times = new QLabel(" 1:42        2:47");
    times->setFont(QFont("DejaVu Sans", 48, QFont::Bold));
    layout->addWidget(times);
    auto* table = new QTableWidget(8, 3);
    table->setHorizontalHeaderLabels({"Title", "Time", "Days"});
    const char* titles[] = {"Jacob's Potato", "Hull's Victory",   "Mad Robin",         "Childgrove",
                            "Levi Jackson",   "Hole in the Wall", "Trip to Bucksteep", "Fandango"};
    for (int row = 0; row < 8; ++row) {
        table->setItem(row, 0, new QTableWidgetItem(titles[row]));
        table->setItem(
            row, 1,
            new QTableWidgetItem(
                QString(" %1:%2").arg(3 + row % 3).arg((row * 17) % 60, 2, 10, QChar('0'))));
        table->setItem(row, 2, new QTableWidgetItem(QString::number(7 * row + 3)));
    }
    table->horizontalHeader()->setStretchLastSection(true);
    table->setColumnWidth(0, 600);
    layout->addWidget(table);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: varlin-stageshots OUTDIR\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(".")) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    bool ok = true;

    // 3:30, two minutes into a five-minute break: the ring has 60 % left.
    {
        QWidget frame;
        frame.resize(360, 360);
        Clock clock(&frame);
        clock.setGeometry(frame.rect());
        const QDateTime now = today(15, 30);
        clock.setTimeSource([now] { return now; });
        const auto rest = breakTimer(today(15, 28), now, 5);
        clock.setRestTimer(rest.get());
        clock.setClockVisible(true);
        ok &= save(frame, dir, "clock-break-ring.png");
    }

    // The screensaver over a 1366 × 768 window, twelve minutes into a three-minute break.
    {
        QWidget window;
        window.resize(1366, 768);
        fillWithSession(window);
        Screensaver saver(&window);
        const QDateTime now = today(21, 52, 14);
        saver.setTimeSource([now] { return now; });
        const auto rest = breakTimer(today(21, 40), now, 3);
        saver.setRestTimer(rest.get());
        window.show();
        saver.activate();
        ok &= save(window, dir, "screensaver.png");
    }

    // The volume flash "10" halfway through its fade, the window showing through.
    {
        QWidget window;
        window.resize(1366, 768);
        fillWithSession(window);
        TextNotifierView notifier(&window);
        window.show();
        TextNotifierView* flash = notifier.show("10");
        flash->fadeAnimation()->pause();
        flash->fadeAnimation()->setCurrentTime(500);
        ok &= save(window, dir, "notifier-flash.png");
    }
    return ok ? 0 : 1;
}
