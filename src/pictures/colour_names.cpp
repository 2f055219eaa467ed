#include "pictures/colour_names.h"
#include "base/text.h"

#include <array>

namespace kestrova {

namespace {

struct Named {
    const char* name;
    TColor colour;
};

// Names a colour can be written as; where two share a colour the first one is written.
constexpr std::array<Named, 24> kStandard{{
    {"clBlack", 0x000000},    {"clMaroon", 0x000080},     {"clGreen", 0x008000},
    {"clOlive", 0x008080},    {"clNavy", 0x800000},       {"clPurple", 0x800080},
    {"clTeal", 0x808000},     {"clGray", 0x808080},       {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},      {"clLime", 0x00FF00},       {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},     {"clFuchsia", 0xFF00FF},    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},    {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},    {"clMedGray", 0xA4A0A0},    {"clNone", clNone},
    {"clDefault", clDefault}, {"clLtGray", 0xC0C0C0},     {"clDkGray", 0x808080},
}};

// The system colours, by index, in the classic default scheme.
struct SystemColour {
    const char* name;
    TColor colour;
};
constexpr std::array<SystemColour, 31> kSystem{{
    {"clScrollBar", 0xC0C0C0},
    {"clBackground", 0x808000},
    {"clActiveCaption", 0x800000},
    {"clInactiveCaption", 0x808080},
    {"clMenu", 0xC0C0C0},
    {"clWindow", 0xFFFFFF},
    {"clWindowFrame", 0x000000},
    {"clMenuText", 0x000000},
    {"clWindowText", 0x000000},
    {"clCaptionText", 0xFFFFFF},
    {"clActiveBorder", 0xC0C0C0},
    {"clInactiveBorder", 0xC0C0C0},
    {"clAppWorkSpace", 0x808080},
    {"clHighlight", 0x800000},
    {"clHighlightText", 0xFFFFFF},
    {"clBtnFace", 0xC0C0C0},
    {"clBtnShadow", 0x808080},
    {"clGrayText", 0x808080},
    {"clBtnText", 0x000000},
    {"clInactiveCaptionText", 0xC0C0C0},
    {"clBtnHighlight", 0xFFFFFF},
    {"cl3DDkShadow", 0x000000},
    {"cl3DLight", 0xC0C0C0},
    {"clInfoText", 0x000000},
    {"clInfoBk", 0xE1FFFF},
    {"", 0}, // index 25 has no name
    {"clHotLight", 0x800000},
    {"clGradientActiveCaption", 0xD08410},
    {"clGradientInactiveCaption", 0xB5B5B5},
    {"clMenuHighlight", 0xC56A31},
    {"clMenuBar", 0xC0C0C0},
}};

} // namespace

std::optional<TColor> ColourFromIdent(std::string_view ident) {
    for (const Named& n : kStandard) {
        if (EqualsIgnoreCase(ident, n.name)) {
            return n.colour;
        }
    }
    for (const SystemColour& s : kSystem) {
        if (s.name[0] != '\0' && EqualsIgnoreCase(ident, s.name)) {
            return s.colour;
        }
    }
    return std::nullopt;
}

std::optional<std::string> ColourToIdent(TColor colour) {
    for (const Named& n : kStandard) {
        if (n.colour == colour) {
            return std::string(n.name);
        }
    }
    return std::nullopt;
}

TColor ResolveColour(int64_t stored) {
    const auto value = static_cast<uint32_t>(stored);
    const uint32_t high = value & 0xFF000000u;
    const uint32_t index = value & 0x00FFFFFFu;
    if ((high == 0x80000000u || high == 0xFF000000u) && index < kSystem.size()) {
        return kSystem[index].colour;
    }
    return value;
}

} // namespace kestrova
