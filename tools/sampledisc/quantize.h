#pragma once
// Palette reduction for the disc's 4- and 8-bit artwork and its GIF banners: a median cut over
// the picture's colours, then a nearest-colour mapping with an optional ordered dither. Colours
// that must survive exactly (transparent keys) are reserved at the front of the palette.

#include <QImage>
#include <QRgb>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace kestrova::sampledisc {

struct IndexedImage {
    int width = 0, height = 0;
    std::vector<QRgb> palette;    // opaque colours (alpha 0xFF)
    std::vector<uint8_t> indices; // width * height, top-down
};

namespace detail {

struct ColourCount {
    QRgb colour;
    uint32_t count;
};

inline int Channel(QRgb c, int ch) {
    return ch == 0 ? qRed(c) : ch == 1 ? qGreen(c) : qBlue(c);
}

// Colours of the images with how often they occur, leaving out the reserved ones.
inline std::vector<ColourCount> Histogram(const std::vector<QImage>& images,
                                          const std::vector<QRgb>& reserved) {
    std::unordered_map<QRgb, uint32_t> counts;
    for (const QImage& source : images) {
        const QImage img = source.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
            for (int x = 0; x < img.width(); ++x) {
                ++counts[row[x] | 0xFF000000u];
            }
        }
    }
    for (QRgb r : reserved) {
        counts.erase(r | 0xFF000000u);
    }
    std::vector<ColourCount> out;
    out.reserve(counts.size());
    for (const auto& [colour, count] : counts) {
        out.push_back({colour, count});
    }
    // Deterministic order whatever the hash table did.
    std::sort(out.begin(), out.end(),
              [](const ColourCount& a, const ColourCount& b) { return a.colour < b.colour; });
    return out;
}

} // namespace detail

// At most maxColours colours: the reserved ones first, then the median-cut representatives.
inline std::vector<QRgb> MedianCutPalette(const std::vector<QImage>& images, int maxColours,
                                          const std::vector<QRgb>& reserved = {}) {
    std::vector<QRgb> palette;
    for (QRgb r : reserved) {
        palette.push_back(r | 0xFF000000u);
    }
    std::vector<detail::ColourCount> colours = detail::Histogram(images, reserved);
    const int room = maxColours - static_cast<int>(palette.size());
    if (room <= 0 || colours.empty()) {
        return palette;
    }
    if (static_cast<int>(colours.size()) <= room) {
        for (const auto& c : colours) {
            palette.push_back(c.colour);
        }
        return palette;
    }
    struct Box {
        size_t begin, end;
    };
    std::vector<Box> boxes{{0, colours.size()}};
    auto range = [&](const Box& b, int& channel) {
        int best = -1;
        for (int ch = 0; ch < 3; ++ch) {
            int lo = 255, hi = 0;
            for (size_t i = b.begin; i < b.end; ++i) {
                const int v = detail::Channel(colours[i].colour, ch);
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
            // Green weighs most for the eye, blue least.
            static constexpr std::array<int, 3> weight{3, 4, 2};
            if ((hi - lo) * weight[static_cast<size_t>(ch)] > best) {
                best = (hi - lo) * weight[static_cast<size_t>(ch)];
                channel = ch;
            }
        }
        return best;
    };
    while (static_cast<int>(boxes.size()) < room) {
        // Split the box with the widest weighted spread times its population.
        int pick = -1, pickChannel = 0;
        double pickScore = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].end - boxes[i].begin < 2) {
                continue;
            }
            int channel = 0;
            const int spread = range(boxes[i], channel);
            uint64_t population = 0;
            for (size_t k = boxes[i].begin; k < boxes[i].end; ++k) {
                population += colours[k].count;
            }
            const double score = spread * std::sqrt(static_cast<double>(population));
            if (spread > 0 && score > pickScore) {
                pickScore = score;
                pick = static_cast<int>(i);
                pickChannel = channel;
            }
        }
        if (pick < 0) {
            break;
        }
        Box& b = boxes[static_cast<size_t>(pick)];
        auto first = colours.begin() + static_cast<std::ptrdiff_t>(b.begin);
        auto last = colours.begin() + static_cast<std::ptrdiff_t>(b.end);
        std::sort(first, last, [&](const detail::ColourCount& a, const detail::ColourCount& c) {
            return detail::Channel(a.colour, pickChannel) < detail::Channel(c.colour, pickChannel);
        });
        uint64_t total = 0;
        for (auto it = first; it != last; ++it) {
            total += it->count;
        }
        uint64_t acc = 0;
        size_t mid = b.begin;
        for (size_t k = b.begin; k < b.end - 1; ++k) {
            acc += colours[k].count;
            mid = k + 1;
            if (acc * 2 >= total) {
                break;
            }
        }
        const Box upper{mid, b.end};
        b.end = mid;
        boxes.push_back(upper);
    }
    for (const Box& b : boxes) {
        double r = 0, g = 0, bl = 0, n = 0;
        for (size_t k = b.begin; k < b.end; ++k) {
            const double w = colours[k].count;
            r += qRed(colours[k].colour) * w;
            g += qGreen(colours[k].colour) * w;
            bl += qBlue(colours[k].colour) * w;
            n += w;
        }
        QRgb c = qRgb(static_cast<int>(r / n + 0.5), static_cast<int>(g / n + 0.5),
                      static_cast<int>(bl / n + 0.5));
        // A representative must never turn into a reserved key colour.
        if (std::find(palette.begin(), palette.end(), c) != palette.end()) {
            c = qRgb(qRed(c) ^ 1, qGreen(c), qBlue(c));
        }
        palette.push_back(c);
    }
    return palette;
}

