#include "disc/iso9660_volume.h"

#include "base/byte_reader.h"
#include "base/error.h"
#include "base/text.h"
#include "disc/disc_limits.h"
#include "disc/disc_path.h"

#include <algorithm>
#include <cstring>

namespace kestrova {

namespace {

constexpr uint32_t kFirstDescriptor = 16;
// Descriptors looked at before the set must have ended.
constexpr uint32_t kMaxDescriptors = 32;

// Offsets inside a volume descriptor.
constexpr std::size_t kVolumeIdAt = 40;
constexpr std::size_t kEscapesAt = 88;
constexpr std::size_t kBlockSizeAt = 128;
constexpr std::size_t kRootRecordAt = 156;
// Offsets inside a folder record; numbers are stored both ways round, the little-endian half
// first.
constexpr std::size_t kExtentAt = 2;
constexpr std::size_t kDataLengthAt = 10;
constexpr std::size_t kFlagsAt = 25;
constexpr std::size_t kNameLengthAt = 32;
constexpr std::size_t kRecordMinimum = 33; // the fixed part, up to the name
constexpr uint8_t kFlagFolder = 0x02;
constexpr uint8_t kFlagMultiExtent = 0x80;
// The Rock Ridge "PX" entry's file mode.
constexpr std::size_t kPosixModeAt = 4;

// Where a record's system use area begins: after the name and the pad byte that keeps it even.
std::size_t SystemUseAt(std::size_t nameLength) {
    return kRecordMinimum + nameLength + (nameLength % 2 == 0 ? 1 : 0);
}

[[noreturn]] void Damaged(const std::string& reason) {
    throw Error("Invalid disc image", reason);
}

// A name is usable as one path component: no separators, no control characters.
bool UsableName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || c == '/' || c == '\\') {
            return false;
        }
    }
    return true;
}

// "NAME.EXT;1" -> "NAME.EXT"; "NAME.;1" -> "NAME".
std::string WithoutVersion(std::string name) {
    const std::size_t semi = name.rfind(';');
    if (semi != std::string::npos) {
        name.resize(semi);
    }
    if (!name.empty() && name.back() == '.') {
        name.pop_back();
    }
    return name;
}

