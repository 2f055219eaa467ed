#pragma once
// Helpers for the picture tests: pictures made in code, streams built byte by byte (for what the
// writer never produces) and a check for the reader's error texts.

#include "base/error.h"
#include "pictures/picture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kestrova::testing {

inline Picture MakePicture(int w, int h, const std::function<uint32_t(int, int)>& colour) {
    Picture p;
    p.width = w;
    p.height = h;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            p.pixels.push_back(0xFF000000u | colour(x, y));
        }
    }
    return p;
}

// A picture of at most `colours` distinct colours, laid out so that every row differs.
inline Picture FewColours(int w, int h, int colours) {
    return MakePicture(w, h, [colours](int x, int y) {
        const auto i = static_cast<uint32_t>((x + 3 * y + x * y / 3) % colours);
        return (i * 0x3B1F07u + 0x102030u) & 0xFFFFFFu;
    });
}

inline Picture Gradient(int w, int h) {
    return MakePicture(w, h, [](int x, int y) {
        return static_cast<uint32_t>((x * 37 % 256) << 16 | (y * 53 % 256) << 8 |
                                     ((x + y) * 11 % 256));
    });
}

struct Bytes {
    std::vector<uint8_t> data;
    Bytes& U8(uint8_t v) {
        data.push_back(v);
        return *this;
    }
    Bytes& U16(uint16_t v) { return U8(static_cast<uint8_t>(v)).U8(static_cast<uint8_t>(v >> 8)); }
    Bytes& U32(uint32_t v) {
        return U16(static_cast<uint16_t>(v)).U16(static_cast<uint16_t>(v >> 16));
    }
    Bytes& Raw(const std::string& s) {
        // GCC 12 at -O3 takes the move of the empty tail, in an insert into an empty vector,
        // for an overflow: a false positive.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wstringop-overflow"
#endif
        data.insert(data.end(), s.begin(), s.end());
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
        return *this;
    }
    Bytes& Raw(const std::vector<uint8_t>& v) {
        data.insert(data.end(), v.begin(), v.end());
        return *this;
    }
    Bytes& Short(const std::string& s) {
        return U8(static_cast<uint8_t>(s.size())).Raw(s);
    }
};

// Resource header and the component's opening, up to the "List" collection tag.
inline Bytes ImageListOpening() {
    Bytes b;
    b.U8(0xFF).U16(10).Raw("DELPHIXPICTURECOLLECTION").U8(0).U16(0x1030).U32(0);
    b.Raw("TPF0").Short("TPictureCollectionComponent").Short("").Short("List").U8(0x0E);
    return b;
}

template <typename F> std::string ErrorText(F&& f) {
    try {
        f();
    } catch (const Error& e) {
        return e.what();
    }
    return "(no error)";
}

} // namespace kestrova::testing
