#pragma once
// A decoded picture: 32-bit pixels plus what is needed to write it back in the form it was stored.

#include <cstdint>
#include <vector>

namespace kestrova {

// System colour value: 0x00BBGGRR (blue in the high byte, red in the low byte).
using TColor = uint32_t;

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels; // 0xFFRRGGBB (QRgb layout), top-down rows, width * height
    std::vector<Rgb> palette;     // colour table of the stored bitmap; empty above 8 bits
    int bitDepth = 0;             // bits per pixel of the stored bitmap (1, 4, 8, 16, 24, 32)
    // How the stored bitmap was laid out, so that writing it again keeps its form.
    bool rle = false;       // RLE4 / RLE8 compressed
    bool topDown = false;   // rows stored top row first (negative height)
    bool bitfields = false; // BI_BITFIELDS masks (below)
    uint32_t redMask = 0, greenMask = 0, blueMask = 0; // the stored masks when bitfields

    bool IsEmpty() const { return width <= 0 || height <= 0 || pixels.empty(); }
    // System colour of a pixel; 0 outside the picture.
    TColor PixelColour(int x, int y) const;
};

// 0x??RRGGBB -> 0x00BBGGRR (the alpha byte is dropped).
TColor RgbToColour(uint32_t rgb);
// 0x??BBGGRR -> 0xFFRRGGBB (the high byte of the colour is dropped).
uint32_t ColourToRgb(TColor colour);

} // namespace kestrova
