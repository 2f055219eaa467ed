// Banners animate by themselves on the shared clock: frames advance and loop, a banner of one
// frame is never stepped, and a paused or emptied banner leaves the clock.

#include "platform/banner_clock.h"
#include "platform/qt_controls.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMovie>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kestrova {
namespace {

namespace fs = std::filesystem;

// A GIF of `frames` one-pixel frames, each shown for 20 ms.
std::string Gif(int frames) {
    std::string g = "GIF89a";
    g += std::string("\x01\x00\x01\x00\x80\x00\x00\xFF\xA0\x20\x00\x00\x00", 13);
    for (int i = 0; i < frames; ++i) {
        g += std::string("\x21\xF9\x04\x00\x02\x00\x00\x00", 8);
        g += std::string("\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00", 15);
    }
    return g + ";";
}

class BannerClockTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kestrova-banner-clock-" + std::to_string(::getpid()));
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
    static void RunFor(int ms) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
    }
    fs::path dir_;
};

TEST(BannerClockGrid, FrameChangesFallOnTheGrid) {
    EXPECT_EQ(BannerClock::AlignUp(0), 0);
    EXPECT_EQ(BannerClock::AlignUp(1), BannerClock::kGridMs);
    EXPECT_EQ(BannerClock::AlignUp(BannerClock::kGridMs), BannerClock::kGridMs);
    EXPECT_EQ(BannerClock::AlignUp(BannerClock::kGridMs + 1), 2 * BannerClock::kGridMs);
}

TEST_F(BannerClockTest, ABannerAdvancesAndLoopsByItself) {
    const int before = BannerClock::Shared().Count();
    GifLabel label;
    ASSERT_TRUE(label.LoadFromFile(Write("three.gif", Gif(3))));
    ASSERT_NE(label.movie(), nullptr);
    EXPECT_EQ(BannerClock::Shared().Count(), before + 1);
    std::vector<int> seen;
    QObject::connect(label.movie(), &QMovie::frameChanged, &label,
                     [&seen](int frame) { seen.push_back(frame); });
    RunFor(400);
    // Frame 0 is on screen from the start; then 1, 2 and back to 0, over and over.
    ASSERT_GE(seen.size(), 4u);
    EXPECT_EQ(seen[0], 1);
    EXPECT_EQ(seen[1], 2);
    EXPECT_EQ(seen[2], 0);

    label.SetPaused(true);
    EXPECT_EQ(BannerClock::Shared().Count(), before);
    EXPECT_EQ(label.movie()->currentFrameNumber(), 0);
    seen.clear();
    RunFor(100);
    EXPECT_TRUE(seen.empty());
}

TEST_F(BannerClockTest, OneFramePicturesAndGoneBannersAreNotStepped) {
    const int before = BannerClock::Shared().Count();
    {
        GifLabel still;
        ASSERT_TRUE(still.LoadFromFile(Write("one.gif", Gif(1))));
        EXPECT_EQ(BannerClock::Shared().Count(), before);
        GifLabel moving;
        ASSERT_TRUE(moving.LoadFromFile(Write("two.gif", Gif(2))));
        EXPECT_EQ(BannerClock::Shared().Count(), before + 1);
        // Another picture in the same banner replaces its entry.
        ASSERT_TRUE(moving.LoadFromFile(Write("four.gif", Gif(4))));
        EXPECT_EQ(BannerClock::Shared().Count(), before + 1);
    }
    EXPECT_EQ(BannerClock::Shared().Count(), before);
    RunFor(60); // the clock's timer finds nothing to step
}

} // namespace
} // namespace kestrova
