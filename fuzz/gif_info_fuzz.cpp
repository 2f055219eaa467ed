// Banner GIFs come from the disc: their block walk must accept or refuse any bytes with the
// reader's error, and what it accepts is within the banner limits.
#include "base/error.h"
#include "disc/disc_limits.h"
#include "pictures/gif_info.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const kestrova::GifInfo info = kestrova::InspectGif({data, size}, "banner.gif");
        if (info.frames < 1 || info.frames > kestrova::kMaxGifFrames ||
            info.width > kestrova::kMaxGifSide || info.height > kestrova::kMaxGifSide ||
            int64_t{info.width} * info.height > kestrova::kMaxGifScreenPixels) {
            __builtin_trap();
        }
    } catch (const kestrova::Error& e) {
        if (e.Detail().empty()) {
            __builtin_trap(); // every refusal says why
        }
    }
    return 0;
}
