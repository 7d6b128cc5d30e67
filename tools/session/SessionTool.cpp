#include "SessionTool.h"

#include "JsonCodec.h"
#include "model/AtomicFile.h"
#include "model/Playlist.h"
#include "model/TimeString.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace {
QUrl fileURL(const QString& path) {
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
}

// Pads every column to its widest cell; the last column is left ragged.
QString formatTable(const std::vector<QStringList>& rows) {
    std::vector<qsizetype> widths;
    for (const QStringList& row : rows)
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (size_t(i) >= widths.size())
                widths.push_back(0);
            widths[size_t(i)] = std::max(widths[size_t(i)], row[i].size());
        }
    QString text;
    for (const QStringList& row : rows) {
        QString line;
        for (qsizetype i = 0; i < row.size(); ++i)
            line += i + 1 < row.size() ? row[i].leftJustified(widths[size_t(i)] + 2) : row[i];
        text += line.trimmed() + QLatin1Char('\n');
    }
    return text;
}

QString entryTitle(const PlaylistEntry& entry) {
    QString name = entry._url.fileName();
    if (name.endsWith(QLatin1String(".mp3")))
        name.chop(4);
    return name;
}
} // namespace

int SessionTool::run(const QStringList& arguments) {
    const QString command = arguments.value(0);
    if (command == QLatin1String("show") && arguments.size() == 2)
        return show(arguments[1]);
    if (command == QLatin1String("json") && arguments.size() == 2)
        return json(arguments[1]);
    if (command == QLatin1String("from-json") && arguments.size() == 3)
        return fromJson(arguments[1], arguments[2]);
    if (command == QLatin1String("relocate") && arguments.size() == 4)
        return relocate(arguments[1], arguments[2], arguments[3]);
    return usage();
}

int SessionTool::show(const QString& file) {
    QString reason;
    const PlaylistPtr playlist = Playlist::open(fileURL(file), &reason);
    if (!playlist)
        return fail(reason);
    std::vector<QStringList> rows{
        {"#", "Folder", "Title", "Duration", "Played", "Age", "Tags", "Checked", "Zeros", "Notes"}};
    int number = 0;
    for (const PlaylistEntryPtr& entry : playlist->allEntries) {
        const std::optional<double> duration = entry->duration();
        const std::optional<qint64> age = entry->daysSinceLastPlayed();
        rows.push_back(
            {QString::number(++number), playlist->folderText(*entry), entryTitle(*entry),
             duration ? timeString(0, 2, *duration).trimmed() : QStringLiteral("--:--"),
             QString::number(qRound(entry->playedFraction(*entry->prevTimeRangeSet) * 100.0)) +
                 QLatin1Char('%'),
             age ? QString::number(*age) : QString(), entry->tags.value_or(QString()),
             entry->isCheckmarked ? QStringLiteral("yes") : QString(),
             QString::number(entry->zeros.size()),
             QString::number(entry->noteSet()->notes.size())});
    }
    _out << formatTable(rows);
    return 0;
}

int SessionTool::json(const QString& file) {
    QString reason;
    const PlaylistPtr playlist = Playlist::open(fileURL(file), &reason);
    if (!playlist)
        return fail(reason);
    _out << QJsonDocument(JsonCodec::toJson(playlist->encode()).toObject()).toJson();
    return 0;
}

PlaylistPtr SessionTool::playlistFromJson(const QByteArray& json, QString* reason) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (document.isNull()) {
        if (reason)
            *reason = QStringLiteral("not JSON: %1").arg(parseError.errorString());
        return nullptr;
    }
    const std::optional<CodecValue> root = JsonCodec::fromJson(
        document.isObject() ? QJsonValue(document.object()) : QJsonValue(document.array()), reason);
    if (!root)
        return nullptr;
    try {
        return Playlist::decode(CodecReader(*root, QString(), CodecReader::Form::Text));
    } catch (const CodecError& error) {
        if (reason)
            *reason = error.reason;
        return nullptr;
    }
}

int SessionTool::fromJson(const QString& jsonFile, const QString& file) {
    QFile input(jsonFile);
    if (!input.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("can't read %1: %2").arg(jsonFile, input.errorString()));
    QString reason;
    const PlaylistPtr playlist = playlistFromJson(input.readAll(), &reason);
    if (!playlist)
        return fail(QStringLiteral("%1: %2").arg(jsonFile, reason));
    if (!AtomicFile::write(file, playlist->encodedFile(), &reason))
        return fail(reason);
    return 0;
}

int SessionTool::relocate(const QString& file, const QString& oldFolder, const QString& newFolder) {
    QString reason;
    const PlaylistPtr playlist = Playlist::open(fileURL(file), &reason);
    if (!playlist)
        return fail(reason);
    const int moved = playlist->relocate(QFileInfo(oldFolder).absoluteFilePath(),
                                         QFileInfo(newFolder).absoluteFilePath());
    // Written as read, apart from the paths: the saved current item stays as it was.
    if (moved > 0 && !AtomicFile::write(file, playlist->encodedFile(), &reason))
        return fail(reason);
    _out << QStringLiteral("%1 of %2 entries moved\n").arg(moved).arg(playlist->allEntries.size());
    return 0;
}

int SessionTool::usage() {
    _err << "usage: varlin-session show FILE\n"
            "       varlin-session json FILE\n"
            "       varlin-session from-json JSON FILE\n"
            "       varlin-session relocate FILE OLD_FOLDER NEW_FOLDER\n";
    return 2;
}

int SessionTool::fail(const QString& message) {
    _err << "varlin-session: " << message << '\n';
    return 1;
}
