#include "disc/program_cache.h"

#include "base/error.h"
#include "base/safe_file_writer.h"
#include "disc/disc_limits.h"
#include "disc/program_kind.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

namespace kestrova {

namespace {

namespace fs = std::filesystem;

constexpr unsigned kProgramMode = 0755;
constexpr unsigned kFileMode = 0644;
constexpr unsigned kFolderMode = 0700;

// A copy that cannot go on, told apart from the image's own errors, which it wraps.
class CopyFailure : public Error {
  public:
    using Error::Error;
};

[[noreturn]] void Fail(const std::string& what, const std::string& reason) {
    throw CopyFailure("Cannot copy " + what + " out of the disc image", what + ": " + reason);
}

std::string Reason(int error) {
    return std::strerror(error);
}

// An open file descriptor, closed when it goes.
class Fd {
  public:
    Fd() = default;
    explicit Fd(int fd) : fd_(fd) {}
    Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Fd& operator=(Fd&& other) noexcept {
        if (this != &other) {
            Close();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    ~Fd() { Close(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;

    int Get() const { return fd_; }

  private:
    void Close() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = -1;
    }
    int fd_ = -1;
};

// The image's own folder in the cache: its volume name, and a hash of the volume (its name and
// its root) and of every file the image reads (which file it is, its size and its time), so a
// changed or another image never meets the copies of this one.
std::string DiscKey(const ImageFileSystem& image) {
    const IsoEntry& root = image.Volume().Root();
    std::string identity = image.Volume().VolumeId() + '\n' + std::to_string(root.extent) + ' ' +
                           std::to_string(root.size) + '\n';
    if (image.Files().empty()) {
        identity += image.Root() + '\n';
    }
    for (const ImageSourceFile& file : image.Files()) {
        identity += file.path + '\n' + std::to_string(file.device) + ' ' +
                    std::to_string(file.inode) + ' ' + std::to_string(file.size) + ' ' +
                    std::to_string(file.modifiedSeconds) + '.' +
                    std::to_string(file.modifiedNanoseconds) + '\n';
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

// A folder met in the cache must be the user's; below the cache folder it is also made
// owner-only.
void CheckOwnFolder(int fd, const std::string& shown, const std::string& what, bool ownerOnly) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISDIR(st.st_mode)) {
        Fail(what, shown + ": is not a folder");
    }
    if (st.st_uid != ::geteuid()) {
        Fail(what, shown + ": belongs to another user (uid " + std::to_string(st.st_uid) +
                       "), so nothing is copied there");
    }
    if (ownerOnly && (st.st_mode & 07777u) != kFolderMode && ::fchmod(fd, kFolderMode) != 0) {
        Fail(what, shown + ": " + Reason(errno));
    }
}

// The folder `name` inside `parent`, entered without following a link, and made (owner-only)
// when missing; `made` says whether it was.
Fd OwnFolder(int parent, const std::string& name, const std::string& shown, const std::string& what,
             bool* made = nullptr) {
    constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    Fd fd(::openat(parent, name.c_str(), kFlags));
    if (fd.Get() < 0 && errno == ENOENT) {
        if (::mkdirat(parent, name.c_str(), kFolderMode) == 0) {
            if (made) {
                *made = true;
            }
        } else if (errno != EEXIST) {
            Fail(what, shown + ": the cache folder cannot be made (" + Reason(errno) + ")");
        }
        fd = Fd(::openat(parent, name.c_str(), kFlags));
    }
    if (fd.Get() < 0) {
        const int error = errno;
        struct stat st {};
        if (::fstatat(parent, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
            if (S_ISLNK(st.st_mode)) {
                Fail(what, shown + ": is a symbolic link, which the cache never follows");
            }
            if (!S_ISDIR(st.st_mode)) {
                Fail(what, shown + ": is not a folder");
            }
        }
        Fail(what, shown + ": " + Reason(error));
    }
    CheckOwnFolder(fd.Get(), shown, what, true);
    return fd;
}

// The user's cache folder, made (owner-only) as far as it is missing; it must be the user's.
Fd OpenCacheFolder(const std::string& folder, const std::string& what) {
    if (folder.empty()) {
        Fail(what, "there is no cache folder of your own to copy it to (neither XDG_CACHE_HOME nor "
                   "HOME is an absolute path)");
    }
    if (folder.front() != '/') {
        Fail(what, folder + ": the cache folder is not an absolute path");
    }
    std::string prefix;
    for (const fs::path& part : fs::path(folder).relative_path()) {
        if (part.empty()) {
            continue;
        }
        prefix += '/';
        prefix += part.string();
        struct stat st {};
        if (::stat(prefix.c_str(), &st) != 0 && errno == ENOENT &&
            ::mkdir(prefix.c_str(), kFolderMode) != 0 && errno != EEXIST) {
            Fail(what, prefix + ": the cache folder cannot be made (" + Reason(errno) + ")");
        }
    }
    Fd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() < 0) {
        Fail(what, folder + ": the cache folder cannot be opened (" + Reason(errno) + ")");
    }
    CheckOwnFolder(fd.Get(), folder, what, false);
    return fd;
}

bool Stopped(const std::atomic<bool>* stop) {
    return stop && stop->load();
}

// One copy into the cache at a time, across processes too: two copies of one disc would remove
// each other's files when one fails. A file system without locks copies unlocked.
void LockCache(int discs, const std::atomic<bool>* stop, const std::string& what) {
    while (::flock(discs, LOCK_EX | (stop ? LOCK_NB : 0)) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            return;
        }
        if (Stopped(stop)) {
            Fail(what, "the copy was stopped");
        }
        if (errno == EWOULDBLOCK) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
}

// Programs are made executable: the program started, and files whose header or Rock Ridge mode
// says they are programs.
unsigned ModeFor(std::span<const uint8_t> head, const IsoEntry& entry, bool program) {
    return program || KindOfProgram(head, entry.executable) != ProgramKind::Document ? kProgramMode
                                                                                     : kFileMode;
}

std::string Joined(const std::vector<std::string>& parts, const std::string& last = {}) {
    std::string path;
    for (const std::string& part : parts) {
        path += (path.empty() ? "" : "/") + part;
    }
    if (!last.empty()) {
        path += (path.empty() ? "" : "/") + last;
    }
    return path;
}

struct PlannedFile {
    IsoEntry entry;
    bool program = false; // the program started: executable whatever its header
};

struct PlannedFolder {
    std::vector<std::string> path; // below the disc's own folder in the cache
    std::vector<PlannedFile> files;
};

// Everything one copy will write, walked and counted before anything is written: entries,
// depth, loops, and the bytes, each extent of the image counted once.
class Planner {
  public:
    Planner(Iso9660Volume& volume, std::string what) : volume_(volume), what_(std::move(what)) {}

    void Folder(const IsoEntry& folder, const std::vector<std::string>& path, int depth) {
        if (depth > kMaxImageWalkDepth) {
            Fail(what_, "the image's folders nest more than " + std::to_string(kMaxImageWalkDepth) +
                            " deep");
        }
        if (!entered_.insert(folder.extent).second) {
            Fail(what_, "the image's folders loop back on themselves (a damaged image)");
        }
        const std::size_t index = folders.size();
        folders.push_back({path, {}});
        std::vector<IsoEntry> entries;
        try {
            // Copied: the list is held while its folders are entered, which may read others.
            entries = volume_.Folder(folder);
        } catch (const Error& e) {
            Fail(what_, e.Detail());
        }
        for (const IsoEntry& entry : entries) {
            if (entry.folder) {
                Count(entry, false);
                std::vector<std::string> below = path;
                below.push_back(entry.name);
                Folder(entry, below, depth + 1);
            } else if (entry.regular) {
                Count(entry, true);
                folders[index].files.push_back({entry, false});
            }
        }
    }

    void File(const IsoEntry& file, const std::vector<std::string>& path) {
        Count(file, true);
        folders.push_back({path, {{file, false}}});
    }

    std::vector<PlannedFolder> folders;

  private:
    void Count(const IsoEntry& entry, bool bytes) {
        if (++entries_ > kMaxImageWalkEntries) {
            Fail(what_, "more than " + std::to_string(kMaxImageWalkEntries) + " files to copy");
        }
        if (bytes && extents_.insert({entry.extent, entry.size}).second) {
            bytes_ += entry.size;
            if (bytes_ > kMaxProgramCopyBytes) {
                Fail(what_, "its folder holds more than the limit of " +
                                std::to_string(kMaxProgramCopyBytes) + " bytes to copy");
            }
        }
    }

    Iso9660Volume& volume_;
    std::string what_;
    std::set<uint32_t> entered_;
    std::set<std::pair<uint32_t, uint32_t>> extents_;
    int entries_ = 0;
    uint64_t bytes_ = 0;
};

// Writes a plan below the disc's own folder, every folder entered from the one above it. A copy
// that fails removes the files it wrote and the folders it made.
class Copier {
  public:
    Copier(Iso9660Volume& volume, int own, std::string ownShown, std::string what,
           const std::atomic<bool>* stop)
        : volume_(volume), own_(own), ownShown_(std::move(ownShown)), what_(std::move(what)),
          stop_(stop) {}

    void Copy(const std::vector<PlannedFolder>& folders) {
        try {
            for (const PlannedFolder& folder : folders) {
                const int fd = Enter(folder.path);
                for (const PlannedFile& file : folder.files) {
                    File(fd, folder.path, file);
                }
            }
            chain_.clear();
        } catch (...) {
            RemoveMade();
            throw;
        }
    }

  private:
    // Where a copy of an extent lies: further entries of the same extent are linked to it.
    struct Placed {
        std::vector<std::string> folder;
        std::string name;
        dev_t device;
        ino_t inode;
    };
    using Extent = std::tuple<uint32_t, uint32_t, bool, bool>;

    std::string Shown(const std::vector<std::string>& path, const std::string& name = {}) const {
        const std::string below = Joined(path, name);
        return below.empty() ? ownShown_ : ownShown_ + "/" + below;
    }

    void CheckStop() const {
        if (Stopped(stop_)) {
            Fail(what_, "the copy was stopped");
        }
    }

    // The folder `path`, entered from the folders already open on the way.
    int Enter(const std::vector<std::string>& path) {
        std::size_t common = 0;
        while (common < chain_.size() && common < path.size() &&
               chain_[common].first == path[common]) {
            ++common;
        }
        while (chain_.size() > common) {
            chain_.pop_back();
        }
        for (std::size_t i = common; i < path.size(); ++i) {
            const int parent = i == 0 ? own_ : chain_[i - 1].second.Get();
            const std::vector<std::string> here(path.begin(),
                                                path.begin() + static_cast<long>(i) + 1);
            bool made = false;
            Fd fd = OwnFolder(parent, path[i], Shown(here), what_, &made);
            if (made) {
                madeFolders_.push_back(here);
            }
            chain_.emplace_back(path[i], std::move(fd));
        }
        return path.empty() ? own_ : chain_.back().second.Get();
    }

    // A folder already there, entered again from the disc's own folder; nothing when it cannot be.
    std::optional<Fd> Reopen(const std::vector<std::string>& path) const {
        Fd fd(::fcntl(own_, F_DUPFD_CLOEXEC, 0));
        for (const std::string& part : path) {
            if (fd.Get() < 0) {
                break;
            }
            fd = Fd(
                ::openat(fd.Get(), part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        }
        if (fd.Get() < 0) {
            return std::nullopt;
        }
        return fd;
    }

    void File(int folder, const std::vector<std::string>& path, const PlannedFile& file) {
        CheckStop();
        const IsoEntry& entry = file.entry;
        const Extent extent{entry.extent, entry.size, entry.executable, file.program};
        if (entry.size > 0) {
            const auto placed = placed_.find(extent);
            if (placed != placed_.end() && Link(folder, path, entry.name, placed->second)) {
                return;
            }
        }
        struct stat st {};
        if (!Matches(folder, path, entry, file.program, st)) {
            Write(folder, path, entry, file.program);
            if (::fstatat(folder, entry.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
                Fail(what_, Shown(path, entry.name) + ": " + Reason(errno));
            }
        }
        if (entry.size > 0) {
            placed_.insert_or_assign(extent, Placed{path, entry.name, st.st_dev, st.st_ino});
        }
    }

    // Whether the copy already there holds the image's bytes; its mode is then set right.
    bool Matches(int folder, const std::vector<std::string>& path, const IsoEntry& entry,
                 bool program, struct stat& st) {
        const Fd fd(::openat(folder, entry.name.c_str(),
                             O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode) ||
            st.st_uid != ::geteuid() || static_cast<uint64_t>(st.st_size) != entry.size) {
            return false;
        }
        struct Differs {};
        std::vector<uint8_t> head;
        std::vector<uint8_t> copy;
        uint64_t at = 0;
        try {
            volume_.Stream(entry, [&](const uint8_t* bytes, std::size_t count) {
                CheckStop();
                if (head.size() < kProgramHeadBytes) {
                    head.insert(head.end(), bytes,
                                bytes + std::min(count, kProgramHeadBytes - head.size()));
                }
                copy.resize(count);
                std::size_t got = 0;
                while (got < count) {
                    const ssize_t n = ::pread(fd.Get(), copy.data() + got, count - got,
                                              static_cast<off_t>(at + got));
                    if (n < 0 && errno == EINTR) {
                        continue;
                    }
                    if (n <= 0) {
                        throw Differs{};
                    }
                    got += static_cast<std::size_t>(n);
                }
                if (std::memcmp(copy.data(), bytes, count) != 0) {
                    throw Differs{};
                }
                at += count;
            });
        } catch (const Differs&) {
            return false;
        } catch (const CopyFailure&) {
            throw;
        } catch (const Error& e) {
            Fail(what_, e.Detail());
        }
        const unsigned mode = ModeFor(head, entry, program);
        if ((st.st_mode & 07777u) != mode && ::fchmod(fd.Get(), mode) != 0) {
            Fail(what_, Shown(path, entry.name) + ": " + Reason(errno));
        }
        return true;
    }

    void Write(int folder, const std::vector<std::string>& path, const IsoEntry& entry,
               bool program) {
        const std::string shown = Shown(path, entry.name);
        SafeWriteOptions options;
        options.folder = folder;
        options.followLink = false;
        std::optional<SafeFileWriter> writer;
        const auto open = [&](std::span<const uint8_t> head) {
            options.mode = ModeFor(head, entry, program);
            writer.emplace(entry.name, options);
            if (writer->Failed()) {
                Fail(what_, shown + ": " + writer->Failure()->reason);
            }
        };
        try {
            volume_.Stream(entry, [&](const uint8_t* bytes, std::size_t count) {
                CheckStop();
                if (!writer) {
                    open({bytes, std::min(count, kProgramHeadBytes)});
                }
                written_ += count;
                if (written_ > kMaxProgramCopyBytes) {
                    Fail(what_, "more than the limit of " + std::to_string(kMaxProgramCopyBytes) +
                                    " bytes to write");
                }
                if (!writer->Write(bytes, count)) {
                    Fail(what_, shown + ": " + writer->Failure()->reason);
                }
            });
        } catch (const CopyFailure&) {
            throw;
        } catch (const Error& e) {
            Fail(what_, e.Detail());
        }
        if (!writer) {
            open({});
        }
        if (!writer->Commit()) {
            Fail(what_, shown + ": " + writer->Failure()->reason);
        }
        madeFiles_.emplace_back(path, entry.name);
    }

    // Links `name` to the copy of the same extent made before; false when the file system
    // cannot (too many links, no links at all), and the entry is then copied.
    bool Link(int folder, const std::vector<std::string>& path, const std::string& name,
              const Placed& source) {
        struct stat st {};
        if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
            if (S_ISREG(st.st_mode) && st.st_dev == source.device && st.st_ino == source.inode) {
                return true;
            }
            if (S_ISLNK(st.st_mode)) {
                Fail(what_,
                     Shown(path, name) + ": it is a symbolic link, which is not written through");
            }
            if (!S_ISREG(st.st_mode)) {
                Fail(what_, Shown(path, name) + ": it is not a regular file");
            }
        }
        std::optional<Fd> other;
        int from = folder;
        if (source.folder != path) {
            other = Reopen(source.folder);
            if (!other) {
                return false;
            }
            from = other->Get();
        }
        const std::string temporary = "." + name + ".link";
        ::unlinkat(folder, temporary.c_str(), 0);
        if (::linkat(from, source.name.c_str(), folder, temporary.c_str(), 0) != 0) {
            return false;
        }
        if (::renameat(folder, temporary.c_str(), folder, name.c_str()) != 0) {
            const int error = errno;
            ::unlinkat(folder, temporary.c_str(), 0);
            Fail(what_, Shown(path, name) + ": " + Reason(error));
        }
        madeFiles_.emplace_back(path, name);
        return true;
    }

    void RemoveMade() {
        chain_.clear();
        for (auto file = madeFiles_.rbegin(); file != madeFiles_.rend(); ++file) {
            if (const std::optional<Fd> folder = Reopen(file->first)) {
                ::unlinkat(folder->Get(), file->second.c_str(), 0);
            }
        }
        for (auto made = madeFolders_.rbegin(); made != madeFolders_.rend(); ++made) {
            const std::vector<std::string> parent(made->begin(), made->end() - 1);
            if (const std::optional<Fd> folder = Reopen(parent)) {
                ::unlinkat(folder->Get(), made->back().c_str(), AT_REMOVEDIR);
            }
        }
    }

    Iso9660Volume& volume_;
    int own_;
    std::string ownShown_;
    std::string what_;
    const std::atomic<bool>* stop_;
    std::vector<std::pair<std::string, Fd>> chain_;
    std::vector<std::vector<std::string>> madeFolders_;
    std::vector<std::pair<std::vector<std::string>, std::string>> madeFiles_;
    std::map<Extent, Placed> placed_;
    uint64_t written_ = 0;
};

} // namespace

std::string UserCacheFolder() {
    const char* xdg = std::getenv("XDG_CACHE_HOME");
    if (xdg && xdg[0] == '/') {
        return xdg;
    }
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') {
        return std::string(home) + (std::string_view(home).ends_with('/') ? "" : "/") + ".cache";
    }
    return {};
}

CopiedFile CopyOutOfImage(const ImageFileSystem& image, const std::string& discPath,
                          bool withFolder, const std::string& cacheFolder,
                          const std::atomic<bool>* stop) {
    const auto parts = image.Components(discPath);
    std::vector<std::string> spelled;
    std::optional<IsoEntry> entry;
    try {
        if (parts && !parts->empty()) {
            entry = image.Volume().Find(*parts, &spelled);
        }
    } catch (const Error& e) {
        Fail(discPath, e.Detail());
    }
    if (!entry || entry->folder || !entry->regular) {
        Fail(discPath, "no such file in the disc image");
    }

    // Everything is walked and counted before anything is written.
    const std::vector<std::string> up(spelled.begin(), spelled.end() - 1);
    Planner plan(image.Volume(), discPath);
    if (withFolder) {
        std::optional<IsoEntry> holder;
        try {
            holder = image.Volume().Find({parts->begin(), parts->end() - 1});
        } catch (const Error& e) {
            Fail(discPath, e.Detail());
        }
        if (!holder) {
            Fail(discPath, "its folder cannot be found");
        }
        plan.Folder(*holder, up, 0);
        bool found = false;
        for (PlannedFile& file : plan.folders.front().files) {
            if (file.entry.name == spelled.back() && file.entry.extent == entry->extent) {
                file.program = found = true;
            }
        }
        if (!found) {
            Fail(discPath, "it is not in its own folder (a damaged image)");
        }
    } else {
        plan.File(*entry, up);
    }

    std::string base = cacheFolder;
    while (base.size() > 1 && base.back() == '/') {
        base.pop_back();
    }
    const Fd cache = OpenCacheFolder(base, discPath);
    const std::string top = (base == "/" ? "" : base) + "/kestrova";
    const Fd kestrova = OwnFolder(cache.Get(), "kestrova", top, discPath);
    const Fd discs = OwnFolder(kestrova.Get(), "discs", top + "/discs", discPath);
    LockCache(discs.Get(), stop, discPath);
    const std::string key = DiscKey(image);
    const std::string discRoot = top + "/discs/" + key;
    bool made = false;
    const Fd own = OwnFolder(discs.Get(), key, discRoot, discPath, &made);
    try {
        Copier(image.Volume(), own.Get(), discRoot, discPath, stop).Copy(plan.folders);
    } catch (...) {
        if (made) {
            ::unlinkat(discs.Get(), key.c_str(), AT_REMOVEDIR);
        }
        throw;
    }
    return {discRoot + "/" + Joined(spelled), discRoot + "/"};
}

} // namespace kestrova
