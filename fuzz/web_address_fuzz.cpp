// Addresses come from pages, which are hostile: reading a command out of one must never crash,
// never read outside it, and never let a page off the disc command anything or a "claunch_" name
// a file off the disc. Input: the current directory string, a line end, the address; without a
// line end the whole input is the address on the disc "/disc/".
#include "engine/web_address.h"

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

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kestrova;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string_view directory = "/disc/";
    std::string_view address = bytes;
    if (const std::size_t cut = bytes.find('\n'); cut != std::string_view::npos) {
        directory = bytes.substr(0, cut);
        address = bytes.substr(cut + 1);
    }

    const WebAddress read = ReadWebAddress(address, directory);
    Check(read.cancel == CancelsNavigation(read.command));
    const bool onDisc = IsDiscAddress(address, directory);
    if (!onDisc) {
        // Off the disc only the shape of a "topbrow_" web address counts.
        Check(read.command == WebCommand::None || read.command == WebCommand::Topbrow);
        Check(read.argument.empty());
        Check(read.command == WebCommand::None || HasTopbrowShape(address));
    }
    if (!read.argument.empty()) {
        // The argument is the tail of the address behind a prefix at exactly d + 6.
        Check(onDisc);
        Check(read.argument.data() >= address.data());
        Check(read.argument.data() + read.argument.size() == address.data() + address.size());
        const std::size_t at = static_cast<std::size_t>(read.argument.data() - address.data());
        Check(at == directory.size() + kWebPrefixOffset + kWebPrefixLength);
        Check(address.substr(0, kLocalFileMark.size()) == kLocalFileMark);
        Check(address.substr(kLocalFileMark.size(), directory.size()) == directory);
    }
    if (read.command == WebCommand::Claunch && IsDiscRelativePath(read.argument)) {
        const std::string_view a = read.argument;
        Check(!a.empty() && !IsSeparator(a[0]));
        Check(a.find(':') == std::string_view::npos);
        std::size_t start = 0;
        for (std::size_t i = 0; i <= a.size(); ++i) {
            if (i == a.size() || IsSeparator(a[i])) {
                Check(a.substr(start, i - start) != "..");
                start = i + 1;
            } else {
                Check(static_cast<unsigned char>(a[i]) >= 0x20 && a[i] != 0x7F);
            }
        }
    }
    (void)EqualsLower(read.argument, "exit");
    return 0;
}
