#include "pictures/disc_file.h"

#include "catalogue/disc_path.h"
#include "catalogue/error.h"
#include "catalogue/file_reader.h"

#include <cstdio>
#include <fstream>

namespace kestrova {

std::vector<uint8_t> ReadDiscFile(const std::string& discPath, const FileKind& kind) {
    return ReadBoundedFile(discPath, kind);
}

void WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes) {
    const std::string target = ResolveDiscPath(path);
    // Written beside the target first so that a failed write leaves the old file whole.
    const std::string temp = target + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (out) {
            out.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<std::streamsize>(bytes.size()));
        }
        if (!out) {
            std::remove(temp.c_str());
            throw Error("Cannot create file " + path);
        }
    }
    if (std::rename(temp.c_str(), target.c_str()) != 0) {
        std::remove(temp.c_str());
        throw Error("Cannot create file " + path);
    }
}

} // namespace kestrova
