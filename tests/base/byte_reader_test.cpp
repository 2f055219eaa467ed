// The byte reader at the edges of its data: reads that end on the last byte succeed, one byte
// more is a read error, and offsets near the top of the address range never wrap around.

#include "base/byte_reader.h"

#include "base/error.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace kestrova {
namespace {

bool ReadFails(const std::function<void()>& read) {
    try {
        read();
    } catch (const Error& e) {
        return std::string(e.what()) == "Stream read error";
    }
    return false;
}

TEST(ByteReader, FieldsAtAnOffsetAreCheckedAgainstTheEndAndLeaveThePositionAlone) {
    const std::vector<uint8_t> bytes = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06};
    ByteReader r(bytes);
    EXPECT_EQ(r.U32At(2), 0x06050403u);
    EXPECT_EQ(r.U16At(4), 0x0605u);
    EXPECT_EQ(r.U8At(5), 0x06u);
    EXPECT_EQ(r.Position(), 0u);
    EXPECT_TRUE(ReadFails([&] { r.U32At(3); }));
    EXPECT_TRUE(ReadFails([&] { r.U16At(5); }));
    EXPECT_TRUE(ReadFails([&] { r.U8At(6); }));
    EXPECT_TRUE(ReadFails([&] { r.U32At(std::numeric_limits<size_t>::max() - 1); }));
    // A reader over a part of the data sees only that part.
    const ByteReader part(bytes.data() + 2, 3);
    EXPECT_EQ(part.U16At(1), 0x0504u);
    EXPECT_TRUE(ReadFails([&] { part.U16At(2); }));
}

TEST(ByteReader, ValuesInTurnStopAtTheEnd) {
    const std::vector<uint8_t> bytes = {0xFF, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12};
    ByteReader r(bytes);
    EXPECT_EQ(r.I8(), -1);
    EXPECT_EQ(r.U16(), 0x1234u);
    EXPECT_EQ(r.U32(), 0x12345678u);
    EXPECT_TRUE(r.AtEnd());
    EXPECT_TRUE(ReadFails([&] { r.U8(); }));
    r.Seek(5);
    EXPECT_TRUE(ReadFails([&] { r.U32(); }));
    EXPECT_EQ(r.Position(), 5u); // a failed read moves nothing
    EXPECT_TRUE(ReadFails([&] { r.Seek(8); }));
}

} // namespace
} // namespace kestrova
