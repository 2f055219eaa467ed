// The frame on a fixture disc: panels 800 x 240, thumbnails 90 x 45, PANEL_DEM 140 wide,
// PANEL_INFO 200 x 70, four demos (spriteCount 5).

#include "engine/engine_fixture.h"
#include "engine/menus.h"
#include "engine/random.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

using testing::DrawOp;
using testing::StartedDisc;

constexpr TColor kOrange = 0x3D76FC;
constexpr TColor kYellow = 0x00FFFF;
constexpr TColor kFrame = 0x20A0F0; // pixel (10, 0) of the fixture's PANEL_DEM, #F0A020

TEST(FrameStartup, LayoutMatchesTheDisc) {
    StartedDisc d;
    const MainState& s = d.state;
    EXPECT_EQ(s.spriteCount, 5);
    EXPECT_EQ(s.slideSprites[0].y, 107 - 240);
    EXPECT_EQ(s.slideSprites[0].imageLabel, "start");
    EXPECT_EQ(s.slideSprites[5].imageLabel, "sliderlistA[4]");
    EXPECT_EQ(s.slideSprites[6].imageLabel, "dbslider[5]");
    EXPECT_EQ(s.slideSprites[9].imageLabel, "dbslider[8]");
    EXPECT_EQ(s.thumbSprites[0].x, 70);
    EXPECT_EQ(s.thumbSprites[0].y, 428);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(s.thumbSprites[i].x, 70) << "thumbnails start stacked";
        EXPECT_EQ(s.thumbSprites[i].y, 380);
    }
    EXPECT_EQ(s.thumbHomeX[1], 70);
    EXPECT_EQ(s.thumbHomeX[2], 180); // width of PANEL_DEM + 40
    EXPECT_EQ(s.thumbHomeX[5], 510);
    EXPECT_EQ(s.infoRestY, 428 - 70);
    EXPECT_EQ(s.frameColour, kFrame);
    EXPECT_EQ(s.ib.left, 24);
    EXPECT_EQ(s.ib.top, 255);
    EXPECT_EQ(s.vb.left, 728);
    EXPECT_EQ(s.pb.top, 264);
    EXPECT_EQ(s.menuKey, "none");
    EXPECT_EQ(s.prevHoverThumb, -1);
    EXPECT_TRUE(s.spreading);
    EXPECT_TRUE(s.timers.Enabled(TimerId::bannerpush));
    // Panels are keyed on their own corner colour; thumbnails are opaque.
    EXPECT_TRUE(s.sliderlistA.Items(0).Transparent);
    EXPECT_EQ(s.sliderlistA.Items(0).TransparentColor, 0xFF00FFu);
    EXPECT_FALSE(s.SubSliderA.Items(0).Transparent);
}

TEST(FrameStartup, LoadingPageAndCurtain) {
    StartedDisc d;
    EXPECT_NE(d.web.Url().find("engine\\loading.html"), std::string::npos);
    d.Activate();
    d.Frame();
    EXPECT_EQ(d.curtainHidden, 1);
    EXPECT_FALSE(d.state.curtainUp);
    d.Frame();
    EXPECT_EQ(d.curtainHidden, 1) << "the curtain lifts once";
    // The background is the first thing drawn, over the whole buffer.
    ASSERT_FALSE(d.canvas.ops.empty());
    EXPECT_EQ(d.canvas.ops.front().item, &d.state.backgroundSurface);
    EXPECT_FALSE(d.state.backgroundSurface.Transparent);
}

TEST(FrameSlides, StartPanelComesDownAndStops) {
    StartedDisc d;
    d.Activate();
    EXPECT_EQ(d.state.slideState, -1) << "a panel taller than 107 starts its slide-in at once";
    int frames = 0;
    int lastY = d.state.slideSprites[0].y;
    while (d.state.slideState != 0 && frames < 100) {
        d.Frame();
        ++frames;
        if (d.state.slideState == -1) {
            EXPECT_EQ(d.state.slideSprites[0].y, lastY + 20);
        }
        lastY = d.state.slideSprites[0].y;
    }
    EXPECT_EQ(d.state.slideSprites[0].y, 106);
    EXPECT_EQ(d.state.installSprite.y, 254);
    EXPECT_EQ(d.state.printSprite.y, 263);
    EXPECT_EQ(d.state.viewSprite.y, 167);
    d.Frames(5);
    EXPECT_EQ(d.state.slideSprites[0].y, 106);
    EXPECT_EQ(d.state.slideState, 0);
}

