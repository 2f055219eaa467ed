#include "shelf/found_disc.h"

#include "base/error.h"
#include "disc/cue_sheet.h"
#include "disc/disc_limits.h"
#include "disc/disc_path.h"
#include "engine/disc_requirements.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kestrova {

namespace {

// Sub-folders looked into below the folder given: a shelf folder of discs sorted into a few
// levels of their own ("Magazines/1999/June") is found, a whole home folder is not walked.
constexpr int kFindDepth = 4;
// Entries looked at in all, however the folders are laid out, so a huge tree cannot stall the
// shelf.
constexpr std::size_t kMostEntriesLooked = 50000;
// Entries one folder may hold and still be read whole.
constexpr std::size_t kMostEntriesInFolder = 10000;

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/') {
        return folder + name;
    }
    return folder + "/" + name;
}

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

bool EndsWithIgnoreCase(const std::string& name, const char* suffix) {
    const std::size_t n = std::strlen(suffix);
    return name.size() > n && Lower(name.substr(name.size() - n)) == suffix;
}

std::optional<DiscForm> ImageFormOf(const std::string& name) {
    if (EndsWithIgnoreCase(name, ".iso")) {
        return DiscForm::Iso;
    }
    if (EndsWithIgnoreCase(name, ".cue")) {
        return DiscForm::Cue;
    }
    if (EndsWithIgnoreCase(name, ".bin")) {
        return DiscForm::Bin;
    }
    return std::nullopt;
}

// The names in `folder`, unsorted, without "." and ".."; nothing when it cannot be read or holds
// more than a folder may. `reason` gets why.
std::optional<std::vector<std::string>> ListFolder(const std::string& folder,
                                                   std::string* reason = nullptr) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) {
        if (reason) {
            *reason = std::strerror(errno);
        }
        return std::nullopt;
    }
    std::vector<std::string> names;
    errno = 0;
    while (dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        if (names.size() >= kMostEntriesInFolder) {
            closedir(dir);
            if (reason) {
                *reason = "holds more than " + std::to_string(kMostEntriesInFolder) + " entries";
            }
            return std::nullopt;
        }
        names.push_back(name);
    }
    const int error = errno;
    closedir(dir);
    if (error != 0) {
        if (reason) {
            *reason = std::strerror(error);
        }
        return std::nullopt;
    }
    return names;
}

// The entry of `folder` that the disc path `components` names, each component matched by the
// disc path rules; nothing when one is missing.
std::optional<std::string> FindInFolder(const std::string& folder,
                                        const std::vector<std::string>& components) {
    std::string at = folder;
    for (const std::string& part : components) {
        const auto names = ListFolder(at);
        if (!names) {
            return std::nullopt;
        }
        const auto picked = PickDiscEntry(*names, part);
        if (!picked) {
            return std::nullopt;
        }
        at = Join(at, *picked);
    }
    return at;
}

std::vector<std::string> DiscPathComponents(const std::string& discPath) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : discPath) {
        if (c == '\\' || c == '/') {
            if (!part.empty()) {
                parts.push_back(part);
            }
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) {
        parts.push_back(part);
    }
    return parts;
}

