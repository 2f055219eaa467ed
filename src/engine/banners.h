#pragma once
// The advertising banners under the drawn front end: the centre banner rotates every ten seconds
// and its click starts what the disc data names for it; the side banners open the subscription
// page.

#include "engine/main_state.h"
#include "engine/ports.h"

#include <string>

namespace kestrova {

// The centre banner's picture for number n, 0..8.
std::string BannerFile(int n);
// The secure subscription page the side banners open.
inline constexpr const char* kSubscriptionPage = "https://www.example.com/kestrova/subscribe/";

// The 4-second timer: one draw of a `banners` item for a sprite that no frame shows. It changes
// nothing on screen but moves the shared generator on, which the banner rotation draws from.
void Timer1Timer(MainState& state);

// The rotation: numbers are drawn from the shared generator until one names a banner file that
// exists, which the centre banner then shows. With no banner file at all it keeps its picture.
void bannerpushTimer(MainState& state, Ports& ports);

// The centre banner's target ("*BANNER" + its number) waits 600 ms for the delayed launch; a
// second click in that time replaces it.
void adbannerClick(MainState& state);

// Either side banner.
void SideBannerClick(MainState& state);

// The banners animate on the window's clock: a banner shows its picture's next frame once the
// frame on show has stood for its delay (100 ms when the picture gives none, never less than
// 20 ms), looping. Frame changes fall on a 20 ms grid, so banners of different delays change
// together and the window repaints them in one go.
inline constexpr long long kBannerFrameGridMs = 20;
inline constexpr int kBannerDefaultFrameMs = 100;
inline constexpr int kBannerShortestFrameMs = 20;

// How long a frame stands for the delay its picture gives it.
int BannerFrameMs(int pictureDelayMs);
// The first grid point at or after `ms`.
long long BannerGridAtOrAfter(long long ms);

// Loads a picture into one of the banners (a null banner is skipped) and starts its frames from
// the clock's now. A missing file leaves the banner, and its frames, as they were.
bool LoadBanner(MainState& state, Ports& ports, GifControl* banner, const std::string& path);

// The banner frame timer: every banner whose frame is due shows its next one, then the timer is
// set for the earliest next change (and stopped while no banner changes).
void bannerframesTimer(MainState& state, Ports& ports);

// After a stall, in which the banner frame timer's ticks passed silently: the frames missed are
// not caught up, a banner whose frame fell due shows its next one at the first grid point after
// the clock's now.
void ResumeBannerFrames(MainState& state);

} // namespace kestrova
