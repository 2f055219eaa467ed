#pragma once
// A small GIF89a writer for the disc's animated banners (Qt reads GIFs but cannot write them):
// one global colour table, LZW-coded frames, per-frame delays and the looping extension.

#include "quantize.h"

#include <QImage>
#include <QRgb>

#include <cstdint>
#include <stdexcept>
#include <unordered_map>
#include <vector>

namespace kestrova::sampledisc {

struct GifFrame {
    QImage image;     // the full logical screen; every frame replaces the previous one
    int delayCs = 10; // hundredths of a second
};

namespace detail {

// Packs variable-width codes least-significant bit first into 255-byte data sub-blocks.
class GifBitWriter {
  public:
    explicit GifBitWriter(std::vector<uint8_t>& out) : out_(out) {}
    void Put(uint32_t code, int width) {
        bits_ |= code << count_;
        count_ += width;
        while (count_ >= 8) {
            Byte(static_cast<uint8_t>(bits_ & 0xFF));
            bits_ >>= 8;
            count_ -= 8;
        }
    }
    void Finish() {
        if (count_ > 0) {
            Byte(static_cast<uint8_t>(bits_ & 0xFF));
        }
        if (!block_.empty()) {
            Flush();
        }
        out_.push_back(0); // block terminator
    }

  private:
    void Byte(uint8_t b) {
        block_.push_back(b);
        if (block_.size() == 255) {
            Flush();
        }
    }
    void Flush() {
        out_.push_back(static_cast<uint8_t>(block_.size()));
        out_.insert(out_.end(), block_.begin(), block_.end());
        block_.clear();
    }
    std::vector<uint8_t>& out_;
    std::vector<uint8_t> block_;
    uint32_t bits_ = 0;
    int count_ = 0;
};

inline void PutLe16(std::vector<uint8_t>& out, int v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

} // namespace detail

// LZW-codes the indices as GIF image data (the minimum code size byte, then the sub-blocks).
inline void GifLzwEncode(const std::vector<uint8_t>& indices, int minCodeSize,
                         std::vector<uint8_t>& out) {
    out.push_back(static_cast<uint8_t>(minCodeSize));
    detail::GifBitWriter bits(out);
    const uint32_t clearCode = 1u << minCodeSize;
    const uint32_t endCode = clearCode + 1;
    int width = minCodeSize + 1;
    uint32_t lastCode = endCode; // highest code in use
    std::unordered_map<uint32_t, uint32_t> table;
    bits.Put(clearCode, width);
    if (indices.empty()) {
        bits.Put(endCode, width);
        bits.Finish();
        return;
    }
    uint32_t prefix = indices[0];
    for (size_t i = 1; i < indices.size(); ++i) {
        const uint32_t k = indices[i];
        const uint32_t key = (prefix << 8) | k;
        if (auto it = table.find(key); it != table.end()) {
            prefix = it->second;
            continue;
        }
        bits.Put(prefix, width);
        table.emplace(key, ++lastCode);
        // The reader widens its codes once the table reaches the current width's limit.
        if (lastCode >= (1u << width) && width < 12) {
            ++width;
        }
        if (lastCode == 4095) {
            bits.Put(clearCode, width);
            table.clear();
            width = minCodeSize + 1;
            lastCode = endCode;
        }
        prefix = k;
    }
    bits.Put(prefix, width);
    bits.Put(endCode, width);
    bits.Finish();
}

// Writes an animated GIF: all frames share one palette (at most 256 colours, made from every
// frame), loopCount 0 loops forever.
inline std::vector<uint8_t> EncodeAnimatedGif(const std::vector<GifFrame>& frames,
                                              int loopCount = 0, bool dither = false) {
    if (frames.empty()) {
        throw std::invalid_argument("a GIF needs at least one frame");
    }
    const int w = frames[0].image.width();
    const int h = frames[0].image.height();
    std::vector<QImage> images;
    for (const GifFrame& f : frames) {
        if (f.image.width() != w || f.image.height() != h) {
            throw std::invalid_argument("GIF frames differ in size");
        }
        images.push_back(f.image);
    }
    std::vector<QRgb> palette = MedianCutPalette(images, 256);
    int tableBits = 1;
    while ((1 << tableBits) < static_cast<int>(palette.size())) {
        ++tableBits;
    }
    const int minCodeSize = std::max(2, tableBits);

    std::vector<uint8_t> out;
    const char* header = "GIF89a";
    // GCC 12 at -O3 takes the move of the empty tail, in an insert into an empty vector,
    // for an overflow: a false positive.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wstringop-overflow"
#endif
    out.insert(out.end(), header, header + 6);
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
    detail::PutLe16(out, w);
    detail::PutLe16(out, h);
    // Global table present, 8 bits of colour resolution, table size 2^tableBits.
    out.push_back(static_cast<uint8_t>(0x80 | 0x70 | (tableBits - 1)));
    out.push_back(0); // background colour index
    out.push_back(0); // square pixels
    for (int i = 0; i < (1 << tableBits); ++i) {
        const QRgb c = i < static_cast<int>(palette.size()) ? palette[static_cast<size_t>(i)] : 0;
        out.push_back(static_cast<uint8_t>(qRed(c)));
        out.push_back(static_cast<uint8_t>(qGreen(c)));
        out.push_back(static_cast<uint8_t>(qBlue(c)));
    }
    if (frames.size() > 1) {
        const uint8_t loop[] = {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S',  'C',
                                'A',  'P',  'E',  '2', '.', '0', 0x03, 0x01};
        out.insert(out.end(), std::begin(loop), std::end(loop));
        detail::PutLe16(out, loopCount);
        out.push_back(0);
    }
    for (const GifFrame& f : frames) {
        // Graphic control: dispose "do not dispose", no transparency, the frame's delay.
        out.insert(out.end(), {0x21, 0xF9, 0x04, 0x04});
        detail::PutLe16(out, f.delayCs);
        out.push_back(0);
        out.push_back(0);
        out.push_back(0x2C);
        detail::PutLe16(out, 0);
        detail::PutLe16(out, 0);
        detail::PutLe16(out, w);
        detail::PutLe16(out, h);
        out.push_back(0); // no local table, not interlaced
        const IndexedImage indexed = MapToPalette(f.image, palette, 0, dither);
        GifLzwEncode(indexed.indices, minCodeSize, out);
    }
    out.push_back(0x3B);
    return out;
}

} // namespace kestrova::sampledisc
