#include "disc/cdio/open_disc.h"

#include "base/error.h"
#include "base/text.h"
#include "disc/cue_sheet.h"
#include "disc/disc_limits.h"
#include "disc/image_file_system.h"

#include <cdio/iso9660.h>
#include <cdio/logging.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

namespace kestrova {

namespace {

namespace fs = std::filesystem;

[[noreturn]] void Refuse(const std::string& path, const std::string& reason) {
    throw Error("Cannot open disc image " + path, path + ": " + reason);
}

// libcdio reports on standard error by itself; its words may quote the image, so they are kept
// from the terminal.
void QuietLog(cdio_log_level_t, const char*) {}

void QuietLibrary() {
    static const bool once = [] {
        cdio_log_set_handler(QuietLog);
        return true;
    }();
    (void)once;
}

// An open file descriptor, closed when it goes.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd_(other.Release()) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor& operator=(Descriptor&&) = delete;

    int Get() const { return fd_; }
    int Release() { return std::exchange(fd_, -1); }

  private:
    int fd_;
};

// Which file `path` is, and its size and time, from its status.
ImageSourceFile SourceFile(const std::string& path, const struct stat& st) {
    ImageSourceFile file;
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    file.path = ec ? path : absolute.lexically_normal().string();
    file.device = static_cast<uint64_t>(st.st_dev);
    file.inode = static_cast<uint64_t>(st.st_ino);
    file.size = static_cast<uint64_t>(std::max<off_t>(st.st_size, 0));
    file.modifiedSeconds = static_cast<int64_t>(st.st_mtim.tv_sec);
    file.modifiedNanoseconds = static_cast<int64_t>(st.st_mtim.tv_nsec);
    return file;
}

// A regular file opened for reading, with its size; refuses anything else without waiting on it
// (a pipe, a device). Which file it is goes to `opened`: the image is read from these files and
// no others, and is another disc when any of them changes.
Descriptor OpenRegularFile(const std::string& path, const std::string& shown, uint64_t& size,
                           std::vector<ImageSourceFile>& opened) {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.Get() < 0) {
        Refuse(shown, std::strerror(errno));
    }
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        Refuse(shown, "is not a regular file");
    }
    size = static_cast<uint64_t>(std::max<off_t>(st.st_size, 0));
    opened.push_back(SourceFile(path, st));
    return fd;
}

// A name for the file `fd` holds open, for a library that opens files only by name: its entry in
// /proc opens that very file, whatever has taken `path` since it was checked. Without /proc there
// is only the path.
std::string NameOfOpenFile(const Descriptor& fd, const std::string& path) {
    const std::string name = "/proc/self/fd/" + std::to_string(fd.Get());
    struct stat held {};
    struct stat named {};
    if (::fstat(fd.Get(), &held) == 0 && ::stat(name.c_str(), &named) == 0 &&
        held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
        return name;
    }
    return path;
}

