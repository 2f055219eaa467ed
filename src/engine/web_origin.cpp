#include "engine/web_origin.h"

#include "engine/web_address.h"

namespace kestrova {

namespace {

enum class Place {
    Elsewhere,     // not a file of the disc: the network, this machine, anything else
    Disc,          // a file of the disc in use
    ForeignScheme, // the disc scheme, but of no disc in use
};

struct Located {
    Place place = Place::Elsewhere;
    std::string address; // a file of the disc as "file:/" + root + its path in the disc
    std::string_view reason;
};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

// A step of a path that climbs or stays: ".", "..", and what Windows reads the same (". .").
bool IsDotStep(std::string_view step) {
    return step.find('.') != std::string_view::npos &&
           step.find_first_not_of(". ") == std::string_view::npos;
}

Located Locate(std::string_view address, const DiscOrigin& disc) {
    const std::size_t schemeEnd = kDiscSchemeName.size();
    if (address.size() > schemeEnd && address[schemeEnd] == ':' &&
        SameIgnoringCase(address.substr(0, schemeEnd), kDiscSchemeName)) {
        if (disc.schemeHost.empty()) {
            return {Place::ForeignScheme, std::string(address), "a folder disc has no disc scheme"};
        }
        std::string_view rest = address.substr(schemeEnd + 1);
        if (rest.substr(0, 2) != "//") {
            return {Place::ForeignScheme, std::string(address), "the disc scheme without a host"};
        }
        rest.remove_prefix(2);
        const std::size_t slash = rest.find('/');
        // The whole authority: a user or a port makes it another one.
        if (!SameIgnoringCase(rest.substr(0, slash), disc.schemeHost)) {
            return {Place::ForeignScheme, std::string(address),
                    "not this run's host of the disc scheme"};
        }
        std::string_view path =
            slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        while (!path.empty() && path.front() == '/') {
            path.remove_prefix(1);
        }
        std::string file(kLocalFileMark);
        file += disc.root;
        file += path;
        return {Place::Disc, std::move(file), {}};
    }
    if (IsDiscAddress(address, disc.root)) {
        return {Place::Disc, std::string(address), {}};
    }
    return {Place::Elsewhere, std::string(address), {}};
}

} // namespace

bool IsDiscPage(std::string_view address, const DiscOrigin& disc) {
    const Located where = Locate(address, disc);
    if (where.place != Place::Disc) {
        return false;
    }
    // A path that climbs out of the root again is no page of the disc, whatever it starts with.
    const std::string_view path =
        std::string_view(where.address).substr(kLocalFileMark.size() + disc.root.size());
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/' || path[i] == '\\') {
            if (IsDotStep(path.substr(start, i - start))) {
                return false;
            }
            start = i + 1;
        }
    }
    return true;
}

NavigationVerdict JudgeNavigation(std::string_view target,
                                  std::optional<std::string_view> askingPage,
                                  const DiscOrigin& disc) {
    Located where = Locate(target, disc);
    switch (where.place) {
    case Place::ForeignScheme:
        return {true, std::move(where.address), where.reason};
    case Place::Disc:
        if (askingPage && !IsDiscPage(*askingPage, disc)) {
            return {true, std::move(where.address),
                    "only the front end and pages of the disc ask for files of the disc"};
        }
        return {false, std::move(where.address), {}};
    case Place::Elsewhere:
        break;
    }
    return {false, std::move(where.address), {}};
}

} // namespace kestrova