// Maps every pixel to the palette. Pixels equal to a colour among the first `exactCount` palette
// entries map to it untouched; all others take the nearest of the remaining entries, with a 4 x 4
// ordered dither when `dither` is set (the look of the period's 256-colour art).
inline IndexedImage MapToPalette(const QImage& source, const std::vector<QRgb>& palette,
                                 int exactCount, bool dither) {
    static constexpr std::array<int, 16> bayer{0, 8,  2, 10, 12, 4, 14, 6,
                                               3, 11, 1, 9,  15, 7, 13, 5};
    const QImage img = source.convertToFormat(QImage::Format_RGB32);
    IndexedImage out;
    out.width = img.width();
    out.height = img.height();
    out.palette = palette;
    out.indices.resize(static_cast<size_t>(out.width) * static_cast<size_t>(out.height));
    const int first = std::min<int>(exactCount, static_cast<int>(palette.size()));
    std::unordered_map<QRgb, uint8_t> cache;
    auto nearest = [&](int r, int g, int b) {
        int best = first < static_cast<int>(palette.size()) ? first : 0;
        int bestDist = 1 << 30;
        for (int i = first; i < static_cast<int>(palette.size()); ++i) {
            const int dr = qRed(palette[static_cast<size_t>(i)]) - r;
            const int dg = qGreen(palette[static_cast<size_t>(i)]) - g;
            const int db = qBlue(palette[static_cast<size_t>(i)]) - b;
            const int d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
            if (d < bestDist) {
                bestDist = d;
                best = i;
            }
        }
        return static_cast<uint8_t>(best);
    };
    // Dither strength follows the palette's coarseness.
    const int strength = palette.size() <= 16 ? 48 : 12;
    for (int y = 0; y < out.height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < out.width; ++x) {
            const QRgb c = row[x] | 0xFF000000u;
            uint8_t index = 0;
            bool done = false;
            for (int i = 0; i < first; ++i) {
                if (palette[static_cast<size_t>(i)] == c) {
                    index = static_cast<uint8_t>(i);
                    done = true;
                    break;
                }
            }
            if (!done) {
                if (dither) {
                    const int t =
                        (bayer[static_cast<size_t>((y & 3) * 4 + (x & 3))] - 8) * strength / 16;
                    index =
                        nearest(std::clamp(qRed(c) + t, 0, 255), std::clamp(qGreen(c) + t, 0, 255),
                                std::clamp(qBlue(c) + t, 0, 255));
                } else {
                    auto it = cache.find(c);
                    if (it == cache.end()) {
                        it = cache.emplace(c, nearest(qRed(c), qGreen(c), qBlue(c))).first;
                    }
                    index = it->second;
                }
            }
            out.indices[static_cast<size_t>(y) * static_cast<size_t>(out.width) +
                        static_cast<size_t>(x)] = index;
        }
    }
    return out;
}

inline QImage ToImage(const IndexedImage& indexed) {
    QImage img(indexed.width, indexed.height, QImage::Format_RGB32);
    for (int y = 0; y < indexed.height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < indexed.width; ++x) {
            row[x] = indexed.palette[indexed.indices[static_cast<size_t>(y) *
                                                         static_cast<size_t>(indexed.width) +
                                                     static_cast<size_t>(x)]];
        }
    }
    return img;
}

} // namespace kestrova::sampledisc
