#include "disc/file_reader.h"

#include "disc/disc_file_system.h"

namespace kestrova {

std::vector<uint8_t> ReadBoundedFile(const std::string& discPath, const FileKind& kind) {
    return CurrentDisc().Read(discPath, kind);
}

} // namespace kestrova
