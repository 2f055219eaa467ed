// Writing the editor's lines back to the disc data file.

#include "editor_fixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace kestrova {
namespace {

using testing_editor::EditorBench;

constexpr const char* kDataFile = "/disc/engine/data/discdata.kvx";

std::string SampleDiscData() {
    std::ifstream in(std::string(KESTROVA_SOURCE_DIR) + "/sample-disc/engine/data/discdata.kvx",
                     std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(EditorDataFile, TheSampleDiscRoundTripsByteForByte) {
    const std::string original = SampleDiscData();
    ASSERT_FALSE(original.empty());
    EditorBench b(original);
    b.Open();
    b.editor.featuresClick(3);
    ASSERT_TRUE(b.editor.WriteDataFile());
    const std::vector<uint8_t>& written = b.writer.written[kDataFile];
    EXPECT_EQ(std::string(written.begin(), written.end()), original);
}

TEST(EditorDataFile, EditsAreWrittenWithTheirOwnBytes) {
    EditorBench b;
    b.Open();
    b.editor.featuresClick(b.LineOf(1));
    b.editor.titleChange("Caf\xE9 ");
    ASSERT_TRUE(b.editor.WriteDataFile());
    const std::vector<uint8_t>& written = b.writer.written[kDataFile];
    const std::string text(written.begin(), written.end());
    EXPECT_NE(text.find("\r\n*BEGIN1\r\nCaf\xE9 \r\nDesc 1a\r\n"), std::string::npos);
}

TEST(EditorDataFile, AFileThatCannotBeWrittenIsRefusedWithAMessage) {
    EditorBench b;
    b.writer.fail = true;
    b.Open();
    EXPECT_FALSE(b.editor.WriteDataFile());
    ASSERT_EQ(b.S().messages.size(), 1u);
    EXPECT_EQ(b.S().messages[0],
              "Cannot write the disc data file /disc/engine\\data\\discdata.kvx: "
              "No space left on device");
}

TEST(EditorDataFile, NothingIsWrittenBeforeTheEditorHoldsLines) {
    EditorBench b;
    EXPECT_FALSE(b.editor.WriteDataFile());
    EXPECT_TRUE(b.writer.written.empty());
    EXPECT_EQ(b.S().messages.size(), 1u);
}

} // namespace
} // namespace kestrova