// `count` bytes at `offset`; false when the file ends before them or cannot be read.
bool ReadAt(int fd, uint8_t* out, std::size_t count, uint64_t offset) {
    while (count > 0) {
        const ssize_t got = ::pread(fd, out, count, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        out += got;
        count -= static_cast<std::size_t>(got);
        offset += static_cast<uint64_t>(got);
    }
    return true;
}

bool EndsWithIgnoreCase(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           EqualsIgnoreCase(std::string_view(text).substr(text.size() - tail.size()), tail);
}

// Sectors of a plain image through libiso9660, which reads the file `fd` holds open. When the
// library had to search for the volume, the frames it found need not be 2048 bytes apart, so
// sectors are then read one by one.
class IsoImageSectors : public SectorSource {
  public:
    IsoImageSectors(iso9660_t* iso, Descriptor fd, uint32_t count, bool oneByOne)
        : iso_(iso), fd_(std::move(fd)), count_(count), oneByOne_(oneByOne) {}
    ~IsoImageSectors() override { iso9660_close(iso_); }
    IsoImageSectors(const IsoImageSectors&) = delete;
    IsoImageSectors& operator=(const IsoImageSectors&) = delete;

    uint32_t SectorCount() const override { return count_; }
    bool ReadSectors(uint32_t first, uint32_t count, uint8_t* out) override {
        if (first > count_ || count > count_ - first) {
            return false;
        }
        if (!oneByOne_) {
            const long want = static_cast<long>(count) * static_cast<long>(kIsoSectorBytes);
            return iso9660_iso_seek_read(iso_, out, static_cast<lsn_t>(first), count) == want;
        }
        for (uint32_t i = 0; i < count; ++i) {
            if (iso9660_iso_seek_read(iso_, out + std::size_t{i} * kIsoSectorBytes,
                                      static_cast<lsn_t>(first + i),
                                      1) != static_cast<long>(kIsoSectorBytes)) {
                return false;
            }
        }
        return true;
    }

  private:
    iso9660_t* iso_;
    Descriptor fd_;
    uint32_t count_;
    bool oneByOne_;
};

// A raw CD frame: a 12-byte sync pattern, a 4-byte header ending in the mode byte, then the
// sector's 2048 bytes of user data (Mode 1), or an 8-byte subheader and then the user data
// (Mode 2 Form 1); error-detection and -correction bytes fill the rest.
constexpr uint32_t kRawFrameBytes = 2352;
constexpr uint8_t kSync[12] = {0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0};
constexpr std::size_t kModeAt = 15;
constexpr std::size_t kSubmodeAt = 18;
constexpr uint8_t kSubmodeForm2 = 0x20;
constexpr uint32_t kMode1DataAt = 16;
constexpr uint32_t kMode2Form1DataAt = 24;
constexpr std::size_t kFrameHeadBytes = 24;
// The sector holding the primary volume descriptor.
constexpr uint32_t kDescriptorSector = 16;

bool HasSync(const uint8_t* head) {
    return std::memcmp(head, kSync, sizeof kSync) == 0;
}

// Where a frame's user data starts, from its header; nothing for a frame of another kind.
std::optional<uint32_t> UserDataOffset(const uint8_t* head) {
    if (head[kModeAt] == 1) {
        return kMode1DataAt;
    }
    if (head[kModeAt] == 2 && (head[kSubmodeAt] & kSubmodeForm2) == 0) {
        return kMode2Form1DataAt;
    }
    return std::nullopt;
}

// The sectors of a file of frames from `startByte` on, each frame `frameBytes` long and holding
// its 2048 bytes of user data at `dataAt`.
class FrameSectors : public SectorSource {
  public:
    FrameSectors(Descriptor fd, uint64_t startByte, uint32_t frameBytes, uint32_t dataAt,
                 uint32_t count)
        : fd_(std::move(fd)), startByte_(startByte), frameBytes_(frameBytes), dataAt_(dataAt),
          count_(count) {}

    uint32_t SectorCount() const override { return count_; }
    bool ReadSectors(uint32_t first, uint32_t count, uint8_t* out) override {
        if (first > count_ || count > count_ - first) {
            return false;
        }
        static constexpr uint32_t kFramesAtOnce = 32;
        while (count > 0) {
            const uint32_t frames = std::min(count, kFramesAtOnce);
            buffer_.resize(std::size_t{frames} * frameBytes_);
            if (!ReadAt(fd_.Get(), buffer_.data(), buffer_.size(),
                        startByte_ + uint64_t{first} * frameBytes_)) {
                return false;
            }
            for (uint32_t i = 0; i < frames; ++i) {
                std::memcpy(out, buffer_.data() + std::size_t{i} * frameBytes_ + dataAt_,
                            kIsoSectorBytes);
                out += kIsoSectorBytes;
            }
            first += frames;
            count -= frames;
        }
        return true;
    }

  private:
    Descriptor fd_;
    uint64_t startByte_;
    uint32_t frameBytes_;
    uint32_t dataAt_;
    uint32_t count_;
    std::vector<uint8_t> buffer_;
};

// The sectors of a file of raw frames, their layout read from the frames themselves; nothing
// (and `fd` left open) when neither its first frame nor the frame of the volume descriptor starts
// with the sync pattern.
std::unique_ptr<SectorSource> OpenRawFrames(Descriptor& fd, uint64_t size,
                                            const std::string& path) {
    uint8_t first[kFrameHeadBytes] = {};
    uint8_t descriptor[kFrameHeadBytes] = {};
    const bool firstSync = ReadAt(fd.Get(), first, sizeof first, 0) && HasSync(first);
    const bool descriptorSync = ReadAt(fd.Get(), descriptor, sizeof descriptor,
                                       uint64_t{kDescriptorSector} * kRawFrameBytes) &&
                                HasSync(descriptor);
    if (!firstSync && !descriptorSync) {
        return nullptr;
    }
    // The frame of the volume descriptor decides; an image cut short before it goes by its first
    // frame (and is then found too short).
    const uint8_t* head = descriptorSync ? descriptor : first;
    const std::optional<uint32_t> dataAt = UserDataOffset(head);
    if (!dataAt) {
        Refuse(path, "holds raw 2352-byte frames, but its frame of sector " +
                         std::to_string(descriptorSync ? kDescriptorSector : 0) +
                         " is neither Mode 1 nor Mode 2 Form 1 (mode byte " +
                         std::to_string(head[kModeAt]) + ")");
    }
    const auto count = static_cast<uint32_t>(std::min<uint64_t>(size / kRawFrameBytes, UINT32_MAX));
    return std::make_unique<FrameSectors>(Descriptor(fd.Release()), 0, kRawFrameBytes, *dataAt,
                                          count);
}

// The whole of a regular file already opened, when it is at most `limit` bytes.
std::optional<std::string> ReadWhole(int fd, std::size_t limit) {
    std::string text(limit + 1, '\0');
    std::size_t have = 0;
    while (have < text.size()) {
        const ssize_t got = ::read(fd, text.data() + have, text.size() - have);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        have += static_cast<std::size_t>(got);
    }
    if (have > limit) {
        return std::nullopt;
    }
    text.resize(have);
    return text;
}

// A cue sheet's first data track, read by the front end itself from the file the sheet names.
// The sheet and every file it names are opened once each, without waiting, and taken only when
// they are regular files: nothing is opened again by name afterwards, so neither a pipe nor a
// device swapped in later is ever read.
std::unique_ptr<SectorSource> OpenCue(const std::string& cue, Descriptor sheetFd, uint64_t size,
                                      std::vector<ImageSourceFile>& opened) {
    std::optional<std::string> text;
    if (size <= kCueSheetKind.maxBytes) {
        text = ReadWhole(sheetFd.Get(), kCueSheetKind.maxBytes);
    }
    if (!text) {
        Refuse(cue, size > kCueSheetKind.maxBytes ? "is larger than the limit for a cue sheet"
                                                  : "cannot be read");
    }
    CueSheet sheet;
    std::optional<CueDataTrack> track;
    try {
        sheet = ParseCueSheet(*text);
        track = FirstCueDataTrack(sheet);
    } catch (const Error& e) {
        Refuse(cue, std::string("the cue sheet is bad: ") + e.what());
    }
    if (sheet.files.empty()) {
        Refuse(cue, "the cue sheet names no file");
    }

    // Names are taken from the sheet's own folder.
    const fs::path folder = fs::path(cue).parent_path();
    std::optional<Descriptor> data;
    uint64_t dataSize = 0;
    for (std::size_t i = 0; i < sheet.files.size(); ++i) {
        const std::string& name = sheet.files[i].name;
        const fs::path target = fs::path(name).is_absolute() ? fs::path(name) : folder / name;
        uint64_t fileSize = 0;
        Descriptor fd = OpenRegularFile(target.string(), cue + " (" + name + ")", fileSize, opened);
        if (track && i == track->file) {
            data.emplace(std::move(fd));
            dataSize = fileSize;
        }
    }
    if (!track) {
        Refuse(cue, "the cue sheet holds no data track");
    }
    return std::make_unique<FrameSectors>(std::move(*data), track->startByte,
                                          track->layout.frameBytes, track->layout.dataAt,
                                          CueTrackSectors(*track, dataSize));
}

// How many user-data sectors a plain image holds (or one of 2336-byte frames, which carry no
// sync pattern).
uint32_t SectorsOf(uint64_t size) {
    uint64_t frame = kIsoSectorBytes;
    if (size % kIsoSectorBytes != 0 && size % 2336 == 0) {
        frame = 2336;
    }
    return static_cast<uint32_t>(std::min<uint64_t>(size / frame, UINT32_MAX));
}

} // namespace

