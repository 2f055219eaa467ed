#include "rich_text/rtf_reader.h"

#include "rich_text/characters.h"
#include "rich_text/control_words.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kestrova::rtf {

namespace {

constexpr int kDefaultHalfPoints = 24; // what a file means when it names no size: 12 points
constexpr int kMaxHalfPoints = 3276;   // the largest size word processors offer
constexpr std::size_t kMaxFonts = 1024;
constexpr std::size_t kMaxColours = 1024;
constexpr std::size_t kMaxFontName = 128;
constexpr std::size_t kMaxWordLength = 32; // longer "words" are garbage, read as unknown
constexpr int kMaxUnicodeSkip = 255;
constexpr int kMaxPendingCells = 1024;
constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr int64_t kParameterLimit = 1'000'000'000; // larger numbers saturate

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

class Reader {
  public:
    Reader(std::string_view in, CodePage discPage)
        : in_(in), discPage_(discPage), documentPage_(discPage) {
        groups_.emplace_back();
    }

    RichText Read() {
        while (pos_ < in_.size() && !stop_) {
            Step();
        }
        FlushLead();
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
            FlushLead();
            OpenGroup();
            break;
        case '}':
            skip_ = 0;
            FlushLead();
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
    const Group& Top() const { return groups_.back(); }

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
        FlushLead();
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
        FlushLead();
        const auto it = Words().find(name);
        if (it != Words().end()) {
            Command(it->second, Parameter{hasParameter, parameter});
        }
    }

    void SetDestination(Destination destination) {
        // At the top level a destination would swallow the whole document.
        if (groups_.size() > 2 && Top().destination != Destination::Skip) {
            Top().destination = destination;
        }
    }

    // A control word's numeric parameter, when it has one.
    struct Parameter {
        bool given = false;
        int value = 0;
        int Or(int fallback) const { return given ? value : fallback; }
        // "\b" and "\b1" switch on, "\b0" off.
        bool On() const { return !given || value != 0; }
    };

    // Each family of words in turn; the first that knows the word acts on it.
    void Command(const Word& word, Parameter p) {
        if (GroupWord(word, p) || FormatWord(word.op, p)) {
            return;
        }
        TextWord(word, p);
    }

    // Destinations, and the words the font and colour tables are made of. True when the word
    // was one of these.
    bool GroupWord(const Word& word, Parameter p) {
        const Op op = word.op;
        Group& g = Top();
        switch (op) {
        case Op::SkipDestination:
            SetDestination(Destination::Skip);
            return true;
        case Op::FontTable:
            SetDestination(Destination::FontTable);
            return true;
        case Op::ColourTable:
            SetDestination(Destination::ColourTable);
            return true;
        case Op::UnicodeSkip:
            g.unicodeSkip = std::clamp(p.Or(1), 0, kMaxUnicodeSkip);
            return true;
        case Op::CharacterSet:
            // "\ansi" is the character set of the Windows the file was written on: the disc's.
            documentPage_ =
                CodePage::FromNumber(static_cast<int>(word.character)).value_or(discPage_);
            return true;
        case Op::AnsiCodePage:
            if (const auto page = CodePage::FromNumber(p.value); p.given && page) {
                documentPage_ = *page;
            }
            return true;
        case Op::FontCharset:
            if (g.destination == Destination::FontTable && p.given) {
                if (const auto number = CodePageOfCharset(p.value)) {
                    fontCharsetPage_ = CodePage::FromNumber(*number);
                }
            }
            return true;
        case Op::FontCodePage:
            if (g.destination == Destination::FontTable && p.given) {
                if (const auto page = CodePage::FromNumber(p.value)) {
                    fontCodePage_ = page;
                }
            }
            return true;
        default:
            break;
        }
        if (g.destination == Destination::FontTable && op == Op::Font) {
            CommitFont();
            fontNumber_ = p.Or(0);
            return true;
        }
        if (g.destination == Destination::ColourTable) {
            const int value = std::clamp(p.value, 0, 255);
            switch (op) {
            case Op::Red:
                red_ = value;
                return true;
            case Op::Green:
                green_ = value;
                return true;
            case Op::Blue:
                blue_ = value;
                return true;
            default:
                break;
            }
        }
        return false;
    }

    // Character formatting: fonts, sizes, bold, italic, underline, colour, hidden text. It
    // applies to the text alone; the default font is the document's wherever it is named. True
    // when the word was one of these.
    bool FormatWord(Op op, Parameter p) {
        Group& g = Top();
        switch (op) {
        case Op::DefaultFont:
            defaultFont_ = p.Or(0);
            return true;
        case Op::Font:
        case Op::Size:
        case Op::Bold:
        case Op::Italic:
        case Op::Underline:
        case Op::UnderlineNone:
        case Op::Colour:
        case Op::Hidden:
        case Op::Plain:
            break;
        default:
            return false;
        }
        if (g.destination != Destination::Text) {
            return true;
        }
        switch (op) {
        case Op::Font:
            g.format.font = p.Or(0);
            break;
        case Op::Size:
            g.format.halfPoints =
                p.given && p.value > 0 ? std::min(p.value, kMaxHalfPoints) : kDefaultHalfPoints;
            break;
        case Op::Bold:
            g.format.bold = p.On();
            break;
        case Op::Italic:
            g.format.italic = p.On();
            break;
        case Op::Underline:
            g.format.underline = p.On();
            break;
        case Op::UnderlineNone:
            g.format.underline = false;
            break;
        case Op::Colour:
            g.format.colour = p.Or(0);
            break;
        case Op::Hidden:
            g.hidden = p.On();
            break;
        default: // Op::Plain
            g.format = Format{};
            g.hidden = false;
            break;
        }
        return true;
    }

