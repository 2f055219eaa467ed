// The banner control on hostile GIFs: one past the banner limits, a pipe or a device in place of
// the file stays empty (as an undecodable one does) at once; a good one shows frame after frame
// as it is told, reporting each frame's delay.

#include "platform/banner_movie.h"
#include "platform/qt_controls.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <QImage>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kestrova {
namespace {

namespace fs = std::filesystem;

using testing::AnimatedGif;

class GifLabelLimits : public ::testing::Test {
  protected:
    std::string Write(const std::string& name, const std::string& bytes) {
        return scratch_.Write(name, bytes);
    }
    std::string Gif(int w, int h, int frames) { return AnimatedGif(w, h, frames); }
    testing::ScratchFolder scratch_{"gif-label"};
    const fs::path& dir_ = scratch_.Path();
};

// A banner whose frames alternate the colour of its top-left pixel.
std::string AlternatingGif(int w, int h, int frames) {
    std::string g = AnimatedGif(w, h, frames, 12);
    const std::string pixel0("\x02\x02\x44\x01", 4);
    const std::string pixel1("\x02\x02\x4C\x01", 4);
    std::size_t at = 0;
    for (int i = 0; (at = g.find(pixel0, at)) != std::string::npos; ++i, at += pixel0.size()) {
        if (i % 2 == 1) {
            g.replace(at, pixel0.size(), pixel1);
        }
    }
    return g;
}

TEST_F(GifLabelLimits, AGoodBannerPlaysFrameByFrame) {
    GifLabel label;
    EXPECT_FALSE(label.Animated()) << "an empty banner has nothing to step";
    ASSERT_TRUE(label.LoadFromFile(Write("good.gif", AnimatedGif(468, 60, 3, 12))));
    ASSERT_NE(label.Movie(), nullptr);
    EXPECT_TRUE(label.Movie()->KeepsFrames()) << "a banner's few frames are kept";
    EXPECT_EQ(label.Movie()->FrameCount(), 3);
    // It shows its first frame and reports that frame's delay; it moves on only when told, and
    // loops.
    EXPECT_TRUE(label.Animated());
    EXPECT_EQ(label.Movie()->CurrentFrame(), 0);
    EXPECT_EQ(label.FrameDelayMs(), 120);
    std::vector<int> frames;
    for (int i = 0; i < 4; ++i) {
        label.ShowNextFrame();
        frames.push_back(label.Movie()->CurrentFrame());
    }
    EXPECT_EQ(frames, (std::vector<int>{1, 2, 0, 1}));

    // The kept frames show what decoding them again shows, loop after loop.
    ASSERT_TRUE(label.LoadFromFile(Write("alternating.gif", AlternatingGif(468, 60, 3))));
    auto fresh = BannerMovie::Open(QByteArray::fromStdString(AlternatingGif(468, 60, 3)), false);
    ASSERT_NE(fresh, nullptr);
    std::vector<QImage> decoded;
    for (int i = 0; i < 3; ++i) {
        decoded.push_back(fresh->CurrentPixmap().toImage());
        fresh->NextFrame();
    }
    for (int i = 0; i < 7; ++i) {
        label.ShowNextFrame();
        const int n = label.Movie()->CurrentFrame();
        EXPECT_EQ(label.Movie()->CurrentPixmap().toImage(), decoded[static_cast<std::size_t>(n)])
            << "frame " << n;
    }
    EXPECT_NE(decoded[0], decoded[1]) << "the frames differ, so the comparison means something";

    // Frames that would take more than the bound are decoded as they play, never kept.
    const int tooMany = static_cast<int>(GifLabel::kMostKeptBannerBytes / (468 * 60 * 4)) + 1;
    ASSERT_TRUE(label.LoadFromFile(Write("long.gif", AnimatedGif(468, 60, tooMany))));
    EXPECT_FALSE(label.Movie()->KeepsFrames());

    ASSERT_TRUE(label.LoadFromFile(Write("still.gif", AnimatedGif(468, 60, 1))));
    EXPECT_FALSE(label.Animated());
}

TEST_F(GifLabelLimits, ABannerBeyondItsLimitsOrNotAFileStaysEmpty) {
    GifLabel label;
    ASSERT_TRUE(label.LoadFromFile(Write("good.gif", Gif(468, 60, 3))));
    EXPECT_FALSE(label.LoadFromFile(Write("screen.gif", Gif(65535, 65535, 200))));
    EXPECT_EQ(label.Movie(), nullptr);

    ASSERT_TRUE(label.LoadFromFile(Write("good.gif", Gif(468, 60, 3))));
    EXPECT_FALSE(label.LoadFromFile(Write("frames.gif", Gif(468, 60, 2000))));
    EXPECT_EQ(label.Movie(), nullptr);

    // Neither waits for a writer nor reads an endless device.
    ASSERT_EQ(::mkfifo((dir_ / "pipe.gif").c_str(), 0644), 0);
    EXPECT_FALSE(label.LoadFromFile((dir_ / "pipe.gif").string()));
    fs::create_symlink("/dev/zero", dir_ / "zero.gif");
    EXPECT_FALSE(label.LoadFromFile((dir_ / "zero.gif").string()));
    EXPECT_EQ(label.Movie(), nullptr);

    // A missing file keeps what is shown.
    ASSERT_TRUE(label.LoadFromFile(Write("good.gif", Gif(468, 60, 3))));
    EXPECT_FALSE(label.LoadFromFile((dir_ / "missing.gif").string()));
    EXPECT_NE(label.Movie(), nullptr);
}

} // namespace
} // namespace kestrova
