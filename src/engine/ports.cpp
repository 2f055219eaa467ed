#include "engine/ports.h"

#include "catalogue/disc_path.h"

#include <filesystem>

namespace kestrova {

bool NullGif::LoadFromFile(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(ResolveDiscPath(path), ec)) {
        return false;
    }
    file_ = path;
    return true;
}

bool NullReadme::LoadFromFile(const std::string& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(ResolveDiscPath(file), ec)) {
        return false;
    }
    path = file;
    return true;
}

} // namespace kestrova
