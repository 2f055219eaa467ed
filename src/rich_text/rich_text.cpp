#include "rich_text/rich_text.h"

#include "base/text.h"

#include <algorithm>
#include <array>
#include <map>
#include <unordered_map>

namespace kestrova {

namespace {

constexpr int kDefaultHalfPoints = 24; // what a file means when it names no size: 12 points
constexpr int kMaxHalfPoints = 3276;   // the largest size word processors offer
constexpr std::size_t kMaxFonts = 1024;
constexpr std::size_t kMaxColours = 1024;
constexpr std::size_t kMaxFontName = 128;
constexpr std::size_t kMaxWordLength = 32; // longer "words" are garbage, read as unknown
constexpr int kMaxUnicodeSkip = 255;
constexpr int kMaxPendingCells = 1024;
constexpr int64_t kParameterLimit = 1'000'000'000; // larger numbers saturate

// Control characters have no business on the pane; tabs and line breaks are the text's own.
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

// The characters of the bytes of Windows-1252, the code page of the discs' readmes. Bytes that
// stand for control characters have none.
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

std::string_view DecodeByte(unsigned char b) {
    return Cp1252Table()[b];
}

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

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// --- Plain text -------------------------------------------------------------------------------

// A file that is not rich text is shown as it is, one paragraph per line: UTF-8 when it is valid
// UTF-8, otherwise the discs' code page.
RichText ReadPlainText(std::string_view bytes) {
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
        if (utf8) {
            const std::size_t start = pos;
            cp = *NextUtf8(bytes, pos);
            if (Shown(cp)) {
                piece = bytes.substr(start, pos - start);
            }
        } else {
            const auto b = static_cast<unsigned char>(bytes[pos++]);
            cp = b;
            piece = DecodeByte(b);
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

// --- Rich text --------------------------------------------------------------------------------

enum class Destination { Text, Skip, FontTable, ColourTable };

struct Format {
    int font = -1;   // font number; -1: the document's default font
    int colour = -1; // colour table index; -1: the default colour
    int halfPoints = kDefaultHalfPoints;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool operator==(const Format&) const = default;
};

// What a group carries; '{' copies it and '}' restores the one before.
struct Group {
    Destination destination = Destination::Text;
    Format format;
    bool hidden = false;
    RichAlignment alignment = RichAlignment::Left;
    int unicodeSkip = 1;
};

enum class Op {
    SkipDestination,
    FontTable,
    ColourTable,
    Font,
    DefaultFont,
    Size,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Colour,
    Hidden,
    Plain,
    Pard,
    Align,
    Par,
    Cell,
    Row,
    Red,
    Green,
    Blue,
    Unicode,
    UnicodeSkip,
    Character,
};

struct Word {
    Op op;
    char32_t character = 0;                        // Character
    RichAlignment alignment = RichAlignment::Left; // Align
};

const std::unordered_map<std::string_view, Word>& Words() {
    static const std::unordered_map<std::string_view, Word> words = [] {
        std::unordered_map<std::string_view, Word> w;
        // Groups whose content is not text of the document. (Any group opened with "\*" is
        // skipped too, unless it is known, and none of those hold text that is shown.)
        for (std::string_view name : {"aftncn",
                                      "aftnsep",
                                      "aftnsepc",
                                      "annotation",
                                      "atnauthor",
                                      "atnid",
                                      "author",
                                      "bkmkend",
                                      "bkmkstart",
                                      "buptim",
                                      "colorschememapping",
                                      "comment",
                                      "company",
                                      "creatim",
                                      "datastore",
                                      "doccomm",
                                      "docvar",
                                      "falt",
                                      "fchars",
                                      "filetbl",
                                      "fldinst",
                                      "footer",
                                      "footerf",
                                      "footerl",
                                      "footerr",
                                      "footnote",
                                      "ftncn",
                                      "ftnsep",
                                      "ftnsepc",
                                      "generator",
                                      "header",
                                      "headerf",
                                      "headerl",
                                      "headerr",
                                      "info",
                                      "keywords",
                                      "latentstyles",
                                      "lchars",
                                      "listoverridetable",
                                      "listtable",
                                      "mmathPr",
                                      "nonesttables",
                                      "nonshppict",
                                      "objclass",
                                      "objdata",
                                      "objname",
                                      "operator",
                                      "panose",
                                      "pgdsctbl",
                                      "pict",
                                      "pn",
                                      "pntxta",
                                      "pntxtb",
                                      "printim",
                                      "private",
                                      "revtbl",
                                      "revtim",
                                      "rsidtbl",
                                      "rxe",
                                      "stylesheet",
                                      "subject",
                                      "tc",
                                      "template",
                                      "themedata",
                                      "title",
                                      "txe",
                                      "userprops",
                                      "wgrffmtfilter",
                                      "xe",
                                      "xmlnstbl"}) {
            w.emplace(name, Word{Op::SkipDestination});
        }
        w.emplace("fonttbl", Word{Op::FontTable});
        w.emplace("colortbl", Word{Op::ColourTable});
        w.emplace("f", Word{Op::Font});
        w.emplace("deff", Word{Op::DefaultFont});
        w.emplace("fs", Word{Op::Size});
        w.emplace("b", Word{Op::Bold});
        w.emplace("i", Word{Op::Italic});
        for (std::string_view name :
             {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash", "ulth",
              "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw",
              "ulwave"}) {
            w.emplace(name, Word{Op::Underline});
        }
        w.emplace("ulnone", Word{Op::UnderlineNone});
        w.emplace("cf", Word{Op::Colour});
        w.emplace("v", Word{Op::Hidden});
        w.emplace("plain", Word{Op::Plain});
        w.emplace("pard", Word{Op::Pard});
        w.emplace("ql", Word{Op::Align, 0, RichAlignment::Left});
        w.emplace("qc", Word{Op::Align, 0, RichAlignment::Centre});
        w.emplace("qr", Word{Op::Align, 0, RichAlignment::Right});
        w.emplace("qj", Word{Op::Align, 0, RichAlignment::Justify});
        w.emplace("qd", Word{Op::Align, 0, RichAlignment::Justify});
        w.emplace("par", Word{Op::Par});
        w.emplace("sect", Word{Op::Par});
        w.emplace("page", Word{Op::Par});
        w.emplace("cell", Word{Op::Cell});
        w.emplace("nestcell", Word{Op::Cell});
        w.emplace("row", Word{Op::Row});
        w.emplace("nestrow", Word{Op::Row});
        w.emplace("red", Word{Op::Red});
        w.emplace("green", Word{Op::Green});
        w.emplace("blue", Word{Op::Blue});
        w.emplace("u", Word{Op::Unicode});
        w.emplace("uc", Word{Op::UnicodeSkip});
        const std::pair<std::string_view, char32_t> characters[] = {
            {"line", '\n'},        {"tab", '\t'},       {"bullet", 0x2022},  {"endash", 0x2013},
            {"emdash", 0x2014},    {"lquote", 0x2018},  {"rquote", 0x2019},  {"ldblquote", 0x201C},
            {"rdblquote", 0x201D}, {"enspace", 0x2002}, {"emspace", 0x2003}, {"qmspace", 0x2005},
            {"zwj", 0x200D},       {"zwnj", 0x200C},
        };
        for (const auto& [name, cp] : characters) {
            w.emplace(name, Word{Op::Character, cp});
        }
        return w;
    }();
    return words;
}

class Reader {
  public:
    explicit Reader(std::string_view in) : in_(in) { groups_.emplace_back(); }

    RichText Read() {
        while (pos_ < in_.size() && !stop_) {
            Step();
        }
        if (!paragraph_.runs.empty() && out_.paragraphs.size() < kRichTextMaxParagraphs) {
            paragraph_.alignment = groups_.back().alignment;
            out_.paragraphs.push_back(std::move(paragraph_));
        }
        return std::move(out_);
    }

  private:
    void Step() {
        const char c = in_[pos_++];
        switch (c) {
        case '{':
            skip_ = 0; // a group ends the fallback text of "\u"
            OpenGroup();
            break;
        case '}':
            skip_ = 0;
            CloseGroup();
            break;
        case '\\':
            ControlSequence();
            break;
        case '\r':
        case '\n':
            break; // line ends in the file are layout of the file, not of the text
        default:
            if (Skipping()) {
                break;
            }
            TextByte(static_cast<unsigned char>(c));
            break;
        }
    }

    // True when the next character belongs to a "\u" fallback or to a group too deep to read.
    bool Skipping() {
        if (skip_ > 0) {
            --skip_;
            return true;
        }
        return overflow_ > 0;
    }

    Group& Top() { return groups_.back(); }

    void OpenGroup() {
        if (overflow_ > 0 || groups_.size() > kRichTextMaxDepth) {
            ++overflow_;
            return;
        }
        groups_.push_back(groups_.back());
    }

    void CloseGroup() {
        if (overflow_ > 0) {
            --overflow_;
            return;
        }
        if (groups_.size() <= 1) {
            stop_ = true;
            return;
        }
        const Destination closing = Top().destination;
        groups_.pop_back();
        if (closing == Destination::FontTable) {
            CommitFont(); // an entry written without its ';'
        } else if (closing == Destination::ColourTable &&
                   Top().destination != Destination::ColourTable &&
                   (red_ >= 0 || green_ >= 0 || blue_ >= 0)) {
            CommitColour();
        }
        if (groups_.size() == 1) {
            stop_ = true; // the document's own group is closed; what follows is not part of it
        }
    }

    void ControlSequence() {
        if (pos_ >= in_.size()) {
            return;
        }
        const char c = in_[pos_];
        if (IsLetter(c)) {
            ControlWord();
            return;
        }
        ++pos_;
        if (c == '\'') {
            const int byte = ReadHexByte();
            if (!Skipping() && byte >= 0) {
                HexByte(static_cast<unsigned char>(byte));
            }
            return;
        }
        if (Skipping()) {
            return;
        }
        switch (c) {
        case '\\':
        case '{':
        case '}':
            Literal(std::string_view(&in_[pos_ - 1], 1));
            break;
        case '~':
            Literal("\u00A0");
            break;
        case '_':
            Literal("\u2011");
            break;
        case '*':
            SetDestination(Destination::Skip);
            break;
        case '\r':
        case '\n':
            if (Top().destination == Destination::Text) {
                EndParagraph();
            }
            break;
        default:
            break; // "\-" (optional hyphen) and the index marks show nothing
        }
    }

    int ReadHexByte() {
        int value = -1;
        for (int i = 0; i < 2 && pos_ < in_.size(); ++i) {
            const int digit = HexValue(in_[pos_]);
            if (digit < 0) {
                break;
            }
            value = (value < 0 ? 0 : value * 16) + digit;
            ++pos_;
        }
        return value;
    }

    void ControlWord() {
        const std::size_t start = pos_;
        while (pos_ < in_.size() && IsLetter(in_[pos_])) {
            ++pos_;
        }
        std::string_view name = in_.substr(start, pos_ - start);
        if (name.size() > kMaxWordLength) {
            name = {};
        }
        bool hasParameter = false;
        int parameter = 0;
        if (pos_ < in_.size() &&
            (IsDigit(in_[pos_]) ||
             (in_[pos_] == '-' && pos_ + 1 < in_.size() && IsDigit(in_[pos_ + 1])))) {
            const bool negative = in_[pos_] == '-';
            if (negative) {
                ++pos_;
            }
            int64_t value = 0;
            while (pos_ < in_.size() && IsDigit(in_[pos_])) {
                value = std::min(value * 10 + (in_[pos_] - '0'), kParameterLimit);
                ++pos_;
            }
            parameter = static_cast<int>(negative ? -value : value);
            hasParameter = true;
        }
        if (pos_ < in_.size() && in_[pos_] == ' ') {
            ++pos_; // the delimiting space belongs to the word
        }
        if (name == "bin") {
            // Raw bytes follow, whatever the destination: never read them as text or braces.
            if (hasParameter && parameter > 0) {
                pos_ += std::min(static_cast<std::size_t>(parameter), in_.size() - pos_);
            }
        }
        if (Skipping()) {
            return;
        }
        const auto it = Words().find(name);
        if (it != Words().end()) {
            Command(it->second, hasParameter, parameter);
        }
    }

    void SetDestination(Destination destination) {
        // At the top level a destination would swallow the whole document.
        if (groups_.size() > 2 && Top().destination != Destination::Skip) {
            Top().destination = destination;
        }
    }

    void Command(const Word& word, bool hasParameter, int parameter) {
        Group& g = Top();
        const bool on = !hasParameter || parameter != 0;
        switch (word.op) {
        case Op::SkipDestination:
            SetDestination(Destination::Skip);
            return;
        case Op::FontTable:
            SetDestination(Destination::FontTable);
            return;
        case Op::ColourTable:
            SetDestination(Destination::ColourTable);
            return;
        case Op::UnicodeSkip:
            g.unicodeSkip = std::clamp(hasParameter ? parameter : 1, 0, kMaxUnicodeSkip);
            return;
        case Op::DefaultFont:
            defaultFont_ = hasParameter ? parameter : 0;
            return;
        case Op::Unicode:
            if (hasParameter) {
                Unicode(parameter);
            }
            return;
        case Op::Character:
            Literal(Utf8Of(word.character));
            return;
        default:
            break;
        }

        switch (g.destination) {
        case Destination::Skip:
            return;
        case Destination::FontTable:
            if (word.op == Op::Font) {
                CommitFont();
                fontNumber_ = hasParameter ? parameter : 0;
            }
            return;
        case Destination::ColourTable: {
            const int value = std::clamp(parameter, 0, 255);
            if (word.op == Op::Red) {
                red_ = value;
            } else if (word.op == Op::Green) {
                green_ = value;
            } else if (word.op == Op::Blue) {
                blue_ = value;
            }
            return;
        }
        case Destination::Text:
            break;
        }

        switch (word.op) {
        case Op::Font:
            g.format.font = hasParameter ? parameter : 0;
            break;
        case Op::Size:
            g.format.halfPoints = hasParameter && parameter > 0
                                      ? std::min(parameter, kMaxHalfPoints)
                                      : kDefaultHalfPoints;
            break;
        case Op::Bold:
            g.format.bold = on;
            break;
        case Op::Italic:
            g.format.italic = on;
            break;
        case Op::Underline:
            g.format.underline = on;
            break;
        case Op::UnderlineNone:
            g.format.underline = false;
            break;
        case Op::Colour:
            g.format.colour = hasParameter ? parameter : 0;
            break;
        case Op::Hidden:
            g.hidden = on;
            break;
        case Op::Plain:
            g.format = Format{};
            g.hidden = false;
            break;
        case Op::Pard:
            g.alignment = RichAlignment::Left;
            break;
        case Op::Align:
            g.alignment = word.alignment;
            break;
        case Op::Par:
            EndParagraph();
            break;
        case Op::Cell:
            if (!g.hidden) {
                pendingCells_ = std::min(pendingCells_ + 1, kMaxPendingCells);
            }
            break;
        case Op::Row:
            EndParagraph();
            break;
        default:
            break;
        }
    }

    void Unicode(int parameter) {
        const int value = parameter < 0 ? parameter + 65536 : parameter;
        char32_t cp = 0xFFFD;
        if (value >= 0 && value <= 0xFFFF) {
            cp = static_cast<char32_t>(value);
        }
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            highSurrogate_ = cp; // the low half follows as the next "\u"
        } else {
            if (cp >= 0xDC00 && cp <= 0xDFFF) {
                cp = highSurrogate_ != 0
                         ? 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (cp - 0xDC00)
                         : 0xFFFD;
            }
            Literal(Utf8Of(cp));
        }
        skip_ = Top().unicodeSkip;
    }

    void TextByte(unsigned char c) {
        switch (Top().destination) {
        case Destination::FontTable:
            if (c == ';') {
                CommitFont();
            } else {
                Literal(DecodeByte(c));
            }
            break;
        case Destination::ColourTable:
            if (c == ';') {
                CommitColour();
            }
            break;
        case Destination::Text:
            Literal(DecodeByte(c));
            break;
        case Destination::Skip:
            break;
        }
    }

    void HexByte(unsigned char c) {
        const Destination d = Top().destination;
        if (d == Destination::Text || d == Destination::FontTable) {
            Literal(DecodeByte(c));
        }
    }

    // Characters of the current destination.
    void Literal(std::string_view utf8) {
        Group& g = Top();
        if (g.destination == Destination::FontTable) {
            highSurrogate_ = 0;
            if (fontName_.size() + utf8.size() <= kMaxFontName) {
                fontName_ += utf8;
            }
            return;
        }
        if (g.destination != Destination::Text || g.hidden || stop_) {
            return;
        }
        highSurrogate_ = 0;
        if (utf8.empty()) {
            return;
        }
        for (; pendingCells_ > 0; --pendingCells_) {
            Append("\t");
        }
        Append(utf8);
    }

    void Append(std::string_view utf8) {
        if (stop_) {
            return;
        }
        if (textBytes_ + utf8.size() > kRichTextMaxTextBytes) {
            Truncate();
            return;
        }
        const Format& f = Top().format;
        if (paragraph_.runs.empty() || !(runFormat_ == f)) {
            if (runs_ >= kRichTextMaxRuns) {
                Truncate();
                return;
            }
            paragraph_.runs.push_back(RunOf(f));
            runFormat_ = f;
            ++runs_;
        }
        paragraph_.runs.back().text += utf8;
        textBytes_ += utf8.size();
    }

    RichRun RunOf(const Format& f) const {
        RichRun run;
        const int number = f.font >= 0 ? f.font : defaultFont_;
        if (const auto it = fonts_.find(number); it != fonts_.end()) {
            run.font = it->second;
        }
        run.size = f.halfPoints / 2.0;
        run.bold = f.bold;
        run.italic = f.italic;
        run.underline = f.underline;
        if (f.colour >= 0 && static_cast<std::size_t>(f.colour) < colours_.size()) {
            run.colour = colours_[static_cast<std::size_t>(f.colour)];
        }
        return run;
    }

    void EndParagraph() {
        if (stop_) {
            return;
        }
        if (out_.paragraphs.size() >= kRichTextMaxParagraphs) {
            Truncate();
            return;
        }
        pendingCells_ = 0; // a row's last cell needs no separator after it
        highSurrogate_ = 0;
        paragraph_.alignment = Top().alignment;
        out_.paragraphs.push_back(std::move(paragraph_));
        paragraph_ = {};
    }

    void Truncate() {
        out_.truncated = true;
        stop_ = true;
    }

    void CommitFont() {
        std::string name = std::move(fontName_);
        fontName_.clear();
        const auto first = name.find_first_not_of(' ');
        const auto last = name.find_last_not_of(' ');
        if (first == std::string::npos || !fontNumber_) {
            return;
        }
        name = name.substr(first, last - first + 1);
        if (fonts_.size() < kMaxFonts || fonts_.count(*fontNumber_) != 0) {
            fonts_[*fontNumber_] = std::move(name);
        }
        fontNumber_.reset();
    }

    void CommitColour() {
        if (colours_.size() < kMaxColours) {
            if (red_ < 0 && green_ < 0 && blue_ < 0) {
                colours_.emplace_back(); // "auto": the default colour
            } else {
                colours_.emplace_back(static_cast<uint32_t>(std::max(red_, 0)) << 16 |
                                      static_cast<uint32_t>(std::max(green_, 0)) << 8 |
                                      static_cast<uint32_t>(std::max(blue_, 0)));
            }
        }
        red_ = green_ = blue_ = -1;
    }

    std::string_view in_;
    std::size_t pos_ = 0;
    std::vector<Group> groups_; // [0] is outside every group
    std::size_t overflow_ = 0;  // open groups beyond the depth limit
    int skip_ = 0;              // fallback characters of a "\u" still to skip
    bool stop_ = false;

    RichText out_;
    RichParagraph paragraph_;
    Format runFormat_; // of paragraph_.runs.back()
    std::size_t textBytes_ = 0;
    std::size_t runs_ = 0;
    int pendingCells_ = 0; // cell ends not yet written as tabs
    char32_t highSurrogate_ = 0;

    int defaultFont_ = -1;
    std::map<int, std::string> fonts_;
    std::optional<int> fontNumber_; // the font table entry being read
    std::string fontName_;
    std::vector<std::optional<uint32_t>> colours_;
    int red_ = -1;
    int green_ = -1;
    int blue_ = -1;
};

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

RichText ParseRtf(std::string_view bytes) {
    std::string_view rest = bytes;
    if (rest.starts_with("\xEF\xBB\xBF")) {
        rest.remove_prefix(3);
    }
    const auto start = rest.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos || !rest.substr(start).starts_with("{\\rtf")) {
        return ReadPlainText(rest);
    }
    return Reader(rest.substr(start)).Read();
}

} // namespace kestrova
