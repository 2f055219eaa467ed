#include "app/list_discs.h"

#include "base/terminal_text.h"
#include "platform/disc_probe.h"
#include "shelf/found_disc.h"
#include "shelf/shelf_folders.h"

#include <QCoreApplication>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <set>
#include <thread>
#include <vector>

namespace kestrova {

namespace {

// Probes at once: each is a process of its own, mostly waiting on the disc.
constexpr unsigned kMostProbesAtOnce = 4;

} // namespace

std::string ListLine(const std::string& path, const DiscReport& report) {
    std::string reason = "ok";
    if (!report.fault.empty()) {
        reason = report.fault;
        if (!report.faultDetail.empty()) {
            reason += " (" + report.faultDetail + ")";
        }
    }
    return TerminalSafe(path) + "\t" + TerminalSafe(report.label) + "\t" + TerminalSafe(reason);
}

int RunListDiscs(int& argc, char** argv, const CommandLine& cli) {
    QCoreApplication app(argc, argv);
    const bool named = !cli.listFolders.empty();
    const std::vector<std::string> folders = named ? cli.listFolders : DefaultShelfFolders();

    int status = 0;
    std::vector<FoundDisc> discs;
    std::set<std::string> seen;
    for (const std::string& folder : folders) {
        FindResult found = FindDiscs(folder);
        if (!found.error.empty()) {
            // The shelf's own folders need not exist; a folder the user names must.
            if (named) {
                std::fprintf(stderr, "kestrova: %s\n", TerminalSafe(found.error).c_str());
                status = 1;
            }
            continue;
        }
        for (FoundDisc& disc : found.discs) {
            if (seen.insert(disc.path).second) {
                discs.push_back(std::move(disc));
            }
        }
    }

    std::vector<DiscReport> reports(discs.size());
    std::atomic<std::size_t> next{0};
    const QString cache = ShelfCacheFolder();
    const unsigned workers = std::min<unsigned>(
        kMostProbesAtOnce, std::max<unsigned>(1, std::thread::hardware_concurrency()));
    std::vector<std::thread> threads;
    for (unsigned w = 0; w < std::min<std::size_t>(workers, discs.size()); ++w) {
        threads.emplace_back([&] {
            for (std::size_t i = next++; i < discs.size(); i = next++) {
                reports[i] = ProbeDisc(discs[i], cache);
            }
        });
    }
    for (std::thread& t : threads) {
        t.join();
    }
    for (std::size_t i = 0; i < discs.size(); ++i) {
        std::printf("%s\n", ListLine(discs[i].path, reports[i]).c_str());
    }
    return status;
}

} // namespace kestrova
