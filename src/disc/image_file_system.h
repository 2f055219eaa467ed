#pragma once
// A CD image as the disc: the front end's paths are relative to its root, or begin with the
// root string (the image's own path followed by "/"), and are looked up in the image's ISO 9660
// file system by the same rules as in a folder. Reading keeps state (folders read once, the
// sector source's place): one image is used from one thread at a time, and work on another
// thread opens the image again.

#include "disc/disc_file_system.h"
#include "disc/iso9660_volume.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kestrova {

class ImageFileSystem : public DiscFileSystem {
  public:
    // `root` is the image's path; a "/" is added when it lacks one. `files` are the files the
    // sectors are read from.
    ImageFileSystem(std::string root, std::unique_ptr<SectorSource> sectors,
                    std::vector<ImageSourceFile> files = {});

    std::string Root() const override { return root_; }
    bool IsImage() const override { return true; }
    std::string Resolve(const std::string& path) const override;
    DiscEntryInfo Stat(const std::string& path) const override;
    std::vector<uint8_t> Read(const std::string& path, const FileKind& kind) const override;
    std::vector<uint8_t> ReadHead(const std::string& path, std::size_t bytes) const override;
    std::vector<std::string> List(const std::string& folder) const override;
    std::optional<std::string> LocalPath(const std::string&) const override { return {}; }
    std::optional<std::string> ImagePath(const std::string& path) const override;
    std::vector<ImageSourceFile> SourceFiles() const override { return files_; }

    // The components of `path` below the root, "." and ".." taken away; nothing for a path
    // outside the disc.
    std::optional<std::vector<std::string>> Components(const std::string& path) const;
    // The entry `path` names; nothing when it names none. Fails as Iso9660Volume::Find.
    std::optional<IsoEntry> Find(const std::string& path) const;
    Iso9660Volume& Volume() const { return *volume_; }
    // Every file the image reads, as it was when opened; empty for sectors held in memory.
    const std::vector<ImageSourceFile>& Files() const { return files_; }

  private:
    std::string root_;
    std::vector<ImageSourceFile> files_;
    std::unique_ptr<Iso9660Volume> volume_;
};

} // namespace kestrova
