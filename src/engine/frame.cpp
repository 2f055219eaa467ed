#include "engine/frame.h"

#include "base/code_page.h"

#include "engine/disc_requirements.h"
#include "engine/keyboard_focus.h"
#include "engine/launch_notice.h"
#include "engine/menus.h"

#include "catalogue/disc_rules.h"

namespace kestrova {

namespace {

constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kOrange = 0x3D76FC;
constexpr TColor kYellow = 0x00FFFF;

// Font sizes: the list font is 11 pixels (8 pt), the catalogue text 11 pt (15 pixels), the
// small menu font 9 pixels (7 pt, see engine/menus.h), all at 96 pixels per inch.
constexpr int kListFontPixels = 11;
constexpr int kTextFontPixels = 15;
constexpr int kSmallFontPixels = MenuLineHeight();

// A line of the disc data, or nothing for an index outside the file: a lookup that misses
// must not stop the frame.
const std::string* LineAt(const LineList& source, long long i) {
    if (i < 0 || i >= source.Count()) {
        return nullptr;
    }
    return &source.Get(i);
}

void Text(Canvas& c, int x, int y, const LineList& source, long long line, const FontSpec& f) {
    if (const std::string* text = LineAt(source, line)) {
        c.TextOut(x, y, source.Shown(*text), f);
    }
}

void Draw(Canvas& c, const TSpriteRec& sprite) {
    if (sprite.image) {
        c.DrawItem(*sprite.image, sprite.x, sprite.y, 0);
    }
}

void FollowPanel(MainState& s, int panelY) {
    s.installSprite.y = panelY + 148;
    s.printSprite.y = panelY + 157;
    s.viewSprite.y = panelY + 61;
}

bool IsActionKey(const std::string& key) {
    return key == "*installnow" || key == "*viewreadme" || key == "*printreadme";
}

void SetMenuRectFromButton(MainState& s, const std::string& key) {
    const TopButton* b = TopButtonForKey(key);
    if (!b) {
        return;
    }
    s.menuLeft = kButtonPanelLeft + b->bounds.left;
    s.menuButtonTop = kButtonPanelTop + b->bounds.top;
    s.menuTop = s.menuButtonTop + b->bounds.height;
    s.menuWidth = b->bounds.width;
}

void DrawMenuBox(Canvas& c, const MainState& s) {
    c.FillRect(s.menuLeft, s.menuTop, s.menuLeft + s.menuWidth, s.menuTop + s.menuHeight,
               s.frameColour);
    c.FrameRect(s.menuLeft, s.menuTop, s.menuLeft + s.menuWidth, s.menuTop + s.menuHeight,
                s.frameColour);
}

void SetTopPanel(MainState& s, const std::string& key) {
    if (const char* name = TopPanelNameForKey(key)) {
        const int index = s.top_panels.IndexOf(name);
        if (index >= 0) {
            SetSpriteImage(s.topSprite, s.top_panels, index, "top_panels");
        }
    }
}

void DrawCaption(Canvas& c, MainState& s, int thumb) {
    s.captionLine = s.source.IndexOf(BeginKey(thumb));
    const int x = s.infoSprite.x;
    const int y = s.infoSprite.y;
    Text(c, x + 5, y + 7, s.source, s.captionLine + kRecordTitle,
         Font(FontFace::Sans, kListFontPixels, true, false, kOrange));
    const FontSpec small = Font(FontFace::Small, kSmallFontPixels, false, false, kWhite);
    for (int k = 0; k < kRecordDescriptionLines; ++k) {
        Text(c, x + 5, y + 16 + 11 * (k + 1), s.source, s.captionLine + kRecordDescription + k,
             small);
    }
}

} // namespace

void DXTimerActivate(MainState& s) {
    s.caption = s.altHeld ? "ALT STARTUP" : "Kestrova CD-ROM";
    if (!s.timerActivated) {
        s.timerActivated = true;
        s.slideState = s.slideSprites[s.targetPanel].y < 0 ? -1 : 1;
        s.timers.Enable(TimerId::Timer1);
    }
}

namespace {

// 1. The background covers the whole back buffer.
void DrawBackground(MainState& s, Canvas& c) {
    c.DrawItem(s.backgroundSurface, 0, 0, 0);
}

// 2. The curtain lifts at the first frame.
void LiftCurtain(MainState& s, FrameContext& ctx) {
    if (s.curtainUp) {
        if (ctx.hideCurtain) {
            ctx.hideCurtain();
        }
        s.curtainUp = false;
        s.shownPanel = 0;
    }
}

// 3. The shown panel rises behind the top banner.
void RaiseShownPanel(MainState& s) {
    if (s.slideState != 1) {
        return;
    }
    TSpriteRec& S = s.slideSprites[s.shownPanel];
    const int h = S.Height();
    if (S.y > 138 - h) {
        S.y -= 20;
        S.dx = 0;
        S.dy = -20;
        FollowPanel(s, S.y);
    } else {
        S.y = 105 - h;
        s.shownPanel = s.targetPanel;
        s.noPanelYet = false;
        s.textFirst = s.source.IndexOf(BeginKey(s.targetPanel));
        s.textLast = s.source.IndexOf(EndKey(s.targetPanel)) - 1;
        // A page request made in this very frame is kept for the page step to load.
        s.slideState = s.navigatePending ? 0 : -1;
    }
}

// 4. The target panel comes down.
void LowerTargetPanel(MainState& s) {
    if (s.slideState != -1) {
        return;
    }
    TSpriteRec& T = s.slideSprites[s.targetPanel];
    if (T.y < 82) {
        T.y += 20;
        FollowPanel(s, T.y);
    } else {
        s.slideState = 0;
        T.y = 106;
        FollowPanel(s, T.y);
    }
}

// 5. A new selection starts its slide-out on the next frame.
void StartNewSelection(MainState& s) {
    s.slideSprites[s.targetPanel].x = 0;
    if (s.targetPanel != s.shownPanel) {
        s.slideState = 1;
    }
}

// 6. The text of the shown entry.
void DrawEntryText(MainState& s, Canvas& c) {
    const int n = s.spriteCount;
    const int x = s.slideSprites[s.shownPanel].x;
    const int y = s.slideSprites[s.shownPanel].y;
    if (s.firstText) {
        // The feature-demo text stands where a demo's requirements would: its first line is read
        // as line +10 of a record.
        s.textFirst = s.source.IndexOf(BeginKey(0)) - (kRecordRequirements - 1);
        s.textLast = s.source.IndexOf(EndKey(0)) - 1;
        s.firstText = false;
    }
    FontSpec f = Font(FontFace::Sans, kTextFontPixels, true, true, kWhite);
    int extra = 3;
    const long long requirements = static_cast<long long>(s.textFirst) + kRecordRequirements;
    for (long long j = requirements; j <= s.textLast; ++j) {
        const int lineY = y + 12 + 15 * static_cast<int>(j - s.textFirst);
        const bool labelled = j == requirements && s.shownPanel != 0;
        // Lines only go down from here: once one starts below the window, so do all the rest,
        // and a long block costs what a short one does.
        if ((labelled ? lineY : lineY + extra) >= c.Height()) {
            break;
        }
        if (labelled) {
            FontSpec label = f;
            label.colour = kOrange;
            c.TextOut(x + 110, lineY, s.source.Shown(s.sysReqLabel), label);
            f = Font(FontFace::Sans, kTextFontPixels, true, false, kWhite);
            Text(c, x + 275, lineY, s.source, j, f);
        } else {
            Text(c, x + 110, lineY + extra, s.source, j, f);
            extra += 4;
        }
    }
    if (s.targetPanel > 0 && s.targetPanel < n) {
        if (!s.noPanelYet) {
            c.TextOut(x + 110, y + 135, s.source.Shown(s.techSupportLabel),
                      Font(FontFace::Sans, kTextFontPixels, true, true, kOrange));
            Text(c, x + 215, y + 135, s.source,
                 static_cast<long long>(s.textFirst) + kRecordSupport,
                 Font(FontFace::Sans, kTextFontPixels, true, false, kWhite));
        }
    }
}

// 7. The intro spreads the stacked thumbnails to their homes, ever faster.
void SpreadThumbnails(MainState& s) {
    const int n = s.spriteCount;
    if (s.spreading && n >= 1 && s.thumbSprites[n - 1].x != s.thumbHomeX[n]) {
        s.spreadStep += 8;
        s.stripSpeed = s.spreadStep + 15;
        for (int i = 1; i <= n - 1; ++i) {
            TSpriteRec& t = s.thumbSprites[i];
            const int home = s.thumbHomeX[i + 1];
            if (t.x < home) {
                t.x = t.x + s.stripSpeed > home ? home : t.x + s.stripSpeed;
            }
        }
    } else if (s.spreading) {
        s.spreadStep = 0;
        s.spreading = false;
    }
}

// 8. The strip follows the pointer while it is on the strip's band.
void ScrollStrip(MainState& s) {
    const int n = s.spriteCount;
    if (s.spreading || n <= 1) {
        return;
    }
    const TSpriteRec& first = s.thumbSprites[1];
    if (s.mouseY < first.y - 15 || s.mouseY > first.y + first.Height() + 15) {
        return;
    }
    const int half = s.dxDrawWidth / 2;
    if (s.mouseX > half + 150 || s.mouseX < half - 150) {
        s.stripSpeed = (s.mouseX - half) / 17;
    } else {
        // The strip coasts to a stop inside the centre band.
        s.stripSpeed = s.stripSpeed / 2;
    }
    const TSpriteRec& last = s.thumbSprites[n - 1];
    const bool refused =
        (s.stripSpeed > 0 && last.x - s.stripSpeed < s.dxDrawWidth - s.infoSprite.Width()) ||
        (s.stripSpeed < 0 && first.x - s.stripSpeed > s.demSprite.Width() + 20);
    if (!refused) {
        for (int i = 1; i <= n - 1; ++i) {
            s.thumbSprites[i].x -= s.stripSpeed;
        }
    }
}

// 9. The thumbnail under the pointer; the last one found wins.
void FindHoveredThumbnail(MainState& s) {
    s.prevHoverThumb = s.hoverThumb;
    s.hoverThumb = -1;
    for (int i = 1; i <= s.spriteCount - 1; ++i) {
        const TSpriteRec& t = s.thumbSprites[i];
        if (t.x > s.demSprite.x + s.demSprite.Width() && t.x < s.mouseX &&
            s.mouseX <= t.x + t.Width() && t.y <= s.mouseY && s.mouseY <= t.y + t.Height()) {
            s.hoverThumb = i;
        }
    }
}

// 10. The caption panel drops under a hovered thumbnail and retracts behind the bottom panel,
// still showing the last caption until it is hidden.
void MoveCaptionPanel(MainState& s, Canvas& c) {
    const int hi = s.infoSprite.Height();
    if (s.hoverThumb >= 0) {
        s.infoSprite.x = s.thumbSprites[s.hoverThumb].x;
        if (s.infoSprite.y < s.infoRestY + hi - 15) {
            s.infoSprite.y += 15;
        } else {
            s.infoSprite.y = s.infoRestY + hi;
        }
        s.lastCaptionThumb = s.hoverThumb;
        DrawCaption(c, s, s.hoverThumb);
    } else if (s.infoSprite.y > s.infoRestY) {
        s.infoSprite.y -= 25;
        DrawCaption(c, s, s.lastCaptionThumb >= 0 ? s.lastCaptionThumb : s.prevHoverThumb);
    } else if (s.infoSprite.y < s.infoRestY) {
        s.infoSprite.y = s.infoRestY;
    }
}

// 11. Panels, then the action pictures when a demo is both chosen and shown.
void DrawPanels(MainState& s, Canvas& c) {
    Draw(c, s.infoSprite);
    Draw(c, s.botSprite);
    Draw(c, s.slideSprites[s.targetPanel]);
    // At rest both are the same panel in the same place; once is enough.
    if (s.shownPanel != s.targetPanel) {
        Draw(c, s.slideSprites[s.shownPanel]);
    }
    if (s.targetPanel != 0 && s.shownPanel != 0) {
        Draw(c, s.installSprite);
        Draw(c, s.viewSprite);
        Draw(c, s.printSprite);
    }
}

// 12. The strip, each thumbnail framed; the demos label covers the strip's left end.
void DrawStrip(MainState& s, Canvas& c) {
    for (int i = 1; i <= s.spriteCount - 1; ++i) {
        const TSpriteRec& t = s.thumbSprites[i];
        Draw(c, t);
        const int w = t.Width();
        const int h = t.Height();
        if (i == s.hoverThumb) {
            c.FrameRect(t.x + 1, t.y + 1, t.x + w - 1, t.y + h - 1, kYellow);
        }
        c.FrameRect(t.x, t.y, t.x + w, t.y + h, s.frameColour);
    }
    Draw(c, s.demSprite);
}

// 13. The captured page slides away to the right.
void SlideCapturedPage(MainState& s, FrameContext& ctx) {
    if (!s.pageSliding) {
        return;
    }
    if (ctx.web && PaneOnScreen(*ctx.web)) {
        ctx.web->SetLeft(803);
    }
    if (s.pageSprite.x < 800) {
        s.pageSprite.x += 60;
    } else {
        s.pageSliding = false;
        if (ctx.web) {
            ctx.web->Navigate(ctx.currentDirectory() + kLoadingPage);
        }
    }
    Draw(ctx.canvas, s.pageSprite);
}

// 14. The hovered top button is outlined while nothing else goes on.
void OutlineHoveredButton(MainState& s, Canvas& c) {
    if (s.topPanelDefault >= 0 && s.topPanelDefault < s.top_panels.Count()) {
        SetSpriteImage(s.topSprite, s.top_panels, s.topPanelDefault, "top_panels");
    }
    if (!s.discTwo && s.hoverKey != "none" && s.slideState == 0 && s.menuKey == "none" &&
        !IsActionKey(s.hoverKey)) {
        SetMenuRectFromButton(s, s.hoverKey);
        if (!s.hoverKey.empty() && s.hoverKey[0] != '*') {
            c.FrameRect(s.menuLeft, s.menuButtonTop, s.menuLeft + s.menuWidth, s.menuTop,
                        s.frameColour);
        }
    }
}

// 15. A page request is loaded and the pane comes on screen.
void LoadRequestedPage(MainState& s, FrameContext& ctx) {
    if (s.navigatePending) {
        s.navigatePending = false;
        if (ctx.web) {
            ctx.web->Navigate(s.pendingUrl);
            if (s.closed) {
                return; // the page was "command_exit": the window and its pane are gone
            }
            ctx.web->SetLeft(kWebPaneOnScreenLeft);
        }
    }
}

// A menu line that opens a page, under the pointer (or chosen by the keys): the pane may make its
// browser engine ready, so the page comes sooner once the line is clicked. Nothing is shown.
void WarmUpForHoveredPage(MainState& s, FrameContext& ctx) {
    if (!ctx.web || s.menuKey == "none" || s.menuHover < 0 || s.menuHover >= kMenuDestinations ||
        s.menuHover >= static_cast<int>(s.menusource.size())) {
        return;
    }
    const std::string& caption = s.menusource[static_cast<std::size_t>(s.menuHover)];
    if (ChooseCaption(s.source, s.menuKey, caption, s.spriteCount).action ==
        ChoiceAction::OpenPage) {
        ctx.web->WarmUp();
    }
}

// 16. An open menu stays under its button; a closed one shrinks two lines a frame.
void ShrinkClosedMenu(MainState& s, Canvas& c) {
    if (HasMenu(s.menuKey)) {
        SetMenuRectFromButton(s, s.menuKey);
    }
    const int lineH = MenuLineHeight();
    if (s.menuKey == "none" && s.menuHeight > lineH) {
        s.menuHeight -= 2 * lineH;
        DrawMenuBox(c, s);
    }
}

// 17. The top banner shows the hovered section, or the open menu's.
void DrawTopBanner(MainState& s, Canvas& c) {
    if (!s.discTwo && (s.hoverKey != "none" || s.menuKey != "none")) {
        SetTopPanel(s, s.hoverKey);
        SetTopPanel(s, s.menuKey);
    }
    Draw(c, s.topSprite);
}

// 18. The rule under the banner reaches across once the shown panel is almost out.
void DrawRule(MainState& s, Canvas& c) {
    c.FrameRect(0, 137, 720, 138, s.frameColour);
    const TSpriteRec& shown = s.slideSprites[s.shownPanel];
    if (!s.navigatePending && shown.y < 135 - shown.Height()) {
        c.FrameRect(0, 137, 800, 138, s.frameColour);
    }
}

// 19. The drop-down box unrolls a line a frame and closes when the pointer leaves it. Returns
// whether it is fully open.
bool UnrollMenu(MainState& s, Canvas& c) {
    bool fullyOpen = false;
    if (!s.hoverKey.empty() && s.hoverKey[0] != '*' && s.menuKey != "none") {
        if (s.menuHeight >= MenuLinesHeight(s.menusource.size())) {
            fullyOpen = true;
        } else {
            s.menuHeight += MenuLineHeight();
        }
        // While the keyboard holds the focus the menu is its to close, wherever the pointer
        // rests.
        if (!s.focus.Shown() &&
            (s.mouseX < s.menuLeft || s.mouseX > s.menuLeft + s.menuWidth ||
             s.mouseY < s.menuButtonTop || s.mouseY > s.menuTop + s.menuHeight)) {
            s.menuKey = "none";
        }
        DrawMenuBox(c, s);
    }
    return fullyOpen;
}

// 20. Menu lines take the pointer only once the box is fully open.
void DrawMenuLines(MainState& s, Canvas& c, bool fullyOpen) {
    if (!fullyOpen) {
        s.menusourceBounds.left = kMenuLinesAwayLeft;
        return;
    }
    s.menusourceBounds.left = s.menuLeft + 5;
    s.menusourceBounds.top = s.menuTop;
    s.menusourceBounds.width = s.menuWidth;
    for (std::size_t i = 0; i < s.menusource.size(); ++i) {
        const int lineY = s.menuTop + static_cast<int>(i) * MenuLineHeight();
        if (lineY >= c.Height()) {
            break; // this line and every later one are below the window
        }
        const TColor colour = static_cast<int>(i) == s.menuHover ? kOrange : kWhite;
        // The width counts the disc's bytes, as the original's buffer did, but never ends
        // inside a character of a double-byte page.
        const std::string& line = s.menusource[i];
        const std::size_t shown = CharacterPrefix(line, kMenuCaptionWidth, s.source.Page());
        c.TextOut(s.menuLeft + 5, lineY, s.source.Shown(std::string_view(line).substr(0, shown)),
                  Font(FontFace::Small, kSmallFontPixels, false, false, colour));
    }
}

// 21. The keyboard's focus ring, over everything, in the menu's colours: a focused menu line
// (already orange) is outlined in the lines' white; a zone in white with the hovered line's
// orange inside, which shows on the lit buttons and the dark ones alike.
void DrawFocusRing(const MainState& s, Canvas& c) {
    const std::optional<Rect> r = FocusRingRect(s);
    if (!r) {
        return;
    }
    const int right = r->left + r->width;
    const int bottom = r->top + r->height;
    c.FrameRect(r->left, r->top, right, bottom, kWhite);
    if (s.focus.kind == FocusKind::Zone) {
        c.FrameRect(r->left + 1, r->top + 1, right - 1, bottom - 1, kOrange);
    }
}

} // namespace

// The frame, step by step, in the order the picture is built.
void DXTimerTimer(MainState& s, FrameContext& ctx) {
    Canvas& c = ctx.canvas;
    if (!c.CanDraw()) {
        return;
    }
    DrawBackground(s, c);       // 1
    LiftCurtain(s, ctx);        // 2
    RaiseShownPanel(s);         // 3
    LowerTargetPanel(s);        // 4
    StartNewSelection(s);       // 5
    DrawEntryText(s, c);        // 6
    SpreadThumbnails(s);        // 7
    ScrollStrip(s);             // 8
    FindHoveredThumbnail(s);    // 9
    MoveCaptionPanel(s, c);     // 10
    DrawPanels(s, c);           // 11
    DrawStrip(s, c);            // 12
    SlideCapturedPage(s, ctx);  // 13
    OutlineHoveredButton(s, c); // 14
    LoadRequestedPage(s, ctx);  // 15
    if (s.closed) {
        // A page's command ended the program while it loaded: the window has destroyed its
        // surface, so nothing more is drawn or shown.
        return;
    }
    WarmUpForHoveredPage(s, ctx);
    ShrinkClosedMenu(s, c);                  // 16
    DrawTopBanner(s, c);                     // 17
    DrawRule(s, c);                          // 18
    const bool fullyOpen = UnrollMenu(s, c); // 19
    DrawMenuLines(s, c, fullyOpen);          // 20
    DrawFocusRing(s, c);                     // 21
    DrawLaunchNotice(s, c, ctx.web);         // 22: over everything, the last start's notice
    c.Flip();                                // 23
}

} // namespace kestrova
