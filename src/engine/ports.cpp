#include "engine/ports.h"

#include "disc/disc_file_system.h"

namespace kestrova {

bool NullGif::LoadFromFile(const std::string& path) {
    if (!DiscFileExists(path)) {
        return false;
    }
    file_ = path;
    return true;
}

bool NullReadme::LoadFromFile(const std::string& file, CodePage) {
    if (!DiscFileExists(file)) {
        return false;
    }
    path = file;
    return true;
}

} // namespace kestrova
