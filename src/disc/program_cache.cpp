#include "disc/program_cache.h"

#include "base/error.h"
#include "base/safe_file_writer.h"
#include "disc/disc_limits.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>

namespace kestrova {

namespace {

namespace fs = std::filesystem;

[[noreturn]] void Fail(const std::string& what, const std::string& reason) {
    throw Error("Cannot copy " + what + " out of the disc image", what + ": " + reason);
}

// The image's own folder in the cache: its volume name, and a hash of where the image is, its
// size and its time, so a changed or another image never reuses the copies of this one.
std::string DiscKey(const ImageFileSystem& image) {
    const std::string file = image.Root().substr(0, image.Root().size() - 1);
    struct stat st {};
    std::string identity = file;
    if (::stat(file.c_str(), &st) == 0) {
        identity += '\n' + std::to_string(st.st_size) + '\n' + std::to_string(st.st_mtim.tv_sec) +
                    '.' + std::to_string(st.st_mtim.tv_nsec);
    }
    uint64_t hash = 1469598103934665603ULL;
    for (const char c : identity) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    }
    std::string name;
    for (const char c : image.Volume().VolumeId()) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '_' || c == '-') {
            name += c;
        }
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return (name.empty() ? std::string("disc") : name.substr(0, 32)) + "-" + hex;
}

class Copier {
  public:
    Copier(const ImageFileSystem& image, fs::path root, std::string shown)
        : image_(image), root_(std::move(root)), shown_(std::move(shown)) {}

    void File(const IsoEntry& entry, const fs::path& target, bool program) {
        Count(entry);
        struct stat st {};
        if (::lstat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            static_cast<uint64_t>(st.st_size) == entry.size) {
            // Copied before, from the same image; the program itself must be startable.
            if (program) {
                ::chmod(target.c_str(), 0755);
            }
            return;
        }
        SafeWriteOptions options;
        // Copies stay inside the cache folder, and a link planted there is never written through.
        options.confineTo = root_.string();
        options.followLink = false;
        options.mode = program || entry.executable ? 0755u : 0644u;
        SafeFileWriter writer(target.string(), options);
        try {
            image_.Volume().Stream(entry, [&](const uint8_t* bytes, std::size_t count) {
                writer.Write(bytes, count);
            });
        } catch (const Error& e) {
            Fail(shown_, e.Detail());
        }
        if (!writer.Commit()) {
            Fail(shown_, writer.Failure()->Text());
        }
    }

    void Folder(const IsoEntry& folder, const fs::path& target, int depth) {
        if (depth > kMaxImageWalkDepth) {
            Fail(shown_, "the image's folders nest more than " +
                             std::to_string(kMaxImageWalkDepth) + " deep");
        }
        if (!entered_.insert(folder.extent).second) {
            Fail(shown_, "the image's folders loop back on themselves (a damaged image)");
        }
        MakeFolder(target);
        // Copied: the list is held while its folders are entered, which may read others.
        const std::vector<IsoEntry> entries = image_.Volume().Folder(folder);
        for (const IsoEntry& entry : entries) {
            if (entry.folder) {
                Folder(entry, target / entry.name, depth + 1);
            } else if (entry.regular) {
                File(entry, target / entry.name, false);
            }
        }
    }

    void MakeFolder(const fs::path& target) {
        std::error_code ec;
        fs::create_directories(target, ec);
        if (ec || fs::is_symlink(target, ec) || !fs::is_directory(target, ec)) {
            Fail(shown_, target.string() + ": the cache folder cannot be made");
        }
    }

  private:
    void Count(const IsoEntry& entry) {
        if (++entries_ > kMaxImageWalkEntries) {
            Fail(shown_, "more than " + std::to_string(kMaxImageWalkEntries) + " files to copy");
        }
        bytes_ += entry.size;
        if (bytes_ > kMaxProgramCopyBytes) {
            Fail(shown_, "more than the limit of " + std::to_string(kMaxProgramCopyBytes) +
                             " bytes to copy");
        }
    }

    const ImageFileSystem& image_;
    fs::path root_;
    std::string shown_;
    std::set<uint32_t> entered_;
    int entries_ = 0;
    uint64_t bytes_ = 0;
};

} // namespace

std::string DefaultProgramCache() {
    const char* xdg = std::getenv("XDG_CACHE_HOME");
    std::string base;
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home && home[0] == '/' ? home : "/tmp") + "/.cache";
    }
    return base + "/kestrova/discs";
}

CopiedFile CopyOutOfImage(const ImageFileSystem& image, const std::string& discPath,
                          bool withFolder, const std::string& cacheRoot) {
    const auto parts = image.Components(discPath);
    std::vector<std::string> spelled;
    std::optional<IsoEntry> entry;
    try {
        if (parts) {
            entry = image.Volume().Find(*parts, &spelled);
        }
    } catch (const Error& e) {
        Fail(discPath, e.Detail());
    }
    if (!entry || entry->folder || !entry->regular) {
        Fail(discPath, "no such file in the disc image");
    }
    const fs::path root = fs::path(cacheRoot) / DiscKey(image);
    fs::path folder = root;
    for (std::size_t i = 0; i + 1 < spelled.size(); ++i) {
        folder /= spelled[i];
    }
    Copier copier(image, root, discPath);
    copier.MakeFolder(folder);
    const fs::path target = folder / spelled.back();
    if (withFolder) {
        std::vector<std::string> up(parts->begin(), parts->end() - 1);
        const std::optional<IsoEntry> holder = image.Volume().Find(up);
        if (!holder) {
            Fail(discPath, "its folder cannot be found");
        }
        copier.Folder(*holder, folder, 0);
    }
    copier.File(*entry, target, true);
    return {target.string(), root.string() + "/"};
}

} // namespace kestrova