TEST(FrameSlides, SelectionSlidesOutThenIn) {
    StartedDisc d;
    d.Activate();
    d.Frames(20);
    d.state.targetPanel = 3;
    d.Frame();
    EXPECT_EQ(d.state.slideState, 1);
    // The shown panel rises 20 a frame until it is above 138 - height, then parks.
    int guard = 0;
    while (d.state.shownPanel != 3 && guard++ < 50) {
        const int before = d.state.slideSprites[0].y;
        d.Frame();
        if (d.state.shownPanel != 3) {
            EXPECT_EQ(d.state.slideSprites[0].y, before - 20);
            EXPECT_EQ(d.state.installSprite.y, d.state.slideSprites[0].y + 148);
        }
    }
    EXPECT_EQ(d.state.slideSprites[0].y, 105 - 240);
    EXPECT_FALSE(d.state.noPanelYet);
    EXPECT_EQ(d.state.textFirst, d.state.source.IndexOf("*BEGIN3"));
    EXPECT_EQ(d.state.textLast, d.state.source.IndexOf("*END3") - 1);
    d.Frames(30);
    EXPECT_EQ(d.state.slideState, 0);
    EXPECT_EQ(d.state.slideSprites[3].y, 106);
}

TEST(FrameSlides, PageRequestAtTheEndOfASlideOutIsLoaded) {
    StartedDisc d;
    d.Activate();
    d.Frames(20);
    d.state.targetPanel = 2;
    while (d.state.slideSprites[0].y > 138 - 240) {
        d.Frame();
    }
    // The next frame ends the slide-out; a request made now must still reach the pane.
    d.state.pendingUrl = "http://www.example.com/page.html";
    d.state.navigatePending = true;
    d.Frame();
    EXPECT_EQ(d.state.shownPanel, 2);
    EXPECT_EQ(d.state.slideState, 0);
    EXPECT_FALSE(d.state.navigatePending);
    EXPECT_EQ(d.web.Url(), "http://www.example.com/page.html");
    EXPECT_EQ(d.web.Left(), -3);
}

TEST(FrameText, StartPanelShowsTheFeatureBlock) {
    StartedDisc d;
    d.Activate();
    d.Frames(20);
    const int y = d.state.slideSprites[0].y;
    const DrawOp* first = d.canvas.FindText("Welcome to the fixture disc");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->x, 110);
    EXPECT_EQ(first->y, y + 165);
    EXPECT_TRUE(first->font.bold && first->font.italic);
    const DrawOp* second = d.canvas.FindText("Second feature line");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->y, y + 184);
    EXPECT_EQ(d.canvas.FindText("Needs:"), nullptr) << "no requirements label on the start panel";
}

TEST(FrameText, DemoPanelShowsRequirementsAndSupport) {
    StartedDisc d;
    d.Activate();
    d.Frames(20);
    d.state.targetPanel = 1;
    d.Frames(40);
    const int y = d.state.slideSprites[1].y;
    ASSERT_EQ(y, 106);
    const DrawOp* label = d.canvas.FindText("Needs:");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->y, y + 162);
    EXPECT_EQ(label->colour, kOrange);
    const DrawOp* req = d.canvas.FindText("Pentium 100");
    ASSERT_NE(req, nullptr);
    EXPECT_EQ(req->x, 275);
    EXPECT_EQ(req->y, y + 162);
    const DrawOp* next = d.canvas.FindText("16 MB RAM");
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->y, y + 180);
    EXPECT_FALSE(next->font.italic);
    const DrawOp* support = d.canvas.FindText("support1@example.com");
    ASSERT_NE(support, nullptr);
    EXPECT_EQ(support->x, 215);
    EXPECT_EQ(support->y, y + 135);
    ASSERT_NE(d.canvas.FindText("Support:"), nullptr);
}

