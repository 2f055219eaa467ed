#include "base/safe_file_writer.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <utility>

namespace kestrova {

namespace {

std::string SystemReason(int error) {
    return std::strerror(error);
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::optional<std::string> RealPath(const std::string& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) {
        return std::nullopt;
    }
    return std::string(resolved);
}

bool Inside(const std::string& path, const std::string& folder) {
    if (folder == "/") {
        return true;
    }
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           path[folder.size()] == '/';
}

// The process's umask, read without changing it (setting it to read it back would race with
// other threads creating files).
unsigned CurrentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0) {
            return static_cast<unsigned>(std::strtoul(line.c_str() + 6, nullptr, 8)) & 0777u;
        }
    }
    return 022u;
}

// Six letters and digits for a temporary file's name.
std::string RandomSuffix() {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    unsigned char bytes[6] = {};
    if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
        static unsigned counter = 0;
        const unsigned seed = static_cast<unsigned>(::getpid()) * 2654435761u + ++counter;
        for (std::size_t i = 0; i < sizeof bytes; ++i) {
            bytes[i] = static_cast<unsigned char>(seed >> (4 * i));
        }
    }
    std::string suffix;
    for (const unsigned char b : bytes) {
        suffix += kLetters[b % (sizeof kLetters - 1)];
    }
    return suffix;
}

} // namespace

SafeFileWriter::SafeFileWriter(std::string target, SafeWriteOptions options)
    : target_(std::move(target)) {
    if (target_.empty()) {
        Fail("no file name was given");
        return;
    }
    if (options.folder >= 0) {
        OpenInFolder(options);
        return;
    }
    finalPath_ = target_;
    struct stat st {};
    if (::lstat(target_.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (!options.followLink) {
            Fail("it is a symbolic link, which is not written through");
            return;
        }
        const std::optional<std::string> named = RealPath(target_);
        if (!named) {
            Fail("it is a symbolic link to a file that does not exist");
            return;
        }
        // The link stays; the file it names is the one replaced.
        finalPath_ = *named;
    }
    if (!options.confineTo.empty()) {
        const std::optional<std::string> root = RealPath(options.confineTo);
        const std::optional<std::string> folder = RealPath(FolderOf(finalPath_));
        if (!root || !folder) {
            FailWithErrno(errno);
            return;
        }
        const std::string real =
            (*folder == "/" ? std::string() : *folder) + "/" + NameOf(finalPath_);
        if (!Inside(real, *root)) {
            Fail("it leads outside " + options.confineTo + " (to " + real +
                 "), so it is not written");
            return;
        }
    }
    const bool exists = ::stat(finalPath_.c_str(), &st) == 0;
    const std::optional<unsigned> mode = ModeFor(exists ? &st : nullptr, options);
    if (!mode) {
        return;
    }
    std::string pattern = FolderOf(finalPath_) + "/." + NameOf(finalPath_) + ".XXXXXX";
    fd_ = ::mkstemp(pattern.data());
    if (fd_ < 0) {
        FailWithErrno(errno);
        return;
    }
    tempPath_ = pattern;
    ::fcntl(fd_, F_SETFD, FD_CLOEXEC);
    if (::fchmod(fd_, static_cast<mode_t>(*mode)) != 0) {
        FailWithErrno(errno);
    }
}

void SafeFileWriter::OpenInFolder(const SafeWriteOptions& options) {
    folder_ = options.folder;
    if (target_ == "." || target_ == ".." || target_.find('/') != std::string::npos) {
        Fail("it is not a plain file name");
        return;
    }
    struct stat st {};
    const bool exists = ::fstatat(folder_, target_.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
    if (exists && S_ISLNK(st.st_mode)) {
        Fail("it is a symbolic link, which is not written through");
        return;
    }
    const std::optional<unsigned> mode = ModeFor(exists ? &st : nullptr, options);
    if (!mode) {
        return;
    }
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        const std::string name = "." + target_ + "." + RandomSuffix();
        fd_ = ::openat(folder_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                       0600);
        if (fd_ >= 0) {
            tempPath_ = name;
        } else if (errno != EEXIST) {
            FailWithErrno(errno);
            return;
        }
    }
    if (fd_ < 0) {
        FailWithErrno(EEXIST);
        return;
    }
    if (::fchmod(fd_, static_cast<mode_t>(*mode)) != 0) {
        FailWithErrno(errno);
    }
}

std::optional<unsigned> SafeFileWriter::ModeFor(const struct stat* existing,
                                                const SafeWriteOptions& options) {
    unsigned mode = 0666u & ~CurrentUmask();
    if (existing != nullptr) {
        // Only a regular file is replaced; it keeps its permissions.
        if (S_ISDIR(existing->st_mode)) {
            FailWithErrno(EISDIR);
            return std::nullopt;
        }
        if (!S_ISREG(existing->st_mode)) {
            Fail("it is not a regular file");
            return std::nullopt;
        }
        mode = static_cast<unsigned>(existing->st_mode) & 07777u;
    }
    return options.mode ? *options.mode : mode;
}

SafeFileWriter::~SafeFileWriter() {
    Discard();
}

bool SafeFileWriter::Write(std::span<const uint8_t> bytes) {
    return Write(bytes.data(), bytes.size());
}

bool SafeFileWriter::Write(const void* bytes, std::size_t count) {
    if (Failed() || committed_) {
        return false;
    }
    const auto* next = static_cast<const uint8_t*>(bytes);
    while (count > 0) {
        const ssize_t n = ::write(fd_, next, count);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            // A write that makes no progress without an error still means no room.
            return FailWithErrno(n < 0 ? errno : ENOSPC);
        }
        next += n;
        count -= static_cast<std::size_t>(n);
    }
    return true;
}

