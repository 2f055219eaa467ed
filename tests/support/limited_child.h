#pragma once
// Ways to make the file system fail for a piece of a test, without root and without touching the
// machine: a file-size limit that stands in for a full disk, and a child that, even when run as
// root, obeys the permission bits of folders.

#include "support/in_child.h"

#include <linux/capability.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdint>

namespace kestrova::testing {

// Writes past `bytes` fail with "File too large", as they would on a full disk, instead of
// killing the process.
inline void LimitFileSize(uint64_t bytes) {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(bytes);
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

// Root may write into any folder; without these capabilities it obeys the folder's mode like
// everyone else. Only for a child process: they never come back.
inline bool DropPermissionOverrides() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (::syscall(SYS_capget, &header, data) != 0) {
        return false;
    }
    for (const int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) {
        const uint32_t bit = 1u << (cap % 32);
        data[cap / 32].effective &= ~bit;
        data[cap / 32].permitted &= ~bit;
    }
    return ::syscall(SYS_capset, &header, data) == 0;
}

// Runs `piece` in a child under a file-size limit of `bytes`.
template <class Piece> ChildResult RunWithFileSizeLimit(uint64_t bytes, Piece piece) {
    return RunInChild([&] {
        LimitFileSize(bytes);
        return piece();
    });
}

} // namespace kestrova::testing
