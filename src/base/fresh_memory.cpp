#include "base/fresh_memory.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace kestrova {

void ReadyForWriting(void* data, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    constexpr std::uintptr_t kPage = 4096;
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + kPage - 1) / kPage * kPage;
    const std::uintptr_t last = (begin + bytes) / kPage * kPage;
    // Small buffers are not worth the call.
    if (last > first + 16 * kPage) {
        (void)::madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
    }
#else
    (void)data;
    (void)bytes;
#endif
}

} // namespace kestrova
