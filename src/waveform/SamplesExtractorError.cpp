#include "waveform/SamplesExtractorError.h"

QString SamplesExtractorError::description() const {
    switch (kind) {
    case Case::audioTrackMediaTypeMissMatch:
        return QStringLiteral("audioTrackMediaTypeMissMatch(mediatype: %1)").arg(payload);
    case Case::readingError:
        return QStringLiteral("readingError(message: \"%1\")").arg(payload);
    case Case::assetNotFound:
        return QStringLiteral("assetNotFound");
    case Case::audioTrackNotFound:
        return QStringLiteral("audioTrackNotFound");
    case Case::extractionHasFailed:
        return QStringLiteral("extractionHasFailed");
    }
    return {};
}
