// varlin-probe: the waveform values and the duration of an audio file as the program reads them,
// and its waveform drawn as the main window draws it.

#include "platform/Diagnostics.h"
#include "platform/audio/AudioDecoder.h"
#include "waveform/SamplesExtractor.h"
#include "waveform/WaveFormDrawer.h"

#include <QCoreApplication>
#include <QImage>
#include <QStringList>
#include <optional>

namespace {

const char* const usage = "usage: varlin-probe waveform FILE [N] [--png OUT.png WIDTH HEIGHT]\n"
                          "       varlin-probe duration FILE";

struct PngRequest {
    QString path;
    int width = 0;
    int height = 0;
};

struct WaveformRequest {
    QString file;
    int count = 0;
    std::optional<PngRequest> png;
};

std::optional<int> positive(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value > 0 ? std::optional(value) : std::nullopt;
}

// FILE [N] [--png OUT.png WIDTH HEIGHT]; N defaults to the picture's width.
std::optional<WaveformRequest> parseWaveform(QStringList arguments) {
    if (arguments.isEmpty())
        return std::nullopt;
    WaveformRequest request{arguments.takeFirst(), 0, std::nullopt};
    const qsizetype png = arguments.indexOf("--png");
    if (png >= 0) {
        if (arguments.size() != png + 4)
            return std::nullopt;
        const auto width = positive(arguments[png + 2]);
        const auto height = positive(arguments[png + 3]);
        if (!width || !height)
            return std::nullopt;
        request.png = PngRequest{arguments[png + 1], *width, *height};
        request.count = *width;
        arguments = arguments.mid(0, png);
    }
    if (arguments.size() > 1)
        return std::nullopt;
    if (arguments.size() == 1) {
        const auto count = positive(arguments[0]);
        if (!count)
            return std::nullopt;
        request.count = *count;
    }
    return request.count > 0 ? std::optional(request) : std::nullopt;
}

bool writePicture(const PngRequest& png, const std::vector<float>& samples, float sampleMax) {
    const auto image = WaveFormDrawer().waveformImage(
        samples, mainWindowWaveformConfiguration(QSizeF(png.width, png.height)), sampleMax);
    if (!image || !image->save(png.path, "PNG")) {
        printLine("varlin-probe: cannot write " + png.path);
        return false;
    }
    return true;
}

int probeWaveform(const WaveformRequest& request) {
    SamplesExtractor extractor;
    int status = 1;
    extractor.extractSamples(
        QUrl::fromLocalFile(request.file), std::nullopt, request.count,
        [&](const std::vector<float>& samples, float sampleMax, const std::optional<QString>&) {
            printLine(QString::number(sampleMax));
            for (float value : samples)
                printLine(QString::number(value));
            status = request.png && !writePicture(*request.png, samples, sampleMax) ? 1 : 0;
            QCoreApplication::exit(status);
        },
        [&](const SamplesExtractorError& error, const std::optional<QString>&) {
            printLine(request.file + " " + error.description());
            QCoreApplication::exit(status);
        });
    QCoreApplication::exec();
    return status;
}

int probeDuration(const QString& file) {
    const std::optional<double> duration = audioFileDuration(file);
    if (!duration)
        return 1;
    printLine(QString::number(*duration, 'f', 6));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const QString command = arguments.isEmpty() ? QString() : arguments.takeFirst();
    if (command == "duration" && arguments.size() == 1)
        return probeDuration(arguments[0]);
    if (command == "waveform") {
        if (const auto request = parseWaveform(arguments))
            return probeWaveform(*request);
    }
    printLine(usage);
    return 2;
}
