#pragma once
// Named picture collections: the sprites of the front end and the ".dxg" image-list file.

#include "pictures/picture.h"
#include "pictures/pixel_budget.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
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
    void SetPicture(Picture&& picture);
    // Takes another item's picture. Pictures never change once set, so both items hold the one
    // copy of its pixels.
    void SharePicture(const PictureCollectionItem& from) { picture_ = from.picture_; }
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

    // The built surface: the pixels of the picture it was built from (0xFFRRGGBB, so also
    // QImage::Format_ARGB32_Premultiplied), SurfaceWidth() x SurfaceHeight(). They are the
    // picture's own pixels, never a second copy: keying is a property of the surface, asked with
    // KeyedOut(). Transparent is read when drawing, as the front end sets it on built items
    // without rebuilding them: a change of it re-keys the surface at the next call.
    const std::vector<uint32_t>& Surface() const;
    // A surface pixel that is not drawn: Transparent when keyed, and of the key colour.
    bool KeyedOut(uint32_t pixel) const {
        FollowTransparent();
        return keyOn_ && (pixel & 0xFFFFFFu) == keyRgb_;
    }
    // The 0xRRGGBB that KeyedOut() leaves out, or nothing while no pixel is left out: asked once
    // for a whole surface instead of once a pixel.
    std::optional<uint32_t> KeyedRgb() const {
        FollowTransparent();
        return keyOn_ ? std::optional<uint32_t>(keyRgb_) : std::nullopt;
    }
    int SurfaceWidth() const;
    int SurfaceHeight() const;
    // Changes whenever Surface() or its keying changes, to a value no other surface of the
    // program ever had (for caches and for telling frames apart).
    uint64_t SurfaceVersion() const;

  private:
    void Key() const;
    void FollowTransparent() const;

    std::shared_ptr<const Picture> picture_;
    std::shared_ptr<const Picture> builtFrom_; // picture the surface was made from
    bool built_ = false;
    // The surface follows Transparent lazily, so these change in const calls.
    mutable bool keyedTransparent_ = false; // Transparent when the surface was last keyed
    mutable bool keyOn_ = false;            // keyed pixels are left out
    mutable uint32_t keyRgb_ = 0;           // 0xRRGGBB of the key when it was set
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

    // "Cannot open file %s" (the path as given) when the file cannot be read, and the errors of
    // LoadFromBytes; each with a Detail() naming the file and the reason. With `disc`, the
    // file's pixels are also taken from that budget before any is decoded.
    void LoadFromFile(const std::string& discPath, PixelBudget* disc = nullptr);
    // "Invalid stream format", "Stream read error"; the collection is cleared first. The headers
    // are read first: a file whose pictures need more than kMaxImageListPixels is refused before
    // any picture is decoded.
    void LoadFromBytes(std::span<const uint8_t> bytes);
    std::vector<uint8_t> SaveToBytes() const;
    // Replaces the file safely; "Cannot create file %s: reason" when it cannot be written, the old
    // file then left as it was.
    void SaveToFile(const std::string& path) const;

    // The 256-colour table: the sixteen static system colours, then the items' palette colours.
    std::array<Rgb, 256> BuildColourTable() const;

  private:
    void Load(std::span<const uint8_t> bytes, const std::string& discPath, PixelBudget* disc);

    std::vector<std::unique_ptr<PictureCollectionItem>> items_;
    bool surfaceInitialized_ = false;
};

} // namespace kestrova