// The last entry's record cut off by the end of the file, after its title and first description
// line: its caption and panel draw the lines that are there, and a line past the end draws
// nothing, as any lookup that misses.
TEST(FrameText, ARecordCutOffByTheEndOfTheFileDrawsOnlyWhatIsThere) {
    StartedDisc d;
    d.Activate();
    d.Frames(20);
    const LineList& lines = d.state.source;
    std::string cut;
    for (int i = 0; i <= lines.IndexOf("*BEGIN4") + 2; ++i) {
        cut += lines.Get(i) + "\r\n";
    }
    d.state.source.LoadFromBytes(cut);
    ASSERT_EQ(lines.Get(lines.Count() - 1), "First line of demo 4");

    const TSpriteRec& t4 = d.state.thumbSprites[4];
    d.state.mouseX = t4.x + 10;
    d.state.mouseY = t4.y + 10;
    d.Frames(10);
    ASSERT_EQ(d.state.hoverThumb, 4);
    EXPECT_NE(d.canvas.FindText("Fixture Demo 4"), nullptr);
    EXPECT_NE(d.canvas.FindText("First line of demo 4"), nullptr);
    auto textsBelow = [&](int x, int y) {
        int n = 0;
        for (const auto& op : d.canvas.ops) {
            n += op.kind == DrawOp::Text && op.x == x && op.y >= y ? 1 : 0;
        }
        return n;
    };
    // The title and one description line; the two missing lines draw nothing.
    EXPECT_EQ(textsBelow(d.state.infoSprite.x + 5, d.state.infoSprite.y), 2);

    d.state.mouseY = 200;
    d.state.targetPanel = 4;
    d.Frames(40);
    ASSERT_EQ(d.state.shownPanel, 4);
    const int x = d.state.slideSprites[4].x;
    const int y = d.state.slideSprites[4].y;
    // The support label stands alone: its contact line is past the end, and there are no
    // requirements without the end marker.
    ASSERT_NE(d.canvas.FindText("Support:"), nullptr);
    EXPECT_EQ(textsBelow(x + 215, y), 0);
    EXPECT_EQ(d.canvas.FindText("Needs:"), nullptr);
    EXPECT_EQ(d.canvas.FindText("*Spritecount"), nullptr);
}

TEST(FrameStrip, IntroSpreadsEveryThumbnailHome) {
    StartedDisc d;
    d.Activate();
    d.Frame();
    EXPECT_EQ(d.state.stripSpeed, 23);
    EXPECT_EQ(d.state.thumbSprites[1].x, 70 + 23);
    d.Frame();
    EXPECT_EQ(d.state.stripSpeed, 31);
    d.Frames(20);
    EXPECT_FALSE(d.state.spreading);
    EXPECT_EQ(d.state.spreadStep, 0);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(d.state.thumbSprites[i].x, d.state.thumbHomeX[i + 1]);
    }
}

TEST(FrameStrip, ScrollSpeedCoastingAndLimits) {
    StartedDisc d;
    d.Activate();
    d.Frames(20);
    ASSERT_FALSE(d.state.spreading);
    // Move the strip right so it has room to scroll left.
    for (int i = 1; i <= 4; ++i) {
        d.state.thumbSprites[i].x += 300;
    }
    const int half = 792 / 2;
    d.state.mouseY = 400;
    d.state.mouseX = half + 151 + 16;
    const int x1 = d.state.thumbSprites[1].x;
    d.Frame();
    EXPECT_EQ(d.state.stripSpeed, (167) / 17);
    EXPECT_EQ(d.state.thumbSprites[1].x, x1 - 9);
    // At exactly half + 150 the strip coasts: the speed halves, truncating.
    d.state.mouseX = half + 150;
    d.Frame();
    EXPECT_EQ(d.state.stripSpeed, 4);
    d.Frame();
    EXPECT_EQ(d.state.stripSpeed, 2);
    d.Frames(3);
    EXPECT_EQ(d.state.stripSpeed, 0);
    // Left of the band the speed is negative and truncates toward zero.
    d.state.mouseX = half - 166;
    d.Frame();
    EXPECT_EQ(d.state.stripSpeed, -9);
    // Never past the limits, however long the pointer stays: the last thumbnail stops before
    // the caption panel's width from the right edge...
    d.state.mouseX = 791;
    d.Frames(200);
    EXPECT_GE(d.state.thumbSprites[4].x, 792 - 200);
    EXPECT_LT(d.state.thumbSprites[4].x, 792 - 200 + 23);
    // ...and the first one stops just right of the demos label.
    for (int i = 1; i <= 4; ++i) {
        d.state.thumbSprites[i].x = 110 * (i - 1);
    }
    d.state.mouseX = 0;
    d.Frames(200);
    EXPECT_LE(d.state.thumbSprites[1].x, 140 + 20);
    EXPECT_GT(d.state.thumbSprites[1].x, 140 + 20 - 24);
    // Off the band the strip stays and keeps its speed.
    const int speed = d.state.stripSpeed;
    const int x4 = d.state.thumbSprites[4].x;
    d.state.mouseY = 300;
    d.Frames(3);
    EXPECT_EQ(d.state.stripSpeed, speed);
    EXPECT_EQ(d.state.thumbSprites[4].x, x4);
}

