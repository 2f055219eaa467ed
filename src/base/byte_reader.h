#pragma once
// The one little-endian reader for every binary format: the pictures, the ISO 9660 file system,
// program headers. Every read is checked against what is left; running off the end raises
// "Stream read error".

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace kestrova {

// "Stream read error": the data ends before the format says it should.
[[noreturn]] void ThrowReadError();
// "Invalid stream format": the data is there but is not what the format allows.
[[noreturn]] void ThrowInvalidStream();

class ByteReader {
  public:
    // A view, never a copy: making one for a single record costs two words.
    explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    ByteReader(const uint8_t* bytes, size_t size) : bytes_(bytes, size) {}

    size_t Position() const { return pos_; }
    size_t Size() const { return bytes_.size(); }
    size_t Remaining() const { return bytes_.size() - pos_; }
    bool AtEnd() const { return pos_ >= bytes_.size(); }

    uint8_t U8();
    uint16_t U16();
    uint32_t U32();
    int8_t I8() { return static_cast<int8_t>(U8()); }
    int16_t I16() { return static_cast<int16_t>(U16()); }
    int32_t I32() { return static_cast<int32_t>(U32()); }
    uint8_t PeekU8() const;

    // Values at a fixed offset from the start, for formats laid out as tables of fields; the
    // position does not move. Inline: a folder record's fields are read in a tight loop.
    uint8_t U8At(size_t offset) const {
        RequireAt(offset, 1);
        return bytes_[offset];
    }
    uint16_t U16At(size_t offset) const {
        RequireAt(offset, 2);
        return static_cast<uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
    }
    uint32_t U32At(size_t offset) const {
        RequireAt(offset, 4);
        return static_cast<uint32_t>(bytes_[offset]) |
               (static_cast<uint32_t>(bytes_[offset + 1]) << 8) |
               (static_cast<uint32_t>(bytes_[offset + 2]) << 16) |
               (static_cast<uint32_t>(bytes_[offset + 3]) << 24);
    }

    // The next n bytes as a view into the underlying data.
    std::span<const uint8_t> Bytes(size_t n);
    // n bytes as a string (the characters are kept as bytes).
    std::string String(size_t n);
    void Skip(size_t n);
    // Moves to an absolute position; positions past the end raise the read error.
    void Seek(size_t position);
    // Raises the read error unless at least n bytes are left (for checks before allocating).
    void Require(size_t n) const;

  private:
    void RequireAt(size_t offset, size_t n) const {
        if (offset > bytes_.size() || n > bytes_.size() - offset) {
            ThrowReadError();
        }
    }

    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
};

// The matching writer: appends little-endian values to a byte vector.
class ByteWriter {
  public:
    void U8(uint8_t v) { out_.push_back(v); }
    void U16(uint16_t v);
    void U32(uint32_t v);
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void Bytes(std::span<const uint8_t> bytes) {
        out_.insert(out_.end(), bytes.begin(), bytes.end());
    }
    void String(const std::string& s) { out_.insert(out_.end(), s.begin(), s.end()); }
    // Overwrites four bytes already written (for lengths known only afterwards).
    void PatchU32(size_t position, uint32_t v);
    size_t Size() const { return out_.size(); }
    std::vector<uint8_t>& Data() { return out_; }
    std::vector<uint8_t> Take() { return std::move(out_); }

  private:
    std::vector<uint8_t> out_;
};

} // namespace kestrova