bool IsDiscFolder(const std::string& folder) {
    const auto data = FindInFolder(folder, DiscPathComponents(kDiscDataFile));
    struct stat st {};
    return data && stat(data->c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// A folder disc changes when any file start-up needs does, or appears: the size is theirs
// together, the time the latest of theirs and of the folders holding them (a file put in or
// taken out, or written by renaming, moves its folder's time).
void FolderFacts(const std::string& folder, FoundDisc& disc) {
    disc.size = 0;
    disc.modifiedSeconds = 0;
    std::set<std::string> folders;
    for (const std::string& file : RequiredFiles()) {
        auto parts = DiscPathComponents(file);
        struct stat st {};
        if (const auto found = FindInFolder(folder, parts);
            found && stat(found->c_str(), &st) == 0) {
            disc.size += static_cast<long long>(st.st_size);
            disc.modifiedSeconds = std::max<long long>(disc.modifiedSeconds, st.st_mtim.tv_sec);
        }
        parts.pop_back();
        std::string joined;
        for (const auto& p : parts) {
            joined += p + "/";
        }
        folders.insert(joined);
    }
    for (const std::string& sub : folders) {
        struct stat st {};
        const auto found = FindInFolder(folder, DiscPathComponents(sub));
        if (found && stat(found->c_str(), &st) == 0) {
            disc.modifiedSeconds = std::max<long long>(disc.modifiedSeconds, st.st_mtim.tv_sec);
        }
    }
}

// The text of a cue sheet, when it is a regular file no larger than a sheet may be.
std::optional<std::string> ReadCueText(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat st {};
    std::optional<std::string> text;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
        static_cast<uint64_t>(st.st_size) <= kCueSheetKind.maxBytes) {
        std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
        std::size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
            if (n <= 0) {
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        bytes.resize(got);
        text = std::move(bytes);
    }
    close(fd);
    return text;
}

// The files a cue sheet names, as paths; none when the sheet does not read.
std::vector<std::string> CueDataFiles(const std::string& cuePath) {
    std::vector<std::string> files;
    const auto text = ReadCueText(cuePath);
    if (!text) {
        return files;
    }
    try {
        const CueSheet sheet = ParseCueSheet(*text);
        const std::size_t slash = cuePath.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : cuePath.substr(0, slash);
        for (const CueFile& file : sheet.files) {
            if (!file.name.empty() && file.name.front() == '/') {
                files.push_back(file.name);
                continue;
            }
            const auto found = FindInFolder(folder, DiscPathComponents(file.name));
            files.push_back(found ? *found : Join(folder, file.name));
        }
    } catch (const Error&) {
        // A sheet that does not read names nothing; start-up says what is wrong with it.
    }
    return files;
}

// A cue sheet changes with the files it names: its size is theirs and its own together, its time
// the latest of them.
void CueFacts(const std::string& cuePath, FoundDisc& disc) {
    for (const std::string& file : CueDataFiles(cuePath)) {
        struct stat st {};
        if (stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            disc.size += static_cast<long long>(st.st_size);
            disc.modifiedSeconds = std::max<long long>(disc.modifiedSeconds, st.st_mtim.tv_sec);
        }
    }
}

std::optional<FoundDisc> Describe(const std::string& path, const struct stat& st) {
    FoundDisc disc;
    disc.path = path;
    if (S_ISDIR(st.st_mode)) {
        if (!IsDiscFolder(path)) {
            return std::nullopt;
        }
        disc.form = DiscForm::Folder;
        FolderFacts(path, disc);
        return disc;
    }
    if (!S_ISREG(st.st_mode)) {
        return std::nullopt;
    }
    const std::size_t slash = path.rfind('/');
    const auto form = ImageFormOf(slash == std::string::npos ? path : path.substr(slash + 1));
    if (!form) {
        return std::nullopt;
    }
    disc.form = *form;
    disc.size = static_cast<long long>(st.st_size);
    disc.modifiedSeconds = st.st_mtim.tv_sec;
    if (disc.form == DiscForm::Cue) {
        CueFacts(path, disc);
    }
    return disc;
}

// `path` against the current directory, "." and ".." taken away lexically (links stay as they
// are): the shelf names a disc the same whichever folder it was found from.
std::string AbsolutePath(const std::string& path) {
    std::error_code ec;
    std::string absolute = std::filesystem::absolute(path, ec).lexically_normal().string();
    if (ec) {
        absolute = path;
    }
    while (absolute.size() > 1 && absolute.back() == '/') {
        absolute.pop_back();
    }
    return absolute;
}

struct Walk {
    FindResult result;
    std::set<std::pair<dev_t, ino_t>> seen; // folders entered, so a link cannot lead round
    std::size_t looked = 0;

    bool Full() const {
        return result.discs.size() >= kMostFoundDiscs || looked >= kMostEntriesLooked;
    }

    void Folder(const std::string& folder, int depth) {
        auto names = ListFolder(folder);
        if (!names) {
            return;
        }
        std::sort(names->begin(), names->end());
        // A .bin that a cue sheet beside it names is found as the sheet.
        std::set<std::string> named;
        for (const std::string& name : *names) {
            if (ImageFormOf(name) == DiscForm::Cue) {
                for (const std::string& file : CueDataFiles(Join(folder, name))) {
                    named.insert(file);
                }
            }
        }
        std::vector<std::string> subFolders;
        for (const std::string& name : *names) {
            if (Full()) {
                return;
            }
            ++looked;
            if (name.front() == '.') {
                continue; // hidden: a desktop's trash, a tool's own state
            }
            const std::string path = Join(folder, name);
            struct stat st {};
            // Links are followed (a shelf of links to discs elsewhere), pipes and devices only
            // looked at, never opened.
            if (stat(path.c_str(), &st) != 0) {
                continue;
            }
            if (S_ISDIR(st.st_mode)) {
                if (!seen.insert({st.st_dev, st.st_ino}).second) {
                    continue;
                }
                if (auto disc = Describe(path, st)) {
                    result.discs.push_back(std::move(*disc));
                } else if (depth < kFindDepth) {
                    subFolders.push_back(path);
                }
            } else if (S_ISREG(st.st_mode)) {
                if (ImageFormOf(name) == DiscForm::Bin && named.count(path) != 0) {
                    continue;
                }
                if (auto disc = Describe(path, st)) {
                    result.discs.push_back(std::move(*disc));
                }
            }
        }
        for (const std::string& sub : subFolders) {
            Folder(sub, depth + 1);
        }
    }
};

} // namespace

FindResult FindDiscs(const std::string& given) {
    const std::string folder = given.empty() ? given : AbsolutePath(given);
    Walk walk;
    struct stat st {};
    std::string reason;
    if (stat(folder.c_str(), &st) != 0) {
        walk.result.error = "Cannot read the folder " + given + ": " + std::strerror(errno);
        return walk.result;
    }
    if (!S_ISDIR(st.st_mode)) {
        walk.result.error = "Cannot read the folder " + given + ": " + std::strerror(ENOTDIR);
        return walk.result;
    }
    if (!ListFolder(folder, &reason)) {
        walk.result.error = "Cannot read the folder " + given + ": " + reason;
        return walk.result;
    }
    walk.seen.insert({st.st_dev, st.st_ino});
    if (auto disc = Describe(folder, st)) {
        // The folder given is itself a disc.
        walk.result.discs.push_back(std::move(*disc));
        return walk.result;
    }
    walk.Folder(folder, 1);
    std::sort(walk.result.discs.begin(), walk.result.discs.end(),
              [](const FoundDisc& a, const FoundDisc& b) { return a.path < b.path; });
    return walk.result;
}

std::optional<FoundDisc> DescribeDisc(const std::string& path) {
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0) {
        return std::nullopt;
    }
    return Describe(AbsolutePath(path), st);
}

} // namespace kestrova
