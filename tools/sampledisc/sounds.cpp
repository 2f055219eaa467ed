#include "sounds.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kestrova::sampledisc {

namespace {

void Le(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<uint8_t>((v >> (8 * i)) & 0xFF));
    }
}

int16_t Clip(double v) {
    return static_cast<int16_t>(std::clamp(v, -1.0, 1.0) * 32767.0);
}

} // namespace

std::vector<uint8_t> WavFile(const std::vector<int16_t>& samples) {
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<uint8_t> out;
    // GCC 12 at -O3 takes the move of the empty tail, in an insert into an empty vector,
    // for an overflow: a false positive.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wstringop-overflow"
#endif
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
    Le(out, 36 + dataBytes, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Le(out, 16, 4);
    Le(out, 1, 2); // PCM
    Le(out, 1, 2); // mono
    Le(out, kSampleRate, 4);
    Le(out, kSampleRate * 2, 4); // bytes per second
    Le(out, 2, 2);               // block align
    Le(out, 16, 2);              // bits per sample
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    Le(out, dataBytes, 4);
    for (int16_t s : samples) {
        Le(out, static_cast<uint16_t>(s), 2);
    }
    return out;
}

std::vector<int16_t> RolloverSound() {
    // 110 ms: a sine swept from 620 to 1480 Hz with a fifth above it, fast attack, soft tail.
    const int n = kSampleRate * 110 / 1000;
    std::vector<int16_t> out(static_cast<size_t>(n));
    double phase = 0;
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / n;
        const double freq = 620.0 + 860.0 * t * t;
        phase += 2 * std::numbers::pi * freq / kSampleRate;
        const double env = std::min(1.0, i / 80.0) * std::pow(1.0 - t, 1.6);
        const double v = 0.55 * std::sin(phase) + 0.2 * std::sin(phase * 1.5);
        out[static_cast<size_t>(i)] = Clip(v * env);
    }
    return out;
}

std::vector<int16_t> KlickSound() {
    // 35 ms: a 2.4 kHz ping over a burst of noise, both dying away quickly.
    const int n = kSampleRate * 35 / 1000;
    std::vector<int16_t> out(static_cast<size_t>(n));
    uint32_t seed = 0x1999u;
    for (int i = 0; i < n; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double noise = static_cast<double>(seed >> 8) / static_cast<double>(1u << 24) - 0.5;
        const double t = static_cast<double>(i) / kSampleRate;
        const double ping = std::sin(2 * std::numbers::pi * 2400.0 * t) * std::exp(-t * 160.0);
        const double burst = noise * std::exp(-t * 420.0);
        out[static_cast<size_t>(i)] = Clip(0.6 * ping + 0.7 * burst);
    }
    return out;
}

} // namespace kestrova::sampledisc
