// The sample disc's GIF writer and palette reduction, checked by reading the output back with
// Qt's own GIF decoder.

#include "sampledisc/gif_writer.h"
#include "sampledisc/quantize.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QMovie>
#include <QPainter>
#include <QRandomGenerator>
#include <gtest/gtest.h>

using kestrova::sampledisc::EncodeAnimatedGif;
using kestrova::sampledisc::GifFrame;

namespace {

QByteArray ToBytes(const std::vector<uint8_t>& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

QImage Solid(int w, int h, QRgb colour) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

// Reads every frame with QImageReader (the decoder QMovie uses).
std::vector<QImage> DecodeFrames(const QByteArray& gif) {
    QBuffer buffer;
    buffer.setData(gif);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    std::vector<QImage> frames;
    QImage frame;
    while (reader.read(&frame)) {
        frames.push_back(frame.convertToFormat(QImage::Format_RGB32));
    }
    return frames;
}

bool SamePixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) {
        return false;
    }
    const QImage ca = a.convertToFormat(QImage::Format_RGB32);
    const QImage cb = b.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < ca.height(); ++y) {
        for (int x = 0; x < ca.width(); ++x) {
            if ((ca.pixel(x, y) & 0xFFFFFF) != (cb.pixel(x, y) & 0xFFFFFF)) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

TEST(GifWriter, MovieSeesEveryFrameAtTheBannerSizeAndLoops) {
    std::vector<GifFrame> frames;
    const QRgb colours[] = {qRgb(255, 120, 30), qRgb(20, 20, 80), qRgb(255, 220, 0)};
    for (QRgb c : colours) {
        QImage img = Solid(468, 60, c);
        QPainter p(&img);
        p.fillRect(10, 10, 100, 20, QColor(255, 255, 255));
        frames.push_back({img, 40});
    }
    const QByteArray gif = ToBytes(EncodeAnimatedGif(frames));
    ASSERT_TRUE(gif.startsWith("GIF89a"));
    ASSERT_TRUE(gif.contains("NETSCAPE2.0"));

    QBuffer buffer;
    buffer.setData(gif);
    buffer.open(QIODevice::ReadOnly);
    QMovie movie(&buffer, "gif");
    ASSERT_TRUE(movie.isValid());
    EXPECT_EQ(movie.frameCount(), 3);
    ASSERT_TRUE(movie.jumpToFrame(0));
    EXPECT_EQ(movie.currentImage().size(), QSize(468, 60));
    // Each frame's delay, in hundredths of a second, as its graphic-control block stores it
    // (the movie's own figure counts down on a running timer, so it is not read here).
    const QByteArray control("\x21\xF9\x04", 3);
    int blocks = 0;
    for (qsizetype at = gif.indexOf(control); at >= 0; at = gif.indexOf(control, at + 1)) {
        ASSERT_LT(at + 6, gif.size());
        const int delay = static_cast<uint8_t>(gif[at + 4]) | static_cast<uint8_t>(gif[at + 5])
                                                                  << 8;
        EXPECT_EQ(delay, 40) << "block " << blocks;
        ++blocks;
    }
    EXPECT_EQ(blocks, 3);
    // A loop count of 0 in the extension means "for ever", which QMovie reports as -1.
    EXPECT_EQ(movie.loopCount(), -1);

    const std::vector<QImage> decoded = DecodeFrames(gif);
    ASSERT_EQ(decoded.size(), 3u);
    for (size_t i = 0; i < decoded.size(); ++i) {
        EXPECT_TRUE(SamePixels(decoded[i], frames[i].image)) << "frame " << i;
    }
}

TEST(GifWriter, SmallPictureKeepsItsPixelsAndHasNoLoopBlock) {
    QImage img = Solid(3, 2, qRgb(0, 0, 0));
    img.setPixel(1, 0, qRgb(255, 255, 255));
    img.setPixel(2, 1, qRgb(200, 10, 40));
    const QByteArray gif = ToBytes(EncodeAnimatedGif({{img, 5}}));
    EXPECT_FALSE(gif.contains("NETSCAPE2.0"));
    const std::vector<QImage> decoded = DecodeFrames(gif);
    ASSERT_EQ(decoded.size(), 1u);
    EXPECT_TRUE(SamePixels(decoded[0], img));
}

TEST(GifWriter, NoiseOverflowsTheCodeTableAndStillDecodes) {
    // 256 colours of random noise fill the 4096-entry table many times over, so the writer must
    // widen its codes and emit clear codes at exactly the points the reader expects.
    QImage img(257, 193, QImage::Format_RGB32);
    QRandomGenerator rng(1999);
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const int v = static_cast<int>(rng.bounded(256));
            img.setPixel(x, y, qRgb(v, 255 - v, (v * 7) & 0xFF));
        }
    }
    // A second frame of long runs exercises the other end: few codes, long strings.
    QImage runs(257, 193, QImage::Format_RGB32);
    for (int y = 0; y < runs.height(); ++y) {
        for (int x = 0; x < runs.width(); ++x) {
            // The same colours as the noise, so the shared palette stays exact.
            const int v = x < 128 ? 0 : y;
            runs.setPixel(x, y, qRgb(v, 255 - v, (v * 7) & 0xFF));
        }
    }
    const QByteArray gif = ToBytes(EncodeAnimatedGif({{img, 10}, {runs, 10}}));
    const std::vector<QImage> decoded = DecodeFrames(gif);
    ASSERT_EQ(decoded.size(), 2u);
    EXPECT_TRUE(SamePixels(decoded[0], img));
    EXPECT_TRUE(SamePixels(decoded[1], runs));
}

