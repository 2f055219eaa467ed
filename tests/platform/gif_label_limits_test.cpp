// The banner control on hostile GIFs: one past the banner limits, a pipe or a device in place of
// the file stays empty (as an undecodable one does) at once; a good one plays, frame by frame.

#include "platform/qt_controls.h"

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

std::string Gif(int w, int h, int frames) {
    std::string g = "GIF89a";
    for (int v : {w & 0xFF, w >> 8, h & 0xFF, h >> 8}) {
        g += static_cast<char>(v);
    }
    g += std::string("\x80\x00\x00\xFF\xA0\x20\x00\x00\x00", 9);
    for (int i = 0; i < frames; ++i) {
        g += std::string("\x21\xF9\x04\x00\x02\x00\x00\x00", 8);
        g += std::string("\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00", 15);
    }
    return g + ";";
}

class GifLabelLimits : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kestrova-gif-label-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return (dir_ / name).string();
    }
    fs::path dir_;
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
