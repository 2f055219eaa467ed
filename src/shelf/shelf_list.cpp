#include "shelf/shelf_list.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace kestrova {

namespace {

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string Lowered(const std::string& text) {
    std::string out = text;
    std::transform(out.begin(), out.end(), out.begin(), Lower);
    return out;
}

std::string LastElement(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool Matches(const ShelfDisc& disc, const std::vector<std::string>& words) {
    const std::string text = Lowered(ShownName(disc) + "\n" + disc.issueLine + "\n" +
                                     disc.fileName + "\n" + disc.discLabel);
    return std::all_of(words.begin(), words.end(),
                       [&](const std::string& w) { return text.find(w) != std::string::npos; });
}

// Lines the toolkit and the libraries under it write on their own.
bool IsToolkitLine(const std::string& line) {
    static const char* const kPrefixes[] = {
        "qt.",         "Qt:",       "QStandardPaths",  "Fontconfig", "libEGL",     "MESA",
        "This plugin", "Warning: ", "QSocketNotifier", "QObject::",  "first frame"};
    return std::any_of(std::begin(kPrefixes), std::end(kPrefixes),
                       [&](const char* p) { return line.rfind(p, 0) == 0; });
}

} // namespace

std::string ShelfKey(const std::string& path) {
    std::string key = path;
    while (key.size() > 1 && key.back() == '/') {
        key.pop_back();
    }
    return key;
}

std::string ShownName(const ShelfDisc& disc) {
    if (!disc.label.empty()) {
        return disc.label;
    }
    if (!disc.discLabel.empty()) {
        return disc.discLabel;
    }
    return disc.fileName;
}

std::string Fault(const ShelfDisc& disc) {
    if (!disc.present) {
        return "The disc is no longer at " + disc.path;
    }
    if (!disc.startFault.empty()) {
        return disc.startFault;
    }
    return disc.probeFault;
}

std::vector<ShelfDisc> MergeShelf(const std::vector<FoundDisc>& found,
                                  const std::vector<RecentDisc>& recent,
                                  const std::vector<FoundDisc>& recentPresent,
                                  const std::map<std::string, std::string>& labels,
                                  const std::set<std::string>& removed) {
    std::vector<ShelfDisc> out;
    std::map<std::string, std::size_t> at;
    auto add = [&](const FoundDisc& disc, bool present) -> ShelfDisc* {
        const std::string key = ShelfKey(disc.path);
        if (removed.count(key) != 0) {
            return nullptr;
        }
        auto [it, fresh] = at.emplace(key, out.size());
        if (fresh) {
            ShelfDisc entry;
            entry.path = key;
            entry.form = disc.form;
            entry.fileName = LastElement(key);
            entry.present = present;
            if (auto label = labels.find(key); label != labels.end()) {
                entry.label = label->second;
            }
            out.push_back(entry);
        } else if (present) {
            out[it->second].present = true;
            out[it->second].form = disc.form;
        }
        return &out[it->second];
    };
    for (const FoundDisc& disc : found) {
        add(disc, true);
    }
    for (const FoundDisc& disc : recentPresent) {
        add(disc, true);
    }
    for (const RecentDisc& r : recent) {
        if (ShelfDisc* entry = add(FoundDisc{r.path, DiscForm::Folder}, false)) {
            entry->lastOpened = std::max(entry->lastOpened, r.lastOpened);
        }
    }
    return out;
}

bool NameBefore(const std::string& a, const std::string& b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            // Whole runs of digits by value: leading zeros aside, the longer run is larger.
            std::size_t ei = i;
            std::size_t ej = j;
            while (ei < a.size() && IsDigit(a[ei])) {
                ++ei;
            }
            while (ej < b.size() && IsDigit(b[ej])) {
                ++ej;
            }
            std::size_t si = i;
            std::size_t sj = j;
            while (si + 1 < ei && a[si] == '0') {
                ++si;
            }
            while (sj + 1 < ej && b[sj] == '0') {
                ++sj;
            }
            if (ei - si != ej - sj) {
                return ei - si < ej - sj;
            }
            const int c = a.compare(si, ei - si, b, sj, ej - sj);
            if (c != 0) {
                return c < 0;
            }
            i = ei;
            j = ej;
            continue;
        }
        const char ca = Lower(a[i]);
        const char cb = Lower(b[j]);
        if (ca != cb) {
            return static_cast<unsigned char>(ca) < static_cast<unsigned char>(cb);
        }
        ++i;
        ++j;
    }
    if (a.size() - i != b.size() - j) {
        return a.size() - i < b.size() - j;
    }
    // Equal but for case or zeros: a fixed order all the same.
    return a < b;
}

std::vector<std::size_t> ShownOrder(const std::vector<ShelfDisc>& discs, ShelfOrder order,
                                    const std::string& filter) {
    std::vector<std::string> words;
    std::istringstream in(Lowered(filter));
    for (std::string w; in >> w;) {
        words.push_back(w);
    }
    std::vector<std::size_t> shown;
    for (std::size_t i = 0; i < discs.size(); ++i) {
        if (Matches(discs[i], words)) {
            shown.push_back(i);
        }
    }
    auto byName = [&](std::size_t x, std::size_t y) {
        const std::string nx = ShownName(discs[x]);
        const std::string ny = ShownName(discs[y]);
        if (nx != ny) {
            return NameBefore(nx, ny);
        }
        return discs[x].path < discs[y].path;
    };
    if (order == ShelfOrder::Name) {
        std::stable_sort(shown.begin(), shown.end(), byName);
    } else {
        std::stable_sort(shown.begin(), shown.end(), [&](std::size_t x, std::size_t y) {
            if (discs[x].lastOpened != discs[y].lastOpened) {
                return discs[x].lastOpened > discs[y].lastOpened;
            }
            return byName(x, y);
        });
    }
    return shown;
}

void RememberOpened(std::vector<RecentDisc>& recent, const std::string& path, long long now) {
    const std::string key = ShelfKey(path);
    recent.erase(std::remove_if(recent.begin(), recent.end(),
                                [&](const RecentDisc& r) { return ShelfKey(r.path) == key; }),
                 recent.end());
    recent.insert(recent.begin(), RecentDisc{key, now});
    if (recent.size() > kRecentDiscs) {
        recent.resize(kRecentDiscs);
    }
}

std::string StartFailureReason(const std::string& standardError) {
    std::istringstream in(standardError);
    for (std::string line; std::getline(in, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
            line.pop_back();
        }
        if (line.empty() || IsToolkitLine(line)) {
            continue;
        }
        if (line.size() > 300) {
            line = line.substr(0, 297) + "...";
        }
        return line;
    }
    return {};
}

} // namespace kestrova
