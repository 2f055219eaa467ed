#include "rich_text/rich_text.h"

#include "base/text.h"
#include "rich_text/characters.h"
#include "rich_text/rtf_reader.h"

namespace kestrova {

namespace {

using rtf::Shown;

// One well-formed UTF-8 sequence at `pos`, which it passes; nothing when it is malformed.
std::optional<char32_t> NextUtf8(std::string_view s, std::size_t& pos) {
    const std::optional<Utf8Char> c = ReadUtf8(s, pos);
    if (!c || !c->valid) {
        return std::nullopt;
    }
    pos += c->length;
    return c->cp;
}

bool IsUtf8(std::string_view s) {
    std::size_t pos = 0;
    while (pos < s.size()) {
        if (!NextUtf8(s, pos)) {
            return false;
        }
    }
    return true;
}

// --- Plain text -------------------------------------------------------------------------------

// A file that is not rich text is shown as it is, one paragraph per line: UTF-8 when it is valid
// UTF-8, otherwise the disc's code page.
RichText ReadPlainText(std::string_view bytes, CodePage page) {
    RichText out;
    RichParagraph paragraph;
    std::size_t total = 0;
    bool afterCr = false;
    auto endParagraph = [&] {
        if (out.paragraphs.size() >= kRichTextMaxParagraphs) {
            out.truncated = true;
            return false;
        }
        out.paragraphs.push_back(std::move(paragraph));
        paragraph = {};
        return true;
    };
    auto add = [&](std::string_view utf8) {
        if (total + utf8.size() > kRichTextMaxTextBytes) {
            out.truncated = true;
            return false;
        }
        if (paragraph.runs.empty()) {
            paragraph.runs.emplace_back();
        }
        paragraph.runs.back().text += utf8;
        total += utf8.size();
        return true;
    };
    const bool utf8 = IsUtf8(bytes);
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        char32_t cp = 0;
        std::string_view piece;
        std::string shown;
        if (utf8) {
            const std::size_t start = pos;
            cp = *NextUtf8(bytes, pos);
            if (Shown(cp)) {
                piece = bytes.substr(start, pos - start);
            }
        } else {
            const CodePageChar c = DecodeAt(bytes, pos, page);
            pos += c.length;
            cp = c.cp;
            shown = rtf::Utf8Of(cp);
            piece = shown;
        }
        if (cp == '\r' || cp == '\n') {
            const bool secondHalfOfCrLf = cp == '\n' && afterCr;
            afterCr = cp == '\r';
            if (!secondHalfOfCrLf && !endParagraph()) {
                break;
            }
            continue;
        }
        afterCr = false;
        if (!piece.empty() && !add(piece)) {
            break;
        }
    }
    if (!paragraph.runs.empty() && out.paragraphs.size() < kRichTextMaxParagraphs) {
        out.paragraphs.push_back(std::move(paragraph));
    }
    return out;
}

} // namespace

std::string RichText::PlainText() const {
    std::string text;
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        if (i > 0) {
            text += '\n';
        }
        for (const RichRun& run : paragraphs[i].runs) {
            text += run.text;
        }
    }
    return text;
}

RichText ParseRtf(std::string_view bytes, CodePage page) {
    std::string_view rest = bytes;
    if (rest.starts_with("\xEF\xBB\xBF")) {
        rest.remove_prefix(3);
    }
    const auto start = rest.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos || !rest.substr(start).starts_with("{\\rtf")) {
        return ReadPlainText(rest, page);
    }
    return rtf::ReadRtf(rest.substr(start), page);
}

} // namespace kestrova