TEST(FrameCaption, HoverDropsThePanelAndFramesTheThumbnail) {
    StartedDisc d;
    d.Activate();
    d.Frames(20);
    const TSpriteRec& t2 = d.state.thumbSprites[2];
    d.state.mouseX = t2.x + 10;
    d.state.mouseY = t2.y + 10;
    d.Frame();
    EXPECT_EQ(d.state.hoverThumb, 2);
    EXPECT_EQ(d.state.infoSprite.x, t2.x);
    EXPECT_EQ(d.state.infoSprite.y, 358 + 15);
    d.Frames(10);
    EXPECT_EQ(d.state.infoSprite.y, 428);
    EXPECT_TRUE(d.canvas.HasFrame(t2.x + 1, t2.y + 1, t2.x + 89, t2.y + 44, kYellow));
    EXPECT_TRUE(d.canvas.HasFrame(t2.x, t2.y, t2.x + 90, t2.y + 45, kFrame));
    const DrawOp* title = d.canvas.FindText("Fixture Demo 2");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->x, t2.x + 5);
    EXPECT_EQ(title->y, 428 + 7);
    EXPECT_EQ(title->colour, kOrange);
    const DrawOp* third = d.canvas.FindText("Third line of demo 2");
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->y, 428 + 16 + 33);
    EXPECT_EQ(third->font.face, FontFace::Small);
}

TEST(FrameCaption, RetractingPanelKeepsTheLastCaption) {
    StartedDisc d;
    d.Activate();
    d.Frames(20);
    const TSpriteRec& t1 = d.state.thumbSprites[1];
    d.state.mouseX = t1.x + 10;
    d.state.mouseY = t1.y + 10;
    d.Frames(10);
    d.state.mouseY = 200;
    int retracting = 0;
    while (d.state.infoSprite.y > d.state.infoRestY && retracting < 20) {
        d.Frame();
        ++retracting;
        if (d.state.infoSprite.y + 25 > d.state.infoRestY) {
            EXPECT_NE(d.canvas.FindText("Fixture Demo 1"), nullptr) << "frame " << retracting;
            // Never the head of the file in place of a caption.
            EXPECT_EQ(d.canvas.FindText("*Spritecount"), nullptr);
        }
    }
    EXPECT_GE(retracting, 2);
    d.Frame();
    EXPECT_EQ(d.state.infoSprite.y, d.state.infoRestY);
}

TEST(FrameRule, LongerWhileThePanelIsAlmostOut) {
    StartedDisc d;
    d.Activate();
    d.Frames(20);
    EXPECT_TRUE(d.canvas.HasFrame(0, 137, 720, 138, kFrame));
    EXPECT_FALSE(d.canvas.HasFrame(0, 137, 800, 138, kFrame));
    d.state.targetPanel = 1;
    bool sawLong = false;
    for (int i = 0; i < 20 && d.state.shownPanel != 1; ++i) {
        d.Frame();
        sawLong = sawLong || d.canvas.HasFrame(0, 137, 800, 138, kFrame);
    }
    EXPECT_TRUE(sawLong);
}

TEST(FrameButtons, ActionPicturesOnlyWithADemoShown) {
    StartedDisc d;
    d.Activate();
    d.Frames(20);
    auto drawn = [&](const TSpriteRec& s) {
        for (const auto& op : d.canvas.ops) {
            if (op.kind == DrawOp::Item && op.item == s.image && op.y == s.y) {
                return true;
            }
        }
        return false;
    };
    EXPECT_FALSE(drawn(d.state.installSprite));
    d.state.targetPanel = 4;
    d.Frames(40);
    EXPECT_TRUE(drawn(d.state.installSprite));
    EXPECT_TRUE(drawn(d.state.viewSprite));
    EXPECT_TRUE(drawn(d.state.printSprite));
}

