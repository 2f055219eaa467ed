#include "engine/startup.h"

#include "engine/disc_data_file.h"

#include "base/error.h"
#include "disc/disc_file_system.h"
#include "engine/banners.h"
#include "engine/disc_requirements.h"
#include "engine/pictures_ahead.h"

namespace kestrova {

namespace {

// The colour of a pixel of an item's picture.
TColor PixelOf(const PictureCollectionItem& item, int x, int y) {
    return item.GetPicture().PixelColour(x, y);
}

void Rebuild(PictureCollectionItem& item, bool transparent) {
    item.Transparent = transparent;
    item.SystemMemory = true;
    item.Rebuild();
}

// A count read from the disc must fit the sprite arrays and the image lists, or the layout
// would run past their ends.
void CheckSpriteCount(const MainState& s) {
    const int n = s.spriteCount;
    if (n < kMinSpriteCount || n > kMaxSpriteCount) {
        throw Error("The value of *Spritecount (" + std::to_string(n) +
                    ") is outside what the front end can hold (" + std::to_string(kMinSpriteCount) +
                    " to " + std::to_string(kMaxSpriteCount) + ")");
    }
    if (s.sliderlistA.Count() < SliderPicturesNeeded(n)) {
        throw Error(std::string(kPanelPictureListFile) + " holds " +
                    std::to_string(s.sliderlistA.Count()) + " pictures, but *Spritecount " +
                    std::to_string(n) + " needs at least " +
                    std::to_string(SliderPicturesNeeded(n)) +
                    " (demo panels, four database panels, start panel)");
    }
    if (s.SubSliderA.Count() < ThumbnailPicturesNeeded(n)) {
        throw Error(std::string(kThumbnailListFile) + " holds " +
                    std::to_string(s.SubSliderA.Count()) + " pictures, but *Spritecount " +
                    std::to_string(n) + " needs at least " +
                    std::to_string(ThumbnailPicturesNeeded(n)));
    }
}

PictureCollectionItem& Named(PictureCollection& c, const std::string& name) {
    return c.Items(c.IndexOf(name));
}

void Place(TSpriteRec& sprite, PictureCollection& c, const char* collectionName,
           const std::string& name, int x, int y) {
    SetSpriteImage(sprite, c, c.IndexOf(name), collectionName);
    sprite.x = x;
    sprite.y = y;
    sprite.dx = 0;
    sprite.dy = 0;
}

void LoadAndLayOut(MainState& s, Ports& ports, const std::string& currentDirectory,
                   PicturesAhead* ahead);

void PutDiscPictures(MainState& s, DiscPictures&& read) {
    s.backgroundSurface = std::move(read.background);
    PictureCollection* const collections[] = {&s.panels, &s.sliderlistA, &s.SubSliderA,
                                              &s.top_panels, &s.banners};
    for (std::size_t i = 0; i < read.lists.size(); ++i) {
        *collections[i] = std::move(read.lists[i]);
    }
}

} // namespace

void LoadDiscPictures(MainState& s) {
    // Every picture of the disc together is held to one budget, counted from the headers.
    PutDiscPictures(s, ReadDiscPictures());
}

void DxDrawInitialize(MainState& s, Ports& ports, const std::string& currentDirectory,
                      PicturesAhead* ahead) {
    // A fault of the disc ends start-up with an error that carries the reader's message and,
    // for whoever runs the program, which file and why; the one who catches it says both, once.
    LoadAndLayOut(s, ports, currentDirectory, ahead);
}

namespace {

void LoadAndLayOut(MainState& s, Ports& ports, const std::string& currentDirectory,
                   PicturesAhead* ahead) {
    // 1. The pane shows the disc's loading page while nothing else is asked of it.
    if (ports.web && DiscFileExists(kLoadingPage)) {
        ports.web->Navigate(currentDirectory + kLoadingPage);
    }

    // 2, 3. The background, copied opaque over the whole back buffer every frame, and the five
    // image lists, built as they load because the surface is ready; read ahead when they were.
    if (ahead) {
        PutDiscPictures(s, ahead->Take());
    } else {
        LoadDiscPictures(s);
    }
    s.backgroundSurface.Name = "mainbg";
    Rebuild(s.backgroundSurface, false);

    // 4. Banners: a missing file leaves its control empty.
    LoadBanner(s, ports, ports.adbanner, kCentreBannerFile);
    LoadBanner(s, ports, ports.GIFImage1, kSideBannerFile);
    LoadBanner(s, ports, ports.GIFImage2, kSideBannerFile);

    // 5, 6. The disc data file and its global keys.
    LoadDiscDataFile(s.source, kDiscDataFile);
    s.spriteCount = StrToInt(s.source.KeyValue(kSpriteCountKey));
    s.techSupportLabel = s.source.KeyValue(kTechSupportKey);
    s.sysReqLabel = s.source.KeyValue(kSystemRequirementsKey);
    s.discTwo = s.source.HasKey(kDiscTwoKey);
    CheckSpriteCount(s);

    // 7. Every picture the frame and the pointer ask for by name must be there.
    s.topPanelDefault = s.top_panels.IndexOf(DefaultTopPanelName(s.discTwo));
    s.top_panels.Items(s.topPanelDefault);
    for (const auto& name : RequiredTopPanelNames(s.discTwo)) {
        Named(s.top_panels, name);
    }
    for (const auto& name : RequiredPanelNames()) {
        Named(s.panels, name);
    }

    // 8. Key colours of the panels, read from their own corner pixels.
    const int n = s.spriteCount;
    s.startPanelKey = PixelOf(s.sliderlistA.Items(0), 0, 0);
    for (int i = 0; i < n; ++i) {
        PictureCollectionItem& item = s.sliderlistA.Items(i);
        item.SetTransparentColor(PixelOf(item, 0, 0));
        Rebuild(item, true);
    }
    s.dbslider.Clear();
    for (int i = 0; i < kDbSliderItems; ++i) {
        s.dbslider.Add();
    }
    s.dbslider.SetSurfaceInitialized(true);
    for (int i = n; i <= n + 3; ++i) {
        const PictureCollectionItem& from = s.sliderlistA.Items(i);
        PictureCollectionItem& item = s.dbslider.Items(i);
        item.SetTransparentColor(PixelOf(from, 0, 0));
        item.SharePicture(from); // one copy of the pixels serves both
        Rebuild(item, true);
    }
    for (int i = 0; i < n; ++i) {
        Rebuild(s.SubSliderA.Items(i), false);
    }
    if (s.browzerz.Count() != kBrowzerzItems) {
        s.browzerz.Clear();
        for (int i = 0; i < kBrowzerzItems; ++i) {
            s.browzerz.Add();
        }
        s.browzerz.SetSurfaceInitialized(true);
    }

    // 9. The action pictures and their hit rectangles, placed once at their resting places.
    Place(s.installSprite, s.panels, "panels", "installnowB", 24, 255);
    Place(s.printSprite, s.panels, "panels", "printreadmeB", 732, 264);
    Place(s.viewSprite, s.panels, "panels", "viewreadmeB", 728, 168);
    s.ib = {s.installSprite.x, s.installSprite.y, s.installSprite.Width(),
            s.installSprite.Height()};
    s.pb = {s.printSprite.x, s.printSprite.y, s.printSprite.Width(), s.printSprite.Height()};
    s.vb = {s.viewSprite.x, s.viewSprite.y, s.viewSprite.Width(), s.viewSprite.Height()};

    // 10. The fixed panels.
    Place(s.demSprite, s.panels, "panels", "PANEL_DEM", 0, 380);
    Place(s.infoSprite, s.panels, "panels", "PANEL_INFO", 0, 0);
    s.infoSprite.image->SetTransparentColor(PixelOf(*s.infoSprite.image, 3, 0));
    // A built item follows its Transparent flag when drawn; no rebuild is needed.
    s.infoSprite.image->Transparent = true;
    s.infoRestY = 428 - s.infoSprite.Height();
    s.infoSprite.y = s.infoRestY;
    Place(s.topSprite, s.panels, "panels", "PANEL_TOP2", 0, 0);
    Place(s.botSprite, s.panels, "panels", "PANEL_BOT2", 0, 346);

    // 11. The panels that slide under the top banner; the start panel is the last picture.
    const int last = s.sliderlistA.Count() - 1;
    PictureCollectionItem& start = s.sliderlistA.Items(last);
    start.SetTransparentColor(s.startPanelKey);
    start.Transparent = true;
    const int startY = 107 - start.Height();
    for (auto& sprite : s.slideSprites) {
        sprite = TSpriteRec();
    }
    SetSpriteImage(s.slideSprites[0], s.sliderlistA, last, "sliderlistA");
    s.slideSprites[0].y = startY;
    for (int k = 1; k <= n; ++k) {
        SetSpriteImage(s.slideSprites[k], s.sliderlistA, k - 1, "sliderlistA");
        s.slideSprites[k].y = startY;
    }
    for (int k = n + 1; k <= n + 4; ++k) {
        SetSpriteImage(s.slideSprites[k], s.dbslider, k - 1, "dbslider");
        s.slideSprites[k].y = startY;
    }

    // 12. Every thumbnail starts stacked at the strip's start; each has a home to spread to.
    for (auto& sprite : s.thumbSprites) {
        sprite = TSpriteRec();
    }
    s.thumbHomeX.fill(0);
    const int x0 = s.demSprite.Width() - s.SubSliderA.Items(0).Width() + 20;
    SetSpriteImage(s.thumbSprites[0], s.SubSliderA, 0, "SubSliderA");
    s.thumbSprites[0].x = x0;
    s.thumbSprites[0].y = 428;
    s.thumbHomeX[1] = x0;
    for (int i = 1; i <= n - 1; ++i) {
        SetSpriteImage(s.thumbSprites[i], s.SubSliderA, i - 1, "SubSliderA");
        s.thumbSprites[i].x = x0;
        s.thumbSprites[i].y = 380;
        s.thumbHomeX[i + 1] = s.thumbHomeX[i] + s.SubSliderA.Items(i - 1).Width() + 20;
    }

    // 13. The accent colour of frames, highlight, menu box and rule.
    s.frameColour = PixelOf(*s.demSprite.image, 10, 0);

    // 14.
    s.browsepanelWidth = 800;
    s.timers.Enable(TimerId::bannerpush);
    s.timers.Enable(TimerId::DXTimer);
}

} // namespace

void FormCreate(MainState& s) {
    ApplyStartValues(s);
    s.colourTable = s.ImageList.BuildColourTable();
}

void FormClose(MainState& s) {
    s.timers.Disable(TimerId::bannerpush);
    s.timers.Disable(TimerId::DXTimer);
    s.timers.Disable(TimerId::launchit);
    s.timers.Disable(TimerId::Timer1);
    s.timers.Disable(TimerId::bannerframes);
    s.timers.Disable(TimerId::launchnotice);
    s.bannerFrameDueMs.fill(-1);
    s.closed = true;
}

} // namespace kestrova
