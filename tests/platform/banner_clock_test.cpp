// Banners animate by themselves on the shared clock: frames advance and loop, a banner of one
// frame is never stepped, and a paused or emptied banner leaves the clock.

#include "platform/banner_clock.h"
#include "platform/qt_controls.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMovie>

#include <string>
#include <vector>

namespace kestrova {
namespace {

class BannerClockTest : public ::testing::Test {
  protected:
    std::string Write(const std::string& name, int frames) {
        return scratch_.Write(name, testing::AnimatedGif(1, 1, frames));
    }
    static void RunFor(int ms) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
    }
    testing::ScratchFolder scratch_{"banner-clock"};
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
    ASSERT_TRUE(label.LoadFromFile(Write("three.gif", 3)));
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
        ASSERT_TRUE(still.LoadFromFile(Write("one.gif", 1)));
        EXPECT_EQ(BannerClock::Shared().Count(), before);
        GifLabel moving;
        ASSERT_TRUE(moving.LoadFromFile(Write("two.gif", 2)));
        EXPECT_EQ(BannerClock::Shared().Count(), before + 1);
        // Another picture in the same banner replaces its entry.
        ASSERT_TRUE(moving.LoadFromFile(Write("four.gif", 4)));
        EXPECT_EQ(BannerClock::Shared().Count(), before + 1);
    }
    EXPECT_EQ(BannerClock::Shared().Count(), before);
    RunFor(60); // the clock's timer finds nothing to step
}

} // namespace
} // namespace kestrova
