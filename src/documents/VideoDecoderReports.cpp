#include "documents/VideoDecoderReports.h"

#include <QStringList>
#include <QtGlobal>
#include <algorithm>

extern "C" {
#include <libavutil/log.h>
}

namespace {
QtMessageHandler nextHandler = nullptr;

// Qt Multimedia writes these as plain debug lines, without a category to filter them by.
bool isDecoderReport(QtMsgType type, const QString& message) {
    static const QStringList reports = {
        QStringLiteral("Checking HW acceleration"),    QStringLiteral("Checking HW context"),
        QStringLiteral("Could not create hw context"), QStringLiteral("No HW accelerators found"),
        QStringLiteral("Using above hw context"),      QStringLiteral("QRhi* initializeRHI"),
        QStringLiteral(">>>> listing codecs")};
    const QString text = message.trimmed();
    return type == QtDebugMsg && std::any_of(reports.begin(), reports.end(),
                                             [&](const QString& r) { return text.startsWith(r); });
}

void filterReports(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (!isDecoderReport(type, message))
        nextHandler(type, context, message);
}
} // namespace

void silenceVideoDecoderReports() {
    static const bool silenced = [] {
        // FFmpeg's own lines ("Cannot load libcuda.so.1", ...): only what ends the program.
        av_log_set_level(AV_LOG_FATAL);
        nextHandler = qInstallMessageHandler(filterReports);
        return true;
    }();
    (void)silenced;
}
