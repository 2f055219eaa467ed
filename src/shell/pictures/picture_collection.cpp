#include "shell/pictures/picture_collection.h"

#include "catalogue/error.h"
#include "shell/pictures/image_list_file.h"

namespace kestrova {

namespace {
const Picture& EmptyPicture() {
    static const Picture empty;
    return empty;
}
} // namespace

const Picture& PictureCollectionItem::GetPicture() const {
    return picture_ ? *picture_ : EmptyPicture();
}
void PictureCollectionItem::SetPicture(const Picture& picture) {
    picture_ = std::make_shared<const Picture>(picture);
}
bool PictureCollectionItem::HasPicture() const {
    return picture_ && !picture_->IsEmpty();
}
int PictureCollectionItem::Width() const {
    return 0;
}
int PictureCollectionItem::Height() const {
    return 0;
}
int PictureCollectionItem::PatternCount() const {
    return 0;
}
PatternRect PictureCollectionItem::Pattern(int) const {
    return {};
}
void PictureCollectionItem::SetTransparentColor(TColor colour) {
    TransparentColor = colour;
}
void PictureCollectionItem::Rebuild() {}
void PictureCollectionItem::Key() {}
int PictureCollectionItem::SurfaceWidth() const {
    return builtFrom_ ? builtFrom_->width : 0;
}
int PictureCollectionItem::SurfaceHeight() const {
    return builtFrom_ ? builtFrom_->height : 0;
}

PictureCollection::PictureCollection() = default;
PictureCollection::~PictureCollection() = default;

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
int PictureCollection::IndexOf(std::string_view) const {
    return -1;
}
PictureCollectionItem& PictureCollection::Add() {
    items_.push_back(std::make_unique<PictureCollectionItem>());
    return *items_.back();
}
void PictureCollection::Delete(int index) {
    Items(index);
    items_.erase(items_.begin() + index);
}
void PictureCollection::Clear() {
    items_.clear();
}
void PictureCollection::LoadFromFile(const std::string& discPath) {
    ThrowCannotOpen(discPath);
}
void PictureCollection::LoadFromBytes(std::span<const uint8_t>) {
    Clear();
}
std::vector<uint8_t> PictureCollection::SaveToBytes() const {
    return {};
}
void PictureCollection::SaveToFile(const std::string&) const {}
std::array<Rgb, 256> PictureCollection::BuildColourTable() const {
    return {};
}

} // namespace kestrova
