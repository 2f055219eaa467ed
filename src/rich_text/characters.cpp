#include "rich_text/characters.h"

#include "base/text.h"

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

std::optional<int> CodePageOfCharset(int charset) {
    switch (charset) {
    case 0:
        return 1252;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
    case 255:
        return 437;
    default:
        return std::nullopt;
    }
}

} // namespace kestrova::rtf
