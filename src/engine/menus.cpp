#include "engine/menus.h"

namespace kestrova {

namespace {

// Every other line of a block: captions, each followed by what it starts.
std::vector<std::string> Captions(const LineList& source, std::string_view beginKey,
                                  std::string_view endKey) {
    const std::vector<std::string> block = source.BlockLines(beginKey, endKey);
    std::vector<std::string> captions;
    for (std::size_t i = 0; i < block.size(); i += 2) {
        captions.push_back(block[i]);
    }
    return captions;
}

std::vector<std::string> NumberedItems(const LineList& source, const std::string& keyStem) {
    std::vector<std::string> items;
    for (int n = 1; n <= kNumberedMenuItems; ++n) {
        const std::string key = keyStem + std::to_string(n);
        if (source.HasKey(key)) {
            items.push_back(LineOrEmpty(source, source.IndexOf(key) + 1LL));
        }
    }
    return items;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

const std::string& LineOrEmpty(const LineList& source, long long index) {
    static const std::string empty;
    return index >= 0 && index < source.Count() ? source.Get(index) : empty;
}

std::vector<std::string> MenuLines(const MainState& s, const std::string& key) {
    if (key == "demos") {
        std::vector<std::string> titles;
        for (int n = 1; n < s.spriteCount; ++n) {
            const long long start = s.source.IndexOf(BeginKey(n));
            if (LineOrEmpty(s.source, start + 5) != "no") {
                titles.push_back(LineOrEmpty(s.source, start + 1));
            }
        }
        return titles;
    }
    if (key == "utility") {
        return Captions(s.source, "*BEGINUTILITIES", "*ENDUTILITIES");
    }
    if (key == "add-ons") {
        return Captions(s.source, "*BEGINADDONS", "*ENDADDONS");
    }
    if (key == "support") {
        return NumberedItems(s.source, "*SUPPORT");
    }
    if (key == "tobrik") {
        return NumberedItems(s.source, "*TOBRIK");
    }
    return {};
}

int EntryNumberFromStartLine(const std::string& line) {
    // Only the seventh and eighth characters are read, whatever comes before them.
    if (line.size() == 7 && IsDigit(line[6])) {
        return line[6] - '0';
    }
    if (line.size() == 8 && IsDigit(line[6]) && IsDigit(line[7])) {
        return (line[6] - '0') * 10 + (line[7] - '0');
    }
    return -1;
}

} // namespace kestrova
