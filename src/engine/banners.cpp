#include "engine/banners.h"

#include "disc/disc_file_system.h"
#include "engine/random.h"
#include "engine/web_commands.h"

namespace kestrova {

namespace {

constexpr int kBannerNumbers = 9;

bool BannerExists(int n) {
    return DiscFileExists(BannerFile(n));
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
    ports.adbanner->LoadFromFile(BannerFile(n));
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

} // namespace kestrova
