#pragma once
// Generates the audio files that tests and benchmarks play: tones, clicks and tone bursts at known
// times, silence and full-scale square waves, mono or stereo, written as WAV, FLAC, MP3 (CBR or VBR,
// with or without the Xing/LAME tag), AAC or ALAC in M4A, or WavPack. Nothing generated is
// committed; every test makes what it needs.

#include <QString>
#include <vector>

namespace testaudio {

enum class Signal {
    Tone,    // sine at `frequency`, `amplitude` of full scale
    Clicks,  // silence with one-sample full-amplitude clicks at `clickTimes`
    Bursts,  // silence with 10 ms tone bursts (`frequency`, `amplitude`) centred on `clickTimes`,
             // which ascend: events a time-stretcher keeps in place, unlike clicks
    Silence, // digital zero
    Square,  // full-scale square wave at `frequency` (amplitude ignored)
};

enum class Container {
    Wav,          // 16-bit PCM
    Flac,         // 16-bit
    Mp3Cbr,       // 128 kbit/s, with the Xing/LAME tag
    Mp3Vbr,       // VBR, with the Xing/LAME tag
    Mp3CbrNoTag,  // 128 kbit/s, without the tag
    Mp3VbrNoTag,  // VBR, without the tag (its length is only knowable by scanning)
    M4aAac,       // AAC at 160 kbit/s in M4A, with the edit list that hides priming and padding
    M4aAacItunes, // the same as iTunes marks it: no edit list, an iTunSMPB tag instead
    AdtsAac,      // bare AAC frames: no length stated, priming and padding left in
    M4aAlac,      // Apple Lossless in M4A
    WavPack,      // lossless, a format only FFmpeg reads here
    OggVorbis,    // quality 0.4
};

struct Spec {
    Signal signal = Signal::Tone;
    double seconds = 1.0;
    int sampleRate = 44100;
    int channels = 2;
    double frequency = 440.0;
    double amplitude = 0.5;
    std::vector<double> clickTimes;
};

// Number of frames the file holds when decoded exactly (gapless).
long long frameCount(const Spec& spec);

// Writes the file and returns true; on failure returns false and fills `error` when given.
bool write(const Spec& spec, Container container, const QString& path, QString* error = nullptr);

} // namespace testaudio
