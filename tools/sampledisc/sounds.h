#pragma once
// The two interface sounds, synthesised: 22 050 Hz, mono, 16-bit PCM WAV files.

#include <cstdint>
#include <vector>

namespace kestrova::sampledisc {

constexpr int kSampleRate = 22050;

std::vector<uint8_t> WavFile(const std::vector<int16_t>& samples);
std::vector<int16_t> RolloverSound(); // a short rising blip
std::vector<int16_t> KlickSound();    // a crisp click

} // namespace kestrova::sampledisc
