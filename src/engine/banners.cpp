#include "engine/banners.h"

#include "disc/disc_file_system.h"
#include "engine/random.h"
#include "engine/web_commands.h"

#include <algorithm>
#include <array>

namespace kestrova {

namespace {

constexpr int kBannerNumbers = 9;

bool BannerExists(int n) {
    return DiscFileExists(BannerFile(n));
}

// The banners in the order of `MainState::bannerFrameDueMs`.
std::array<GifControl*, 3> Banners(Ports& ports) {
    return {ports.adbanner, ports.GIFImage1, ports.GIFImage2};
}

long long NextChange(const GifControl& banner, long long nowMs) {
    if (!banner.Animated()) {
        return -1;
    }
    return BannerGridAtOrAfter(nowMs + BannerFrameMs(banner.FrameDelayMs()));
}

// The banner frame timer falls due with the earliest banner.
void ScheduleBannerFrames(MainState& s) {
    long long next = -1;
    for (const long long due : s.bannerFrameDueMs) {
        if (due >= 0 && (next < 0 || due < next)) {
            next = due;
        }
    }
    if (next < 0) {
        s.timers.Disable(TimerId::bannerframes);
    } else {
        s.timers.StartAt(TimerId::bannerframes, next);
    }
}

} // namespace

std::string BannerFile(int n) {
    return "engine\\images\\banners\\banner" + std::to_string(n) + ".gif";
}

void Timer1Timer(MainState& s) {
    ProgramRandom().Draw(s.banners.Count());
}

void bannerpushTimer(MainState& s, Ports& ports) {
    bool any = false;
    for (int n = 0; n < kBannerNumbers && !any; ++n) {
        any = BannerExists(n);
    }
    if (!any) {
        return; // nothing to rotate to: the banner stays as it is
    }
    int n = 0;
    do {
        n = ProgramRandom().Draw(kBannerNumbers);
    } while (!BannerExists(n));
    LoadBanner(s, ports, ports.adbanner, BannerFile(n));
    s.bannerNumber = n;
}

void adbannerClick(MainState& s) {
    const std::string key = "*BANNER" + std::to_string(s.bannerNumber);
    const int at = s.source.IndexOf(key);
    if (at >= 0 && at + 1 < s.source.Count()) {
        s.pendingLaunch = s.source.Get(at + 1);
    }
    s.timers.Enable(TimerId::launchit);
}

void SideBannerClick(MainState& s) {
    RequestPage(s, kSubscriptionPage);
}

int BannerFrameMs(int pictureDelayMs) {
    return pictureDelayMs <= 0 ? kBannerDefaultFrameMs
                               : std::max(pictureDelayMs, kBannerShortestFrameMs);
}

long long BannerGridAtOrAfter(long long ms) {
    return (ms + kBannerFrameGridMs - 1) / kBannerFrameGridMs * kBannerFrameGridMs;
}

bool LoadBanner(MainState& s, Ports& ports, GifControl* banner, const std::string& path) {
    if (banner == nullptr) {
        return false;
    }
    const bool loaded = banner->LoadFromFile(path);
    if (!loaded && banner->Animated()) {
        return false; // the picture stays, and keeps its pace
    }
    const auto banners = Banners(ports);
    for (std::size_t i = 0; i < banners.size(); ++i) {
        if (banners[i] == banner) {
            s.bannerFrameDueMs[i] = NextChange(*banner, s.timers.NowMs());
        }
    }
    ScheduleBannerFrames(s);
    return loaded;
}

void bannerframesTimer(MainState& s, Ports& ports) {
    const long long now = s.timers.NowMs();
    const auto banners = Banners(ports);
    for (std::size_t i = 0; i < banners.size(); ++i) {
        long long& due = s.bannerFrameDueMs[i];
        if (due < 0 || due > now) {
            continue;
        }
        GifControl* banner = banners[i];
        if (banner == nullptr || !banner->Animated()) {
            due = -1;
            continue;
        }
        banner->ShowNextFrame();
        due = NextChange(*banner, now);
    }
    ScheduleBannerFrames(s);
}

void ResumeBannerFrames(MainState& s) {
    const long long resume = BannerGridAtOrAfter(s.timers.NowMs() + 1);
    for (long long& due : s.bannerFrameDueMs) {
        if (due >= 0 && due < resume) {
            due = resume;
        }
    }
    ScheduleBannerFrames(s);
}

} // namespace kestrova
