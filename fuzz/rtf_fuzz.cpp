// Readmes come from the disc and are hostile: whatever the bytes, the reader must end quickly with
// a bounded, well-formed result that the pane can show as it is.
#include "rich_text/rich_text.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool ValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t n = 0;
        uint32_t cp = 0;
        if (b < 0x80) {
            n = 1;
            cp = b;
        } else if ((b & 0xE0) == 0xC0) {
            n = 2;
            cp = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            n = 3;
            cp = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            n = 4;
            cp = b & 0x07;
        } else {
            return false;
        }
        if (s.size() - i < n) {
            return false;
        }
        for (std::size_t k = 1; k < n; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        constexpr uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kLeast[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        // No control characters reach the pane but its own tabs and line breaks.
        if ((cp < 0x20 && cp != '\t' && cp != '\n') || cp == 0x7F || (cp >= 0x80 && cp < 0xA0)) {
            return false;
        }
        i += n;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kestrova;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const RichText doc = ParseRtf(bytes);

    Check(doc.paragraphs.size() <= kRichTextMaxParagraphs);
    std::size_t textBytes = 0;
    std::size_t runs = 0;
    for (const RichParagraph& paragraph : doc.paragraphs) {
        for (const RichRun& run : paragraph.runs) {
            Check(!run.text.empty());
            Check(ValidUtf8(run.text));
            Check(run.size >= 0 && run.size <= 1638);
            Check(!run.colour || *run.colour <= 0xFFFFFF);
            Check(run.font.size() <= 128);
            Check(ValidUtf8(run.font));
            textBytes += run.text.size();
            ++runs;
        }
    }
    Check(textBytes <= kRichTextMaxTextBytes);
    Check(runs <= kRichTextMaxRuns);
    // Text comes only from the input: a file can't make more of it than a few bytes per byte
    // (a four-byte character from a one-byte escape at worst, or a tab per cell mark).
    Check(textBytes <= 4 * size + 16);
    Check(doc.PlainText().size() ==
          textBytes + (doc.paragraphs.empty() ? 0 : doc.paragraphs.size() - 1));
    return 0;
}
