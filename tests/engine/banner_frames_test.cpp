// The banners' animation on the front end's clock: each banner shows its next frame once the one
// on show has stood for its delay, on a 20 ms grid, looping; pictures that do not move leave the
// timer off; a new picture starts its frames afresh; a stall is not caught up; closing stops them.

#include "engine/banners.h"
#include "engine/front_end.h"
#include "support/fixture_disc.h"

#include "disc/disc_file_system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kestrova {
namespace {

// (clock time, frame) for every frame a banner was told to show.
using Shown = std::vector<std::pair<long long, int>>;

// A banner whose pictures are lists of frame delays, by file; a file of the disc it has no list
// for does not decode.
class FakeGif : public GifControl {
  public:
    FakeGif(const MainState& state, std::map<std::string, std::vector<int>> pictures)
        : state_(state), pictures_(std::move(pictures)) {}

    bool LoadFromFile(const std::string& path) override {
        if (!DiscFileExists(path)) {
            return false;
        }
        file_ = path;
        const auto it = pictures_.find(path);
        delays_ = it == pictures_.end() ? std::vector<int>{} : it->second;
        frame_ = 0;
        return it != pictures_.end();
    }
    std::string FileName() const override { return file_; }
    bool Animated() const override { return delays_.size() > 1; }
    int FrameDelayMs() const override { return delays_.empty() ? 0 : delays_[frame_]; }
    void ShowNextFrame() override {
        frame_ = (frame_ + 1) % delays_.size();
        shown.emplace_back(state_.timers.NowMs(), static_cast<int>(frame_));
    }

    Shown shown;

  private:
    const MainState& state_;
    std::map<std::string, std::vector<int>> pictures_;
    std::vector<int> delays_;
    std::size_t frame_ = 0;
    std::string file_;
};

const std::string kSide = "engine\\images\\banners\\freeissue_adbar.gif";

// A disc holding the side banner and the named centre banners, and a front end whose three
// banners know the given pictures.
struct BannerFront {
    FixtureDiscFolder disc{"ok"};
    std::map<std::string, std::vector<int>> pictures;
    FrontEnd* fe = nullptr;
    std::unique_ptr<FakeGif> centre, left, right;
    std::unique_ptr<FrontEnd> owner;

    BannerFront(const std::vector<int>& centres, std::map<std::string, std::vector<int>> known) {
        const auto folder = disc.Path() / "engine/images/banners";
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "freeissue_adbar.gif") << "GIF89a";
        for (const int n : centres) {
            std::ofstream(folder / ("banner" + std::to_string(n) + ".gif")) << "GIF89a";
        }
        owner = std::make_unique<FrontEnd>(Ports{});
        fe = owner.get();
        // The ports are given after the state exists, so the fakes read its clock.
        centre = std::make_unique<FakeGif>(fe->State(), known);
        left = std::make_unique<FakeGif>(fe->State(), known);
        right = std::make_unique<FakeGif>(fe->State(), known);
        fe->GetPorts().adbanner = centre.get();
        fe->GetPorts().GIFImage1 = left.get();
        fe->GetPorts().GIFImage2 = right.get();
        fe->Initialize();
    }
};

TEST(BannerFrames, EachBannerStepsAfterItsFramesDelayAndLoops) {
    BannerFront b({1}, {{BannerFile(1), {1200, 120, 120}}, {kSide, {1000, 350}}});
    b.fe->AdvanceTo(2000);
    // The pictures load at 0; the first frames stand 1.2 s and 1 s.
    EXPECT_EQ(b.centre->shown, (Shown{{1200, 1}, {1320, 2}, {1440, 0}}));
    // 350 ms frames are held to the next grid point, 360 ms.
    EXPECT_EQ(b.left->shown, (Shown{{1000, 1}, {1360, 0}}));
    EXPECT_EQ(b.right->shown, b.left->shown);
    EXPECT_EQ(b.fe->NextBannerFrameMs(), 2360);
    b.fe->AdvanceTo(2640);
    EXPECT_EQ(b.left->shown.back(), (std::pair<long long, int>{2360, 1}));
    EXPECT_EQ(b.centre->shown.back(), (std::pair<long long, int>{2640, 1}));
}

