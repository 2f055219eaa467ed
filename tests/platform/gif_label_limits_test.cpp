// The banner control on hostile GIFs: one past the banner limits, a pipe or a device in place of
// the file stays empty (as an undecodable one does) at once; a good one plays, frame by frame.

#include "platform/qt_controls.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <QMovie>

#include <filesystem>
#include <fstream>
#include <string>

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

TEST_F(GifLabelLimits, AGoodBannerPlaysFrameByFrame) {
    GifLabel label;
    label.SetPaused(true);
    ASSERT_TRUE(label.LoadFromFile(Write("good.gif", Gif(468, 60, 3))));
    ASSERT_NE(label.movie(), nullptr);
    EXPECT_EQ(label.movie()->cacheMode(), QMovie::CacheNone);
    EXPECT_EQ(label.movie()->frameCount(), 3);
}

TEST_F(GifLabelLimits, ABannerBeyondItsLimitsOrNotAFileStaysEmpty) {
    GifLabel label;
    label.SetPaused(true);
    ASSERT_TRUE(label.LoadFromFile(Write("good.gif", Gif(468, 60, 3))));
    EXPECT_FALSE(label.LoadFromFile(Write("screen.gif", Gif(65535, 65535, 200))));
    EXPECT_EQ(label.movie(), nullptr);

    ASSERT_TRUE(label.LoadFromFile(Write("good.gif", Gif(468, 60, 3))));
    EXPECT_FALSE(label.LoadFromFile(Write("frames.gif", Gif(468, 60, 2000))));
    EXPECT_EQ(label.movie(), nullptr);

    // Neither waits for a writer nor reads an endless device.
    ASSERT_EQ(::mkfifo((dir_ / "pipe.gif").c_str(), 0644), 0);
    EXPECT_FALSE(label.LoadFromFile((dir_ / "pipe.gif").string()));
    fs::create_symlink("/dev/zero", dir_ / "zero.gif");
    EXPECT_FALSE(label.LoadFromFile((dir_ / "zero.gif").string()));
    EXPECT_EQ(label.movie(), nullptr);

    // A missing file keeps what is shown.
    ASSERT_TRUE(label.LoadFromFile(Write("good.gif", Gif(468, 60, 3))));
    EXPECT_FALSE(label.LoadFromFile((dir_ / "missing.gif").string()));
    EXPECT_NE(label.movie(), nullptr);
}

} // namespace
} // namespace kestrova
