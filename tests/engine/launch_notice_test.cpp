// The notice a program start leaves over the menu: what it says and after whom it is named, the
// launcher's later report taking its place, its end on the clock or at a click, and the box it
// is drawn in.

#include "engine/engine_fixture.h"
#include "engine/front_end.h"
#include "engine/launch.h"
#include "engine/launch_notice.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

using testing::DrawOp;
using testing::RecordingCanvas;

// Answers each start only when the test says so, as a launcher copying out of an image does.
class LaterLauncher : public Launcher {
  public:
    void ShellExecute(const LaunchRecord& launch) override { asked.push_back(launch); }
    void Answer(std::size_t i, LaunchResult result) { Report(asked.at(i), result); }
    std::vector<LaunchRecord> asked;
};

// A front end started on the fixture disc, drawing on a recording canvas.
struct Started {
    testing::StartedDisc disc;
    RecordingCanvas canvas;
    LaterLauncher launcher;
    Ports ports = [this] {
        Ports p;
        p.canvas = &canvas;
        p.launcher = &launcher;
        return p;
    }();
    FrontEnd fe{ports};
    Started() {
        fe.Initialize();
        fe.SetActive(true);
        fe.AdvanceTo(1000);
    }
    MainState& s() { return fe.State(); }
    // A click where nothing is, with no menu open.
    void ClickNowhere() {
        s().menuKey = "none";
        s().hoverThumb = -1;
        fe.DxDrawMouseDown(5, 590);
    }
    // One frame; the canvas keeps only its drawing.
    void Frame() {
        canvas.ops.clear();
        fe.RunOneFrame();
    }
    // A click on the install-now picture of demo `entry`.
    void ClickInstall(int entry) {
        s().menuKey = "none";
        s().targetPanel = entry;
        s().hoverThumb = -1;
        const Rect& ib = s().ib;
        fe.DxDrawMouseMove(ib.left + 1, ib.top + 1);
        fe.DxDrawMouseDown(ib.left + 1, ib.top + 1);
    }
};

const std::string kEllipsis = "\xE2\x80\xA6";

TEST(LaunchNotice, NamedAfterTheEntryTitleElseTheFilesOwnName) {
    EXPECT_EQ(LaunchName("  Castle Ombrevale ", "Demos/Ombrevale/install.exe", CodePage{}),
              "Castle Ombrevale");
    EXPECT_EQ(LaunchName("", "Demos/Ombrevale/install.exe", CodePage{}), "install.exe");
    EXPECT_EQ(LaunchName("", "Demos\\Ombrevale\\INSTALL.EXE", CodePage{}), "INSTALL.EXE");
    EXPECT_EQ(LaunchName(" ", "/media/disc/Exes/", CodePage{}), "Exes");
    EXPECT_EQ(LaunchName("", "http://www.example.com/a/b", CodePage{}),
              "http://www.example.com/a/b");
    EXPECT_EQ(LaunchName("", "run\x1b[2J.exe", CodePage{}), "run?[2J.exe")
        << "no controls reach the box";
    const std::string cut = LaunchName(std::string(200, 'x'), "", CodePage{});
    EXPECT_EQ(cut, std::string(59, 'x') + kEllipsis);
}

TEST(LaunchNotice, NamesAreReadInTheDiscsCodePageAndCutBetweenCharacters) {
    const CodePage cyrillic = *CodePage::FromNumber(1251);
    // "\xCA\xE2\xE5\xF1\xF2" is "Квест" in Windows-1251, and "Êâåñò" in Windows-1252.
    EXPECT_EQ(LaunchName("\xCA\xE2\xE5\xF1\xF2", "", cyrillic), "\u041a\u0432\u0435\u0441\u0442");
    EXPECT_EQ(LaunchName("\xCA\xE2\xE5\xF1\xF2", "", CodePage{}), "\u00ca\u00e2\u00e5\u00f1\u00f2");
    // Seventy two-byte letters: fifty-nine of them whole, then the ellipsis.
    std::string long_title;
    std::string expected;
    for (int i = 0; i < 70; ++i) {
        long_title += '\xE0';
        if (i < 59) {
            expected += "\u0430";
        }
    }
    EXPECT_EQ(LaunchName(long_title, "", cyrillic), expected + kEllipsis);
}

