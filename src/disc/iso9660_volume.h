#pragma once
// The ISO 9660 file system of a CD image, read at random through its 2048-byte sectors. The
// image is untrusted: every record is checked against its sector and its folder, every extent
// against the end of the image, and every folder against the ceilings of disc_limits.h before
// anything is allocated for it. Joliet names win over the plain ones; without Joliet, Rock Ridge
// names and modes are used where present.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kestrova {

inline constexpr uint32_t kIsoSectorBytes = 2048;

// The user data of a CD image's sectors, whatever its frame layout (2048-byte sectors, raw
// Mode 1 or Mode 2 Form 1 frames, a track of a cue sheet).
class SectorSource {
  public:
    virtual ~SectorSource() = default;
    // How many sectors the image holds.
    virtual uint32_t SectorCount() const = 0;
    // `count` sectors from `first` into `out` (count * 2048 bytes); false when they cannot be
    // read.
    virtual bool ReadSectors(uint32_t first, uint32_t count, uint8_t* out) = 0;
};

// Sectors held in memory (tests, the fuzzer).
class MemorySectors : public SectorSource {
  public:
    explicit MemorySectors(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    uint32_t SectorCount() const override;
    bool ReadSectors(uint32_t first, uint32_t count, uint8_t* out) override;

  private:
    std::vector<uint8_t> bytes_;
};

struct IsoEntry {
    std::string name; // UTF-8 for Joliet; as recorded otherwise, version ";1" removed
    uint32_t extent = 0;
    uint32_t size = 0;
    bool folder = false;
    bool regular = true; // false: a Rock Ridge device, link or pipe, or a file in several parts
    bool executable = false;
};

class Iso9660Volume {
  public:
    // Reads the volume descriptors; fails with kestrova::Error whose message says what is wrong
    // with the image (too short, no ISO 9660 volume, the root folder past the end).
    explicit Iso9660Volume(std::unique_ptr<SectorSource> sectors);

    const std::string& VolumeId() const { return volumeId_; }
    const IsoEntry& Root() const { return root_; }

    // The entries of a folder (without "." and ".."), in recorded order; fails with
    // kestrova::Error naming the reason (a folder past the end, larger than its ceiling, a
    // damaged record).
    const std::vector<IsoEntry>& Folder(const IsoEntry& folder);
    // The entry `components` name from the root, each matched by the disc path rules; nothing
    // when one is missing. Fails as Folder when a folder on the way cannot be read.
    // `spelled`, when given, gets each component as the image spells it.
    std::optional<IsoEntry> Find(const std::vector<std::string>& components,
                                 std::vector<std::string>* spelled = nullptr);
    // The bytes of a regular file, at most `maxBytes` (checked before reading). Fails with
    // kestrova::Error naming the reason.
    std::vector<uint8_t> Read(const IsoEntry& file, std::size_t maxBytes);

    // The bytes of a regular file of any size, handed to `sink` a piece at a time. Fails as Read.
    void Stream(const IsoEntry& file,
                const std::function<void(const uint8_t* bytes, std::size_t count)>& sink);

  private:
    void CheckExtent(uint32_t extent, uint32_t size, const char* what) const;
    std::vector<IsoEntry> ParseFolder(const IsoEntry& folder);

    std::unique_ptr<SectorSource> sectors_;
    IsoEntry root_;
    bool joliet_ = false;
    bool rockRidge_ = false;
    std::string volumeId_;
    std::map<uint32_t, std::vector<IsoEntry>> folders_;
    std::size_t entriesKept_ = 0;
};

} // namespace kestrova
