// Writes the break bell as an MP3 file: a handful of inharmonic partials, as a struck bell has,
// each dying away exponentially, the higher ones sooner.
//   varlin-bell OUTPUT.mp3

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sndfile.h>
#include <vector>

namespace {

constexpr int sampleRate = 44100;
constexpr double seconds = 2.5;
constexpr double strike = 587.33; // D5
constexpr double attackSeconds = 0.004;
constexpr double peak = 0.8;

struct Partial {
    double ratio;     // of the strike note
    double amplitude; // relative
    double decay;     // seconds to fall by 1/e
};

// Ratios after the classic bell partials (hum, prime, tierce, quint, nominal and above).
constexpr Partial partials[] = {{0.5, 0.35, 1.6},  {1.0, 0.6, 1.1},    {1.19, 0.45, 0.8},
                                {1.5, 0.25, 0.6},  {2.0, 0.55, 0.5},   {2.51, 0.2, 0.35},
                                {2.66, 0.15, 0.3}, {3.01, 0.12, 0.25}, {4.16, 0.08, 0.15}};

std::vector<float> synthesise() {
    const auto frames = size_t(seconds * sampleRate);
    std::vector<double> mix(frames, 0.0);
    for (size_t i = 0; i < frames; ++i) {
        const double t = double(i) / sampleRate;
        double sample = 0;
        for (const Partial& p : partials)
            sample +=
                p.amplitude * std::exp(-t / p.decay) * std::sin(2 * M_PI * strike * p.ratio * t);
        mix[i] = sample * std::min(1.0, t / attackSeconds);
    }
    double loudest = 0;
    for (double sample : mix)
        loudest = std::max(loudest, std::abs(sample));
    std::vector<float> samples(frames);
    for (size_t i = 0; i < frames; ++i)
        samples[i] = float(mix[i] * peak / loudest);
    return samples;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.mp3\n", argv[0]);
        return 2;
    }
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
    SNDFILE* file = sf_open(argv[1], SFM_WRITE, &info);
    if (!file) {
        std::fprintf(stderr, "varlin-bell: cannot write %s: %s\n", argv[1], sf_strerror(nullptr));
        return 1;
    }
    // A bell's slow decay is mostly quiet detail: keep the encoder well above its default rate.
    double compression = 0.2;
    sf_command(file, SFC_SET_COMPRESSION_LEVEL, &compression, sizeof compression);
    const std::vector<float> samples = synthesise();
    const sf_count_t written = sf_writef_float(file, samples.data(), sf_count_t(samples.size()));
    const int closed = sf_close(file);
    if (written != sf_count_t(samples.size()) || closed != 0) {
        std::fprintf(stderr, "varlin-bell: writing %s failed\n", argv[1]);
        std::remove(argv[1]);
        return 1;
    }
    return 0;
}
