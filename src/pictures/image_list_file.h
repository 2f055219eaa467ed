#pragma once
// The ".dxg" image-list file: a component resource holding one TPictureCollectionComponent whose
// "List" property is the collection's items.

#include "pictures/bitmap_codec.h"
#include "pictures/picture_collection.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace kestrova {

// Items read from the file, in order. Raises "Invalid stream format" or "Stream read error".
std::vector<std::unique_ptr<PictureCollectionItem>> ReadImageList(std::span<const uint8_t> bytes);

// An item as its headers describe it; its picture is checked as decoding would check it, but
// not decoded (an item without a picture has a 0 x 0 one).
struct ImageListEntry {
    std::string name;
    std::string pictureClass = "TBitmap";
    int patternWidth = 0, patternHeight = 0, skipWidth = 0, skipHeight = 0;
    bool systemMemory = false, transparent = true;
    TColor transparentColor = 0;
    BitmapInfo picture;
};
// The items of the file without their pixels: the same errors as ReadImageList.
std::vector<ImageListEntry> ReadImageListHeaders(std::span<const uint8_t> bytes);
// The pixels decoding every picture of the entries would allocate.
int64_t DecodedPixels(const std::vector<ImageListEntry>& entries);
std::vector<uint8_t> WriteImageList(const PictureCollection& collection);

} // namespace kestrova
