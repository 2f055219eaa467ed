#include "catalogue/disc_rules.h"

#include "base/text.h"

#include <map>

namespace kestrova {

namespace {

constexpr int kMaxRecordNumber = 20;

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

} // namespace

std::optional<int> NumberedKey(std::string_view line, std::string_view prefix) {
    if (line.size() <= prefix.size() || !EqualsIgnoreCase(line.substr(0, prefix.size()), prefix)) {
        return std::nullopt;
    }
    const std::string_view digits = line.substr(prefix.size());
    if (digits.size() > 9 || (digits.size() > 1 && digits[0] == '0')) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

std::vector<std::string> DemosMenu(const LineList& lines, int spriteCount) {
    // One pass finds every start line, so a huge count costs no more than the file's length.
    std::map<int, int> starts;
    const int count = lines.Count();
    for (int i = 0; i < count; ++i) {
        if (auto n = NumberedKey(lines.Get(i), "*BEGIN"); n && *n >= 1 && *n < spriteCount) {
            starts.try_emplace(*n, i);
        }
    }
    std::vector<std::string> menu;
    for (const auto& [n, start] : starts) {
        if (start + 5 >= count) {
            continue;
        }
        if (lines.Get(start + 5) != "no") {
            menu.push_back(lines.Get(start + 1));
        }
    }
    return menu;
}

std::optional<int> EntryNumberFromChosenLine(const LineList& lines, std::string_view chosen) {
    const int i = lines.IndexOf(chosen);
    if (i <= 0) {
        return std::nullopt;
    }
    return EntryNumberFromMarker(lines.Get(i - 1));
}

std::optional<int> EntryNumberFromMarker(std::string_view marker) {
    if (marker.size() == 7) {
        return StrToInt(marker.substr(6, 1));
    }
    if (marker.size() == 8) {
        return StrToInt(marker.substr(6, 2));
    }
    return std::nullopt;
}

std::vector<std::pair<std::string, std::string>> RecordMenu(const LineList& lines,
                                                            std::string_view prefix) {
    std::vector<std::pair<std::string, std::string>> menu;
    const int count = lines.Count();
    for (int n = 1; n <= kMaxRecordNumber; ++n) {
        const int i = lines.IndexOf(std::string(prefix) + std::to_string(n));
        if (i < 0 || i + 1 >= count) {
            continue;
        }
        menu.emplace_back(lines.Get(i + 1), i + 2 < count ? lines.Get(i + 2) : std::string());
    }
    return menu;
}

std::vector<std::pair<std::string, std::string>>
PairMenu(const LineList& lines, std::string_view beginKey, std::string_view endKey) {
    const std::vector<std::string> block = lines.BlockLines(beginKey, endKey);
    std::vector<std::pair<std::string, std::string>> menu;
    for (std::size_t i = 0; i < block.size(); i += 2) {
        menu.emplace_back(block[i], i + 1 < block.size() ? block[i + 1] : std::string());
    }
    return menu;
}

std::optional<std::string> TargetOfCaption(const LineList& lines, std::string_view caption) {
    const int k = lines.IndexOf(caption);
    if (k <= 0 || k + 1 >= lines.Count()) {
        return std::nullopt;
    }
    return lines.Get(k + 1);
}

TargetKind ClassifyTarget(std::string_view target) {
    if (target == "showgame") {
        return TargetKind::ShowGame;
    }
    if (target.size() > 4 && StartsWith(target, "*X")) {
        return TargetKind::Program;
    }
    if (IsWebAddress(target)) {
        return TargetKind::Web;
    }
    return TargetKind::Page;
}

bool IsWebAddress(std::string_view target) {
    return StartsWith(target, "htt");
}

std::string_view ProgramOfTarget(std::string_view target) {
    return StartsWith(target, "*X") ? target.substr(2) : target;
}

} // namespace kestrova
