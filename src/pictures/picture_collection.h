#pragma once
// Named picture collections: the sprites of the front end and the ".dxg" image-list file.

#include "pictures/picture.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

struct PatternRect {
    int x = 0, y = 0, w = 0, h = 0;
    friend bool operator==(const PatternRect&, const PatternRect&) = default;
};

class PictureCollection;

class PictureCollectionItem {
  public:
    std::string Name;
    int PatternHeight = 0, PatternWidth = 0, SkipHeight = 0, SkipWidth = 0;
    bool SystemMemory = false, Transparent = true;
    TColor TransparentColor = 0;
    // Form the picture was stored in and is written in: "TBitmap" or "TDIB".
    std::string PictureClass = "TBitmap";

    const Picture& GetPicture() const;
    void SetPicture(const Picture& picture); // copies
    bool HasPicture() const;

    // Pattern size if set, else the picture's size.
    int Width() const;
    int Height() const;
    int PatternCount() const;
    // Rectangle of a pattern in the picture; empty (all 0) for a pattern that does not exist.
    PatternRect Pattern(int index) const;

    // Re-keys a surface already built at once.
    void SetTransparentColor(TColor colour);
    // Makes the surface again from the current picture and TransparentColor.
    void Rebuild();
    bool IsBuilt() const { return built_; }

    // The built surface: premultiplied ARGB32 (QImage::Format_ARGB32_Premultiplied layout) of
    // SurfaceWidth() x SurfaceHeight() (the picture's size when it was built); keyed pixels
    // (== TransparentColor) are 0 when Transparent, all others opaque. Transparent is read when
    // drawing, as the front end sets it on built items without rebuilding them: a change of it
    // re-keys the surface at the next call.
    const std::vector<uint32_t>& Surface() const;
    int SurfaceWidth() const;
    int SurfaceHeight() const;
    // Changes whenever Surface() changes (for caches).
    uint64_t SurfaceVersion() const;

  private:
    void Key() const;
    void FollowTransparent() const;

    std::shared_ptr<const Picture> picture_;
    std::shared_ptr<const Picture> builtFrom_; // picture the surface was made from
    bool built_ = false;
    // The surface follows Transparent lazily, so these change in const calls.
    mutable bool keyedTransparent_ = false; // Transparent when the surface was last keyed
    mutable std::vector<uint32_t> surface_;
    mutable uint64_t surfaceVersion_ = 0;
};

class PictureCollection {
  public:
    PictureCollection();
    ~PictureCollection();
    PictureCollection(const PictureCollection&) = delete;
    PictureCollection& operator=(const PictureCollection&) = delete;
    // Moving keeps the items (and their addresses).
    PictureCollection(PictureCollection&&) noexcept;
    PictureCollection& operator=(PictureCollection&&) noexcept;

    int Count() const { return static_cast<int>(items_.size()); }
    // "List index out of bounds (%d)" outside 0..Count() - 1.
    PictureCollectionItem& Items(int index);
    const PictureCollectionItem& Items(int index) const;
    // Case-insensitive whole-name match; -1 when absent.
    int IndexOf(std::string_view name) const;
    // Items keep their addresses while others are added or deleted.
    PictureCollectionItem& Add();
    void Delete(int index);
    void Clear();

    // While set, loading builds every item.
    void SetSurfaceInitialized(bool initialized) { surfaceInitialized_ = initialized; }
    bool SurfaceInitialized() const { return surfaceInitialized_; }

    // "Cannot open file %s" (the path as given) when the file cannot be read.
    void LoadFromFile(const std::string& discPath);
    // "Invalid stream format", "Stream read error"; the collection is cleared first.
    void LoadFromBytes(std::span<const uint8_t> bytes);
    std::vector<uint8_t> SaveToBytes() const;
    // "Cannot create file %s" when the file cannot be written.
    void SaveToFile(const std::string& path) const;

    // The 256-colour table: the sixteen static system colours, then the items' palette colours.
    std::array<Rgb, 256> BuildColourTable() const;

  private:
    std::vector<std::unique_ptr<PictureCollectionItem>> items_;
    bool surfaceInitialized_ = false;
};

} // namespace kestrova