TEST(BannerFrames, FramesWithoutADelayOrAShortOneStandAMinimumOnTheGrid) {
    EXPECT_EQ(BannerFrameMs(0), 100);
    EXPECT_EQ(BannerFrameMs(-1), 100);
    EXPECT_EQ(BannerFrameMs(5), 20);
    EXPECT_EQ(BannerFrameMs(350), 350);
    EXPECT_EQ(BannerGridAtOrAfter(0), 0);
    EXPECT_EQ(BannerGridAtOrAfter(1), 20);
    EXPECT_EQ(BannerGridAtOrAfter(20), 20);
    EXPECT_EQ(BannerGridAtOrAfter(21), 40);

    BannerFront b({1}, {{BannerFile(1), {0, 5, 30}}, {kSide, {1}}});
    b.fe->AdvanceTo(300);
    EXPECT_EQ(b.centre->shown, (Shown{{100, 1}, {120, 2}, {160, 0}, {260, 1}, {280, 2}}));
}

TEST(BannerFrames, PicturesThatDoNotMoveLeaveTheTimerOff) {
    // One frame each, and a centre banner that does not decode.
    BannerFront b({1}, {{kSide, {100}}});
    EXPECT_FALSE(b.fe->State().timers.Enabled(TimerId::bannerframes));
    EXPECT_EQ(b.fe->NextBannerFrameMs(), -1);
    b.fe->AdvanceTo(5000);
    EXPECT_TRUE(b.centre->shown.empty());
    EXPECT_TRUE(b.left->shown.empty());
}

TEST(BannerFrames, ANewPictureStartsItsFramesFromItsLoading) {
    // Only banner 2 is on the disc: start-up's banner 1 is missing, so the centre stands still
    // until the rotation at 10 s loads banner 2, whose first frame then stands 250 ms (to 260).
    BannerFront b({2}, {{BannerFile(2), {250, 100}}, {kSide, {1}}});
    b.fe->AdvanceTo(10700);
    EXPECT_EQ(b.fe->State().bannerNumber, 2);
    EXPECT_EQ(b.centre->shown, (Shown{{10260, 1}, {10360, 0}, {10620, 1}}));
    // Loaded again in the middle of a frame, the picture starts over from its first.
    EXPECT_TRUE(LoadBanner(b.fe->State(), b.fe->GetPorts(), b.centre.get(), BannerFile(2)));
    b.fe->AdvanceTo(11000);
    EXPECT_EQ(b.centre->shown.back(), (std::pair<long long, int>{10960, 1}));
    EXPECT_EQ(b.centre->shown.size(), 4u) << "nothing at 10720, the old picture's time";

    // A file that is not there leaves the picture and its pace; one that does not decode stops
    // it.
    EXPECT_FALSE(LoadBanner(b.fe->State(), b.fe->GetPorts(), b.centre.get(), "no-such.gif"));
    EXPECT_EQ(b.fe->NextBannerFrameMs(), 11060);
    std::ofstream(b.disc.Path() / "odd.gif") << "GIF89a";
    EXPECT_FALSE(LoadBanner(b.fe->State(), b.fe->GetPorts(), b.centre.get(), "odd.gif"));
    EXPECT_EQ(b.fe->NextBannerFrameMs(), -1);
    b.fe->AdvanceTo(12000);
    EXPECT_EQ(b.centre->shown.size(), 4u);
}

TEST(BannerFrames, AStallIsNotCaughtUpAndClosingStopsThem) {
    // 20 ms frames, and a rotation every 10 s that loads the centre banner again during the stall.
    BannerFront b({1}, {{BannerFile(1), {20, 20}}, {kSide, {1}}});
    b.fe->AdvanceTo(1000);
    const std::size_t before = b.centre->shown.size();
    EXPECT_EQ(before, 50u);
    const long long hour = 3600 * 1000;
    b.fe->SkipTo(hour + 5);
    EXPECT_EQ(b.centre->shown.size(), before) << "no frame is shown for the stall";
    EXPECT_EQ(b.fe->NextBannerFrameMs(), hour + 20);
    b.fe->AdvanceTo(hour + 100);
    EXPECT_EQ(b.centre->shown.size(), before + 5);
    EXPECT_EQ(b.centre->shown.back().first, hour + 100);

    b.fe->FormClose();
    EXPECT_EQ(b.fe->NextBannerFrameMs(), -1);
    b.fe->SkipTo(2 * hour);
    b.fe->AdvanceTo(3 * hour);
    EXPECT_EQ(b.centre->shown.size(), before + 5);
    EXPECT_FALSE(b.fe->State().timers.Enabled(TimerId::bannerframes));
}

} // namespace
} // namespace kestrova