std::string FromUcs2(const uint8_t* p, std::size_t bytes) {
    std::string out;
    for (std::size_t i = 0; i + 1 < bytes; i += 2) {
        char32_t cp = static_cast<char32_t>((p[i] << 8) | p[i + 1]);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes) {
            const char32_t low = static_cast<char32_t>((p[i + 2] << 8) | p[i + 3]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            } else {
                cp = 0xFFFD;
            }
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

struct RockRidgeFields {
    std::optional<std::string> name;
    std::optional<uint32_t> mode;
    bool relocated = false;
};

// The Rock Ridge entries of a record's system use area that matter here. Continuation areas are
// not followed: names and modes fit in the record on every disc worth reading.
RockRidgeFields ReadRockRidge(const uint8_t* p, std::size_t bytes) {
    RockRidgeFields fields;
    std::string name;
    bool haveName = false;
    std::size_t at = 0;
    while (at + 4 <= bytes) {
        const std::size_t length = p[at + 2];
        if (length < 4 || at + length > bytes) {
            break;
        }
        const uint8_t* entry = p + at;
        if (entry[0] == 'S' && entry[1] == 'T') {
            break;
        }
        if (entry[0] == 'N' && entry[1] == 'M' && length >= 5) {
            // Only a name of its own; "." and ".." flags are not names.
            if ((entry[4] & 0x06) == 0) {
                name.append(reinterpret_cast<const char*>(entry + 5), length - 5);
                haveName = true;
            }
        } else if (entry[0] == 'P' && entry[1] == 'X' && length >= kPosixModeAt + 4) {
            fields.mode = ByteReader(entry, length).U32At(kPosixModeAt);
        } else if (entry[0] == 'R' && entry[1] == 'E') {
            fields.relocated = true;
        }
        at += length;
    }
    if (haveName) {
        fields.name = std::move(name);
    }
    return fields;
}

} // namespace

uint32_t MemorySectors::SectorCount() const {
    return static_cast<uint32_t>(
        std::min<std::size_t>(bytes_.size() / kIsoSectorBytes, UINT32_MAX));
}

bool MemorySectors::ReadSectors(uint32_t first, uint32_t count, uint8_t* out) {
    if (first > SectorCount() || count > SectorCount() - first) {
        return false;
    }
    std::memcpy(out, bytes_.data() + std::size_t{first} * kIsoSectorBytes,
                std::size_t{count} * kIsoSectorBytes);
    return true;
}

Iso9660Volume::Iso9660Volume(std::unique_ptr<SectorSource> sectors) : sectors_(std::move(sectors)) {
    const uint32_t count = sectors_->SectorCount();
    if (count <= kFirstDescriptor) {
        Damaged("the image is too short to hold an ISO 9660 volume (truncated?)");
    }
    std::vector<uint8_t> sector(kIsoSectorBytes);
    std::optional<std::vector<uint8_t>> primary;
    std::optional<std::vector<uint8_t>> joliet;
    for (uint32_t i = 0; i < kMaxDescriptors && kFirstDescriptor + i < count; ++i) {
        if (!sectors_->ReadSectors(kFirstDescriptor + i, 1, sector.data())) {
            Damaged("the volume descriptors cannot be read (truncated?)");
        }
        if (std::memcmp(sector.data() + 1, "CD001", 5) != 0) {
            break;
        }
        const uint8_t type = sector[0];
        if (type == 255) {
            break;
        }
        if (type == 1 && !primary) {
            primary = sector;
        } else if (type == 2 && !joliet && sector[kEscapesAt] == 0x25 &&
                   sector[kEscapesAt + 1] == 0x2F &&
                   (sector[kEscapesAt + 2] == 0x40 || sector[kEscapesAt + 2] == 0x43 ||
                    sector[kEscapesAt + 2] == 0x45)) {
            joliet = sector;
        }
    }
    if (!primary) {
        Damaged("the image holds no ISO 9660 volume");
    }
    const std::span<const uint8_t> chosen = joliet ? *joliet : *primary;
    joliet_ = joliet.has_value();
    if (ByteReader(chosen).U16At(kBlockSizeAt) != kIsoSectorBytes) {
        Damaged("the volume's block size is not 2048 bytes");
    }
    std::string id(reinterpret_cast<const char*>(primary->data() + kVolumeIdAt), 32);
    while (!id.empty() && (id.back() == ' ' || id.back() == '\0')) {
        id.pop_back();
    }
    volumeId_ = id;
    const ByteReader root(chosen.subspan(kRootRecordAt));
    if (root.U8At(0) < kRecordMinimum + 1) {
        Damaged("the root folder's record is damaged");
    }
    root_.folder = true;
    root_.extent = root.U32At(kExtentAt);
    root_.size = root.U32At(kDataLengthAt);
    CheckExtent(root_.extent, root_.size, "the root folder");
    if (!joliet_) {
        // Rock Ridge marks itself in the system use area of the root's own "." record.
        std::vector<uint8_t> first(kIsoSectorBytes);
        if (root_.size > 0 && sectors_->ReadSectors(root_.extent, 1, first.data())) {
            const std::size_t length = first[0];
            const std::size_t nameLength = first[kNameLengthAt];
            const std::size_t use = SystemUseAt(nameLength);
            if (length >= kRecordMinimum && length <= kIsoSectorBytes && use + 7 <= length &&
                first[use] == 'S' && first[use + 1] == 'P' && first[use + 4] == 0xBE &&
                first[use + 5] == 0xEF) {
                rockRidge_ = true;
            }
        }
    }
}

void Iso9660Volume::CheckExtent(uint32_t extent, uint32_t size, const char* what) const {
    const uint64_t sectors = (uint64_t{size} + kIsoSectorBytes - 1) / kIsoSectorBytes;
    if (uint64_t{extent} + sectors > sectors_->SectorCount()) {
        Damaged(std::string(what) + " lies past the end of the image (truncated or damaged)");
    }
}

std::vector<IsoEntry> Iso9660Volume::ParseFolder(const IsoEntry& folder) {
    if (folder.size > kMaxImageFolderBytes) {
        Damaged("a folder holds " + std::to_string(folder.size) +
                " bytes of records, more than the limit of " +
                std::to_string(kMaxImageFolderBytes) + " for a folder");
    }
    CheckExtent(folder.extent, folder.size, "a folder");
    const uint32_t sectorCount = (folder.size + kIsoSectorBytes - 1) / kIsoSectorBytes;
    std::vector<uint8_t> bytes(std::size_t{sectorCount} * kIsoSectorBytes);
    if (sectorCount > 0 && !sectors_->ReadSectors(folder.extent, sectorCount, bytes.data())) {
        Damaged("a folder cannot be read (truncated?)");
    }
    std::vector<IsoEntry> entries;
    std::size_t at = 0;
    while (at < folder.size) {
        const std::size_t inSector = at % kIsoSectorBytes;
        const std::size_t length = bytes[at];
        if (length == 0) {
            // Records never cross a sector: the rest of this one is padding.
            at += kIsoSectorBytes - inSector;
            continue;
        }
        if (length < kRecordMinimum + 1 || inSector + length > kIsoSectorBytes) {
            Damaged("a folder record is damaged");
        }
        const uint8_t* record = bytes.data() + at;
        const ByteReader fields(record, length);
        const std::size_t nameLength = fields.U8At(kNameLengthAt);
        if (kRecordMinimum + nameLength > length) {
            Damaged("a folder record's name runs past the record");
        }
        at += length;
        const uint8_t* name = record + kRecordMinimum;
        if (nameLength == 1 && (name[0] == 0 || name[0] == 1)) {
            continue; // "." and ".."
        }
        IsoEntry entry;
        entry.extent = fields.U32At(kExtentAt);
        entry.size = fields.U32At(kDataLengthAt);
        const uint8_t flags = fields.U8At(kFlagsAt);
        entry.folder = (flags & kFlagFolder) != 0;
        entry.regular = (flags & kFlagMultiExtent) == 0;
        if (joliet_) {
            entry.name = WithoutVersion(FromUcs2(name, nameLength));
        } else {
            entry.name =
                WithoutVersion(std::string(reinterpret_cast<const char*>(name), nameLength));
            if (rockRidge_) {
                const std::size_t use = SystemUseAt(nameLength);
                if (use < length) {
                    const RockRidgeFields rr = ReadRockRidge(record + use, length - use);
                    if (rr.relocated) {
                        continue;
                    }
                    if (rr.name) {
                        entry.name = *rr.name;
                    }
                    if (rr.mode) {
                        const uint32_t type = *rr.mode & 0170000;
                        if (!entry.folder && type != 0100000) {
                            entry.regular = false;
                        }
                        entry.executable = (*rr.mode & 0111) != 0;
                    }
                }
            }
        }
        if (!UsableName(entry.name)) {
            continue;
        }
        if (entries.size() >= static_cast<std::size_t>(kMaxImageWalkEntries)) {
            Damaged("a folder holds too many entries");
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

const std::vector<IsoEntry>& Iso9660Volume::Folder(const IsoEntry& folder) {
    const auto found = folders_.find(folder.extent);
    if (found != folders_.end()) {
        return found->second;
    }
    std::vector<IsoEntry> entries = ParseFolder(folder);
    if (folders_.size() >= kMaxImageFoldersKept ||
        entriesKept_ + entries.size() > kMaxImageEntriesKept) {
        folders_.clear();
        entriesKept_ = 0;
    }
    entriesKept_ += entries.size();
    return folders_.emplace(folder.extent, std::move(entries)).first->second;
}

std::optional<IsoEntry> Iso9660Volume::Find(const std::vector<std::string>& components,
                                            std::vector<std::string>* spelled) {
    if (components.size() > static_cast<std::size_t>(kMaxImagePathDepth)) {
        return std::nullopt;
    }
    IsoEntry current = root_;
    for (const std::string& component : components) {
        if (!current.folder) {
            return std::nullopt;
        }
        const std::vector<IsoEntry>& entries = Folder(current);
        std::vector<std::string> names;
        names.reserve(entries.size());
        for (const IsoEntry& entry : entries) {
            names.push_back(entry.name);
        }
        const std::optional<std::string> picked = PickDiscEntry(names, component);
        if (!picked) {
            return std::nullopt;
        }
        const auto it = std::find_if(entries.begin(), entries.end(),
                                     [&](const IsoEntry& e) { return e.name == *picked; });
        current = *it;
        if (spelled) {
            spelled->push_back(current.name);
        }
    }
    return current;
}

std::vector<uint8_t> Iso9660Volume::Read(const IsoEntry& file, std::size_t maxBytes) {
    if (file.folder || !file.regular) {
        Damaged("is not a regular file");
    }
    if (file.size > maxBytes) {
        Damaged("is too large");
    }
    CheckExtent(file.extent, file.size, "the file");
    const uint32_t sectorCount = (file.size + kIsoSectorBytes - 1) / kIsoSectorBytes;
    std::vector<uint8_t> bytes(std::size_t{sectorCount} * kIsoSectorBytes);
    if (sectorCount > 0 && !sectors_->ReadSectors(file.extent, sectorCount, bytes.data())) {
        Damaged("the file cannot be read from the image (truncated?)");
    }
    bytes.resize(file.size);
    return bytes;
}

void Iso9660Volume::Stream(const IsoEntry& file,
                           const std::function<void(const uint8_t*, std::size_t)>& sink) {
    if (file.folder || !file.regular) {
        Damaged("is not a regular file");
    }
    CheckExtent(file.extent, file.size, "the file");
    constexpr uint32_t kPiece = 32;
    std::vector<uint8_t> piece(std::size_t{kPiece} * kIsoSectorBytes);
    uint32_t left = file.size;
    uint32_t sector = file.extent;
    while (left > 0) {
        const uint32_t bytes = std::min<uint32_t>(left, kPiece * kIsoSectorBytes);
        const uint32_t sectors = (bytes + kIsoSectorBytes - 1) / kIsoSectorBytes;
        if (!sectors_->ReadSectors(sector, sectors, piece.data())) {
            Damaged("the file cannot be read from the image (truncated?)");
        }
        sink(piece.data(), bytes);
        left -= bytes;
        sector += sectors;
    }
}

} // namespace kestrova
