#include "shelf/found_disc.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace kestrova {

namespace fs = std::filesystem;

std::optional<FoundDisc> DescribeDisc(const std::string& path) {
    std::error_code ec;
    const fs::path p(path);
    const auto status = fs::status(p, ec);
    if (ec) {
        return std::nullopt;
    }
    FoundDisc disc{p.lexically_normal().string(), DiscForm::Folder};
    if (fs::is_directory(status)) {
        if (!fs::is_regular_file(p / "engine" / "data" / "discdata.kvx", ec)) {
            return std::nullopt;
        }
    } else if (fs::is_regular_file(status)) {
        std::string ext = p.extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (ext == ".iso") {
            disc.form = DiscForm::Iso;
        } else if (ext == ".cue") {
            disc.form = DiscForm::Cue;
        } else if (ext == ".bin") {
            disc.form = DiscForm::Bin;
        } else {
            return std::nullopt;
        }
        disc.size = static_cast<long long>(fs::file_size(p, ec));
    } else {
        return std::nullopt;
    }
    return disc;
}

FindResult FindDiscs(const std::string& folder) {
    FindResult result;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) {
        result.error = "Cannot read the folder " + folder + ": " + ec.message();
        return result;
    }
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (auto disc = DescribeDisc(it->path().string())) {
            result.discs.push_back(*disc);
        }
    }
    return result;
}

} // namespace kestrova
