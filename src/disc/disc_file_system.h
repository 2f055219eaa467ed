#pragma once
// The disc as the front end reads it: one read-only file system with two implementations, a
// folder of this machine and a CD image (see disc_image/). Every reader of a disc file goes
// through the one in use, so both follow the same path rules ("\" and "/" separate, letter case
// does not matter, an exact match wins) and the same ceilings (disc_limits.h).

#include "disc/disc_limits.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kestrova {

enum class DiscEntryKind { None, File, Folder, Other };

struct DiscEntryInfo {
    DiscEntryKind kind = DiscEntryKind::None;
    uint64_t size = 0;
    bool executable = false; // marked as a program (a folder's mode bits, Rock Ridge in an image)
};

// A file an image reads its sectors from (the image itself, or a cue sheet and the data files it
// names), as it was when the image was opened.
struct ImageSourceFile {
    std::string path;
    uint64_t device = 0;
    uint64_t inode = 0;
    uint64_t size = 0;
    int64_t modifiedSeconds = 0;
    int64_t modifiedNanoseconds = 0;

    bool operator==(const ImageSourceFile&) const = default;
};

class DiscFileSystem {
  public:
    virtual ~DiscFileSystem() = default;
    // The current directory string: the disc root as the front end spells it in front of its
    // paths, ending with "/". Paths given to the calls below are relative to the root or begin
    // with it.
    virtual std::string Root() const = 0;
    // Whether the disc is an image, whose files exist on this machine only once copied out.
    virtual bool IsImage() const = 0;
    // `path` with every component spelt as on the disc, or the path as given with "/" for every
    // separator when some component is not found.
    virtual std::string Resolve(const std::string& path) const = 0;
    virtual DiscEntryInfo Stat(const std::string& path) const = 0;
    // The bytes of a regular file, at most kind.maxBytes. Fails with kestrova::Error
    // "Cannot open file " + path, whose Detail() names the file and the reason.
    virtual std::vector<uint8_t> Read(const std::string& path, const FileKind& kind) const = 0;
    // At most `bytes` bytes from the start of a regular file (to tell what kind of file it is);
    // empty when it cannot be read.
    virtual std::vector<uint8_t> ReadHead(const std::string& path, std::size_t bytes) const = 0;
    // The names in a folder, sorted; fails with kestrova::Error when it cannot be listed.
    virtual std::vector<std::string> List(const std::string& folder) const = 0;
    // The file on this machine that `path` names, when the disc is a folder.
    virtual std::optional<std::string> LocalPath(const std::string& path) const = 0;
    // Where `path` lies inside a CD image, spelt as the image spells it, relative to the root
    // ("engine/loading.html"); nothing on a folder disc or for a path outside the disc.
    virtual std::optional<std::string> ImagePath(const std::string&) const { return std::nullopt; }
    // The files an image reads its sectors from, as they were when it was opened; none for a
    // folder. The image is another disc once any of them changes.
    virtual std::vector<ImageSourceFile> SourceFiles() const { return {}; }
};

// A folder of this machine; the disc root is the current directory.
class FolderFileSystem : public DiscFileSystem {
  public:
    std::string Root() const override;
    bool IsImage() const override { return false; }
    std::string Resolve(const std::string& path) const override;
    DiscEntryInfo Stat(const std::string& path) const override;
    std::vector<uint8_t> Read(const std::string& path, const FileKind& kind) const override;
    std::vector<uint8_t> ReadHead(const std::string& path, std::size_t bytes) const override;
    std::vector<std::string> List(const std::string& folder) const override;
    std::optional<std::string> LocalPath(const std::string& path) const override;
};

// The disc in use; a folder (the current directory) until another is put in.
DiscFileSystem& CurrentDisc();
// Puts `disc` in; nullptr goes back to the folder.
void UseDisc(std::shared_ptr<DiscFileSystem> disc);

// Puts a disc in for as long as it lives (tests, tools).
class ScopedDisc {
  public:
    explicit ScopedDisc(std::shared_ptr<DiscFileSystem> disc);
    ~ScopedDisc();
    ScopedDisc(const ScopedDisc&) = delete;
    ScopedDisc& operator=(const ScopedDisc&) = delete;

  private:
    std::shared_ptr<DiscFileSystem> previous_;
};

// Whether `path` names a regular file of the disc in use.
bool DiscFileExists(const std::string& path);

// "Cannot open file " + path with `reason` in its detail.
[[noreturn]] void RefuseDiscFile(const std::string& path, const std::string& reason);
// "is larger than the 4 MiB limit for a disc data file"
std::string TooLargeFor(const FileKind& kind);

} // namespace kestrova
