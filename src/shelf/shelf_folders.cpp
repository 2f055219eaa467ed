#include "shelf/shelf_folders.h"

#include <cstdlib>

namespace kestrova {

namespace {

std::string Absolute(const char* name) {
    const char* value = std::getenv(name);
    if (!value || value[0] != '/') {
        return {};
    }
    std::string path = value;
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

} // namespace

std::vector<std::string> DefaultShelfFolders() {
    std::vector<std::string> folders;
    const std::string home = Absolute("HOME");
    if (!home.empty()) {
        folders.push_back(home + "/Kestrova");
    }
    std::string data = Absolute("XDG_DATA_HOME");
    if (data.empty() && !home.empty()) {
        data = home + "/.local/share";
    }
    if (!data.empty()) {
        folders.push_back(data + "/kestrova/discs");
    }
    return folders;
}

} // namespace kestrova
