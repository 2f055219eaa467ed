#pragma once
// A GIF's logical screen and frames, read from its block structure without decoding a pixel, and
// held to the banner limits before the GIF is handed to a decoder.

#include <cstdint>
#include <span>
#include <string>

namespace kestrova {

struct GifInfo {
    int width = 0, height = 0; // the logical screen
    int frames = 0;
};

// Raises kestrova::Error "Invalid stream format" with a Detail() of `name` and the reason when
// the data is not a GIF, holds no frame, its logical screen or a frame is larger than
// kMaxGifSide x kMaxGifSide or kMaxGifScreenPixels, or it holds more than kMaxGifFrames frames.
GifInfo InspectGif(std::span<const uint8_t> bytes, const std::string& name);

} // namespace kestrova
