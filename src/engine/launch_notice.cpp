#include "engine/launch_notice.h"

#include "base/code_page.h"
#include "base/text.h"
#include "engine/menus.h"

#include <algorithm>

namespace kestrova {

namespace {

// The notice's text is UTF-8: the disc's bytes are decoded in its code page when a name is made.
constexpr const char* kEllipsis = "\xE2\x80\xA6"; // "…"

// A name of more characters than this is cut: a notice is a line or two, not a listing.
constexpr std::size_t kLongestName = 60;
// Starts whose report is still awaited; older ones are forgotten past this many.
constexpr std::size_t kAwaitedStarts = 16;

// The box: the panels' bold face at a size read at a glance (the menu's small letters are too
// small for a message), text at most this wide, at most this many lines, centred in the window's
// client area and standing just above the banners, or above the web pane while that is up.
constexpr int kNoticeFontPixels = 13;
constexpr int kNoticeTextWidth = 440;
constexpr int kNoticeMaxLines = 3;
constexpr int kNoticePadX = 8;
constexpr int kNoticePadY = 5;
constexpr int kNoticeLineStep = kNoticeFontPixels + 3;
constexpr int kClientWidth = 792;
constexpr int kNoticeBottom = 490;

constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kOrange = 0x3D76FC;

FontSpec NoticeFont() {
    FontSpec f;
    f.face = FontFace::Sans;
    f.pixelHeight = kNoticeFontPixels;
    f.bold = true;
    f.colour = kWhite;
    return f;
}

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

// The UTF-8 text's characters, each as its bytes; a byte that starts no sequence stands alone.
std::vector<std::string> Characters(const std::string& text) {
    std::vector<std::string> out;
    for (std::size_t at = 0; at < text.size();) {
        const auto c = ReadUtf8(text, at);
        const std::size_t length = c ? c->length : 1;
        out.push_back(text.substr(at, length));
        at += length;
    }
    return out;
}

// Drops the text's last character, never part of one.
void DropLastCharacter(std::string& text) {
    while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80) {
        text.pop_back();
    }
    if (!text.empty()) {
        text.pop_back();
    }
}

void Show(MainState& s, std::string text, bool failure, long long ms) {
    s.notice.text = std::move(text);
    s.notice.failure = failure;
    s.timers.StartAt(TimerId::launchnotice, s.timers.NowMs() + ms);
}

// The text broken into lines at most `width` wide: at spaces, and inside a word that alone is
// wider. A text longer than the box holds ends its last line with an ellipsis.
std::vector<std::string> BreakLines(const Canvas& c, const std::string& text, const FontSpec& font,
                                    int width) {
    std::vector<std::string> lines;
    std::string line;
    auto fits = [&](const std::string& t) { return c.TextWidth(t, font) <= width; };
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t space = text.find(' ', at);
        const std::string word =
            text.substr(at, space == std::string::npos ? text.npos : space - at);
        at = space == std::string::npos ? text.size() : space + 1;
        const std::string joined = line.empty() ? word : line + ' ' + word;
        if (fits(joined)) {
            line = joined;
            continue;
        }
        if (!line.empty()) {
            lines.push_back(line);
            line.clear();
        }
        for (const std::string& ch : Characters(word)) {
            if (!line.empty() && !fits(line + ch)) {
                lines.push_back(line);
                line.clear();
            }
            line += ch;
        }
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    if (lines.size() > static_cast<std::size_t>(kNoticeMaxLines)) {
        lines.resize(kNoticeMaxLines);
        std::string& last = lines.back();
        while (!last.empty() && !fits(last + kEllipsis)) {
            DropLastCharacter(last);
        }
        last += kEllipsis;
    }
    return lines;
}

const std::vector<std::string>& NoticeLines(MainState& s, const Canvas& c) {
    if (s.notice.linesOf != s.notice.text || (s.notice.lines.empty() && !s.notice.text.empty())) {
        s.notice.lines = BreakLines(c, s.notice.text, NoticeFont(), kNoticeTextWidth);
        s.notice.linesOf = s.notice.text;
    }
    return s.notice.lines;
}

} // namespace

