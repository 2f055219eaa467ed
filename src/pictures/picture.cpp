#include "pictures/picture.h"

#include <cstddef>

namespace kestrova {

TColor Picture::PixelColour(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) {
        return 0;
    }
    const size_t index =
        static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
    return index < pixels.size() ? RgbToColour(pixels[index]) : 0;
}

TColor RgbToColour(uint32_t rgb) {
    return ((rgb >> 16) & 0xFFu) | (rgb & 0xFF00u) | ((rgb & 0xFFu) << 16);
}

uint32_t ColourToRgb(TColor colour) {
    return 0xFF000000u | ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

} // namespace kestrova
