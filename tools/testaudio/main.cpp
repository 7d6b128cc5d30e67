// varlin-testaudio: writes one generated test file from the command line.
#include "testaudio/TestAudio.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QMap>
#include <algorithm>
#include <cstdio>

namespace {

int usageError(const QString& message) {
    std::fprintf(stderr, "varlin-testaudio: %s\n", qPrintable(message));
    return 2;
}

bool parseNumber(const QString& text, double& value) {
    bool ok = false;
    value = text.toDouble(&ok);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Writes a generated test audio file.");
    parser.addHelpOption();
    parser.addPositionalArgument("signal", "tone, clicks, bursts, silence or square");
    parser.addPositionalArgument("out", "file to write");
    const QCommandLineOption seconds("seconds", "length in seconds (1)", "S", "1");
    const QCommandLineOption rate("rate", "sample rate (44100)", "R", "44100");
    const QCommandLineOption channels("channels", "channel count (2)", "C", "2");
    const QCommandLineOption freq("freq", "tone or square frequency in Hz (440)", "F", "440");
    const QCommandLineOption amp("amp", "tone amplitude, 0 to 1 (0.5)", "A", "0.5");
    const QCommandLineOption clicks("clicks", "click or burst times in seconds, comma-separated",
                                    "T");
    const QCommandLineOption format(
        "format",
        "wav, flac, mp3cbr, mp3vbr, mp3cbr-notag, mp3vbr-notag, aac, aac-itunes, adts, alac or "
        "wavpack (wav)",
        "FMT", "wav");
    parser.addOptions({seconds, rate, channels, freq, amp, clicks, format});
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.size() != 2)
        return usageError("expected a signal and an output file; see --help");

    const QMap<QString, testaudio::Signal> signalNames{{"tone", testaudio::Signal::Tone},
                                                       {"clicks", testaudio::Signal::Clicks},
                                                       {"bursts", testaudio::Signal::Bursts},
                                                       {"silence", testaudio::Signal::Silence},
                                                       {"square", testaudio::Signal::Square}};
    const QMap<QString, testaudio::Container> formatNames{
        {"wav", testaudio::Container::Wav},
        {"flac", testaudio::Container::Flac},
        {"mp3cbr", testaudio::Container::Mp3Cbr},
        {"mp3vbr", testaudio::Container::Mp3Vbr},
        {"mp3cbr-notag", testaudio::Container::Mp3CbrNoTag},
        {"mp3vbr-notag", testaudio::Container::Mp3VbrNoTag},
        {"aac", testaudio::Container::M4aAac},
        {"aac-itunes", testaudio::Container::M4aAacItunes},
        {"adts", testaudio::Container::AdtsAac},
        {"alac", testaudio::Container::M4aAlac},
        {"wavpack", testaudio::Container::WavPack}};
    if (!signalNames.contains(args[0]))
        return usageError("unknown signal " + args[0]);
    if (!formatNames.contains(parser.value(format)))
        return usageError("unknown format " + parser.value(format));

    testaudio::Spec spec;
    spec.signal = signalNames.value(args[0]);
    double rateValue = 0;
    double channelValue = 0;
    if (!parseNumber(parser.value(seconds), spec.seconds) ||
        !parseNumber(parser.value(rate), rateValue) ||
        !parseNumber(parser.value(channels), channelValue) ||
        !parseNumber(parser.value(freq), spec.frequency) ||
        !parseNumber(parser.value(amp), spec.amplitude))
        return usageError("a numeric option is not a number");
    spec.sampleRate = int(rateValue);
    spec.channels = int(channelValue);
    for (const QString& time : parser.value(clicks).split(',', Qt::SkipEmptyParts)) {
        double value = 0;
        if (!parseNumber(time, value))
            return usageError("click time is not a number: " + time);
        spec.clickTimes.push_back(value);
    }
    std::sort(spec.clickTimes.begin(), spec.clickTimes.end());

    QString error;
    if (!testaudio::write(spec, formatNames.value(parser.value(format)), args[1], &error)) {
        std::fprintf(stderr, "varlin-testaudio: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
