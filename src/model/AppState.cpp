#include "model/AppState.h"

#include "model/AtomicFile.h"
#include "model/BadFile.h"
#include "model/PlistCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

CodecValue AppState::encode() const {
    CodecValue::Dict dict;
    if (playlistURL)
        dict.emplace_back("playlistURL", CodecValue::url(*playlistURL));
    dict.emplace_back("currentTime", CodecValue::real(currentTime));
    if (currentEntryIndex)
        dict.emplace_back("currentEntryIndex", CodecValue::integer(*currentEntryIndex));
    if (currentTimeRangeSet)
        dict.emplace_back("currentTimeRangeSet", currentTimeRangeSet->encode());
    if (zeros)
        dict.emplace_back("zeros", CodecValue::reals(*zeros));
    return CodecValue::dict(std::move(dict));
}

AppState AppState::decode(const CodecReader& reader) {
    AppState state;
    state.playlistURL = reader.optional<QUrl>("playlistURL");
    state.currentTime = reader.required<double>("currentTime");
    state.currentEntryIndex = reader.optional<qint64>("currentEntryIndex");
    state.currentTimeRangeSet =
        reader.optionalDict("currentTimeRangeSet", TimeRangeSet::decode).value_or(nullptr);
    state.zeros = reader.optional<std::vector<double>>("zeros");
    return state;
}

QUrl AppState::stateFileURL() {
    static const QUrl url = [] {
        const QString folder =
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
            QLatin1String("/net.brenmoor.varlin");
        QDir().mkpath(folder);
        return QUrl::fromLocalFile(folder + QLatin1String("/state.plist"));
    }();
    return url;
}

bool AppState::write(QString* reason) const {
    return AtomicFile::write(stateFileURL().toLocalFile(), encodedFile(), reason);
}

std::optional<AppState> AppState::read(QString* reason) {
    const QString path = stateFileURL().toLocalFile();
    QFile file(path);
    QString problem;
    if (file.open(QIODevice::ReadOnly)) {
        if (std::optional<AppState> state = decodeFile(file.readAll(), &problem))
            return state;
        BadFile::setAside(path, problem);
    } else {
        problem = file.errorString();
        // A folder in its place would make every later write fail.
        if (QFileInfo(path).isDir())
            BadFile::setAside(path, problem);
    }
    if (reason)
        *reason = QStringLiteral("can't read %1: %2").arg(path, problem);
    return std::nullopt;
}

std::optional<AppState> AppState::decodeFile(const QByteArray& bytes, QString* reason) {
    const std::optional<CodecValue> root = PlistCodec::decode(bytes, reason);
    if (!root)
        return std::nullopt;
    try {
        return decode(CodecReader(*root, QString(), CodecReader::Form::Binary));
    } catch (const CodecError& error) {
        if (reason)
            *reason = error.reason;
        return std::nullopt;
    }
}

QByteArray AppState::encodedFile() const {
    return PlistCodec::encode(encode());
}

void AppState::remove() {
    QFile::remove(stateFileURL().toLocalFile());
}
