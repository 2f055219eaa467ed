#include "catalogue/file_reader.h"

#include "catalogue/disc_path.h"
#include "catalogue/error.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace kestrova {

namespace {

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

[[noreturn]] void Refuse(const std::string& discPath, const std::string& reason) {
    throw Error("Cannot open file " + discPath, discPath + ": " + reason);
}

std::string TooLarge(const FileKind& kind) {
    return std::string("is larger than the ") + Limit(kind.maxBytes) + " limit for " + kind.name;
}

} // namespace

std::vector<uint8_t> ReadBoundedFile(const std::string& discPath, const FileKind& kind) {
    const std::string real = ResolveDiscPath(discPath);
    // Non-blocking, so that opening a pipe returns at once; the type is checked on what was
    // opened, not on the name, so nothing can be swapped in between.
    const Fd fd(::open(real.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        Refuse(discPath, std::strerror(errno));
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        Refuse(discPath, std::strerror(errno));
    }
    if (!S_ISREG(st.st_mode)) {
        Refuse(discPath, NotRegular(st.st_mode));
    }
    if (st.st_size < 0 || static_cast<uint64_t>(st.st_size) > kind.maxBytes) {
        Refuse(discPath, TooLarge(kind));
    }
    std::vector<uint8_t> bytes(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    // The file may change while it is read: never more than the limit, and one byte more tells
    // that it grew past it.
    for (;;) {
        if (got == bytes.size()) {
            if (bytes.size() > kind.maxBytes) {
                Refuse(discPath, TooLarge(kind));
            }
            bytes.resize(std::min(kind.maxBytes + 1, bytes.size() + 65536));
        }
        const ssize_t n = ::read(fd.get(), bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            Refuse(discPath, std::strerror(errno));
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    if (got > kind.maxBytes) {
        Refuse(discPath, TooLarge(kind));
    }
    bytes.resize(got);
    return bytes;
}

} // namespace kestrova
