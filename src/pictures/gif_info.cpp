#include "pictures/gif_info.h"

#include "base/byte_reader.h"
#include "base/error.h"
#include "disc/disc_limits.h"

namespace kestrova {

namespace {

[[noreturn]] void Refuse(const std::string& name, const std::string& reason) {
    throw Error("Invalid stream format", name + ": " + reason);
}

void SkipSubBlocks(ByteReader& r) {
    for (uint8_t size = r.U8(); size != 0; size = r.U8()) {
        r.Skip(size);
    }
}

void SkipColourTable(ByteReader& r, uint8_t flags) {
    if (flags & 0x80) {
        r.Skip(size_t{3} << ((flags & 7) + 1));
    }
}

bool FitsLimits(int64_t w, int64_t h) {
    return w <= kMaxGifSide && h <= kMaxGifSide && w * h <= kMaxGifScreenPixels;
}

std::string Limits() {
    return std::to_string(kMaxGifSide) + " x " + std::to_string(kMaxGifSide) + " and " +
           std::to_string(kMaxGifScreenPixels) + " pixels";
}

} // namespace

GifInfo InspectGif(std::span<const uint8_t> bytes, const std::string& name) {
    GifInfo info;
    try {
        ByteReader r(bytes);
        const std::string signature = r.String(6);
        if (signature != "GIF87a" && signature != "GIF89a") {
            Refuse(name, "not a GIF");
        }
        info.width = r.U16();
        info.height = r.U16();
        const uint8_t flags = r.U8();
        r.Skip(2); // background colour, aspect ratio
        if (!FitsLimits(info.width, info.height)) {
            Refuse(name, "its logical screen of " + std::to_string(info.width) + " x " +
                             std::to_string(info.height) + " is beyond the banner limit of " +
                             Limits());
        }
        SkipColourTable(r, flags);
        // Decoders stop at the trailer or where the data ends; so does this walk.
        while (!r.AtEnd()) {
            const uint8_t introducer = r.U8();
            if (introducer == 0x3B) {
                break;
            }
            if (introducer == 0x21) {
                r.U8(); // label
                SkipSubBlocks(r);
            } else if (introducer == 0x2C) {
                r.Skip(4); // left, top
                const int w = r.U16();
                const int h = r.U16();
                const uint8_t frameFlags = r.U8();
                if (!FitsLimits(w, h)) {
                    Refuse(name, "a frame of " + std::to_string(w) + " x " + std::to_string(h) +
                                     " is beyond the banner limit of " + Limits());
                }
                SkipColourTable(r, frameFlags);
                r.U8(); // LZW code size
                SkipSubBlocks(r);
                if (++info.frames > kMaxGifFrames) {
                    Refuse(name, "it holds more than the banner limit of " +
                                     std::to_string(kMaxGifFrames) + " frames");
                }
            } else {
                Refuse(name, "a block the format does not have");
            }
        }
    } catch (const Error& e) {
        if (!e.Detail().empty()) {
            throw;
        }
        Refuse(name, std::string("the data ends early (") + e.what() + ")");
    }
    if (info.frames == 0) {
        Refuse(name, "it holds no picture");
    }
    return info;
}

} // namespace kestrova
