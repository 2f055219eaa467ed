#pragma once
// The main window's state: every variable its handlers share, the sprites, the picture
// collections and the disc data lines. Handlers write it, the frame reads it and draws.

#include "catalogue/line_list.h"
#include "engine/handler_variables.h"
#include "engine/timers.h"
#include "pictures/picture_collection.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// A sprite: top-left corner, motion per step and the picture it shows (not owned).
struct TSpriteRec {
    int x = 0;
    int y = 0;
    int dx = 0;
    int dy = 0;
    PictureCollectionItem* image = nullptr;
    std::string imageLabel; // item name, or "collection[index]" for unnamed items

    int Width() const { return image ? image->Width() : 0; }
    int Height() const { return image ? image->Height() : 0; }
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The notice of a program start over the menu: what it says, and the starts whose outcome the
// launcher has yet to report (see launch_notice.h).
struct LaunchNotice {
    std::string text; // in the disc's Windows-1252; empty while no notice is up
    bool failure = false;
    std::vector<std::string> lines; // the text broken to the box's width, once it is drawn
    std::string linesOf;            // the text `lines` were broken from
    struct Awaited {
        long long ticket = 0;
        std::string name;
    };
    std::vector<Awaited> awaited; // the oldest first
    long long lastTicket = 0;
};

// The capacity of the sprite arrays: every count read from the disc must fit these.
constexpr int kSpriteSlots = 26;
constexpr int kThumbHomeSlots = 32; // indices 1..31
constexpr int kDbSliderItems = 34;
constexpr int kBrowzerzItems = 8;

// A top hot zone: a flat button inside `buttonpanel`, hit-tested by coordinates only. The
// section it stands for is in the section table (catalogue/disc_layout.h).
struct TopButton {
    const char* name;
    const char* caption;
    Rect bounds; // inside `buttonpanel`
};

// Where the keyboard's focus ring stands: nowhere until the first navigation key and again once
// the pointer moves, on a hot zone (by its key), or on a line of the open menu (by its index).
enum class FocusKind { None, Zone, Line };
struct KeyboardFocus {
    FocusKind kind = FocusKind::None;
    std::string zone;
    int line = -1;

    bool Shown() const { return kind != FocusKind::None; }
};

struct MainState {
    // Disc data and pictures.
    LineList source;
    PictureCollection panels, sliderlistA, SubSliderA, top_panels, banners, dbslider, browzerz,
        ImageList;
    PictureCollectionItem backgroundSurface; // the background, drawn opaque
    std::array<Rgb, 256> colourTable{};

    // Sprites.
    std::array<TSpriteRec, kSpriteSlots> slideSprites{};
    std::array<TSpriteRec, kSpriteSlots> thumbSprites{};
    std::array<int, kThumbHomeSlots> thumbHomeX{};
    TSpriteRec demSprite, infoSprite, botSprite, topSprite, installSprite, viewSprite, printSprite,
        pageSprite;
    TColor frameColour = 0;
    TColor startPanelKey = 0;

    // Hidden hit rectangles of the action pictures, placed once at start-up.
    Rect ib, pb, vb;
    Rect menusourceBounds{112, 288, 81, 113};
    int browsepanelWidth = 685;
    int dxDrawWidth = 792; // the drawing control fills the client area
    std::vector<std::string> menudests;

    // Shared variables of the handlers and the frame, as the table describes them.
#define KESTROVA_STATE_FIELD(type, name, start, startBy, range) type name = start;
    KESTROVA_HANDLER_VARIABLES(KESTROVA_STATE_FIELD)
#undef KESTROVA_STATE_FIELD

    // The keyboard's place among the hot zones and menu lines (keyboard_focus.h).
    KeyboardFocus focus;

    // The window's timers; whoever owns the clock steps them.
    TimerTable timers;
    // When each banner (`adbanner`, `GIFImage1`, `GIFImage2`) shows its next frame, on the
    // timers' clock; -1 while its picture does not change.
    std::array<long long, 3> bannerFrameDueMs{-1, -1, -1};
    LaunchNotice notice;

    // Window-level facts the dump reports.
    std::string caption = "i";
    bool fullScreen = false;
    bool closed = false;
};

// The seven top hot zones with their bounds inside `buttonpanel` (at 256, 16).
const std::array<TopButton, 7>& TopButtons();
constexpr int kButtonPanelLeft = 256;
constexpr int kButtonPanelTop = 16;

// The top button of a section key, or nullptr.
const TopButton* TopButtonForKey(std::string_view key);

// Sets a sprite's picture from a collection, remembering a readable label for the state dump.
void SetSpriteImage(TSpriteRec& sprite, PictureCollection& collection, int index,
                    const char* collectionName);

} // namespace kestrova
