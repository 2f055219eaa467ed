#pragma once
// Runs a piece of a test in a child process that a hang, a crash or runaway memory cannot take
// the test program down with: under a time limit and an address-space limit, reporting what it
// returned and how far its peak resident memory grew.

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <fstream>
#include <string>

namespace kestrova::testing {

// A ceiling on peak memory growth for a test. Under AddressSanitizer the shadow memory and the
// quarantine of freed blocks come on top of what the code itself holds.
inline constexpr long MemoryLimitKb(long kb) {
#if defined(__SANITIZE_ADDRESS__)
    return kb * 3;
#else
    return kb;
#endif
}

struct ChildResult {
    bool finished = false; // returned within the time limit, no signal
    int signal = 0;
    long peakGrowthKb = -1; // growth of VmHWM while the piece ran
    std::string text;       // what the piece returned, or "exception: " + what()
};

inline long StatusKb(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) == 0) {
            return std::stol(line.substr(key.size()));
        }
    }
    return -1;
}

// `piece` returns a string; the child may use at most `extraAddressSpaceMb` more address space
// than it starts with and `seconds` of time.
template <class Piece>
ChildResult RunInChild(Piece piece, int seconds = 20, long extraAddressSpaceMb = 1024) {
    int fds[2];
    if (::pipe(fds) != 0) {
        return {};
    }
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        ::alarm(static_cast<unsigned>(seconds));
        const long sizeKb = StatusKb("VmSize");
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max =
            static_cast<rlim_t>(sizeKb + extraAddressSpaceMb * 1024) * 1024;
        ::setrlimit(RLIMIT_AS, &limit);
        // Peak memory is measured from here: the parent's peak is not the child's doing.
        std::ofstream("/proc/self/clear_refs") << "5";
        const long before = StatusKb("VmHWM");
        std::string text;
        try {
            text = piece();
        } catch (const std::exception& e) {
            text = std::string("exception: ") + e.what();
        }
        const std::string report = std::to_string(StatusKb("VmHWM") - before) + "\n" + text;
        const ssize_t written = ::write(fds[1], report.data(), report.size());
        (void)written;
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string report;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) {
        report.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ChildResult result;
    if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
        return result;
    }
    const std::size_t newline = report.find('\n');
    if (newline == std::string::npos) {
        return result;
    }
    result.finished = true;
    result.peakGrowthKb = std::stol(report.substr(0, newline));
    result.text = report.substr(newline + 1);
    return result;
}

} // namespace kestrova::testing
