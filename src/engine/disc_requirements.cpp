#include "engine/disc_requirements.h"

namespace kestrova {

const std::vector<ImageListFile>& ImageListFiles() {
    static const std::vector<ImageListFile> files = {
        {"panels", "engine\\images\\panels.dxg"},
        {"sliderlistA", kPanelPictureListFile},
        {"SubSliderA", kThumbnailListFile},
        {"top_panels", "engine\\images\\top_panels.dxg"},
        {"banners", "engine\\images\\banners.dxg"}};
    return files;
}

std::vector<std::string> RequiredFiles() {
    std::vector<std::string> files = {kBackgroundFile};
    for (const auto& l : ImageListFiles()) {
        files.emplace_back(l.path);
    }
    files.emplace_back(kDiscDataFile);
    return files;
}

const std::vector<std::string>& RequiredPanelNames() {
    static const std::vector<std::string> names = {
        "PANEL_DEM",  "PANEL_INFO",  "PANEL_BOT2", "PANEL_TOP2",   "installnowB",
        "installnow", "viewreadmeB", "viewreadme", "printreadmeB", "printreadme"};
    return names;
}

const char* DefaultTopPanelName(bool discTwo) {
    return discTwo ? "panel_top_blank" : "panel_top_none";
}

const std::vector<std::string>& RequiredTopPanelNames(bool discTwo) {
    static const std::vector<std::string> discOne = [] {
        std::vector<std::string> names = {DefaultTopPanelName(false)};
        for (const Section& section : kSections) {
            names.emplace_back(section.topPanel);
        }
        return names;
    }();
    static const std::vector<std::string> two = {DefaultTopPanelName(true)};
    return discTwo ? two : discOne;
}

const char* TopPanelNameForKey(std::string_view key) {
    const Section* section = SectionForKey(key);
    return section != nullptr ? section->topPanel : nullptr;
}

} // namespace kestrova