bool IsDiscImageFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

std::unique_ptr<SectorSource> OpenImageSectors(const std::string& path,
                                               std::vector<ImageSourceFile>* files) {
    std::vector<ImageSourceFile> ignored;
    std::vector<ImageSourceFile>& opened = files ? *files : ignored;
    opened.clear();
    QuietLibrary();
    uint64_t size = 0;
    Descriptor image = OpenRegularFile(path, path, size, opened);
    if (EndsWithIgnoreCase(path, ".cue")) {
        return OpenCue(path, std::move(image), size, opened);
    }
    if (EndsWithIgnoreCase(path, ".bin")) {
        // A .bin with its cue sheet beside it is read through the cue sheet.
        const std::string stem = path.substr(0, path.size() - 4);
        for (const char* ext : {".cue", ".CUE"}) {
            std::error_code ec;
            if (fs::exists(stem + ext, ec)) {
                uint64_t sheetSize = 0;
                Descriptor sheet = OpenRegularFile(stem + ext, stem + ext, sheetSize, opened);
                return OpenCue(stem + ext, std::move(sheet), sheetSize, opened);
            }
        }
    }
    // Raw frames say their layout in their headers.
    if (std::unique_ptr<SectorSource> raw = OpenRawFrames(image, size, path)) {
        return raw;
    }
    const std::string name = NameOfOpenFile(image, path);
    iso9660_t* iso = iso9660_open_ext(name.c_str(), ISO_EXTENSION_NONE);
    if (iso) {
        return std::make_unique<IsoImageSectors>(iso, std::move(image), SectorsOf(size), false);
    }
    if (EndsWithIgnoreCase(path, ".bin")) {
        // A .bin without its cue sheet is raw frames or a plain image; nothing is guessed.
        Refuse(path, "no sync pattern of raw Mode 1 or Mode 2 Form 1 frames, and no ISO 9660 "
                     "volume of 2048-byte sectors (not a CD image, or truncated)");
    }
    // Other frames (2336 bytes, or an image that does not start at a frame): the library
    // searches for the volume inside them.
    iso = iso9660_open_fuzzy_ext(name.c_str(), ISO_EXTENSION_NONE, 64);
    if (!iso) {
        Refuse(path, "holds no ISO 9660 volume (not a CD image, or truncated)");
    }
    return std::make_unique<IsoImageSectors>(iso, std::move(image), SectorsOf(size), true);
}

std::shared_ptr<DiscFileSystem> OpenDiscImage(const std::string& path) {
    return OpenImageFileSystem(path);
}

std::shared_ptr<ImageFileSystem> OpenImageFileSystem(const std::string& path) {
    std::error_code ec;
    const std::string absolute = fs::absolute(path, ec).lexically_normal().string();
    std::vector<ImageSourceFile> files;
    std::unique_ptr<SectorSource> sectors = OpenImageSectors(path, &files);
    try {
        return std::make_shared<ImageFileSystem>(ec ? path : absolute, std::move(sectors),
                                                 std::move(files));
    } catch (const Error& e) {
        Refuse(path, e.Detail());
    }
}

} // namespace kestrova
