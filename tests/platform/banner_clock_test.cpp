// Banners animate by themselves on the shared clock: frames advance on the clock's grid after
// their own delays and loop, a banner of one frame is never stepped, and a paused or emptied
// banner leaves the clock. The clock is stepped here as the replay harness steps it.

#include "platform/banner_clock.h"
#include "platform/qt_controls.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <QMovie>

#include <string>
#include <utility>
#include <vector>

namespace kestrova {
namespace {

// (time, frame) for every frame change of a movie.
using Changes = std::vector<std::pair<qint64, int>>;

class BannerClockTest : public ::testing::Test {
  protected:
    void SetUp() override { Clock().UseSteppedTime(1000); }
    void TearDown() override { Clock().UseWallTime(); }

    static BannerClock& Clock() { return BannerClock::Shared(); }
    std::string Write(const std::string& name, int frames, int delayCs = 2) {
        return scratch_.Write(name, testing::AnimatedGif(1, 1, frames, delayCs));
    }
    static void RunFor(qint64 ms) { Clock().AdvanceTo(Clock().NowMs() + ms); }
    static void Record(GifLabel& label, Changes& changes) {
        QObject::connect(label.movie(), &QMovie::frameChanged, &label,
                         [&changes](int frame) { changes.emplace_back(Clock().NowMs(), frame); });
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
    const int before = Clock().Count();
    GifLabel label;
    ASSERT_TRUE(label.LoadFromFile(Write("three.gif", 3)));
    ASSERT_NE(label.movie(), nullptr);
    EXPECT_EQ(Clock().Count(), before + 1);
    Changes seen;
    Record(label, seen);
    RunFor(19);
    EXPECT_TRUE(seen.empty()) << "the first frame stands for its 20 ms";
    RunFor(101);
    // Frame 0 is on screen from the start; then 1, 2 and back to 0, 20 ms each, over and over.
    EXPECT_EQ(seen, (Changes{{1020, 1}, {1040, 2}, {1060, 0}, {1080, 1}, {1100, 2}, {1120, 0}}));

    label.SetPaused(true);
    EXPECT_EQ(Clock().Count(), before);
    EXPECT_EQ(label.movie()->currentFrameNumber(), 0);
    seen.clear();
    RunFor(100);
    EXPECT_TRUE(seen.empty());

    label.SetPaused(false);
    RunFor(40);
    EXPECT_EQ(seen, (Changes{{1240, 1}, {1260, 2}}));
}

TEST_F(BannerClockTest, BannersOfOtherDelaysChangeTogetherOnTheGrid) {
    GifLabel slow;
    ASSERT_TRUE(slow.LoadFromFile(Write("slow.gif", 2, 10)));
    GifLabel odd;
    ASSERT_TRUE(odd.LoadFromFile(Write("odd.gif", 2, 3)));
    Changes slowSeen;
    Changes oddSeen;
    Record(slow, slowSeen);
    Record(odd, oddSeen);
    RunFor(240);
    EXPECT_EQ(slowSeen, (Changes{{1100, 1}, {1200, 0}}));
    // 30 ms frames are held to the next grid point, 40 ms, so they change with the others.
    EXPECT_EQ(oddSeen, (Changes{{1040, 1}, {1080, 0}, {1120, 1}, {1160, 0}, {1200, 1}, {1240, 0}}));
}

TEST_F(BannerClockTest, OneFramePicturesAndGoneBannersAreNotStepped) {
    const int before = Clock().Count();
    {
        GifLabel still;
        ASSERT_TRUE(still.LoadFromFile(Write("one.gif", 1)));
        EXPECT_EQ(Clock().Count(), before);
        GifLabel moving;
        ASSERT_TRUE(moving.LoadFromFile(Write("two.gif", 2)));
        EXPECT_EQ(Clock().Count(), before + 1);
        // Another picture in the same banner replaces its entry.
        ASSERT_TRUE(moving.LoadFromFile(Write("four.gif", 4)));
        EXPECT_EQ(Clock().Count(), before + 1);
    }
    EXPECT_EQ(Clock().Count(), before);
    EXPECT_EQ(Clock().NextDueMs(), -1);
    RunFor(60); // nothing to step
    EXPECT_EQ(Clock().NowMs(), 1060);
}

} // namespace
} // namespace kestrova
