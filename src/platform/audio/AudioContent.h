#pragma once
// What a file holds by its first bytes, whatever it is called: this picks its decoder. MPEG audio
// is named only when real frames follow one another (libmpg123 finds frame syncs inside AAC data
// and would play a second of noise), so every doubt goes to FFmpeg's own probe.

#include "platform/audio/ByteSource.h"

enum class AudioContent {
    mpegAudio, // MP3 (or MP2), possibly after an ID3v2 tag: libmpg123
    sndfile,   // RIFF WAVE, RF64, AIFF, FLAC, Ogg: libsndfile
    other,     // an MP4 `ftyp` box or anything else: FFmpeg decides
};

// Reads the first bytes and leaves the position where it was.
AudioContent audioContentOf(ByteSource& source);
