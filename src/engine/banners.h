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

} // namespace kestrova
