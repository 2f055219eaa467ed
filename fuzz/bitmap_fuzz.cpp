// Bitmaps come from the disc, inside image-list files and as the background picture: both
// decoders must take any bytes, and what they decode must write and read back unchanged.
#include "base/error.h"
#include "pictures/bitmap_codec.h"

#include <cstddef>
#include <cstdint>

namespace {

// Big pictures (RLE can claim them from a few bytes) are decoded but not written back, to keep
// the fuzzer fast.
constexpr size_t kRoundTripPixels = 1 << 16;

void RoundTrip(const kestrova::Picture& p) {
    if (p.pixels.size() > kRoundTripPixels) {
        return;
    }
    const auto options = kestrova::StoredOptions(p);
    const kestrova::Picture file =
        kestrova::DecodeBitmapFile(kestrova::EncodeBitmapFile(p, options));
    const kestrova::Picture dib = kestrova::DecodePackedDib(kestrova::EncodePackedDib(p, options));
    if (file.pixels != dib.pixels || file.width != p.width || file.height != p.height) {
        __builtin_trap();
    }
    if (!p.bitfields && file.pixels != p.pixels) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    try {
        RoundTrip(kestrova::DecodeBitmapFile(bytes));
    } catch (const kestrova::Error&) {
    }
    try {
        RoundTrip(kestrova::DecodePackedDib(bytes));
    } catch (const kestrova::Error&) {
    }
    return 0;
}
