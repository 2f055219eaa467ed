// Start-up on hostile discs: every file it reads is a regular file within its kind's ceiling, and
// every picture is counted from its header before it is decoded. Each case ends with the
// reader's message, names the file and the reason in the error, and stays small and quick. Each
// runs in a child process, so that a hang or a runaway allocation fails the test instead of the
// machine.

#include "base/error.h"
#include "engine/main_state.h"
#include "engine/ports.h"
#include "engine/startup.h"
#include "support/fixture_disc.h"
#include "support/in_child.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace kestrova {
namespace {

using testing::ChildResult;
using testing::RunInChild;

// Far below what any of these discs asks for once decoded or read, far above a real start-up.
constexpr long kPeakLimitKb = testing::MemoryLimitKb(150 * 1024);

// Start-up on the variant: "message|detail|log" of its refusal, or "started".
std::string StartUp(const std::string& variant) {
    FixtureDiscFolder disc(variant);
    auto state = std::make_unique<MainState>();
    RecordingLog log;
    Ports ports;
    ports.log = &log;
    try {
        DxDrawInitialize(*state, ports, disc.Root());
    } catch (const Error& e) {
        return std::string(e.what()) + "|" + e.Detail() + "|" +
               (log.warnings.empty() ? "" : log.warnings.front());
    }
    return "started";
}

struct Hostile {
    const char* variant;
    const char* message; // exactly what the reader is shown
    const char* detail;  // what standard error says beside it
};

void PrintTo(const Hostile& h, std::ostream* out) {
    *out << h.variant;
}

const Hostile kHostile[] = {
    {"fifo-background", "Cannot open file engine\\images\\mainbg.bmp",
     "engine\\images\\mainbg.bmp: is a named pipe, not a regular file"},
    {"fifo-discdata", "Cannot open file engine\\data\\discdata.kvx",
     "engine\\data\\discdata.kvx: is a named pipe, not a regular file"},
    {"device-list", "Cannot open file engine\\images\\panels.dxg",
     "engine\\images\\panels.dxg: is a device, not a regular file"},
    {"png-background", "Invalid stream format",
     "engine\\images\\mainbg.bmp: not a bitmap the front end can read"},
    {"empty-background", "Stream read error",
     "engine\\images\\mainbg.bmp: not a bitmap the front end can read"},
    {"huge-background", "Cannot open file engine\\images\\mainbg.bmp",
     "engine\\images\\mainbg.bmp: is larger than the 68 MiB limit for a background bitmap"},
    {"huge-discdata", "Cannot open file engine\\data\\discdata.kvx",
     "engine\\data\\discdata.kvx: is larger than the 4 MiB limit for a disc data file"},
    {"rle-bomb", "Invalid stream format",
     "engine\\images\\slider2.dxg: its pictures need 25600000 pixels, more than the "
     "25165824-pixel limit for one image-list file"},
};

class StartUpOnHostileDisc : public ::testing::TestWithParam<Hostile> {};

TEST_P(StartUpOnHostileDisc, EndsWithTheMessageTheFileAndTheReasonQuicklyAndSmall) {
    const Hostile& h = GetParam();
    const ChildResult r = RunInChild([&] { return StartUp(h.variant); }, 20);
    ASSERT_TRUE(r.finished) << "signal " << r.signal;
    // The error carries the file and the reason; the log does not say them a second time.
    EXPECT_EQ(r.text, std::string(h.message) + "|" + h.detail + "|");
    EXPECT_LT(r.peakGrowthKb, kPeakLimitKb);
}

INSTANTIATE_TEST_SUITE_P(Discs, StartUpOnHostileDisc, ::testing::ValuesIn(kHostile),
                         [](const ::testing::TestParamInfo<Hostile>& param) {
                             std::string name = param.param.variant;
                             for (char& c : name) {
                                 c = c == '-' ? '_' : c;
                             }
                             return name;
                         });

// What the front end runs normally on, it still runs on: a banner it leaves empty (the banner
// ports are the platform's) and a text block far longer than the window.
TEST(StartUpOnHostileDisc, RunsWhereTheDiscIsOnlyUnusual) {
    for (const char* variant : {"gif-bomb", "long-text"}) {
        const ChildResult r = RunInChild([&] { return StartUp(variant); }, 20);
        ASSERT_TRUE(r.finished) << variant << ": signal " << r.signal;
        EXPECT_EQ(r.text, "started") << variant;
        EXPECT_LT(r.peakGrowthKb, kPeakLimitKb) << variant;
    }
}

// The database panels take the slider's pictures themselves, not copies of them.
TEST(StartUpPictures, DatabasePanelsShareTheSlidersPixels) {
    FixtureDiscFolder disc("ok");
    auto state = std::make_unique<MainState>();
    Ports ports;
    DxDrawInitialize(*state, ports, disc.Root());
    const int n = state->spriteCount;
    for (int i = n; i <= n + 3; ++i) {
        const Picture& shared = state->dbslider.Items(i).GetPicture();
        EXPECT_EQ(shared.pixels.data(), state->sliderlistA.Items(i).GetPicture().pixels.data());
        EXPECT_TRUE(state->dbslider.Items(i).IsBuilt());
    }
}

} // namespace
} // namespace kestrova
