// A banner's frames play as the toolkit's own movie plays them: the same pictures and delays in
// the same order, loop after loop, kept or decoded anew; and reading them loads the GIF reader
// alone.

#include "platform/banner_movie.h"
#include "support/test_files.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QMovie>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace kestrova {
namespace {

struct Shown {
    QImage image;
    int delayMs = 0;
};

// The same pictures in the same order, each with the delay its file gives: the toolkit's movie
// takes off the few milliseconds decoding the frame took.
bool SamePlay(const std::vector<Shown>& ours, const std::vector<Shown>& toolkits) {
    if (ours.size() != toolkits.size()) {
        return false;
    }
    for (std::size_t i = 0; i < ours.size(); ++i) {
        const int early = ours[i].delayMs - toolkits[i].delayMs;
        if (ours[i].image != toolkits[i].image || early < 0 || early > 20) {
            return false;
        }
    }
    return true;
}

// What the toolkit's movie shows, stepped as a banner steps: next frame, or the first again
// after the last.
std::vector<Shown> PlayedByQMovie(const QByteArray& bytes, int steps) {
    QBuffer device;
    device.setData(bytes);
    device.open(QIODevice::ReadOnly);
    QMovie movie(&device, QByteArray("gif"));
    movie.setCacheMode(QMovie::CacheAll);
    movie.jumpToFrame(0);
    std::vector<Shown> shown;
    for (int i = 0; i < steps; ++i) {
        shown.push_back({movie.currentImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                         movie.nextFrameDelay()});
        if (!movie.jumpToNextFrame()) {
            movie.jumpToFrame(0);
        }
    }
    return shown;
}

std::vector<Shown> PlayedByBannerMovie(const QByteArray& bytes, bool keep, int steps) {
    auto movie = BannerMovie::Open(bytes, keep);
    std::vector<Shown> shown;
    for (int i = 0; movie && i < steps; ++i) {
        shown.push_back(
            {movie->CurrentPixmap().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
             movie->CurrentDelayMs()});
        if (!movie->NextFrame()) {
            movie->FirstFrame();
        }
    }
    return shown;
}

std::vector<std::pair<std::string, QByteArray>> Banners() {
    std::vector<std::pair<std::string, QByteArray>> gifs;
    gifs.emplace_back("three frames",
                      QByteArray::fromStdString(testing::AnimatedGif(143, 60, 3, 7)));
    gifs.emplace_back("one frame", QByteArray::fromStdString(testing::AnimatedGif(468, 60, 1)));
    const QDir folder(QStringLiteral(KESTROVA_SOURCE_DIR "/sample-disc/engine/images/banners"));
    for (const QString& name : folder.entryList({QStringLiteral("*.gif")}, QDir::Files)) {
        QFile file(folder.filePath(name));
        if (file.open(QIODevice::ReadOnly)) {
            gifs.emplace_back(name.toStdString(), file.readAll());
        }
    }
    return gifs;
}

TEST(BannerMovie, PlaysAsTheToolkitsMovieDoesKeptOrNot) {
    const auto banners = Banners();
    ASSERT_GT(banners.size(), 3u) << "the sample disc's banners are there";
    for (const auto& [name, bytes] : banners) {
        const std::vector<Shown> expected = PlayedByQMovie(bytes, 25);
        ASSERT_EQ(expected.size(), 25u) << name;
        EXPECT_TRUE(SamePlay(PlayedByBannerMovie(bytes, true, 25), expected)) << name << ", kept";
        EXPECT_TRUE(SamePlay(PlayedByBannerMovie(bytes, false, 25), expected))
            << name << ", not kept";
    }
}

TEST(BannerMovie, TellsItsFramesAndRefusesWhatIsNoGif) {
    auto movie =
        BannerMovie::Open(QByteArray::fromStdString(testing::AnimatedGif(20, 10, 4, 5)), true);
    ASSERT_NE(movie, nullptr);
    EXPECT_EQ(movie->FrameCount(), 4);
    EXPECT_EQ(movie->CurrentFrame(), 0);
    EXPECT_EQ(movie->CurrentDelayMs(), 50);
    EXPECT_EQ(movie->CurrentPixmap().size(), QSize(20, 10));
    EXPECT_TRUE(movie->NextFrame());
    EXPECT_TRUE(movie->NextFrame());
    EXPECT_TRUE(movie->NextFrame());
    EXPECT_EQ(movie->CurrentFrame(), 3);
    EXPECT_FALSE(movie->NextFrame()) << "past the last frame";
    EXPECT_EQ(movie->CurrentFrame(), 3) << "the last frame stays";
    movie->FirstFrame();
    EXPECT_EQ(movie->CurrentFrame(), 0);

    EXPECT_EQ(BannerMovie::Open(QByteArrayLiteral("\x89PNG\r\n\x1a\n not a gif"), true), nullptr);
    EXPECT_EQ(BannerMovie::Open(QByteArray(), false), nullptr);
}

bool Mapped(const char* name) {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(name);
}

TEST(BannerMovie, LoadsTheGifReaderAlone) {
    for (const char* other : {"libqwebp", "libqsvg", "libqwbmp", "libqtiff"}) {
        if (Mapped(other)) {
            GTEST_SKIP() << "another test in this process loaded " << other;
        }
    }
    auto movie =
        BannerMovie::Open(QByteArray::fromStdString(testing::AnimatedGif(20, 10, 2)), true);
    ASSERT_NE(movie, nullptr);
    movie->NextFrame();
    EXPECT_TRUE(Mapped("libqgif"));
    for (const char* other : {"libqwebp", "libqsvg", "libqwbmp", "libqtiff"}) {
        EXPECT_FALSE(Mapped(other)) << other;
    }
}

} // namespace
} // namespace kestrova
