#pragma once
// Reading a command out of an address the web pane is about to follow. Pages are hostile input,
// so this only looks at fixed positions and allocates nothing; it is all inline so that the
// fuzzer and the corpus replay can take it without the rest of the engine.
//
// Address text: the web pane reports a local file as the six characters "file:/" followed by its
// full path, spelt exactly as the current directory string spells it ("file:/" + "/disc/" +
// "claunch_exes/x.exe"); anything else keeps its URL text. A command prefix counts only six
// characters behind the length of the disc root, which is where a link from a page of the disc to
// a name in the disc root ("../claunch_exes/x.exe" from "pages/") puts it.

#include <array>
#include <cstddef>
#include <string_view>
#include <utility>

namespace kestrova {

enum class WebCommand {
    None,
    Command, // "command_": "exit" ends the program
    Claunch, // "claunch_": starts a file of the disc
    Topbrow,
    Htpbrow,
    Nobrows,
    Go2data,
    No2data,
    Gomovie,
    Fsmovie,
};

struct WebAddress {
    WebCommand command = WebCommand::None;
    std::string_view argument; // as written; the commands read it lower-cased
    bool cancel = false;       // the pane must not follow the address
};

// How the web pane spells a local file in front of its path; exactly as long as the offset below.
inline constexpr std::string_view kLocalFileMark = "file:/";
// Where the prefix starts, counted behind the length of the current directory string.
inline constexpr std::size_t kWebPrefixOffset = 6;
static_assert(kLocalFileMark.size() == kWebPrefixOffset);
inline constexpr std::size_t kWebPrefixLength = 8;

inline constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether `text` lower-cased is `lower` (which is lower case already).
inline constexpr bool EqualsLower(std::string_view text, std::string_view lower) {
    if (text.size() != lower.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (AsciiLower(text[i]) != lower[i]) {
            return false;
        }
    }
    return true;
}

// A web address whose host begins with "topbrow_" ("http://topbrow_...").
inline constexpr bool HasTopbrowShape(std::string_view a) {
    return a.size() >= 15 && a[0] == 'h' && a[1] == 't' && a[4] == ':' && a[7] == 't' &&
           a[13] == 'w' && a[14] == '_';
}

// A file of the disc: a local file inside the current directory. Only these may command the
// front end; a page from the web cannot start programs or end the program.
inline constexpr bool IsDiscAddress(std::string_view address, std::string_view currentDirectory) {
    const std::size_t mark = kLocalFileMark.size();
    return !currentDirectory.empty() && address.size() >= mark + currentDirectory.size() &&
           address.substr(0, mark) == kLocalFileMark &&
           address.substr(mark, currentDirectory.size()) == currentDirectory;
}

inline constexpr bool CancelsNavigation(WebCommand command) {
    switch (command) {
    case WebCommand::Command:
    case WebCommand::Claunch:
    case WebCommand::Topbrow:
    case WebCommand::Htpbrow:
    case WebCommand::Nobrows:
        return true;
    default:
        return false;
    }
}

inline constexpr WebAddress ReadWebAddress(std::string_view address,
                                           std::string_view currentDirectory) {
    WebAddress read;
    if (HasTopbrowShape(address)) {
        read.command = WebCommand::Topbrow;
    }
    const std::size_t at = currentDirectory.size() + kWebPrefixOffset;
    if (IsDiscAddress(address, currentDirectory) && address.size() > at) {
        constexpr std::array<std::pair<std::string_view, WebCommand>, 9> kPrefixes{{
            {"command_", WebCommand::Command},
            {"claunch_", WebCommand::Claunch},
            {"topbrow_", WebCommand::Topbrow},
            {"htpbrow_", WebCommand::Htpbrow},
            {"nobrows_", WebCommand::Nobrows},
            {"go2data_", WebCommand::Go2data},
            {"no2data_", WebCommand::No2data},
            {"gomovie_", WebCommand::Gomovie},
            {"fsmovie_", WebCommand::Fsmovie},
        }};
        const std::string_view prefix = address.substr(at, kWebPrefixLength);
        for (const auto& [text, command] : kPrefixes) {
            if (EqualsLower(prefix, text)) {
                read.command = command;
                read.argument = address.substr(at + kWebPrefixLength);
                break;
            }
        }
    }
    read.cancel = CancelsNavigation(read.command);
    return read;
}

// A "claunch_" argument names a file of the disc, relative to its root: nothing absolute, no
// drive or scheme, no way up, no control characters. "\" separates as well as "/".
inline constexpr bool IsDiscRelativePath(std::string_view path) {
    if (path.empty() || path[0] == '/' || path[0] == '\\') {
        return false;
    }
    std::size_t segmentStart = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        const char c = i < path.size() ? path[i] : '/';
        if (c == ':' || (static_cast<unsigned char>(c) < 0x20) || c == 0x7F) {
            return false;
        }
        if (c == '/' || c == '\\') {
            const std::string_view segment = path.substr(segmentStart, i - segmentStart);
            // ".." climbs; Windows also reads "..." and ". ." style names as ways up.
            if (segment.size() >= 2 && segment.find_first_not_of(". ") == std::string_view::npos) {
                return false;
            }
            segmentStart = i + 1;
        }
    }
    return true;
}

} // namespace kestrova
