#include "disc/image_file_system.h"

#include "base/error.h"

#include <algorithm>

namespace kestrova {

namespace {

std::string Slashed(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

} // namespace

ImageFileSystem::ImageFileSystem(std::string root, std::unique_ptr<SectorSource> sectors,
                                 std::vector<ImageSourceFile> files)
    : root_(Slashed(std::move(root))), files_(std::move(files)),
      volume_(std::make_unique<Iso9660Volume>(std::move(sectors))) {
    if (root_.empty() || root_.back() != '/') {
        root_ += '/';
    }
}

std::optional<std::vector<std::string>> ImageFileSystem::Components(const std::string& path) const {
    std::string rest = Slashed(path);
    const std::string bare = root_.substr(0, root_.size() - 1);
    if (rest.compare(0, root_.size(), root_) == 0) {
        rest.erase(0, root_.size());
    } else if (rest == bare) {
        rest.clear();
    } else if (!rest.empty() && rest.front() == '/') {
        return std::nullopt; // a path of this machine, not of the disc
    }
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = rest.find('/', start);
        if (end == std::string::npos) {
            end = rest.size();
        }
        const std::string part = rest.substr(start, end - start);
        if (part == "..") {
            if (parts.empty()) {
                return std::nullopt;
            }
            parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    return parts;
}

std::optional<IsoEntry> ImageFileSystem::Find(const std::string& path) const {
    const auto parts = Components(path);
    if (!parts) {
        return std::nullopt;
    }
    return volume_->Find(*parts);
}

std::optional<std::string> ImageFileSystem::ImagePath(const std::string& path) const {
    const auto parts = Components(path);
    if (!parts) {
        return std::nullopt;
    }
    // As the image spells it, or as written when it is not there.
    const std::string real = Resolve(path);
    if (real.compare(0, root_.size(), root_) == 0) {
        return real.substr(root_.size());
    }
    std::string inside;
    for (const std::string& part : *parts) {
        inside += (inside.empty() ? "" : "/") + part;
    }
    return inside;
}

std::string ImageFileSystem::Resolve(const std::string& path) const {
    const std::string fallback = Slashed(path);
    const auto parts = Components(path);
    if (!parts) {
        return fallback;
    }
    try {
        std::vector<std::string> spelled;
        if (!volume_->Find(*parts, &spelled)) {
            return fallback;
        }
        std::string real = root_;
        for (std::size_t i = 0; i < spelled.size(); ++i) {
            real += spelled[i];
            if (i + 1 < spelled.size() || (!fallback.empty() && fallback.back() == '/')) {
                real += '/';
            }
        }
        return real;
    } catch (const Error&) {
        return fallback;
    }
}

DiscEntryInfo ImageFileSystem::Stat(const std::string& path) const {
    DiscEntryInfo info;
    try {
        const std::optional<IsoEntry> entry = Find(path);
        if (!entry) {
            return info;
        }
        info.kind = entry->folder    ? DiscEntryKind::Folder
                    : entry->regular ? DiscEntryKind::File
                                     : DiscEntryKind::Other;
        info.size = entry->size;
        info.executable = entry->executable;
    } catch (const Error&) {
        info = {};
    }
    return info;
}

std::vector<uint8_t> ImageFileSystem::Read(const std::string& path, const FileKind& kind) const {
    std::optional<IsoEntry> entry;
    try {
        entry = Find(path);
    } catch (const Error& e) {
        RefuseDiscFile(path, e.Detail());
    }
    if (!entry) {
        RefuseDiscFile(path, "no such file in the disc image");
    }
    if (entry->folder) {
        RefuseDiscFile(path, "is a folder, not a regular file");
    }
    if (!entry->regular) {
        RefuseDiscFile(path, "is not a regular file");
    }
    if (entry->size > kind.maxBytes) {
        RefuseDiscFile(path, TooLargeFor(kind));
    }
    try {
        return volume_->Read(*entry, kind.maxBytes);
    } catch (const Error& e) {
        RefuseDiscFile(path, e.Detail());
    }
}

std::vector<uint8_t> ImageFileSystem::ReadHead(const std::string& path, std::size_t bytes) const {
    try {
        const std::optional<IsoEntry> entry = Find(path);
        if (!entry || entry->folder || !entry->regular) {
            return {};
        }
        IsoEntry head = *entry;
        head.size = static_cast<uint32_t>(std::min<std::size_t>(head.size, bytes));
        return volume_->Read(head, bytes);
    } catch (const Error&) {
        return {};
    }
}

std::vector<std::string> ImageFileSystem::List(const std::string& folder) const {
    std::optional<IsoEntry> entry;
    try {
        entry = Find(folder);
        if (!entry || !entry->folder) {
            throw Error("Cannot open folder " + folder,
                        folder + ": no such folder in the disc image");
        }
        std::vector<std::string> names;
        for (const IsoEntry& e : volume_->Folder(*entry)) {
            names.push_back(e.name);
        }
        std::sort(names.begin(), names.end());
        return names;
    } catch (const Error& e) {
        if (e.what() == std::string("Cannot open folder " + folder)) {
            throw;
        }
        throw Error("Cannot open folder " + folder, folder + ": " + e.Detail());
    }
}

} // namespace kestrova
