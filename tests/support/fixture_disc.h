#pragma once
// A small disc for tests: plain pictures of the right sizes, a disc data file with four demos
// (demo 2 hidden from the demos menu), stand-ins for the programs and readmes it names and for the
// centre banner, and variants that break one thing each. The picture names are those start-up asks
// for (engine/disc_requirements.h); every variant holds the top panels of both kinds of disc.
//
// Variants: ok, one-demo, no-background, no-panels, no-slider, no-discdata, bad-spritecount,
// missing-spritecount, spritecount-too-big, spritecount-zero, missing-panel-name,
// missing-top-panel, short-slider, corrupt-dxg, truncated-dxg, bad-background, disc-two,
// page-commands (support lines whose targets are "command_exit", "Claunch_Demo1/Setup.exe" and
// "COMMAND_EXIT"), menu-targets (utilities, add-ons, support and mascot menus with a target of
// every kind, some of them missing or read as a start line), cp1251-titles, cp1250-titles and
// cp1253-titles (the demos' titles in Russian, Polish and Greek, in those code pages' bytes).
// Hostile variants: fifo-background, fifo-discdata (named pipes), device-list (panels.dxg a link
// to /dev/zero), png-background, empty-background, huge-background and huge-discdata (sparse
// files past their limits), rle-bomb (thumbnails that decode to 25.6 M pixels), gif-bomb (a
// banner with a 65535 x 65535 screen and 200 frames), long-text (a 100,000-line feature block).
//
// Pictures: start and demo panels 800 x 240 (key colour magenta along the top row), thumbnails
// 90 x 45, PANEL_DEM 140 x 50 (frame colour #F0A020), PANEL_INFO 200 x 70, PANEL_BOT2 800 x 82.

#include <filesystem>
#include <string>

namespace kestrova {

void WriteFixtureDisc(const std::string& outDir, const std::string& variant);

// A fixture disc in a fresh temporary folder that is the current directory while this lives, as
// the front end runs on a disc. The folder goes and the old directory comes back afterwards.
class FixtureDiscFolder {
  public:
    explicit FixtureDiscFolder(const std::string& variant = "ok");
    ~FixtureDiscFolder();
    FixtureDiscFolder(const FixtureDiscFolder&) = delete;
    FixtureDiscFolder& operator=(const FixtureDiscFolder&) = delete;

    const std::filesystem::path& Path() const { return dir_; }
    // The folder as the current directory string, ending with the separator.
    std::string Root() const { return dir_.string() + "/"; }

  private:
    std::filesystem::path old_;
    std::filesystem::path dir_;
};

} // namespace kestrova
