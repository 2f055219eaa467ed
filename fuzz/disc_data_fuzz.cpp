// The disc data file is untrusted: loading it and every lookup the front end makes on it must
// end in lines or in the one error type, never in a crash.
#include "base/error.h"
#include "base/text.h"
#include "catalogue/disc_rules.h"
#include "catalogue/line_list.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

template <typename F> void Guarded(F&& f) {
    try {
        f();
    } catch (const kestrova::Error&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kestrova;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    LineList list;
    list.LoadFromBytes(bytes);

    int spriteCount = 0;
    Guarded([&] { spriteCount = StrToInt(list.KeyValue(kSpriteCountKey)); });
    Guarded([&] { (void)list.KeyValue(kTechSupportKey); });
    (void)list.HasKey(kDiscTwoKey);
    for (int n = 0; n < 4; ++n) {
        Guarded([&] { (void)list.EntryLine(n, kRecordSupport); });
        (void)EntryInstallProgram(list, n);
        (void)EntrySecondProgram(list, n);
        (void)EntryReadmePath(list, n);
    }
    // Opening a menu and choosing any of its lines never fails, whatever the file holds.
    for (const Section& section : kSections) {
        for (const std::string& caption : MenuCaptions(list, section.key, spriteCount)) {
            (void)ChooseCaption(list, section.key, caption, spriteCount);
            (void)Cp1252ToUtf8(caption);
        }
    }
    // Every line as a chosen caption, bounded so a many-line input stays quick.
    for (int i = 0; i < list.Count() && i < 64; ++i) {
        (void)ChooseCaptionAt(list, "utility", i, spriteCount);
        (void)ChooseCaptionAt(list, "tobrik", i, spriteCount);
        (void)Utf8ToCp1252(list.Get(i));
    }
    if (list.Count() > 0) {
        LineList copy;
        copy.Assign(list);
        copy.Delete(0);
        copy.Add(std::string(bytes.substr(0, 16)));
    }
    return 0;
}
