#include "services/Logger.h"

#include "model/WallClock.h"
#include "model/PlaylistEntry.h"
#include "platform/Diagnostics.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

QUrl logURL() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (folder.isEmpty())
        return {};
    return QUrl::fromLocalFile(folder + "/net.brenmoor.varlin/net.brenmoor.varlin.log.txt");
}

// Qt knows short and long styles; the medium date is the long one without the weekday and with
// the month abbreviated ("Dec 6, 2026"), the medium time the short one with seconds.
QString mediumDate(const QDateTime& when) {
    const QLocale locale = QLocale::system();
    QString format = locale.dateFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("d{4}[,.]?\\s*")));
    format.replace(QStringLiteral("MMMM"), QStringLiteral("MMM"));
    return locale.toString(when.date(), format.trimmed());
}

QString mediumTime(const QDateTime& when) {
    const QLocale locale = QLocale::system();
    QString format = locale.timeFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1Char('s')))
        format.replace(QRegularExpression(QStringLiteral("(m+)")), QStringLiteral("\\1:ss"));
    return locale.toString(when.time(), format);
}

void cantWrite() {
    printLine(QStringLiteral("Can't write to log"));
}

} // namespace

Logger::Logger() : url(logURL()) {
    const QString path = url.toLocalFile();
    if (!path.isEmpty() && QFileInfo::exists(path))
        return;
    QSaveFile file(path);
    const bool written = !path.isEmpty() && QDir().mkpath(QFileInfo(path).path()) &&
                         file.open(QIODevice::WriteOnly) &&
                         file.write(QByteArrayLiteral("Varlin Log\n")) == 11 && file.commit();
    if (!written)
        cantWrite();
}

void Logger::writeRaw(const QString& text) {
    const QString path = url.toLocalFile();
    // Only ever appends to the file the constructor made: a deleted log is not silently
    // recreated without its title line.
    QFile file(path);
    if (path.isEmpty() || !file.exists() || !file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        cantWrite();
        return;
    }
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size())
        cantWrite();
}

void Logger::logDateIfChanged(const QDateTime& date) {
    const QString text = mediumDate(date);
    if (text == prevDate)
        return;
    prevDate = text;
    writeRaw(QStringLiteral(": ") + text + QLatin1Char('\n'));
}

void Logger::log(const QString& message) {
    const QDateTime now = WallClock::now();
    logDateIfChanged(now);
    writeRaw(mediumTime(now) + QLatin1Char(' ') + message + QLatin1Char('\n'));
}

void Logger::logPlayed(const std::shared_ptr<PlaylistEntry>& entry) {
    if (!entry->duration())
        return;
    if (!entry->currentTimeRangeSet)
        entry->currentTimeRangeSet = std::make_shared<TimeRangeSet>();
    const double fraction = entry->playedFraction(*entry->currentTimeRangeSet);
    const auto percentage = static_cast<long long>(fraction * 100 + 0.5);
    if (percentage < 10)
        return;
    const QString path = entry->_url.path();
    const QString name = entry->_url.fileName();
    const QString folder = path.endsWith(name) ? path.left(path.size() - name.size()) : path;
    if (folder != lastDir) {
        lastDir = folder;
        writeRaw(QStringLiteral("> ") + folder + QLatin1Char('\n'));
    }
    const QString title = name.endsWith(QStringLiteral(".mp3")) ? name.chopped(4) : name;
    log(QString::number(percentage) + QStringLiteral("% ") + title);
}
