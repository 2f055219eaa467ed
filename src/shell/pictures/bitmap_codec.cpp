#include "shell/pictures/bitmap_codec.h"

#include "shell/pictures/byte_reader.h"

namespace kestrova {

BitmapWriteOptions StoredOptions(const Picture& picture) {
    BitmapWriteOptions o;
    o.bitDepth = picture.bitDepth ? picture.bitDepth : 24;
    o.rle = picture.rle;
    o.topDown = picture.topDown;
    o.bitfields = picture.bitfields;
    return o;
}

Picture DecodeBitmapFile(std::span<const uint8_t>) {
    ThrowInvalidStream();
}
Picture DecodePackedDib(std::span<const uint8_t>) {
    ThrowInvalidStream();
}
Picture LoadBitmapFile(const std::string&) {
    ThrowInvalidStream();
}
std::vector<uint8_t> EncodeBitmapFile(const Picture&, const BitmapWriteOptions&) {
    return {};
}
std::vector<uint8_t> EncodePackedDib(const Picture&, const BitmapWriteOptions&) {
    return {};
}
std::vector<uint32_t> DistinctColours(const Picture&, size_t) {
    return {};
}

} // namespace kestrova
