#include "base/code_page.h"

#include "base/text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <locale.h>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <wctype.h>

namespace kestrova {

namespace {

constexpr char32_t kNone = 0xFFFFFFFF;
constexpr char32_t kReplacement = 0xFFFD;
constexpr uint32_t kTwoBytes = 0x10000; // in an encoding: lead << 8 | trail follows

struct PageName {
    int number;
    const char* converter; // the C library's name for it; null: our own table
};

constexpr std::array<PageName, 16> kPages = {{
    {437, "CP437"},
    {850, "CP850"},
    {874, "WINDOWS-874"},
    {932, "WINDOWS-31J"},
    {936, "CP936"},
    {949, "CP949"},
    {950, "CP950"},
    {1250, "CP1250"},
    {1251, "CP1251"},
    {1252, nullptr},
    {1253, "CP1253"},
    {1254, "CP1254"},
    {1255, "CP1255"},
    {1256, "CP1256"},
    {1257, "CP1257"},
    {1258, "CP1258"},
}};
// Mac Roman stands apart only because its number does not sort with the others.
constexpr PageName kMacRoman{10000, "MACINTOSH"};
constexpr std::size_t kPageCount = kPages.size() + 1;

const PageName& PageAt(std::size_t i) {
    return i < kPages.size() ? kPages[i] : kMacRoman;
}

std::optional<std::size_t> IndexOfPage(int number) {
    for (std::size_t i = 0; i < kPageCount; ++i) {
        if (PageAt(i).number == number) {
            return i;
        }
    }
    return std::nullopt;
}

struct Table {
    bool available = false;
    std::array<char32_t, 256> single{};
    std::array<bool, 256> lead{};
    std::vector<char32_t> pairs; // lead << 8 | trail; 65536 entries on a double-byte page
    std::unordered_map<char32_t, uint32_t> encode;
    std::array<unsigned char, 256> fold{};
};

// One conversion through the C library: the one character `in` makes, or nothing when it makes
// none, or more than one, or leaves bytes over.
class Converter {
  public:
    explicit Converter(const char* name) : cd_(iconv_open("UTF-32LE", name)) {}
    ~Converter() {
        if (ok()) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    char32_t One(const unsigned char* in, std::size_t length) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::array<char, 4> src{};
        std::memcpy(src.data(), in, length);
        std::array<char, 16> dst{};
        char* ip = src.data();
        std::size_t il = length;
        char* op = dst.data();
        std::size_t ol = dst.size();
        if (iconv(cd_, &ip, &il, &op, &ol) == static_cast<std::size_t>(-1) || il != 0) {
            return kNone;
        }
        // A page that joins a letter with the accent after it holds the letter back until told
        // the text has ended.
        if (iconv(cd_, nullptr, nullptr, &op, &ol) == static_cast<std::size_t>(-1)) {
            return kNone;
        }
        if (dst.size() - ol != 4) {
            return kNone;
        }
        uint32_t cp = 0;
        for (int i = 3; i >= 0; --i) {
            cp = cp << 8 | static_cast<unsigned char>(dst[static_cast<std::size_t>(i)]);
        }
        return cp;
    }

  private:
    iconv_t cd_;
};

void BuildCp1252(Table& t) {
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        const std::string utf8 = Cp1252ToUtf8(std::string_view(&byte, 1));
        t.single[static_cast<std::size_t>(b)] = ReadUtf8(utf8, 0)->cp;
        t.fold[static_cast<std::size_t>(b)] = static_cast<unsigned char>(FoldCase(byte));
    }
    t.available = true;
}

void BuildFromConverter(Table& t, const char* name, bool doubleByte) {
    Converter conv(name);
    if (!conv.ok()) {
        return;
    }
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        t.single[byte] = conv.One(&byte, 1);
    }
    if (doubleByte) {
        t.pairs.assign(std::size_t{1} << 16, kNone);
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            if (t.single[static_cast<std::size_t>(lead)] != kNone) {
                continue;
            }
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                const std::array<unsigned char, 2> pair = {static_cast<unsigned char>(lead),
                                                           static_cast<unsigned char>(trail)};
                const char32_t cp = conv.One(pair.data(), 2);
                if (cp != kNone) {
                    t.pairs[static_cast<std::size_t>(lead << 8 | trail)] = cp;
                    t.lead[static_cast<std::size_t>(lead)] = true;
                }
            }
        }
    }
    t.available = true;
}

