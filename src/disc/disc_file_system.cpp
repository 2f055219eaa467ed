#include "disc/disc_file_system.h"

#include "base/error.h"
#include "base/fresh_memory.h"
#include "disc/disc_path.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace kestrova {

namespace {

namespace fs = std::filesystem;

class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

std::string Limit(std::size_t bytes) {
    if (bytes % kMiB == 0) {
        return std::to_string(bytes / kMiB) + " MiB";
    }
    return std::to_string(bytes) + " bytes";
}

const char* NotRegular(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "is a folder, not a regular file";
    }
    if (S_ISFIFO(mode)) {
        return "is a named pipe, not a regular file";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "is a device, not a regular file";
    }
    if (S_ISSOCK(mode)) {
        return "is a socket, not a regular file";
    }
    return "is not a regular file";
}

std::shared_ptr<DiscFileSystem>& Installed() {
    static std::shared_ptr<DiscFileSystem> disc = std::make_shared<FolderFileSystem>();
    return disc;
}

} // namespace

void RefuseDiscFile(const std::string& path, const std::string& reason) {
    throw Error("Cannot open file " + path, path + ": " + reason);
}

std::string TooLargeFor(const FileKind& kind) {
    return std::string("is larger than the ") + Limit(kind.maxBytes) + " limit for " + kind.name;
}

std::string FolderFileSystem::Root() const {
    std::error_code ec;
    std::string dir = fs::current_path(ec).string();
    if (dir.empty() || dir.back() != '/') {
        dir += '/';
    }
    return dir;
}

std::string FolderFileSystem::Resolve(const std::string& path) const {
    return ResolveDiscPath(path);
}

DiscEntryInfo FolderFileSystem::Stat(const std::string& path) const {
    DiscEntryInfo info;
    struct stat st {};
    if (::stat(ResolveDiscPath(path).c_str(), &st) != 0) {
        return info;
    }
    info.kind = S_ISREG(st.st_mode)   ? DiscEntryKind::File
                : S_ISDIR(st.st_mode) ? DiscEntryKind::Folder
                                      : DiscEntryKind::Other;
    info.size = st.st_size > 0 ? static_cast<uint64_t>(st.st_size) : 0;
    info.executable = (st.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) != 0;
    return info;
}

std::vector<uint8_t> FolderFileSystem::Read(const std::string& discPath,
                                            const FileKind& kind) const {
    const std::string real = ResolveDiscPath(discPath);
    // Non-blocking, so that opening a pipe returns at once; the type is checked on what was
    // opened, not on the name, so nothing can be swapped in between.
    const Fd fd(::open(real.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        RefuseDiscFile(discPath, std::strerror(errno));
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        RefuseDiscFile(discPath, std::strerror(errno));
    }
    if (!S_ISREG(st.st_mode)) {
        RefuseDiscFile(discPath, NotRegular(st.st_mode));
    }
    if (st.st_size < 0 || static_cast<uint64_t>(st.st_size) > kind.maxBytes) {
        RefuseDiscFile(discPath, TooLargeFor(kind));
    }
    // One byte more than the file holds, so that the read meeting its end needs no larger
    // buffer (and no copy of what was read into one).
    const auto room = static_cast<std::size_t>(st.st_size) + 1;
    std::vector<uint8_t> bytes;
    bytes.reserve(room);
    ReadyForWriting(bytes.data(), room);
    bytes.resize(room);
    std::size_t got = 0;
    // The file may change while it is read: never more than the limit, and one byte more tells
    // that it grew past it.
    for (;;) {
        if (got == bytes.size()) {
            if (bytes.size() > kind.maxBytes) {
                RefuseDiscFile(discPath, TooLargeFor(kind));
            }
            bytes.resize(std::min(kind.maxBytes + 1, bytes.size() + 65536));
        }
        const ssize_t n = ::read(fd.get(), bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            RefuseDiscFile(discPath, std::strerror(errno));
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    if (got > kind.maxBytes) {
        RefuseDiscFile(discPath, TooLargeFor(kind));
    }
    bytes.resize(got);
    return bytes;
}

std::vector<uint8_t> FolderFileSystem::ReadHead(const std::string& path, std::size_t bytes) const {
    const Fd fd(
        ::open(ResolveDiscPath(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat st {};
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return {};
    }
    std::vector<uint8_t> head(bytes);
    std::size_t got = 0;
    while (got < bytes) {
        const ssize_t n = ::read(fd.get(), head.data() + got, bytes - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    head.resize(got);
    return head;
}

std::vector<std::string> FolderFileSystem::List(const std::string& folder) const {
    std::error_code ec;
    const std::string real = ResolveDiscPath(folder.empty() ? std::string(".") : folder);
    std::vector<std::string> names;
    fs::directory_iterator it(real, ec);
    if (ec) {
        throw Error("Cannot open folder " + folder, folder + ": " + ec.message());
    }
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) {
            throw Error("Cannot open folder " + folder, folder + ": " + ec.message());
        }
        names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::string> FolderFileSystem::LocalPath(const std::string& path) const {
    return ResolveDiscPath(path);
}

DiscFileSystem& CurrentDisc() {
    return *Installed();
}

void UseDisc(std::shared_ptr<DiscFileSystem> disc) {
    Installed() = disc ? std::move(disc) : std::make_shared<FolderFileSystem>();
}

ScopedDisc::ScopedDisc(std::shared_ptr<DiscFileSystem> disc) : previous_(Installed()) {
    UseDisc(std::move(disc));
}

ScopedDisc::~ScopedDisc() {
    Installed() = std::move(previous_);
}

bool DiscFileExists(const std::string& path) {
    return CurrentDisc().Stat(path).kind == DiscEntryKind::File;
}

} // namespace kestrova
