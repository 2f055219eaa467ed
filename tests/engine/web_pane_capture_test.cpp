// Dismissing the web pane: a click on the surface while the pane is up photographs the pane
// itself, the real pane leaves at the next frame and the picture slides right 60 pixels a frame
// until it is off the surface, when the pane goes back to the loading page.

#include "engine/engine_fixture.h"
#include "engine/front_end.h"
#include "engine/web_commands.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

// A pane whose page is a known picture; it counts how often it was photographed.
class PhotographedPane : public NullWebPane {
  public:
    Picture Grab() override {
        ++grabs;
        Picture p;
        p.width = 798;
        p.height = 360;
        p.bitDepth = 32;
        p.pixels.assign(static_cast<std::size_t>(p.width * p.height), 0xFF123456u);
        return p;
    }
    int grabs = 0;
};

struct CaptureTest : ::testing::Test {
    FixtureDiscFolder disc;
    testing::RecordingCanvas canvas;
    PhotographedPane pane;
    FrontEnd fe{[this] {
        Ports p;
        p.canvas = &canvas;
        p.web = &pane;
        return p;
    }()};

    void SetUp() override {
        fe.Initialize();
        fe.SetActive(true);
        for (int i = 0; i < 60; ++i) {
            fe.RunOneFrame(); // the start panel has come down
        }
    }
    void Frame() {
        canvas.ops.clear();
        fe.RunOneFrame();
    }
    // Where this frame drew the captured page, or x -1.
    int PageX() const {
        for (const auto& op : canvas.ops) {
            if (op.kind == testing::DrawOp::Item && op.item == fe.State().pageSprite.image &&
                op.y == 130) {
                return op.x;
            }
        }
        return -1;
    }
};

TEST_F(CaptureTest, AClickWhileThePaneIsUpSlidesItsPictureAwayThenReloadsTheLoadingPage) {
    RequestPage(fe.State(), "http://www.example.com/");
    fe.RunOneFrame();
    ASSERT_EQ(pane.Left(), -3);

    fe.DxDrawMouseDown(400, 550);
    const MainState& s = fe.State();
    EXPECT_EQ(pane.grabs, 1);
    EXPECT_TRUE(s.pageSliding);
    ASSERT_NE(s.pageSprite.image, nullptr);
    EXPECT_EQ(s.pageSprite.image, &s.browzerz.Items(0));
    EXPECT_FALSE(s.pageSprite.image->Transparent) << "the page is drawn opaque";
    EXPECT_EQ(s.pageSprite.Width(), 798);
    EXPECT_EQ(s.pageSprite.image->Surface().at(0), 0xFF123456u);
    EXPECT_EQ(s.pageSprite.x, 0);
    EXPECT_EQ(s.pageSprite.y, 130);

    for (int x = 60; x <= 840; x += 60) {
        Frame();
        EXPECT_EQ(pane.Left(), 803) << "the real pane leaves at once";
        EXPECT_EQ(PageX(), x);
        EXPECT_TRUE(s.pageSliding);
    }
    EXPECT_EQ(pane.Url(), "http://www.example.com/") << "nothing reloads while it slides";
    Frame();
    EXPECT_FALSE(s.pageSliding);
    EXPECT_EQ(pane.Url(), FrontEnd::CurrentDirectory() + "engine\\loading.html");
    EXPECT_EQ(pane.Left(), 803);

    // Off screen, a click photographs nothing.
    fe.DxDrawMouseDown(400, 550);
    EXPECT_EQ(pane.grabs, 1);
    EXPECT_FALSE(s.pageSliding);
}

} // namespace
} // namespace kestrova
