#include "pictures/disc_file.h"

#include "catalogue/file_reader.h"

namespace kestrova {

std::vector<uint8_t> ReadDiscFile(const std::string& discPath, const FileKind& kind) {
    return ReadBoundedFile(discPath, kind);
}

} // namespace kestrova
