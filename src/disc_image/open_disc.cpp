#include "disc_image/open_disc.h"

#include "catalogue/disc_limits.h"
#include "catalogue/error.h"
#include "catalogue/image_file_system.h"
#include "catalogue/text.h"

#include <cdio/cdio.h>
#include <cdio/iso9660.h>
#include <cdio/logging.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
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

// A regular file opened for reading, with which file it is and its size; refuses anything else
// without waiting on it (a pipe, a device).
Descriptor OpenRegularFile(const std::string& path, const std::string& shown,
                           ImageSourceFile& file) {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.Get() < 0) {
        Refuse(shown, std::strerror(errno));
    }
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        Refuse(shown, "is not a regular file");
    }
    file = SourceFile(path, st);
    return fd;
}

// Which regular file `path` is, with its size; refuses anything else as OpenRegularFile does.
ImageSourceFile RegularFile(const std::string& path, const std::string& shown) {
    ImageSourceFile file;
    OpenRegularFile(path, shown, file);
    return file;
}

// The library opens files by their names after they were checked: each must still be the file
// that was checked.
void CheckUnchanged(const std::vector<ImageSourceFile>& files, const std::string& shown) {
    for (const ImageSourceFile& file : files) {
        struct stat st {};
        if (::stat(file.path.c_str(), &st) != 0 || !(SourceFile(file.path, st) == file)) {
            Refuse(shown, file.path + " changed while it was being opened");
        }
    }
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

// Sectors of a plain image through libiso9660. When the library had to search for the volume,
// the frames it found need not be 2048 bytes apart, so sectors are then read one by one.
class IsoImageSectors : public SectorSource {
  public:
    IsoImageSectors(iso9660_t* iso, uint32_t count, bool oneByOne)
        : iso_(iso), count_(count), oneByOne_(oneByOne) {}
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

// The sectors of raw 2352-byte frames, each holding its user data at the same offset.
class RawFrameSectors : public SectorSource {
  public:
    RawFrameSectors(Descriptor fd, uint32_t dataAt, uint32_t count)
        : fd_(std::move(fd)), dataAt_(dataAt), count_(count) {}

    uint32_t SectorCount() const override { return count_; }
    bool ReadSectors(uint32_t first, uint32_t count, uint8_t* out) override {
        if (first > count_ || count > count_ - first) {
            return false;
        }
        static constexpr uint32_t kFramesAtOnce = 32;
        while (count > 0) {
            const uint32_t frames = std::min(count, kFramesAtOnce);
            buffer_.resize(std::size_t{frames} * kRawFrameBytes);
            if (!ReadAt(fd_.Get(), buffer_.data(), buffer_.size(),
                        uint64_t{first} * kRawFrameBytes)) {
                return false;
            }
            for (uint32_t i = 0; i < frames; ++i) {
                std::memcpy(out, buffer_.data() + std::size_t{i} * kRawFrameBytes + dataAt_,
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
    uint32_t dataAt_;
    uint32_t count_;
    std::vector<uint8_t> buffer_;
};

// The sectors of a file of raw frames, their layout read from the frames themselves; nothing
// when neither its first frame nor the frame of the volume descriptor starts with the sync
// pattern.
std::unique_ptr<SectorSource> OpenRawFrames(const std::string& path, ImageSourceFile& file) {
    Descriptor fd = OpenRegularFile(path, path, file);
    const uint64_t size = file.size;
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
    return std::make_unique<RawFrameSectors>(std::move(fd), *dataAt, count);
}

// The first data track of a cue sheet's image through libcdio's BIN/CUE driver.
class CueTrackSectors : public SectorSource {
  public:
    CueTrackSectors(CdIo_t* cdio, lsn_t start, uint32_t count)
        : cdio_(cdio), start_(start), count_(count) {}
    ~CueTrackSectors() override { cdio_destroy(cdio_); }
    CueTrackSectors(const CueTrackSectors&) = delete;
    CueTrackSectors& operator=(const CueTrackSectors&) = delete;

    uint32_t SectorCount() const override { return count_; }
    bool ReadSectors(uint32_t first, uint32_t count, uint8_t* out) override {
        if (first > count_ || count > count_ - first) {
            return false;
        }
        for (uint32_t i = 0; i < count; ++i) {
            if (cdio_read_data_sectors(cdio_, out + std::size_t{i} * kIsoSectorBytes,
                                       start_ + static_cast<lsn_t>(first + i),
                                       static_cast<uint16_t>(kIsoSectorBytes),
                                       1) != DRIVER_OP_SUCCESS) {
                return false;
            }
        }
        return true;
    }

  private:
    CdIo_t* cdio_;
    lsn_t start_;
    uint32_t count_;
};

// Every file a cue sheet names must be a regular file before the library opens it: a cue sheet
// naming a pipe or a device would otherwise block or read without end. The cue sheet and the
// files it names, as checked.
std::vector<ImageSourceFile> CheckCueSheet(const std::string& cue) {
    std::vector<ImageSourceFile> files{RegularFile(cue, cue)};
    if (files.front().size > kCueSheetKind.maxBytes) {
        Refuse(cue, "is larger than the limit for a cue sheet");
    }
    std::ifstream in(cue, std::ios::binary);
    std::string line;
    const fs::path folder = fs::path(cue).parent_path();
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string keyword;
        words >> keyword;
        if (!EqualsIgnoreCase(keyword, "FILE")) {
            continue;
        }
        std::string rest;
        std::getline(words, rest);
        rest.erase(0, rest.find_first_not_of(" \t"));
        std::string name;
        if (!rest.empty() && rest.front() == '"') {
            const std::size_t close = rest.find('"', 1);
            if (close == std::string::npos) {
                Refuse(cue, "a FILE line of the cue sheet is not closed");
            }
            name = rest.substr(1, close - 1);
        } else {
            name = rest.substr(0, rest.find_first_of(" \t"));
        }
        const fs::path target = fs::path(name).is_absolute() ? fs::path(name) : folder / name;
        files.push_back(RegularFile(target.string(), cue + " (" + name + ")"));
    }
    if (files.size() == 1) {
        Refuse(cue, "the cue sheet names no file");
    }
    return files;
}

std::unique_ptr<SectorSource> OpenCue(const std::string& cue, std::vector<ImageSourceFile>& files) {
    files = CheckCueSheet(cue);
    CdIo_t* cdio = cdio_open_bincue(cue.c_str());
    if (!cdio) {
        Refuse(cue, "the cue sheet cannot be read");
    }
    try {
        CheckUnchanged(files, cue);
    } catch (const Error&) {
        cdio_destroy(cdio);
        throw;
    }
    const track_t first = cdio_get_first_track_num(cdio);
    const track_t last = cdio_get_last_track_num(cdio);
    for (track_t t = first; t != CDIO_INVALID_TRACK && t <= last && t < 100; ++t) {
        const track_format_t format = cdio_get_track_format(cdio, t);
        if (format != TRACK_FORMAT_DATA && format != TRACK_FORMAT_XA) {
            continue;
        }
        const lsn_t start = cdio_get_track_lsn(cdio, t);
        const lsn_t end = cdio_get_track_last_lsn(cdio, t);
        if (start == CDIO_INVALID_LSN || end == CDIO_INVALID_LSN || end < start) {
            break;
        }
        return std::make_unique<CueTrackSectors>(cdio, start,
                                                 static_cast<uint32_t>(end - start + 1));
    }
    cdio_destroy(cdio);
    Refuse(cue, "the cue sheet holds no data track");
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
    QuietLibrary();
    std::vector<ImageSourceFile> read{RegularFile(path, path)};
    const uint64_t size = read.front().size;
    const auto reported = [&](std::unique_ptr<SectorSource> sectors) {
        if (files) {
            *files = std::move(read);
        }
        return sectors;
    };
    if (EndsWithIgnoreCase(path, ".cue")) {
        return reported(OpenCue(path, read));
    }
    if (EndsWithIgnoreCase(path, ".bin")) {
        // A .bin with its cue sheet beside it is read through the cue sheet.
        const std::string stem = path.substr(0, path.size() - 4);
        for (const char* ext : {".cue", ".CUE"}) {
            std::error_code ec;
            if (fs::exists(stem + ext, ec)) {
                return reported(OpenCue(stem + ext, read));
            }
        }
    }
    // Raw frames say their layout in their headers.
    if (std::unique_ptr<SectorSource> raw = OpenRawFrames(path, read.front())) {
        return reported(std::move(raw));
    }
    iso9660_t* iso = iso9660_open_ext(path.c_str(), ISO_EXTENSION_NONE);
    if (iso) {
        auto sectors = std::make_unique<IsoImageSectors>(iso, SectorsOf(size), false);
        CheckUnchanged(read, path);
        return reported(std::move(sectors));
    }
    if (EndsWithIgnoreCase(path, ".bin")) {
        // A .bin without its cue sheet is raw frames or a plain image; nothing is guessed.
        Refuse(path, "no sync pattern of raw Mode 1 or Mode 2 Form 1 frames, and no ISO 9660 "
                     "volume of 2048-byte sectors (not a CD image, or truncated)");
    }
    // Other frames (2336 bytes, or an image that does not start at a frame): the library
    // searches for the volume inside them.
    iso = iso9660_open_fuzzy_ext(path.c_str(), ISO_EXTENSION_NONE, 64);
    if (!iso) {
        Refuse(path, "holds no ISO 9660 volume (not a CD image, or truncated)");
    }
    auto sectors = std::make_unique<IsoImageSectors>(iso, SectorsOf(size), true);
    CheckUnchanged(read, path);
    return reported(std::move(sectors));
}

std::shared_ptr<DiscFileSystem> OpenDiscImage(const std::string& path) {
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