TEST(LaunchNotice, SaysEachFailureInTheReadersWords) {
    EXPECT_EQ(NoticeText(LaunchResult::Started, "Foo"), "Starting Foo" + kEllipsis);
    EXPECT_EQ(NoticeText(LaunchResult::NeedsWine, "Foo"),
              "Foo is a Windows program: install Wine to run it");
    EXPECT_EQ(NoticeText(LaunchResult::NotOnDisc, "Foo"), "Foo is not on this disc");
    // Every kind says something of its own, and names the start.
    std::vector<std::string> texts;
    for (LaunchResult r :
         {LaunchResult::Started, LaunchResult::NotOnDisc, LaunchResult::NotAFile,
          LaunchResult::NeedsWine, LaunchResult::NotStartable, LaunchResult::NoHandler,
          LaunchResult::CopyFailed, LaunchResult::TooLong}) {
        const std::string text = NoticeText(r, "Foo");
        EXPECT_NE(text.find("Foo"), std::string::npos) << text;
        EXPECT_EQ(std::count(texts.begin(), texts.end(), text), 0) << text;
        texts.push_back(text);
    }
}

TEST(LaunchNotice, AStartShowsAtOnceAndALaterFailureTakesItsPlace) {
    Started t;
    t.ClickInstall(1);
    ASSERT_EQ(t.launcher.asked.size(), 1u);
    EXPECT_EQ(t.launcher.asked[0].file, "demo1/setup.exe");
    EXPECT_EQ(t.s().notice.text, "Starting Fixture Demo 1" + kEllipsis);
    EXPECT_FALSE(t.s().notice.failure);

    // Going as asked changes nothing; a report on a start nobody awaits is no news.
    t.launcher.Answer(0, LaunchResult::Started);
    EXPECT_EQ(t.s().notice.text, "Starting Fixture Demo 1" + kEllipsis);
    t.launcher.Answer(0, LaunchResult::NotOnDisc);
    EXPECT_FALSE(t.s().notice.failure);

    // A report that comes later, after a newer start, still tells of its own start.
    t.ClickInstall(3);
    RunProgram(t.s(), t.fe.GetPorts(), FrontEnd::CurrentDirectory(), {.file = "Exes/run4.exe"});
    EXPECT_EQ(t.s().notice.text, "Starting run4.exe" + kEllipsis);
    t.launcher.Answer(1, LaunchResult::CopyFailed);
    EXPECT_EQ(t.s().notice.text, "Fixture Demo 3 could not be copied out of the disc image");
    EXPECT_TRUE(t.s().notice.failure);
}

TEST(LaunchNotice, ANewerStartReplacesTheNoticeAndItsTime) {
    Started t;
    t.ClickInstall(1);
    t.fe.AdvanceTo(1000 + kStartNoticeMs - 500);
    t.ClickInstall(3);
    EXPECT_EQ(t.s().notice.text, "Starting Fixture Demo 3" + kEllipsis);
    t.fe.AdvanceTo(1000 + kStartNoticeMs + 100);
    EXPECT_FALSE(t.s().notice.text.empty()) << "the newer notice has its own time";
}

TEST(LaunchNotice, GoesAfterItsTimeOrAtTheNextClick) {
    Started t;
    t.ClickInstall(1);
    t.fe.AdvanceTo(1000 + kStartNoticeMs - 20);
    EXPECT_FALSE(t.s().notice.text.empty());
    t.fe.AdvanceTo(1000 + kStartNoticeMs);
    EXPECT_TRUE(t.s().notice.text.empty());
    EXPECT_FALSE(t.s().timers.Enabled(TimerId::launchnotice));

    // A failure stays longer, and a click anywhere puts it away.
    t.ClickInstall(1);
    t.launcher.Answer(1, LaunchResult::NeedsWine);
    t.fe.AdvanceTo(t.fe.ClockMs() + kStartNoticeMs + 100);
    EXPECT_EQ(t.s().notice.text, "Fixture Demo 1 is a Windows program: install Wine to run it");
    t.ClickNowhere();
    EXPECT_TRUE(t.s().notice.text.empty());
    t.ClickInstall(1);
    t.fe.adbannerClick();
    EXPECT_TRUE(t.s().notice.text.empty()) << "a banner's click too";
}

TEST(LaunchNotice, RefusedTextsAndEmptyFilesAreToldOrLeftQuiet) {
    Started t;
    RunProgram(t.s(), t.fe.GetPorts(), FrontEnd::CurrentDirectory(),
               {.file = "Exes/" + std::string(90, 'a') + ".exe", .title = "Long One"});
    EXPECT_EQ(t.s().notice.text, "The path of Long One is too long to start it");
    EXPECT_TRUE(t.launcher.asked.empty());
    t.ClickNowhere();
    // An empty line of a menu names nothing: the launcher hears of it, the reader does not.
    RunProgram(t.s(), t.fe.GetPorts(), FrontEnd::CurrentDirectory(), {.file = ""});
    EXPECT_EQ(t.launcher.asked.size(), 1u);
    EXPECT_TRUE(t.s().notice.text.empty());
}