void BuildEncoding(Table& t) {
    for (int b = 0; b < 256; ++b) {
        const char32_t cp = t.single[static_cast<std::size_t>(b)];
        if (cp != kNone) {
            t.encode.try_emplace(cp, static_cast<uint32_t>(b));
        }
    }
    for (std::size_t i = 0; i < t.pairs.size(); ++i) {
        if (t.pairs[i] != kNone) {
            t.encode.try_emplace(t.pairs[i], kTwoBytes | static_cast<uint32_t>(i));
        }
    }
}

// A byte's lower-case partner on the same page: the C library's Unicode case mapping, kept only
// when the lower-case letter is a byte of the page too, and never an ASCII one (a Turkish dotted
// capital I must not turn a line into a key).
void BuildFolding(Table& t) {
    const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    for (int b = 0; b < 256; ++b) {
        auto folded = static_cast<unsigned char>(b);
        const char32_t cp = t.single[static_cast<std::size_t>(b)];
        if (b >= 'A' && b <= 'Z') {
            folded = static_cast<unsigned char>(b + 0x20);
        } else if (b >= 0x80 && cp != kNone && utf8 != static_cast<locale_t>(nullptr)) {
            const auto lower = static_cast<char32_t>(towlower_l(static_cast<wint_t>(cp), utf8));
            const auto it = t.encode.find(lower);
            if (lower != cp && it != t.encode.end() && it->second >= 0x80 && it->second < 0x100) {
                folded = static_cast<unsigned char>(it->second);
            }
        }
        t.fold[static_cast<std::size_t>(b)] = folded;
    }
    if (utf8 != static_cast<locale_t>(nullptr)) {
        freelocale(utf8);
    }
}

const Table& TableOf(int number) {
    static std::array<std::once_flag, kPageCount> once;
    static std::array<std::unique_ptr<Table>, kPageCount> tables;
    const std::size_t i = IndexOfPage(number).value_or(*IndexOfPage(CodePage::kDefaultNumber));
    std::call_once(once[i], [&] {
        auto t = std::make_unique<Table>();
        const PageName& page = PageAt(i);
        t->single.fill(kNone);
        if (page.converter == nullptr) {
            BuildCp1252(*t);
            BuildEncoding(*t);
        } else {
            const bool doubleByte =
                number == 932 || number == 936 || number == 949 || number == 950;
            BuildFromConverter(*t, page.converter, doubleByte);
            BuildEncoding(*t);
            BuildFolding(*t);
        }
        tables[i] = std::move(t);
    });
    return *tables[i];
}

bool Cp1252Defined(unsigned char b) {
    return b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D;
}

} // namespace

std::optional<CodePage> CodePage::FromNumber(int number) {
    if (!IndexOfPage(number) || !TableOf(number).available) {
        return std::nullopt;
    }
    return CodePage(number);
}

const std::vector<int>& CodePage::Numbers() {
    static const std::vector<int> numbers = [] {
        std::vector<int> n;
        for (std::size_t i = 0; i < kPageCount; ++i) {
            n.push_back(PageAt(i).number);
        }
        return n;
    }();
    return numbers;
}

