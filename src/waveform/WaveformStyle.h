#pragma once
// How the waveform bars are painted: every `period`-th point only, solid, or through a gradient.

struct WaveformStyle {
    enum class Kind { striped, filled, gradient };

    Kind kind = Kind::filled;
    int period = 0; // meaningful for `striped` only

    static WaveformStyle striped(int period) { return {Kind::striped, period}; }
    static WaveformStyle filled() { return {Kind::filled, 0}; }
    static WaveformStyle gradient() { return {Kind::gradient, 0}; }

    bool operator==(const WaveformStyle&) const = default;
};