// The box of the notice: every call that draws it, in the order drawn.
std::vector<DrawOp> NoticeOps(const RecordingCanvas& canvas, const MainState& s) {
    std::vector<DrawOp> ops;
    bool inBox = false;
    for (const DrawOp& op : canvas.ops) {
        inBox = inBox || (op.kind == DrawOp::Fill && op.colour == s.frameColour && op.y > 400);
        if (inBox) {
            ops.push_back(op);
        }
    }
    return ops;
}

TEST(LaunchNotice, DrawnLastInAMenuBoxInsideTheClientArea) {
    Started t;
    t.ClickInstall(1);
    t.Frame();
    const std::vector<DrawOp> ops = NoticeOps(t.canvas, t.s());
    ASSERT_EQ(ops.size(), 3u) << "fill, frame, one line";
    const DrawOp& fill = ops[0];
    EXPECT_EQ(ops[1].kind, DrawOp::Frame);
    EXPECT_EQ(ops[1].colour, t.s().frameColour);
    EXPECT_EQ(ops[2].kind, DrawOp::Text);
    EXPECT_EQ(ops[2].text, "Starting Fixture Demo 1" + kEllipsis);
    // Read at a glance: no smaller than the panels' list letters.
    EXPECT_GE(ops[2].font.pixelHeight, 11);
    EXPECT_EQ(ops[2].font.colour, 0xFFFFFFu);
    // Nothing of the frame is drawn after it, and it stands inside the 792 x 573 client area,
    // clear of the banners (from 505 down).
    EXPECT_EQ(t.canvas.ops.back().text, ops[2].text);
    EXPECT_GE(fill.x, 0);
    EXPECT_LE(fill.right, 792);
    EXPECT_LE(fill.bottom, 505);
    EXPECT_GT(ops[2].x, fill.x);
    EXPECT_LT(ops[2].x + t.canvas.TextWidth(ops[2].text, ops[2].font), fill.right);
    EXPECT_GT(ops[2].y, fill.y);

    // A failure is framed in the lit line's colour.
    t.launcher.Answer(0, LaunchResult::NotOnDisc);
    t.Frame();
    EXPECT_NE(NoticeOps(t.canvas, t.s()).at(1).colour, t.s().frameColour);

    // Gone: the frame draws no box.
    t.ClickNowhere();
    t.Frame();
    EXPECT_TRUE(NoticeOps(t.canvas, t.s()).empty());
}

TEST(LaunchNotice, ALongTextBreaksIntoAFewLinesThatStayInTheBox) {
    Started t;
    RunProgram(t.s(), t.fe.GetPorts(), FrontEnd::CurrentDirectory(),
               {.file = "x.exe", .title = std::string(200, 'W')});
    t.launcher.Answer(0, LaunchResult::NeedsWine);
    t.Frame();
    const std::vector<DrawOp> ops = NoticeOps(t.canvas, t.s());
    ASSERT_GE(ops.size(), 4u);
    const DrawOp& fill = ops[0];
    EXPECT_GE(fill.x, 0);
    EXPECT_LE(fill.right, 792);
    EXPECT_GE(fill.y, 138) << "below the top banner's rule";
    int lines = 0;
    for (const DrawOp& op : ops) {
        if (op.kind == DrawOp::Text) {
            ++lines;
            EXPECT_LE(op.x + t.canvas.TextWidth(op.text, op.font), fill.right) << op.text;
            EXPECT_LE(op.y + op.font.pixelHeight, fill.bottom) << op.text;
        }
    }
    EXPECT_GE(lines, 2);
    EXPECT_LE(lines, 3);
}

// The web pane is a control over the surface: while it is up, the box stands above it.
TEST(LaunchNotice, StandsAboveTheWebPaneWhileItIsUp) {
    Started t;
    WebPane& pane = *t.fe.GetPorts().web;
    t.ClickInstall(1);
    t.Frame();
    const DrawOp below = NoticeOps(t.canvas, t.s()).at(0);
    EXPECT_GT(below.y, pane.Top()) << "where the pane would cover it";
    pane.SetLeft(kWebPaneOnScreenLeft);
    t.Frame();
    std::vector<DrawOp> ops;
    for (const DrawOp& op : t.canvas.ops) {
        if (op.kind == DrawOp::Fill && op.colour == t.s().frameColour && op.y > 60) {
            ops.push_back(op);
        }
    }
    ASSERT_FALSE(ops.empty());
    EXPECT_LE(ops.back().bottom, pane.Top());
    EXPECT_GE(ops.back().y, 60) << "clear of the top buttons' first row";
}

} // namespace
} // namespace kestrova