CodePageChar DecodeAt(std::string_view bytes, std::size_t pos, CodePage page) {
    const Table& t = TableOf(page.Number());
    const auto b = static_cast<unsigned char>(bytes[pos]);
    if (page.Number() == CodePage::kDefaultNumber) {
        return {t.single[b], 1, Cp1252Defined(b)};
    }
    if (t.lead[b]) {
        if (pos + 1 < bytes.size()) {
            const auto trail = static_cast<unsigned char>(bytes[pos + 1]);
            const char32_t cp = t.pairs[static_cast<std::size_t>(b << 8 | trail)];
            if (cp != kNone) {
                return {cp, 2, true};
            }
        }
        return {kReplacement, 1, false};
    }
    const char32_t cp = t.single[b];
    if (cp == kNone) {
        return {kReplacement, 1, false};
    }
    return {cp, 1, true};
}

bool IsLeadByte(unsigned char b, CodePage page) {
    return page.DoubleByte() && TableOf(page.Number()).lead[b];
}

std::string DecodeText(std::string_view bytes, CodePage page) {
    if (page.Number() == CodePage::kDefaultNumber) {
        return Cp1252ToUtf8(bytes);
    }
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t pos = 0; pos < bytes.size();) {
        const CodePageChar c = DecodeAt(bytes, pos, page);
        AppendUtf8(out, c.cp);
        pos += c.length;
    }
    return out;
}

std::string EncodeText(std::string_view utf8, CodePage page) {
    if (page.Number() == CodePage::kDefaultNumber) {
        return Utf8ToCp1252(utf8);
    }
    const Table& t = TableOf(page.Number());
    return EncodeEachCodePoint(utf8, [&t](std::string& out, std::optional<char32_t> cp) {
        const auto it = cp ? t.encode.find(*cp) : t.encode.end();
        if (it == t.encode.end()) {
            out += '?';
        } else if ((it->second & kTwoBytes) != 0) {
            out += static_cast<char>((it->second >> 8) & 0xFF);
            out += static_cast<char>(it->second & 0xFF);
        } else {
            out += static_cast<char>(it->second);
        }
    });
}

std::size_t CharacterPrefix(std::string_view bytes, std::size_t maxBytes, CodePage page) {
    if (!page.DoubleByte()) {
        return std::min(bytes.size(), maxBytes);
    }
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t next = pos + DecodeAt(bytes, pos, page).length;
        if (next > maxBytes) {
            break;
        }
        pos = next;
    }
    return pos;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b, CodePage page) {
    if (a.size() != b.size()) {
        return false;
    }
    const Table& t = TableOf(page.Number());
    bool afterLead = false;
    for (std::size_t i = 0; i < a.size();) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (page.DoubleByte()) {
            const std::size_t length = DecodeAt(a, i, page).length;
            if (length != DecodeAt(b, i, page).length) {
                return false;
            }
            // A pair, or the byte after a lead byte that found no trail: a letter folded
            // there could make a pair of its own.
            if (length == 2 || afterLead) {
                if (a.substr(i, length) != b.substr(i, length)) {
                    return false;
                }
                afterLead = length == 1 && IsLeadByte(x, page);
                i += length;
                continue;
            }
            afterLead = IsLeadByte(x, page);
        }
        if (x != y && t.fold[x] != t.fold[y]) {
            return false;
        }
        ++i;
    }
    return true;
}

std::string FoldedKey(std::string_view text, CodePage page) {
    const Table& t = TableOf(page.Number());
    std::string out(text);
    bool afterLead = false;
    for (std::size_t i = 0; i < out.size();) {
        if (page.DoubleByte()) {
            const std::size_t length = DecodeAt(text, i, page).length;
            if (length == 2 || afterLead) {
                afterLead = length == 1 && IsLeadByte(static_cast<unsigned char>(text[i]), page);
                i += length;
                continue;
            }
            afterLead = IsLeadByte(static_cast<unsigned char>(text[i]), page);
        }
        out[i] = static_cast<char>(t.fold[static_cast<unsigned char>(out[i])]);
        ++i;
    }
    return out;
}

} // namespace kestrova
