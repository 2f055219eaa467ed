#include "catalogue/terminal_text.h"

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

} // namespace kestrova
