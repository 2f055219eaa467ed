// Every text of a disc passes through the code-page decoder, and a disc may claim any page:
// whatever the bytes, decoding must give well-formed UTF-8 with one character per byte or pair,
// lose no byte beside an undefined one, and encoding the result must give back what was read.
#include "base/code_page.h"
#include "base/text.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kestrova;
    if (size == 0) {
        return 0;
    }
    const std::vector<int>& numbers = CodePage::Numbers();
    const std::optional<CodePage> page = CodePage::FromNumber(numbers[data[0] % numbers.size()]);
    Check(page.has_value());
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    // Character by character: lengths cover every byte, and a replacement is one byte long.
    std::string expected;
    std::vector<bool> boundary(bytes.size() + 1, false);
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const CodePageChar c = DecodeAt(bytes, pos, *page);
        Check(c.length == 1 || (c.length == 2 && page->DoubleByte() && c.defined));
        Check(pos + c.length <= bytes.size());
        Check(c.defined || c.cp == 0xFFFD || page->Number() == CodePage::kDefaultNumber);
        Check(c.cp != 0xFFFD || !c.defined);
        AppendUtf8(expected, c.cp);
        boundary[pos] = true;
        pos += c.length;
    }
    boundary[bytes.size()] = true;
    const std::string text = DecodeText(bytes, *page);
    Check(text == expected);
    for (std::size_t i = 0; i < text.size();) {
        const std::optional<Utf8Char> c = ReadUtf8(text, i);
        Check(c && c->valid);
        i += c->length;
    }

    // What the editor writes back reads as what was shown, a replacement as '?'.
    std::string shown;
    for (std::size_t i = 0; i < text.size();) {
        const Utf8Char c = *ReadUtf8(text, i);
        if (c.cp == 0xFFFD) {
            shown += '?';
        } else {
            shown.append(text, i, c.length);
        }
        i += c.length;
    }
    Check(DecodeText(EncodeText(text, *page), *page) == shown);

    // A prefix ends on a character's end.
    const std::size_t max = data[0] % 64;
    const std::size_t prefix = CharacterPrefix(bytes, max, *page);
    Check(prefix <= max && prefix <= bytes.size() && boundary[prefix]);
    Check(prefix == std::min(max, bytes.size()) || prefix + 2 > max);

    // Folding keeps the length and the text's equality with itself.
    const std::string folded = FoldedKey(bytes, *page);
    Check(folded.size() == bytes.size());
    Check(EqualsIgnoreCase(bytes, folded, *page));
    Check(EqualsIgnoreCase(bytes, bytes, *page));
    return 0;
}
