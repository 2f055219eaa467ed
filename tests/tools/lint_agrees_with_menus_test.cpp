// The linter and the front end judge a menu line alike: for every line of every menu on the test
// discs, the front end is made to choose it, and what happens (a program starts, a page opens, a
// panel is selected, the game starts, or nothing) must agree with what the linter says about that
// line. A choice that fails (a program or page the disc lacks, a path too long to start) is an
// error; a choice that works is never one; a choice that does nothing, or that also selects a
// panel from the utilities or add-ons menu, is at least a warning. A heading (a name with a blank
// target) may do nothing unremarked.

#include "common/lint.h"

#include "base/error.h"
#include "disc/disc_file_system.h"
#include "engine/input.h"
#include "engine/main_state.h"
#include "engine/menus.h"
#include "engine/ports.h"
#include "engine/startup.h"
#include "engine/web_address.h"
#include "engine/web_commands.h"
#include "support/fixture_disc.h"
#include "support/fixture_variants.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using kestrova::LintFinding;
using kestrova::MainState;

// The front end reads the disc from the current directory.
class InFolder {
  public:
    explicit InFolder(const fs::path& dir) : old_(fs::current_path()) { fs::current_path(dir); }
    ~InFolder() {
        std::error_code ec;
        fs::current_path(old_, ec);
    }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

  private:
    fs::path old_;
};

enum class Verdict { Ok, Warning, Error };

const char* Name(Verdict v) {
    return v == Verdict::Ok ? "ok" : v == Verdict::Warning ? "warning" : "error";
}

bool IsWarning(const LintFinding& f) {
    return f.message.rfind("warning: ", 0) == 0;
}

// What one choice did, as the reader would see it.
struct Outcome {
    bool failed = false;        // something it asked for is not there, or was refused
    bool acted = false;         // it started, opened, selected or ended something that is there
    bool heading = false;       // a name whose target is blank handed the shell nothing
    bool panelFromMenu = false; // a utilities or add-ons name also selected a panel
    std::string story;          // what happened, for the failure message
};

bool IsWebAddress(const std::string& text) {
    return text.rfind("http", 0) == 0;
}

// Without an anchor or a query.
std::string FileOfPage(const std::string& page) {
    return page.substr(0, page.find_first_of("#?"));
}

class MenuChooser {
  public:
    explicit MenuChooser(const std::string& root) : root_(root) {
        ports_.launcher = &launcher_;
        ports_.sounds = &sounds_;
        ports_.readme = &readme_;
        ports_.window = &window_;
        ports_.game = &game_;
        ports_.web = &web_;
        ports_.log = &log_;
        kestrova::Ports startPorts;
        startPorts.web = &web_;
        kestrova::DxDrawInitialize(*state_, startPorts, root_);
        kestrova::FormCreate(*state_);
    }

    MainState& State() { return *state_; }

    Outcome Choose(const std::string& section, const std::vector<std::string>& menu, int line) {
        MainState& s = *state_;
        launcher_.launches.clear();
        log_.warnings.clear();
        window_.terminations = 0;
        int games = 0;
        s.targetPanel = 0;
        s.shownPanel = 0;
        s.hoverThumb = -1;
        s.hoverKey = "none";
        s.navigatePending = false;
        s.pendingUrl.clear();
        s.menuKey = section;
        s.menusource = menu;
        s.menuHover = line;
        const kestrova::ClickContext context{root_, [&games] { ++games; }};
        kestrova::DxDrawMouseDown(s, ports_, context);

        Outcome o;
        if (s.targetPanel != 0) {
            o.acted = true;
            o.panelFromMenu = section == "utility" || section == "add-ons";
            o.story += " selects panel " + std::to_string(s.targetPanel) + ";";
        }
        if (games > 0) {
            o.acted = true;
            o.story += " starts the game;";
        }
        if (s.navigatePending) {
            OpenPage(s.pendingUrl, o);
        }
        Starts(section, o);
        if (!log_.warnings.empty()) {
            o.failed = true;
            o.story += " refuses: " + log_.warnings.front() + ";";
        }
        if (window_.terminations > 0) {
            o.acted = true;
            o.story += " ends the program;";
        }
        if (o.story.empty()) {
            o.story = " does nothing;";
        }
        return o;
    }

  private:
    // The next frame loads the page; the pane reads a command out of a disc page's address first.
    void OpenPage(const std::string& url, Outcome& o) {
        const bool web = IsWebAddress(url);
        const std::string address = web ? url : std::string(kestrova::kLocalFileMark) + url;
        const bool cancelled =
            kestrova::WebBrowser1BeforeNavigate2(*state_, ports_, root_, address);
        if (cancelled) {
            o.story += " follows the command " + url + ";";
            return;
        }
        o.story += " opens " + url + ";";
        if (web || kestrova::DiscFileExists(FileOfPage(url))) {
            o.acted = true;
        } else {
            o.failed = true;
        }
    }

