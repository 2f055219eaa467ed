#include "common/demo_mentions.h"

#include <array>
#include <cctype>

namespace kestrova {

namespace {

struct Word {
    std::string text; // lower case
    std::size_t begin = 0, end = 0;
};

// The words of `text`: runs of letters, digits, apostrophes and hyphens.
std::vector<Word> Words(std::string_view text) {
    std::vector<Word> words;
    std::size_t i = 0;
    const auto inWord = [&](std::size_t at) {
        const auto c = static_cast<unsigned char>(text[at]);
        return std::isalnum(c) != 0 || c == '\'' || c == '-';
    };
    while (i < text.size()) {
        if (!inWord(i)) {
            ++i;
            continue;
        }
        Word w;
        w.begin = i;
        while (i < text.size() && inWord(i)) {
            w.text += static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
            ++i;
        }
        w.end = i;
        words.push_back(std::move(w));
    }
    return words;
}

int NumberOf(const std::string& word) {
    static const std::array<const char*, 21> names = {
        "zero",     "one",     "two",     "three",     "four",     "five",     "six",
        "seven",    "eight",   "nine",    "ten",       "eleven",   "twelve",   "thirteen",
        "fourteen", "fifteen", "sixteen", "seventeen", "eighteen", "nineteen", "twenty"};
    for (std::size_t n = 0; n < names.size(); ++n) {
        if (word == names[n]) {
            return static_cast<int>(n);
        }
    }
    if (word.empty() || word.size() > 3) {
        return -1;
    }
    int value = 0;
    for (const char c : word) {
        if (c < '0' || c > '9') {
            return -1;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

bool IsMore(const std::string& word) {
    return word == "more" || word == "other" || word == "extra";
}

bool Describes(const std::string& word) {
    static const std::array<const char*, 10> words = {
        "new", "playable", "game", "full", "free", "exclusive", "great", "top", "hot", "pc"};
    for (const char* w : words) {
        if (word == w) {
            return true;
        }
    }
    return false;
}

bool IsDemo(const std::string& word) {
    return word == "demo" || word == "demos";
}

} // namespace

std::vector<DemoCountClaim> DemoCountClaims(std::string_view text) {
    const std::vector<Word> words = Words(text);
    std::vector<DemoCountClaim> claims;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const int count = NumberOf(words[i].text);
        if (count < 0) {
            continue;
        }
        DemoCountClaim claim;
        claim.count = count;
        std::size_t next = i + 1;
        // Up to two words between: "nine more demos", "10 new playable demos".
        for (int between = 0; between < 2 && next < words.size(); ++between) {
            if (IsMore(words[next].text)) {
                claim.more = true;
            } else if (!Describes(words[next].text)) {
                break;
            }
            ++next;
        }
        if (next < words.size() && IsDemo(words[next].text)) {
            claim.phrase =
                std::string(text.substr(words[i].begin, words[next].end - words[i].begin));
            claims.push_back(std::move(claim));
            i = next;
        }
    }
    return claims;
}

bool NamesAsWords(std::string_view text, std::string_view name) {
    const std::vector<Word> haystack = Words(text);
    const std::vector<Word> needle = Words(name);
    if (needle.empty() || needle.size() > haystack.size()) {
        return false;
    }
    for (std::size_t i = 0; i + needle.size() <= haystack.size(); ++i) {
        bool same = true;
        for (std::size_t k = 0; k < needle.size() && same; ++k) {
            same = haystack[i + k].text == needle[k].text;
        }
        if (same) {
            return true;
        }
    }
    return false;
}

std::string FolderOf(std::string_view path) {
    std::string folder;
    for (const char c : path) {
        folder += c == '\\' ? '/' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    const std::size_t slash = folder.rfind('/');
    return slash == std::string::npos ? std::string() : folder.substr(0, slash);
}

} // namespace kestrova
