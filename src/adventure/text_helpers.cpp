#include "adventure/text_helpers.h"

#include <charconv>
#include <limits>

namespace kestrova {

namespace {

char LowerChar(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Blanks and control characters; NUL included, as it ends a text where these lists come from.
bool IsSeparatorSpace(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

} // namespace

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = LowerChar(c);
    }
    return out;
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerChar(a[i]) != LowerChar(b[i])) {
            return false;
        }
    }
    return true;
}

int IndexOfText(const std::vector<std::string>& list, std::string_view word) {
    for (size_t i = 0; i < list.size(); ++i) {
        if (SameText(list[i], word)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::vector<std::string> SplitWords(std::string_view line) {
    std::vector<std::string> words;
    if (line.empty()) {
        return words;
    }
    std::string word;
    for (char c : line) {
        if (c == ' ') {
            words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    words.push_back(word);
    return words;
}

std::vector<std::string> SplitCommaText(std::string_view text) {
    std::vector<std::string> entries;
    size_t p = 0;
    const size_t n = text.size();
    auto skipSpace = [&] {
        while (p < n && IsSeparatorSpace(text[p])) {
            ++p;
        }
    };
    skipSpace();
    while (p < n) {
        std::string entry;
        if (text[p] == '"') {
            ++p;
            while (p < n) {
                if (text[p] == '"') {
                    if (p + 1 < n && text[p + 1] == '"') {
                        entry += '"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                entry += text[p++];
            }
        } else {
            while (p < n && !IsSeparatorSpace(text[p]) && text[p] != ',') {
                entry += text[p++];
            }
        }
        entries.push_back(std::move(entry));
        skipSpace();
        if (p < n && text[p] == ',') {
            ++p;
            skipSpace();
        }
    }
    return entries;
}

std::optional<int> ParseWholeNumber(std::string_view text) {
    size_t start = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        start = 1;
    }
    std::string_view digits = text.substr(start);
    if (digits.empty()) {
        return std::nullopt;
    }
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
    }
    long long value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    if (negative) {
        value = -value;
    }
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

} // namespace kestrova