TEST(FrameMenu, UnrollsOpensAndCloses) {
    StartedDisc d;
    d.Activate();
    d.Frames(20);
    d.state.hoverKey = "demos";
    d.state.menuKey = "demos";
    d.state.menusource = {"one", "two", "three"};
    d.state.mouseX = 400;
    d.state.mouseY = 30;
    EXPECT_EQ(MenuLineHeight(), 9);
    d.Frame();
    EXPECT_EQ(d.state.menuLeft, 328);
    EXPECT_EQ(d.state.menuTop, 51);
    EXPECT_EQ(d.state.menuHeight, 9);
    EXPECT_EQ(d.state.menusourceBounds.left, 801) << "no line takes the pointer while unrolling";
    d.Frames(3); // 18, 27, 36 >= 3 * 9.33: open
    EXPECT_EQ(d.state.menuHeight, 36);
    d.Frame();
    EXPECT_EQ(d.state.menusourceBounds.left, 333);
    const DrawOp* two = d.canvas.FindText("two");
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(two->y, 51 + 9);
    // The pointer leaves the button and box: the menu closes, two lines a frame.
    d.state.mouseY = 300;
    d.Frame();
    EXPECT_EQ(d.state.menuKey, "none");
    d.Frame();
    EXPECT_EQ(d.state.menuHeight, 36 - 18);
    d.Frames(3);
    EXPECT_EQ(d.state.menuHeight, 0);
}

TEST(FrameMenu, OnlyAHoveredLineThatOpensAPageReadiesTheWebPane) {
    StartedDisc d("menu-targets");
    d.Activate();
    d.Frames(20);
    d.state.mouseX = 500; // on the support button, so its menu stays open
    d.state.mouseY = 70;
    d.state.hoverKey = "support";
    d.state.menuKey = "support";
    d.state.menusource = {"Help page", "Say hello", "Doctor", "On the web"};
    d.state.menuHover = -1;
    d.Frames(5);
    EXPECT_EQ(d.web.warmUps, 0) << "an open menu with no line under the pointer";
    d.state.menuHover = 1; // the game
    d.Frame();
    d.state.menuHover = 2; // a program
    d.Frame();
    EXPECT_EQ(d.web.warmUps, 0);
    d.state.menuHover = 0; // a page of the disc
    d.Frame();
    EXPECT_EQ(d.web.warmUps, 1);
    d.state.menuHover = 3; // a web address
    d.Frame();
    EXPECT_EQ(d.web.warmUps, 2);
    d.state.menuKey = "none"; // the menu closing keeps its last line, which no longer counts
    d.Frame();
    EXPECT_EQ(d.web.warmUps, 2);
}

TEST(FrameTop, HoveredSectionShowsItsBannerAndOutline) {
    StartedDisc d;
    d.Activate();
    d.Frames(20);
    d.state.hoverKey = "support";
    d.Frame();
    EXPECT_EQ(d.state.topSprite.imageLabel, "panel_top_support");
    EXPECT_TRUE(d.canvas.HasFrame(444, 50, 444 + 122, 86, kFrame));
    d.state.hoverKey = "none";
    d.Frame();
    EXPECT_EQ(d.state.topSprite.imageLabel, "panel_top_none");
}

TEST(FrameTimer, SharedRandomSequence) {
    SharedRandom r;
    // seed 1, then 134775814, ...; a draw is the high half of seed * range.
    EXPECT_EQ(r.Draw(9), 0);
    EXPECT_EQ(r.seed, 1u);
    const uint32_t next = 1u * 134775813u + 1u;
    EXPECT_EQ(r.Draw(9), static_cast<int>((static_cast<uint64_t>(next) * 9) >> 32));
    for (int i = 0; i < 1000; ++i) {
        const int v = r.Draw(9);
        EXPECT_GE(v, 0);
        EXPECT_LT(v, 9);
    }
}

TEST(FrameSurface, NothingHappensWhileTheSurfaceCannotDraw) {
    StartedDisc d;
    d.Activate();
    d.canvas.canDraw = false;
    d.Frame();
    EXPECT_TRUE(d.canvas.ops.empty());
    EXPECT_TRUE(d.state.curtainUp);
}

} // namespace
} // namespace kestrova
