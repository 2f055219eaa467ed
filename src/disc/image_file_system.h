#pragma once
// A CD image as the disc: the front end's paths are relative to its root, or begin with the
// root string (the image's own path followed by "/"), and are looked up in the image's ISO 9660
// file system by the same rules as in a folder.

#include "disc/disc_file_system.h"
#include "disc/iso9660_volume.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kestrova {

class ImageFileSystem : public DiscFileSystem {
  public:
    // `root` is the image's path; a "/" is added when it lacks one.
    ImageFileSystem(std::string root, std::unique_ptr<SectorSource> sectors);

    std::string Root() const override { return root_; }
    bool IsImage() const override { return true; }
    std::string Resolve(const std::string& path) const override;
    DiscEntryInfo Stat(const std::string& path) const override;
    std::vector<uint8_t> Read(const std::string& path, const FileKind& kind) const override;
    std::vector<uint8_t> ReadHead(const std::string& path, std::size_t bytes) const override;
    std::vector<std::string> List(const std::string& folder) const override;
    std::optional<std::string> LocalPath(const std::string&) const override { return {}; }

    // The components of `path` below the root, "." and ".." taken away; nothing for a path
    // outside the disc.
    std::optional<std::vector<std::string>> Components(const std::string& path) const;
    // The entry `path` names; nothing when it names none. Fails as Iso9660Volume::Find.
    std::optional<IsoEntry> Find(const std::string& path) const;
    Iso9660Volume& Volume() const { return *volume_; }

  private:
    std::string root_;
    std::unique_ptr<Iso9660Volume> volume_;
};

} // namespace kestrova
