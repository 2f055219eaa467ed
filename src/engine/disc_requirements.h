#pragma once
// What a disc must hold for the front end to start, in one place: the files it reads, the
// pictures it asks for by name, and the limits of its arrays and buffers. Start-up, the disc
// linter, the test discs and the sample-disc maker all read this list, so they cannot drift.

#include "catalogue/disc_layout.h"

#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// Files, as the front end writes them (relative to the disc root, "\" separated).
inline constexpr const char* kBackgroundFile = "engine\\images\\mainbg.bmp";
inline constexpr const char* kLoadingPage = "engine\\loading.html";
inline constexpr const char* kCentreBannerFile = "engine\\images\\banners\\banner1.gif";
inline constexpr const char* kSideBannerFile = "engine\\images\\banners\\freeissue_adbar.gif";

// The five image-list files, in loading order, with the collection each fills.
struct ImageListFile {
    const char* collection;
    const char* path;
};
const std::vector<ImageListFile>& ImageListFiles();

// Files without which start-up ends: the background, the five image lists, the disc data file.
std::vector<std::string> RequiredFiles();

// Pictures asked for by name in "panels" on every disc.
const std::vector<std::string>& RequiredPanelNames();

// Pictures asked for by name in "top_panels". A disc-two disc shows only its blank banner; any
// other shows "panel_top_none" and a banner per section.
const std::vector<std::string>& RequiredTopPanelNames(bool discTwo);
const char* DefaultTopPanelName(bool discTwo);

// The top banner of a section key (the section table in catalogue/disc_layout.h), or nullptr.
const char* TopPanelNameForKey(std::string_view key);

// "*Spritecount" (kMinSpriteCount to kMaxSpriteCount, catalogue/disc_layout.h): the slide
// sprites hold the start panel, the demo panels and the four database panels in 26 places.
// Pictures the image lists must hold for a sprite count.
inline int SliderPicturesNeeded(int spriteCount) {
    return spriteCount + 4;
}
inline int ThumbnailPicturesNeeded(int spriteCount) {
    return spriteCount;
}

// Text limits of the front end's buffers and menus.
inline constexpr std::size_t kMaxShellPath = 79;       // a program path handed to the shell
inline constexpr std::size_t kMenuCaptionWidth = 49;   // what a drop-down line shows
inline constexpr std::size_t kMenuChoosableLines = 11; // lines a click can choose

// A cover disc runs from a drive root ("D:\" and its files), so a path in the disc root is held
// in the launch buffers as three characters and its part in the disc, wherever the disc lies.
inline constexpr std::size_t kDriveRootLength = 3;

// How many characters `text` takes against kMaxShellPath: one that begins with the disc root
// (`discRoot`, the current directory string) counts the root as a drive root; any other text,
// such as a path relative to the disc root, counts as written.
inline std::size_t ShellTextLength(std::string_view text, std::string_view discRoot) {
    if (!discRoot.empty() && text.substr(0, discRoot.size()) == discRoot) {
        return kDriveRootLength + (text.size() - discRoot.size());
    }
    return text.size();
}

} // namespace kestrova
