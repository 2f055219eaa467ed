#pragma once
// Who may command the front end through the web pane. A command prefix in an address acts only
// when the address is a file of the disc in use and the one who asks for it is the front end
// itself (a menu line, a banner, a hidden phrase, the pane's resting page) or a page of that same
// disc. Anything else that asks for a file of the disc, a page from the network, a file of this
// machine off the disc, an empty page, is refused: the pane stays where it is, as for "topbrow_".
//
// Addresses are the pane's texts for URLs: a local file is "file:/" followed by its full path
// (see web_address.h); an address of the disc scheme is "kestrova-disc://" + its authority + "/"
// + its path, decoded; anything else is its URL text. The disc scheme serves the files of a CD
// image under one host, a token made afresh for every run: an address of the scheme under any
// other host, or on a folder disc (which has no such scheme), belongs to no disc in use.

#include <optional>
#include <string>
#include <string_view>

namespace kestrova {

inline constexpr std::string_view kDiscSchemeName = "kestrova-disc";

// The disc whose pages may command.
struct DiscOrigin {
    std::string_view root;       // the current directory string, ending with its separator
    std::string_view schemeHost; // this run's host of the disc scheme; empty on a folder disc
};

struct NavigationVerdict {
    bool refused = false;
    // For an address that is not refused: the text the front end reads its command from; a file
    // of the disc, through the disc scheme too, as "file:/" + root + its path in the disc.
    std::string address;
    // Why it was refused, for the log.
    std::string_view reason;
};

// Judges a navigation to `target` that `askingPage` asks for (the address of the page, or of the
// page a frame is part of); no asking page: the front end asks.
NavigationVerdict JudgeNavigation(std::string_view target,
                                  std::optional<std::string_view> askingPage,
                                  const DiscOrigin& disc);

// Whether `address` is a page of the disc: a file inside the disc root (no "." or ".." step in
// its path there), or a file of the disc scheme under this run's host.
bool IsDiscPage(std::string_view address, const DiscOrigin& disc);

} // namespace kestrova
