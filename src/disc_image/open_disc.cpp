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
#include <sstream>

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

// The size of a regular file; refuses anything else without waiting on it (a pipe, a device).
uint64_t RegularFileSize(const std::string& path, const std::string& shown) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        Refuse(shown, std::strerror(errno));
    }
    struct stat st {};
    const bool ok = ::fstat(fd, &st) == 0;
    ::close(fd);
    if (!ok || !S_ISREG(st.st_mode)) {
        Refuse(shown, "is not a regular file");
    }
    return static_cast<uint64_t>(std::max<off_t>(st.st_size, 0));
}

bool EndsWithIgnoreCase(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           EqualsIgnoreCase(std::string_view(text).substr(text.size() - tail.size()), tail);
}

// Sectors of a plain or raw image through libiso9660.
class IsoImageSectors : public SectorSource {
  public:
    IsoImageSectors(iso9660_t* iso, uint32_t count) : iso_(iso), count_(count) {}
    ~IsoImageSectors() override { iso9660_close(iso_); }
    IsoImageSectors(const IsoImageSectors&) = delete;
    IsoImageSectors& operator=(const IsoImageSectors&) = delete;

    uint32_t SectorCount() const override { return count_; }
    bool ReadSectors(uint32_t first, uint32_t count, uint8_t* out) override {
        if (first > count_ || count > count_ - first) {
            return false;
        }
        const long want = static_cast<long>(count) * static_cast<long>(kIsoSectorBytes);
        return iso9660_iso_seek_read(iso_, out, static_cast<lsn_t>(first), count) == want;
    }

  private:
    iso9660_t* iso_;
    uint32_t count_;
};

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
// naming a pipe or a device would otherwise block or read without end.
void CheckCueSheet(const std::string& cue) {
    const uint64_t size = RegularFileSize(cue, cue);
    if (size > kCueSheetKind.maxBytes) {
        Refuse(cue, "is larger than the limit for a cue sheet");
    }
    std::ifstream in(cue, std::ios::binary);
    std::string line;
    const fs::path folder = fs::path(cue).parent_path();
    int files = 0;
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
        RegularFileSize(target.string(), cue + " (" + name + ")");
        ++files;
    }
    if (files == 0) {
        Refuse(cue, "the cue sheet names no file");
    }
}

std::unique_ptr<SectorSource> OpenCue(const std::string& cue) {
    CheckCueSheet(cue);
    CdIo_t* cdio = cdio_open_bincue(cue.c_str());
    if (!cdio) {
        Refuse(cue, "the cue sheet cannot be read");
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

// How many user-data sectors a raw or plain image holds, from the frame its first bytes show.
uint32_t SectorsOf(const std::string& path, uint64_t size) {
    static constexpr uint8_t kSync[12] = {0,    0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                          0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0};
    uint8_t head[12] = {};
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(head), sizeof head);
    uint64_t frame = kIsoSectorBytes;
    if (in && std::memcmp(head, kSync, sizeof kSync) == 0) {
        frame = 2352;
    } else if (size % kIsoSectorBytes != 0 && size % 2336 == 0) {
        frame = 2336;
    }
    return static_cast<uint32_t>(std::min<uint64_t>(size / frame, UINT32_MAX));
}

} // namespace

bool IsDiscImageFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

std::unique_ptr<SectorSource> OpenImageSectors(const std::string& path) {
    QuietLibrary();
    const uint64_t size = RegularFileSize(path, path);
    if (EndsWithIgnoreCase(path, ".cue")) {
        return OpenCue(path);
    }
    if (EndsWithIgnoreCase(path, ".bin")) {
        // A .bin with its cue sheet beside it is read through the cue sheet.
        const std::string stem = path.substr(0, path.size() - 4);
        for (const char* ext : {".cue", ".CUE"}) {
            std::error_code ec;
            if (fs::exists(stem + ext, ec)) {
                return OpenCue(stem + ext);
            }
        }
    }
    iso9660_t* iso = iso9660_open_ext(path.c_str(), ISO_EXTENSION_NONE);
    if (!iso) {
        // Raw frames (Mode 1, Mode 2 Form 1): the library finds the volume inside them.
        iso = iso9660_open_fuzzy_ext(path.c_str(), ISO_EXTENSION_NONE, 64);
    }
    if (!iso) {
        Refuse(path, "holds no ISO 9660 volume (not a CD image, or truncated)");
    }
    return std::make_unique<IsoImageSectors>(iso, SectorsOf(path, size));
}

std::shared_ptr<DiscFileSystem> OpenDiscImage(const std::string& path) {
    std::error_code ec;
    const std::string absolute = fs::absolute(path, ec).lexically_normal().string();
    std::unique_ptr<SectorSource> sectors = OpenImageSectors(path);
    try {
        return std::make_shared<ImageFileSystem>(ec ? path : absolute, std::move(sectors));
    } catch (const Error& e) {
        Refuse(path, e.Detail());
    }
}

} // namespace kestrova
