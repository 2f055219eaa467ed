// CD images are untrusted: any sectors must open, list, resolve and read through the image file
// system, or fail with the reader's one error type, within the ceilings. The input is the image
// from its volume descriptors on (the 16 sectors before them are zeros on every image); a walk
// visits every folder once.
#include "base/error.h"
#include "disc/disc_limits.h"
#include "disc/image_file_system.h"

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

namespace {

constexpr kestrova::FileKind kFuzzFile{"a fuzzed file", 256 * 1024};

void Walk(const kestrova::ImageFileSystem& disc, const std::string& folder, int depth,
          std::set<uint32_t>& seen, int& budget) {
    if (depth > 8 || --budget < 0) {
        return;
    }
    const std::optional<kestrova::IsoEntry> self = disc.Find(folder);
    if (!self || !self->folder || !seen.insert(self->extent).second) {
        return;
    }
    for (const std::string& name : disc.List(folder)) {
        const std::string path = folder.empty() ? name : folder + "/" + name;
        const kestrova::DiscEntryInfo info = disc.Stat(path);
        disc.Resolve(path);
        if (info.kind == kestrova::DiscEntryKind::Folder) {
            Walk(disc, path, depth + 1, seen, budget);
        } else if (info.kind == kestrova::DiscEntryKind::File) {
            try {
                const std::vector<uint8_t> bytes = disc.Read(path, kFuzzFile);
                if (bytes.size() != info.size) {
                    __builtin_trap();
                }
            } catch (const kestrova::Error&) {
            }
            disc.ReadHead(path, 64);
        }
        if (--budget < 0) {
            return;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4 * 1024 * 1024) {
        return 0;
    }
    std::vector<uint8_t> image(16 * kestrova::kIsoSectorBytes, 0);
    image.insert(image.end(), data, data + size);
    image.resize((image.size() + kestrova::kIsoSectorBytes - 1) / kestrova::kIsoSectorBytes *
                 kestrova::kIsoSectorBytes);
    try {
        const kestrova::ImageFileSystem disc(
            "/disc.iso", std::make_unique<kestrova::MemorySectors>(std::move(image)));
        std::set<uint32_t> seen;
        int budget = 2000;
        Walk(disc, "", 0, seen, budget);
        disc.Stat("/disc.iso/ENGINE\\data\\..\\DATA/discdata.kvx");
        disc.Resolve("../../etc/passwd");
    } catch (const kestrova::Error&) {
    }
    return 0;
}