bool SafeFileWriter::Commit() {
    if (Failed() || committed_) {
        return false;
    }
    // Many file systems only report a full disk when the data is flushed or the file closed.
    if (::fsync(fd_) != 0) {
        return FailWithErrno(errno);
    }
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0) {
        return FailWithErrno(errno);
    }
    if (folder_ >= 0) {
        if (::renameat(folder_, tempPath_.c_str(), folder_, target_.c_str()) != 0) {
            return FailWithErrno(errno);
        }
        committed_ = true;
        ::fsync(folder_);
        return true;
    }
    if (::rename(tempPath_.c_str(), finalPath_.c_str()) != 0) {
        return FailWithErrno(errno);
    }
    committed_ = true;
    // The rename itself lasts only once the folder is synced. The new file is in place either
    // way, so a folder that cannot be synced (some file systems refuse) is not a failure.
    const int folder = ::open(FolderOf(finalPath_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

bool SafeFileWriter::Fail(const std::string& reason) {
    if (!failure_) {
        failure_ = WriteFailure{target_, reason};
    }
    Discard();
    return false;
}

bool SafeFileWriter::FailWithErrno(int error) {
    return Fail(SystemReason(error));
}

void SafeFileWriter::Discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!tempPath_.empty() && !committed_) {
        if (folder_ >= 0) {
            ::unlinkat(folder_, tempPath_.c_str(), 0);
        } else {
            ::unlink(tempPath_.c_str());
        }
    }
    tempPath_.clear();
}

std::optional<WriteFailure> WriteFileSafely(const std::string& path, std::span<const uint8_t> bytes,
                                            const SafeWriteOptions& options) {
    SafeFileWriter writer(path, options);
    writer.Write(bytes);
    writer.Commit();
    return writer.Failure();
}

std::optional<WriteFailure> WriteFileSafely(const std::string& path, const std::string& text,
                                            const SafeWriteOptions& options) {
    return WriteFileSafely(
        path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()), options);
}

} // namespace kestrova