    // Paragraphs, table cells and rows, and the words that stand for characters. Characters go
    // wherever the destination takes them (Literal); the rest applies to the text alone.
    void TextWord(const Word& word, Parameter p) {
        switch (word.op) {
        case Op::Unicode:
            if (p.given) {
                Unicode(p.value);
            }
            return;
        case Op::Character:
            Literal(Utf8Of(word.character));
            return;
        default:
            break;
        }
        Group& g = Top();
        if (g.destination != Destination::Text) {
            return;
        }
        switch (word.op) {
        case Op::Pard:
            g.alignment = RichAlignment::Left;
            break;
        case Op::Align:
            g.alignment = word.alignment;
            break;
        case Op::Par:
        case Op::Row:
            EndParagraph();
            break;
        case Op::Cell:
            if (!g.hidden) {
                pendingCells_ = std::min(pendingCells_ + 1, kMaxPendingCells);
            }
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
                FlushLead();
                CommitFont();
            } else {
                Byte(c);
            }
            break;
        case Destination::ColourTable:
            if (c == ';') {
                CommitColour();
            }
            break;
        case Destination::Text:
            Byte(c);
            break;
        case Destination::Skip:
            break;
        }
    }

    void HexByte(unsigned char c) {
        const Destination d = Top().destination;
        if (d == Destination::Text || d == Destination::FontTable) {
            Byte(c);
        }
    }

    // The code page of the text at hand: a font table entry's own while it is read, the current
    // font's in the text, else the document's.
    CodePage CurrentPage() const {
        if (Top().destination == Destination::FontTable) {
            return fontCodePage_.value_or(fontCharsetPage_.value_or(documentPage_));
        }
        const int number = Top().format.font >= 0 ? Top().format.font : defaultFont_;
        if (const auto it = fontPages_.find(number); it != fontPages_.end()) {
            return it->second;
        }
        return documentPage_;
    }

    // A byte of text, escaped or not. On a double-byte page a lead byte waits for its trail,
    // which may come escaped or as it is; a lead byte that gets none stands for itself as an
    // unknown character, and the byte after it is read on its own.
    void Byte(unsigned char b) {
        const CodePage page = CurrentPage();
        if (lead_) {
            const std::array<char, 2> pair = {static_cast<char>(*lead_), static_cast<char>(b)};
            lead_.reset();
            const CodePageChar c = DecodeAt(std::string_view(pair.data(), 2), 0, page);
            if (c.length == 2) {
                Literal(Utf8Of(c.cp));
                return;
            }
            Literal(Utf8Of(kReplacementCharacter));
        }
        if (IsLeadByte(b, page)) {
            lead_ = b;
            return;
        }
        const char byte = static_cast<char>(b);
        Literal(Utf8Of(DecodeAt(std::string_view(&byte, 1), 0, page).cp));
    }

    void FlushLead() {
        if (lead_) {
            lead_.reset();
            Literal(Utf8Of(kReplacementCharacter));
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
        const std::optional<CodePage> charsetPage = std::exchange(fontCharsetPage_, std::nullopt);
        const std::optional<CodePage> codePage = std::exchange(fontCodePage_, std::nullopt);
        const auto first = name.find_first_not_of(' ');
        const auto last = name.find_last_not_of(' ');
        if (first == std::string::npos || !fontNumber_) {
            return;
        }
        name = name.substr(first, last - first + 1);
        if (fonts_.size() < kMaxFonts || fonts_.count(*fontNumber_) != 0) {
            fonts_[*fontNumber_] = std::move(name);
            if (const auto page = codePage ? codePage : charsetPage) {
                fontPages_[*fontNumber_] = *page;
            } else {
                fontPages_.erase(*fontNumber_);
            }
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
    std::optional<CodePage> fontCharsetPage_; // ... its "\fcharset", and its "\cpg"
    std::optional<CodePage> fontCodePage_;
    std::map<int, CodePage> fontPages_; // fonts whose text is in a page of their own

    CodePage discPage_;
    CodePage documentPage_;
    std::optional<unsigned char> lead_; // a lead byte waiting for its trail
    std::vector<std::optional<uint32_t>> colours_;
    int red_ = -1;
    int green_ = -1;
    int blue_ = -1;
};

} // namespace

RichText ReadRtf(std::string_view in, CodePage page) {
    return Reader(in, page).Read();
}

} // namespace kestrova::rtf
