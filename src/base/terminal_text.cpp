#include "base/terminal_text.h"

namespace kestrova {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void AppendHex(std::string& out, unsigned value) {
    out += kHex[(value >> 4) & 0xFu];
    out += kHex[value & 0xFu];
}

} // namespace

std::string TerminalSafe(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    int continuation = 0; // bytes still expected of a UTF-8 sequence
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool follows = c >= 0x80 && c <= 0xBF;
        if (continuation > 0 && follows) {
            --continuation;
            out += static_cast<char>(c);
            continue;
        }
        continuation = 0;
        if (c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F)) {
            // A lone byte 0x80..0x9F is a C1 control to a terminal that is not in UTF-8 mode.
            out += "\\x";
            AppendHex(out, c);
        } else if (c == 0xC2 && i + 1 < text.size() &&
                   static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
            out += "\\u00";
            AppendHex(out, static_cast<unsigned char>(text[i + 1]));
            ++i;
        } else {
            if (c >= 0xC2 && c <= 0xDF) {
                continuation = 1;
            } else if (c >= 0xE0 && c <= 0xEF) {
                continuation = 2;
            } else if (c >= 0xF0 && c <= 0xF4) {
                continuation = 3;
            }
            out += static_cast<char>(c);
        }
    }
    return out;
}

namespace {

size_t CharacterCount(std::string_view text) {
    size_t n = 0;
    for (const char c : text) {
        n += (static_cast<unsigned char>(c) & 0xC0u) != 0x80u ? 1 : 0;
    }
    return n;
}

// The byte length of the first `count` characters of `text`.
size_t BytesOfCharacters(std::string_view text, size_t count) {
    size_t i = 0;
    while (i < text.size() && count > 0) {
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0u) == 0x80u) {
            ++i;
        }
        --count;
    }
    return i;
}

} // namespace

std::vector<std::string> WrapWords(std::string_view text, size_t width) {
    if (width == 0 || CharacterCount(text) <= width) {
        return {std::string(text)};
    }
    std::vector<std::string> lines;
    std::string line;
    size_t lineChars = 0;
    size_t at = 0;
    while (at < text.size()) {
        const size_t space = text.find(' ', at);
        std::string_view word =
            text.substr(at, space == std::string_view::npos ? text.size() - at : space - at);
        at = space == std::string_view::npos ? text.size() : space + 1;
        if (word.empty()) {
            continue;
        }
        size_t wordChars = CharacterCount(word);
        if (lineChars > 0 && lineChars + 1 + wordChars > width) {
            lines.push_back(line);
            line.clear();
            lineChars = 0;
        }
        // A word wider than a line fills whole lines first.
        while (lineChars == 0 && wordChars > width) {
            const size_t cut = BytesOfCharacters(word, width);
            lines.emplace_back(word.substr(0, cut));
            word.remove_prefix(cut);
            wordChars -= width;
        }
        if (word.empty()) {
            continue;
        }
        if (lineChars > 0) {
            line += ' ';
            ++lineChars;
        }
        line += word;
        lineChars += wordChars;
    }
    if (!line.empty() || lines.empty()) {
        lines.push_back(line);
    }
    return lines;
}

} // namespace kestrova
