#include "pictures/picture_collection.h"

#include "base/error.h"
#include "base/safe_file_writer.h"
#include "base/text.h"
#include "disc/disc_path.h"
#include "disc/file_reader.h"
#include "pictures/image_list_file.h"

#include <algorithm>
#include <atomic>
#include <limits>

namespace kestrova {

namespace {

const Picture& EmptyPicture() {
    static const Picture empty;
    return empty;
}

// Columns or rows of patterns along one side of the picture.
int64_t PatternsAlong(int64_t picture, int64_t pattern, int64_t skip) {
    if (pattern <= 0 || pattern + skip <= 0) {
        return 0;
    }
    return std::max<int64_t>(0, (picture + skip) / (pattern + skip));
}

} // namespace

const Picture& PictureCollectionItem::GetPicture() const {
    return picture_ ? *picture_ : EmptyPicture();
}

void PictureCollectionItem::SetPicture(const Picture& picture) {
    picture_ = std::make_shared<const Picture>(picture);
}

void PictureCollectionItem::SetPicture(Picture&& picture) {
    picture_ = std::make_shared<const Picture>(std::move(picture));
}

// A picture whose pixels do not fill its size is treated as none, so that a surface is always
// exactly SurfaceWidth() x SurfaceHeight().
bool PictureCollectionItem::HasPicture() const {
    return picture_ && !picture_->IsEmpty() &&
           picture_->pixels.size() ==
               static_cast<size_t>(picture_->width) * static_cast<size_t>(picture_->height);
}

int PictureCollectionItem::Width() const {
    return PatternWidth > 0 ? PatternWidth : GetPicture().width;
}

int PictureCollectionItem::Height() const {
    return PatternHeight > 0 ? PatternHeight : GetPicture().height;
}

int PictureCollectionItem::PatternCount() const {
    if (!HasPicture()) {
        return 0;
    }
    const int64_t columns = PatternsAlong(GetPicture().width, Width(), SkipWidth);
    const int64_t rows = PatternsAlong(GetPicture().height, Height(), SkipHeight);
    return static_cast<int>(std::min<int64_t>(columns * rows, std::numeric_limits<int>::max()));
}

PatternRect PictureCollectionItem::Pattern(int index) const {
    if (index < 0 || index >= PatternCount()) {
        return {};
    }
    const int64_t columns = PatternsAlong(GetPicture().width, Width(), SkipWidth);
    const int64_t column = index % columns;
    const int64_t row = index / columns;
    return {static_cast<int>(column * (int64_t{Width()} + SkipWidth)),
            static_cast<int>(row * (int64_t{Height()} + SkipHeight)), Width(), Height()};
}

namespace {

// Versions are drawn from one counter for the whole program, so an item made where a deleted one
// lived never shows that one's version: a version names one surface for good.
uint64_t NextSurfaceVersion() {
    static std::atomic<uint64_t> last{0};
    return ++last;
}

} // namespace

void PictureCollectionItem::SetTransparentColor(TColor colour) {
    TransparentColor = colour;
    if (built_) {
        Key();
    }
}

void PictureCollectionItem::Rebuild() {
    if (!HasPicture()) {
        builtFrom_.reset();
        built_ = false;
        surfaceVersion_ = NextSurfaceVersion();
        return;
    }
    builtFrom_ = picture_;
    built_ = true;
    Key();
}

// The key is taken here, when the picture, the colour or Transparent changes; the canvas caches
// what it derives from it by SurfaceVersion().
void PictureCollectionItem::Key() const {
    keyedTransparent_ = Transparent;
    // Colours with a high byte (clNone, clDefault) never match a pixel.
    keyOn_ = keyedTransparent_ && (TransparentColor & 0xFF000000u) == 0;
    keyRgb_ = ColourToRgb(TransparentColor) & 0xFFFFFFu;
    surfaceVersion_ = NextSurfaceVersion();
}

void PictureCollectionItem::FollowTransparent() const {
    if (built_ && keyedTransparent_ != Transparent) {
        Key();
    }
}

const std::vector<uint32_t>& PictureCollectionItem::Surface() const {
    static const std::vector<uint32_t> none;
    FollowTransparent();
    return built_ ? builtFrom_->pixels : none;
}

uint64_t PictureCollectionItem::SurfaceVersion() const {
    FollowTransparent();
    return surfaceVersion_;
}

int PictureCollectionItem::SurfaceWidth() const {
    return built_ ? builtFrom_->width : 0;
}

int PictureCollectionItem::SurfaceHeight() const {
    return built_ ? builtFrom_->height : 0;
}

PictureCollection::PictureCollection() = default;
PictureCollection::~PictureCollection() = default;
PictureCollection::PictureCollection(PictureCollection&&) noexcept = default;
PictureCollection& PictureCollection::operator=(PictureCollection&&) noexcept = default;

PictureCollectionItem& PictureCollection::Items(int index) {
    if (index < 0 || index >= Count()) {
        ThrowListIndex(index);
    }
    return *items_[static_cast<size_t>(index)];
}

const PictureCollectionItem& PictureCollection::Items(int index) const {
    if (index < 0 || index >= Count()) {
        ThrowListIndex(index);
    }
    return *items_[static_cast<size_t>(index)];
}

int PictureCollection::IndexOf(std::string_view name) const {
    for (size_t i = 0; i < items_.size(); ++i) {
        if (EqualsIgnoreCase(items_[i]->Name, name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

PictureCollectionItem& PictureCollection::Add() {
    items_.push_back(std::make_unique<PictureCollectionItem>());
    return *items_.back();
}

void PictureCollection::Delete(int index) {
    Items(index); // raises the list-index error
    items_.erase(items_.begin() + index);
}

void PictureCollection::Clear() {
    items_.clear();
}

void PictureCollection::LoadFromFile(const std::string& discPath, PixelBudget* disc) {
    const std::vector<uint8_t> bytes = ReadBoundedFile(discPath, kImageListKind);
    try {
        Load(bytes, discPath, disc);
    } catch (const Error& e) {
        if (!e.Detail().empty()) {
            throw;
        }
        throw Error(e.what(), discPath + ": not an image-list file the front end can read");
    }
}

void PictureCollection::LoadFromBytes(std::span<const uint8_t> bytes) {
    Load(bytes, "image-list data", nullptr);
}

void PictureCollection::Load(std::span<const uint8_t> bytes, const std::string& discPath,
                             PixelBudget* disc) {
    Clear();
    // Counted from the headers, so that nothing is allocated for a file that cannot be held.
    const int64_t pixels = DecodedPixels(ReadImageListHeaders(bytes));
    CheckImageListPixels(pixels, discPath);
    if (disc) {
        disc->Charge(pixels, discPath);
    }
    items_ = ReadImageList(bytes);
    if (surfaceInitialized_) {
        for (auto& item : items_) {
            item->Rebuild();
        }
    }
}

std::vector<uint8_t> PictureCollection::SaveToBytes() const {
    return WriteImageList(*this);
}

void PictureCollection::SaveToFile(const std::string& path) const {
    const std::vector<uint8_t> bytes = SaveToBytes();
    if (const auto failure = WriteFileSafely(ResolveDiscPath(path), bytes)) {
        throw Error("Cannot create file " + path + ": " + failure->reason);
    }
}

std::array<Rgb, 256> PictureCollection::BuildColourTable() const {
    std::array<Rgb, 256> table{};
    std::array<bool, 256> used{};
    constexpr std::array<std::pair<int, Rgb>, 16> kStatic{{
        {0, {0, 0, 0}},
        {1, {128, 0, 0}},
        {2, {0, 128, 0}},
        {3, {128, 128, 0}},
        {4, {0, 0, 128}},
        {5, {128, 0, 128}},
        {6, {0, 128, 128}},
        {7, {192, 192, 192}},
        {248, {128, 128, 128}},
        {249, {255, 0, 0}},
        {250, {0, 255, 0}},
        {251, {255, 255, 0}},
        {252, {0, 0, 255}},
        {253, {255, 0, 255}},
        {254, {0, 255, 255}},
        {255, {255, 255, 255}},
    }};
    for (const auto& [index, colour] : kStatic) {
        table[static_cast<size_t>(index)] = colour;
        used[static_cast<size_t>(index)] = true;
    }
    size_t usedCount = kStatic.size();
    for (const auto& item : items_) {
        if (!item->HasPicture()) {
            continue;
        }
        for (const Rgb& colour : item->GetPicture().palette) {
            if (usedCount == table.size()) {
                return table;
            }
            bool present = false;
            for (size_t i = 0; i < table.size() && !present; ++i) {
                present = used[i] && table[i] == colour;
            }
            if (present) {
                continue;
            }
            const auto free =
                static_cast<size_t>(std::find(used.begin(), used.end(), false) - used.begin());
            table[free] = colour;
            used[free] = true;
            ++usedCount;
        }
    }
    return table;
}

} // namespace kestrova
