#include "base/byte_reader.h"

#include "base/error.h"

namespace kestrova {

void ThrowReadError() {
    throw Error("Stream read error");
}

void ThrowInvalidStream() {
    throw Error("Invalid stream format");
}

void ByteReader::Require(size_t n) const {
    if (n > Remaining()) {
        ThrowReadError();
    }
}

uint8_t ByteReader::U8() {
    Require(1);
    return bytes_[pos_++];
}

uint8_t ByteReader::PeekU8() const {
    Require(1);
    return bytes_[pos_];
}

uint16_t ByteReader::U16() {
    const uint16_t v = U16At(pos_);
    pos_ += 2;
    return v;
}

uint32_t ByteReader::U32() {
    const uint32_t v = U32At(pos_);
    pos_ += 4;
    return v;
}

std::span<const uint8_t> ByteReader::Bytes(size_t n) {
    Require(n);
    auto view = bytes_.subspan(pos_, n);
    pos_ += n;
    return view;
}

std::string ByteReader::String(size_t n) {
    auto view = Bytes(n);
    return std::string(view.begin(), view.end());
}

void ByteReader::Skip(size_t n) {
    Require(n);
    pos_ += n;
}

void ByteReader::Seek(size_t position) {
    if (position > bytes_.size()) {
        ThrowReadError();
    }
    pos_ = position;
}

void ByteWriter::U16(uint16_t v) {
    out_.push_back(static_cast<uint8_t>(v));
    out_.push_back(static_cast<uint8_t>(v >> 8));
}

void ByteWriter::U32(uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) {
        out_.push_back(static_cast<uint8_t>(v >> shift));
    }
}

void ByteWriter::PatchU32(size_t position, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out_.at(position + static_cast<size_t>(i)) = static_cast<uint8_t>(v >> (8 * i));
    }
}

} // namespace kestrova
