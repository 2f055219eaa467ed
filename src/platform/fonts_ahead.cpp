#include "platform/fonts_ahead.h"

#include "platform/bundled_fonts.h"

#ifdef KESTROVA_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace kestrova {

void ReadSystemFontConfiguration() {
#ifdef KESTROVA_FONTCONFIG
    // The library keeps the configuration it reads; the toolkit's own call later finds it there.
    // Once only: two threads reading at the same time would each read all of it.
    static std::once_flag once;
    std::call_once(once, [] { FcInit(); });
#endif
}

FontsAhead::FontsAhead() {
    thread_ = std::thread([this] {
        ReadSystemFontConfiguration();
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return go_ != Go::Wait; });
        if (go_ == Go::Register) {
            lock.unlock();
            BundledFonts();
        }
    });
}

FontsAhead::~FontsAhead() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (go_ == Go::Wait) {
            go_ = Go::Stop;
        }
    }
    changed_.notify_all();
    thread_.join();
}

void FontsAhead::ApplicationStarted() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (go_ == Go::Wait) {
            go_ = Go::Register;
        }
    }
    changed_.notify_all();
}

} // namespace kestrova
