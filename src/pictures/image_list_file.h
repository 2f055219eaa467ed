#pragma once
// The ".dxg" image-list file: a component resource holding one TPictureCollectionComponent whose
// "List" property is the collection's items.

#include "pictures/picture_collection.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace kestrova {

// Items read from the file, in order. Raises "Invalid stream format" or "Stream read error".
std::vector<std::unique_ptr<PictureCollectionItem>> ReadImageList(std::span<const uint8_t> bytes);
std::vector<uint8_t> WriteImageList(const PictureCollection& collection);

} // namespace kestrova