std::string LaunchName(const std::string& title, const std::string& file, CodePage page) {
    std::string name = title;
    name.erase(0, std::min(name.size(), name.find_first_not_of(' ')));
    name.erase(name.find_last_not_of(' ') + 1);
    if (name.empty()) {
        name = file;
        const bool address =
            file.find("://") != std::string::npos || file.compare(0, 7, "mailto:") == 0;
        if (!address) {
            while (!name.empty() && IsSeparator(name.back())) {
                name.pop_back();
            }
            const auto slash = std::find_if(name.rbegin(), name.rend(), IsSeparator);
            name.erase(name.begin(), slash.base());
            if (name.empty()) {
                name = file;
            }
        }
    }
    name = DecodeText(name, page);
    // The disc's text may hold controls: the canvas shows them as nothing a reader can read.
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = '?';
        }
    }
    const std::vector<std::string> characters = Characters(name);
    if (characters.size() > kLongestName) {
        name.clear();
        for (std::size_t i = 0; i + 1 < kLongestName; ++i) {
            name += characters[i];
        }
        name += kEllipsis;
    }
    return name;
}

std::string NoticeText(LaunchResult result, const std::string& name) {
    switch (result) {
    case LaunchResult::Started:
        return "Starting " + name + kEllipsis;
    case LaunchResult::NotOnDisc:
        return name + " is not on this disc";
    case LaunchResult::NotAFile:
        return name + " is not a file that can be started";
    case LaunchResult::NeedsWine:
        return name + " is a Windows program: install Wine to run it";
    case LaunchResult::NotStartable:
        return name + " could not be started: this computer refused to run it";
    case LaunchResult::NoHandler:
        return "No program on this computer opens " + name;
    case LaunchResult::CopyFailed:
        return name + " could not be copied out of the disc image";
    case LaunchResult::TooLong:
        return "The path of " + name + " is too long to start it";
    }
    return name;
}

long long NoticeStart(MainState& s, const std::string& name) {
    const long long ticket = ++s.notice.lastTicket;
    s.notice.awaited.push_back({ticket, name});
    if (s.notice.awaited.size() > kAwaitedStarts) {
        s.notice.awaited.erase(s.notice.awaited.begin());
    }
    Show(s, NoticeText(LaunchResult::Started, name), false, kStartNoticeMs);
    return ticket;
}

void NoticeFailure(MainState& s, const std::string& name, LaunchResult result) {
    Show(s, NoticeText(result, name), true, kFailureNoticeMs);
}

void LaunchEnded(MainState& s, long long ticket, LaunchResult result) {
    auto& awaited = s.notice.awaited;
    const auto it = std::find_if(awaited.begin(), awaited.end(),
                                 [ticket](const auto& a) { return a.ticket == ticket; });
    if (it == awaited.end()) {
        return;
    }
    const std::string name = it->name;
    awaited.erase(it);
    if (result != LaunchResult::Started) {
        NoticeFailure(s, name, result);
    }
}

void DismissNotice(MainState& s) {
    s.notice.text.clear();
    s.notice.failure = false;
    s.timers.Disable(TimerId::launchnotice);
}

void launchnoticeTimer(MainState& s) {
    DismissNotice(s);
}

NoticeBox LaunchNoticeBox(MainState& s, const Canvas& c, const WebPane* web) {
    const std::vector<std::string>& lines = NoticeLines(s, c);
    const FontSpec font = NoticeFont();
    int width = 0;
    for (const std::string& line : lines) {
        width = std::max(width, c.TextWidth(line, font));
    }
    width += 2 * kNoticePadX;
    const int height = static_cast<int>(lines.size()) * kNoticeLineStep + 2 * kNoticePadY;
    NoticeBox box;
    box.left = (kClientWidth - width) / 2;
    box.right = box.left + width;
    box.bottom = web && PaneOnScreen(*web) ? web->Top() - 2 : kNoticeBottom;
    box.top = box.bottom - height;
    return box;
}

void DrawLaunchNotice(MainState& s, Canvas& c, const WebPane* web) {
    if (s.notice.text.empty()) {
        return;
    }
    const NoticeBox box = LaunchNoticeBox(s, c, web);
    // The menu's box: filled and framed in the frame colour; a failure is framed in the colour
    // of a lit menu line.
    c.FillRect(box.left, box.top, box.right, box.bottom, s.frameColour);
    c.FrameRect(box.left, box.top, box.right, box.bottom,
                s.notice.failure ? kOrange : s.frameColour);
    const FontSpec font = NoticeFont();
    int y = box.top + kNoticePadY;
    for (const std::string& line : s.notice.lines) {
        c.TextOut(box.left + kNoticePadX, y, line, font);
        y += kNoticeLineStep;
    }
}

} // namespace kestrova
