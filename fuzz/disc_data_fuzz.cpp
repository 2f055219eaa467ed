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
    Guarded([&] { spriteCount = StrToInt(list.KeyValue("*Spritecount")); });
    Guarded([&] { (void)list.KeyValue("*techsupport"); });
    (void)list.HasKey("*disctwo");
    for (const std::string& title : DemosMenu(list, spriteCount)) {
        Guarded([&] { (void)EntryNumberFromChosenLine(list, title); });
        (void)Cp1252ToUtf8(title);
    }
    for (int n = 0; n < 4; ++n) {
        Guarded([&] { (void)list.EntryLine(n, 9); });
    }
    for (const auto& pair : PairMenu(list, "*BEGINUTILITIES", "*ENDUTILITIES")) {
        Guarded([&] { (void)EntryNumberFromChosenLine(list, pair.first); });
        (void)TargetOfCaption(list, pair.first);
    }
    for (const auto& pair : RecordMenu(list, "*SUPPORT")) {
        (void)ClassifyTarget(pair.second);
        (void)TargetOfCaption(list, pair.first);
    }
    // Every line as a chosen caption, bounded so a many-line input stays quick.
    for (int i = 0; i < list.Count() && i < 64; ++i) {
        Guarded([&] { (void)EntryNumberFromChosenLine(list, list.Get(i)); });
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