TEST(GifWriter, RejectsFramesOfDifferentSizes) {
    EXPECT_THROW(EncodeAnimatedGif({{Solid(4, 4, 0), 10}, {Solid(5, 4, 0), 10}}),
                 std::invalid_argument);
    EXPECT_THROW(EncodeAnimatedGif({}), std::invalid_argument);
}

TEST(Quantize, ReservedKeyColourSurvivesExactlyAndNothingElseTakesIt) {
    // A gradient with far more than 16 colours around a block of the key colour.
    const QRgb key = qRgb(255, 0, 255);
    QImage img(64, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 64; ++x) {
            img.setPixel(x, y, qRgb(x * 4, 128 + y * 2, 250 - x * 3));
        }
    }
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            img.setPixel(x, y, key);
        }
    }
    const std::vector<QRgb> palette = kestrova::sampledisc::MedianCutPalette({img}, 16, {key});
    ASSERT_LE(palette.size(), 16u);
    ASSERT_EQ(palette[0], key);
    for (size_t i = 1; i < palette.size(); ++i) {
        EXPECT_NE(palette[i], key);
    }
    const auto indexed = kestrova::sampledisc::MapToPalette(img, palette, 1, true);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 64; ++x) {
            const uint8_t index = indexed.indices[static_cast<size_t>(y * 64 + x)];
            EXPECT_EQ(index == 0, x < 8 && y < 8) << x << "," << y;
        }
    }
}

TEST(Quantize, FewColoursAreKeptExactly) {
    QImage img = Solid(10, 10, qRgb(1, 2, 3));
    img.setPixel(5, 5, qRgb(250, 251, 252));
    const std::vector<QRgb> palette = kestrova::sampledisc::MedianCutPalette({img}, 256);
    ASSERT_EQ(palette.size(), 2u);
    const auto indexed = kestrova::sampledisc::MapToPalette(img, palette, 0, false);
    EXPECT_TRUE(SamePixels(kestrova::sampledisc::ToImage(indexed), img));
}

TEST(GifWriter, EdgeSizesAndPaletteSizesDecode) {
    // One pixel; a width above 255 (both bytes of the little-endian size); a palette of exactly
    // 4, 5 and 129 colours (table sizes padded to the next power of two, code sizes 2, 3 and 8).
    struct Case {
        int w, h, colours;
    };
    for (const Case& c : {Case{1, 1, 1}, Case{300, 3, 4}, Case{17, 9, 5}, Case{129, 2, 129}}) {
        QImage img(c.w, c.h, QImage::Format_RGB32);
        for (int y = 0; y < c.h; ++y) {
            for (int x = 0; x < c.w; ++x) {
                const int k = (x + y * c.w) % c.colours;
                img.setPixel(x, y, qRgb(k * 7 % 256, (k * 13 + 40) % 256, 255 - k));
            }
        }
        const QByteArray gif = ToBytes(EncodeAnimatedGif({{img, 3}}));
        const std::vector<QImage> decoded = DecodeFrames(gif);
        ASSERT_EQ(decoded.size(), 1u) << c.w << "x" << c.h;
        EXPECT_TRUE(SamePixels(decoded[0], img)) << c.w << "x" << c.h << " " << c.colours;
    }
}

TEST(Quantize, MoreColoursThanRoomKeepsThePaletteWithinItsSizeAndCloseToTheSource) {
    QImage img(256, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 256; ++x) {
            img.setPixel(x, y, qRgb(x, y * 4, 255 - x));
        }
    }
    const std::vector<QRgb> palette = kestrova::sampledisc::MedianCutPalette({img}, 256);
    ASSERT_EQ(palette.size(), 256u);
    const QImage back =
        kestrova::sampledisc::ToImage(kestrova::sampledisc::MapToPalette(img, palette, 0, false));
    int worst = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 256; ++x) {
            const QRgb a = img.pixel(x, y), b = back.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
        }
    }
    // 16 384 colours in 256 boxes: no channel should be off by more than a box's half-width.
    EXPECT_LT(worst, 24);
}
