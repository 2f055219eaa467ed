#pragma once
// Every picture of the sample disc, painted at the sizes the front end's layout expects.

#include "content.h"
#include "gif_writer.h"

#include <QImage>
#include <QString>

#include <vector>

namespace kestrova::sampledisc {

namespace layout {
constexpr int kScreenW = 800, kScreenH = 600;
// A window shows the 800 x 600 picture 1:1 in this much of it: everything a reader must see
// stands left of and above its edges.
constexpr int kClientW = 792, kClientH = 573;
constexpr int kTopH = 137;                  // the rule is drawn at y 137
constexpr int kPanelW = 800, kPanelH = 240; // rest at y 106, end at the strip (346)
constexpr int kBotH = 82;                   // the strip holder at y 346; below it the caption drops
constexpr int kDemW = 150, kDemH = 50;
constexpr int kThumbW = 90, kThumbH = 45;
constexpr int kInfoW = 200, kInfoH = 70; // drops to y 428
constexpr int kButtonW = 64, kButtonH = 40;
// The action buttons are drawn narrower than their pictures: the print button's picture stands
// at x 732 and would run past the window's right edge.
constexpr int kButtonDrawnW = 54;
constexpr int kBannerY = 505, kBannerH = 60;
} // namespace layout

// Top hot zones in screen pixels: caption, section key (which picks the section's top banner)
// and the zone's rectangle.
struct TopZone {
    const char* caption;
    const char* key;
    int left, right, top, bottom;
};
const std::vector<TopZone>& TopZones();

QImage MainBackground();
// `highlight` is a zone key, "" for none, or "blank" for the second disc's plain banner.
QImage TopPanel(const QString& highlight);
QImage StartPanel();
QImage DemoPanel(const Demo& demo, int number);
QImage NextMonthPanel();
QImage DatabasePanel(int which); // 0..3
QImage Thumbnail(const Demo& demo);
QImage SpareThumbnail(const QString& word);
QImage DemLabel();
QImage CaptionPanel();
QImage StripHolder();
enum class Action { Install, View, Print };
QImage ActionButton(Action action, bool highlighted);

// Pictures for the HTML pages.
QImage PageScreenshot(const Demo& demo); // 320 x 160
QImage PageMasthead();                   // 400 x 80
QImage PagePortrait();                   // Tobrik, 120 x 140

std::vector<GifFrame> BannerFrames(const BannerTarget& banner);
std::vector<GifFrame> FreeIssueFrames();

} // namespace kestrova::sampledisc
