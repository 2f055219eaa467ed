#pragma once
// The one way the program and its tools write a file. The bytes go to a fresh temporary file in
// the target's folder; only once every byte is written, closed and synced is it renamed over the
// target, and the folder synced. Until then the old file stays exactly as it was, and after a
// failure no temporary file is left behind.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

struct stat;

namespace kestrova {

struct SafeWriteOptions {
    // When set, the file written, after following a symbolic link at the target, must lie inside
    // this folder: a link that leads elsewhere is refused, so a disc copied from somewhere else
    // cannot make the program overwrite a user's file.
    std::string confineTo;
    // False: a symbolic link at the target is refused rather than written through.
    bool followLink = true;
    // The file's permission bits. Unset: a file that exists keeps its own, a new one gets 0666
    // less the process's umask.
    std::optional<unsigned> mode;
    // An open folder the target is a plain name in (no "/"): the file is made, renamed and synced
    // there, so no path to the folder is looked up again while it is written, and a symbolic link
    // at the target is refused as with followLink false. The caller keeps the folder open while
    // the writer lives. -1: the target is a path.
    int folder = -1;
};

// Why a write failed: the file as the caller named it, and the system's reason ("No space left
// on device").
struct WriteFailure {
    std::string file;
    std::string reason;
    std::string Text() const { return file + ": " + reason; }
};

// A file being replaced. Nothing is visible at the target until Commit() succeeds; destroying
// the writer before that discards the temporary file.
class SafeFileWriter {
  public:
    explicit SafeFileWriter(std::string target, SafeWriteOptions options = {});
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // False once anything has failed; the failure says why.
    bool Write(std::span<const uint8_t> bytes);
    bool Write(const void* bytes, std::size_t count);
    bool Commit();

    bool Failed() const { return failure_.has_value(); }
    const std::optional<WriteFailure>& Failure() const { return failure_; }
    // The file the bytes end up in: the target, or the file its symbolic link names.
    const std::string& FinalPath() const { return finalPath_; }

  private:
    void OpenInFolder(const SafeWriteOptions& options);
    // The permissions the new file gets, `existing` being the file it replaces (null for none);
    // nothing, after failing, when that is no regular file.
    std::optional<unsigned> ModeFor(const struct stat* existing, const SafeWriteOptions& options);
    bool Fail(const std::string& reason);
    bool FailWithErrno(int error);
    void Discard();

    std::string target_;
    std::string finalPath_;
    std::string tempPath_;
    int fd_ = -1;
    int folder_ = -1; // the open folder of SafeWriteOptions::folder, not owned
    bool committed_ = false;
    std::optional<WriteFailure> failure_;
};

// Replaces `path` with `bytes` through a SafeFileWriter; nothing on success.
std::optional<WriteFailure> WriteFileSafely(const std::string& path, std::span<const uint8_t> bytes,
                                            const SafeWriteOptions& options = {});

// Text the same way.
std::optional<WriteFailure> WriteFileSafely(const std::string& path, const std::string& text,
                                            const SafeWriteOptions& options = {});

} // namespace kestrova
