#pragma once
// Why an extraction of loudness values failed. Printed in its textual form: the case name and its
// payload, as in `readingError(message: "could not load asset: ...")`.

#include <QString>

struct SamplesExtractorError {
    enum class Case {
        audioTrackMediaTypeMissMatch, // payload: the track's media type
        readingError,                 // payload: a message
        assetNotFound,
        audioTrackNotFound,
        extractionHasFailed,
    };

    Case kind;
    QString payload;

    static SamplesExtractorError readingError(const QString& message) {
        return {Case::readingError, message};
    }
    static SamplesExtractorError assetNotFound() { return {Case::assetNotFound, {}}; }

    QString description() const;
};
