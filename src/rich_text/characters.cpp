#include "rich_text/characters.h"

#include "base/text.h"

#include <array>

namespace kestrova::rtf {

bool Shown(char32_t cp) {
    if (cp == '\t' || cp == '\n') {
        return true;
    }
    return cp >= 0x20 && cp != 0x7F && !(cp >= 0x80 && cp < 0xA0);
}

std::string Utf8Of(char32_t cp) {
    std::string s;
    if (Shown(cp)) {
        AppendUtf8(s, cp);
    }
    return s;
}

namespace {

// The characters of the bytes of Windows-1252. Bytes that stand for control characters have none.
const std::array<std::string, 256>& Cp1252Table() {
    static const std::array<std::string, 256> table = [] {
        std::array<std::string, 256> t;
        for (int b = 0; b < 256; ++b) {
            if (b == '\t') {
                // Filled, not assigned from a literal: GCC 12 at -O3 reports a false overlap
                // in the literal's copy.
                t[static_cast<std::size_t>(b)].assign(1, '\t');
                continue;
            }
            const char byte = static_cast<char>(b);
            std::string utf8 = Cp1252ToUtf8(std::string_view(&byte, 1));
            // The code page's undefined bytes decode to C1 controls: leave them out.
            const bool c1 = utf8.size() == 2 && static_cast<unsigned char>(utf8[0]) == 0xC2 &&
                            static_cast<unsigned char>(utf8[1]) < 0xA0;
            if (b >= 0x20 && b != 0x7F && !c1) {
                t[static_cast<std::size_t>(b)] = std::move(utf8);
            }
        }
        return t;
    }();
    return table;
}

} // namespace

std::string_view DecodeByte(unsigned char b) {
    return Cp1252Table()[b];
}

} // namespace kestrova::rtf
