#include "shell/pictures/image_list_file.h"

#include "shell/pictures/byte_reader.h"

namespace kestrova {

std::vector<std::unique_ptr<PictureCollectionItem>> ReadImageList(std::span<const uint8_t>) {
    ThrowInvalidStream();
}
std::vector<uint8_t> WriteImageList(const PictureCollection&) {
    return {};
}

} // namespace kestrova