    void Starts(const std::string& section, Outcome& o) {
        for (const kestrova::LaunchRecord& l : launcher_.launches) {
            if (l.file.empty()) {
                o.heading = section == "utility" || section == "add-ons";
                o.story += " hands the shell nothing;";
                continue;
            }
            o.story += " starts " + l.file + ";";
            if (IsWebAddress(l.file) || kestrova::DiscFileExists(l.file)) {
                o.acted = true;
            } else {
                o.failed = true;
            }
        }
    }

    std::string root_;
    std::unique_ptr<MainState> state_ = std::make_unique<MainState>();
    kestrova::RecordingLauncher launcher_;
    kestrova::RecordingSound sounds_;
    kestrova::NullReadme readme_;
    kestrova::NullWindow window_;
    kestrova::NullGame game_;
    kestrova::NullWebPane web_;
    kestrova::RecordingLog log_;
    kestrova::Ports ports_;
};

// What the linter says about choosing the caption whose first occurrence is line `k` (0-based):
// findings on the caption and on the line after it (its target). A finding about choosing a
// name ("choosing "X" ...", on the line before X, which is read as a start line) is about that
// name alone, wherever it stands.
Verdict LintVerdict(const std::vector<LintFinding>& findings, const std::string& caption, int k,
                    std::string& said) {
    Verdict v = Verdict::Ok;
    for (const LintFinding& f : findings) {
        const bool dataFile =
            f.file.size() >= 12 && f.file.compare(f.file.size() - 12, 12, "discdata.kvx") == 0;
        if (!dataFile || k <= 0) {
            continue;
        }
        const int line = f.line - 1;
        const bool aboutChoosing = f.message.find("choosing \"") != std::string::npos;
        const bool about = aboutChoosing
                               ? line == k - 1 && f.message.find("choosing \"" + caption + "\"") !=
                                                      std::string::npos
                               : line == k || line == k + 1;
        if (!about) {
            continue;
        }
        said += "\n    " + kestrova::FormatFinding(f);
        const Verdict one = IsWarning(f) ? Verdict::Warning : Verdict::Error;
        v = one > v ? one : v;
    }
    return v;
}

// Chooses every line a click can reach in every menu of the disc at `disc` and compares.
void ExpectMenusAgree(const fs::path& disc) {
    const InFolder in(disc);
    const std::vector<LintFinding> findings = kestrova::LintDisc(disc.string());
    MenuChooser chooser(disc.string() + "/");
    for (const char* section : {"demos", "utility", "add-ons", "support", "tobrik"}) {
        const std::vector<std::string> menu = kestrova::MenuLines(chooser.State(), section);
        const int reachable = std::min<int>(static_cast<int>(menu.size()), 11);
        for (int i = 0; i < reachable; ++i) {
            const std::string& caption = menu[static_cast<std::size_t>(i)];
            const int k = chooser.State().source.IndexOf(caption);
            const Outcome o = chooser.Choose(section, menu, i);
            std::string said;
            const Verdict v = LintVerdict(findings, caption, k, said);
            const std::string what = std::string(section) + " line " + std::to_string(i) + " \"" +
                                     caption + "\":" + o.story + " lint: " + Name(v) + said;
            if (o.failed) {
                EXPECT_EQ(v, Verdict::Error) << what;
            } else if (o.acted) {
                EXPECT_NE(v, Verdict::Error) << what;
                if (o.panelFromMenu) {
                    EXPECT_EQ(v, Verdict::Warning) << what;
                }
            } else if (o.heading) {
                EXPECT_NE(v, Verdict::Error) << what;
            } else {
                EXPECT_NE(v, Verdict::Ok) << what;
            }
        }
    }
}

using kestrova::testing::FixtureVariant;

class LintAgreesWithMenus : public kestrova::testing::FixtureDiscTest {};

} // namespace

TEST_P(LintAgreesWithMenus, OnFixtureDisc) {
    if (!GetParam().starts) {
        const InFolder in(disc_);
        auto state = std::make_unique<MainState>();
        kestrova::Ports ports;
        EXPECT_THROW(kestrova::DxDrawInitialize(*state, ports, disc_.string() + "/"),
                     kestrova::Error);
        return;
    }
    ExpectMenusAgree(disc_);
}

INSTANTIATE_TEST_SUITE_P(Variants, LintAgreesWithMenus,
                         ::testing::ValuesIn(kestrova::testing::FixtureVariants()),
                         [](const ::testing::TestParamInfo<FixtureVariant>& param) {
                             return kestrova::testing::TestNameOf(param.param);
                         });

TEST(LintAgreesWithMenusOnSampleDisc, EveryMenuLine) {
    ExpectMenusAgree(fs::path(KESTROVA_SOURCE_DIR) / "sample-disc");
}
