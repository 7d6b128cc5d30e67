// varlin-fuzz-seeds FOLDER: writes the first inputs of each fuzz target into FOLDER/<target>/,
// made by the program's own writers and the test-audio generator: a session and a run state as
// the program saves them, a notes file, the session as varlin-session json prints it, and short
// audio files of every container each decoder reads.
#include "JsonCodec.h"
#include "model/AppState.h"
#include "model/Playlist.h"
#include "testaudio/TestAudio.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringEncoder>
#include <cstdio>
#include <plist/plist.h>

namespace {

QString folder;

bool write(const QString& target, const QString& name, const QByteArray& bytes) {
    QDir().mkpath(folder + '/' + target);
    QFile file(folder + '/' + target + '/' + name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

std::shared_ptr<Playlist> session() {
    auto playlist = std::make_shared<Playlist>();
    const QDateTime played(QDate(2026, 1, 10), QTime(21, 30, 5, 125), Qt::UTC);
    for (int i = 0; i < 2; ++i) {
        auto entry = std::make_shared<PlaylistEntry>(
            QUrl::fromLocalFile(QString("/music/dance %1.mp3").arg(i)), 185.5 + i);
        entry->prevTimeRangeSet->insertRange(1.5, 60.25, 0);
        entry->currentTimeRangeSet = std::make_shared<TimeRangeSet>();
        entry->currentTimeRangeSet->insertRange(3, 4, 0);
        entry->zeros = {12.5, 96};
        entry->playedDates = {played, played.addDays(-30)};
        entry->storedBookmark = QByteArray("/music/dance.mp3");
        entry->sideDocuments.push_back(
            std::make_shared<SideDocument>(QUrl::fromLocalFile("/music/cues.pdf"), "cues"));
        entry->isCheckmarked = i == 0;
        entry->tags = QStringLiteral("waltz, slow");
        playlist->allEntries.push_back(entry);
    }
    playlist->_currentItem = 1;
    playlist->currentTime = 42.5;
    playlist->_ageUnits = AgeUnits::weeks;
    playlist->automaticallyMoveToHistory = true;
    playlist->_directoryPrefix = QStringLiteral("/music");
    return playlist;
}

// The same property list in XML, which the session reader accepts too.
QByteArray asXml(const QByteArray& binary) {
    plist_t root = nullptr;
    plist_from_bin(binary.constData(), uint32_t(binary.size()), &root);
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(root, &xml, &length);
    QByteArray bytes(xml, qsizetype(length));
    plist_to_xml_free(xml);
    plist_free(root);
    return bytes;
}

bool writeModelSeeds() {
    const QByteArray sessionFile = session()->encodedFile();
    AppState state;
    state.playlistURL = QUrl::fromLocalFile("/music/evening.varlin");
    state.currentTime = 75.25;
    state.currentEntryIndex = 3;
    state.currentTimeRangeSet = std::make_shared<TimeRangeSet>();
    state.currentTimeRangeSet->insertRange(0, 75.25, 0);
    state.zeros = std::vector<double>{10, 20.5};
    const QString notes =
        QStringLiteral("/music/dance.mp3\n 0:05 intro\n 1:05 Grand chain\n10:00 ends\n");
    QStringEncoder utf16(QStringConverter::Utf16LE, QStringEncoder::Flag::WriteBom);
    return write("session", "binary.varlin", sessionFile) &&
           write("session", "xml.varlin", asXml(sessionFile)) &&
           write("session", "empty.varlin", Playlist().encodedFile()) &&
           write("runstate", "playing.plist", state.encodedFile()) &&
           write("runstate", "minimal.plist", AppState().encodedFile()) &&
           write("notes", "utf8.txt", notes.toUtf8()) &&
           write("notes", "utf16.txt", utf16.encode(notes)) &&
           write("notes", "latin1.txt",
                 QStringLiteral("/m/caf\u00e9.mp3\n 0:07 d\u00e9but\n").toLatin1()) &&
           write("json", "session.json",
                 QJsonDocument(JsonCodec::toJson(session()->encode()).toObject()).toJson());
}

bool writeAudioSeeds() {
    using testaudio::Container;
    const struct {
        const char* target;
        Container container;
        const char* name;
    } files[] = {
        {"mpg123", Container::Mp3Cbr, "cbr.mp3"},
        {"mpg123", Container::Mp3Vbr, "vbr.mp3"},
        {"mpg123", Container::Mp3CbrNoTag, "cbr-notag.mp3"},
        {"sndfile", Container::Wav, "pcm.wav"},
        {"sndfile", Container::Flac, "flac.flac"},
        {"sndfile", Container::OggVorbis, "vorbis.ogg"},
        {"ffmpeg", Container::M4aAac, "aac.m4a"},
        {"ffmpeg", Container::M4aAacItunes, "itunes.m4a"},
        {"ffmpeg", Container::AdtsAac, "adts.aac"},
        {"ffmpeg", Container::M4aAlac, "alac.m4a"},
        {"ffmpeg", Container::WavPack, "wavpack.wv"},
    };
    for (const auto& file : files)
        for (int channels : {1, 2}) {
            testaudio::Spec spec;
            spec.seconds = 0.1;
            spec.channels = channels;
            QDir().mkpath(folder + '/' + file.target);
            const QString path =
                QString("%1/%2/%3-%4").arg(folder, file.target).arg(channels).arg(file.name);
            QString error;
            if (!testaudio::write(spec, file.container, path, &error)) {
                std::fprintf(stderr, "varlin-fuzz-seeds: %s\n", qPrintable(error));
                return false;
            }
        }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: varlin-fuzz-seeds FOLDER\n");
        return 2;
    }
    folder = QString::fromLocal8Bit(argv[1]);
    if (!writeModelSeeds() || !writeAudioSeeds()) {
        std::fprintf(stderr, "varlin-fuzz-seeds: cannot write the seeds into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
