// Writing the editor's lines back to the disc data file.

#include "editor_fixture.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
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
    EXPECT_EQ(b.S().messages[0], "Cannot write the disc data file /disc/engine/data/discdata.kvx: "
                                 "No space left on device");
}

TEST(EditorDataFile, NothingIsWrittenBeforeTheEditorHoldsLines) {
    EditorBench b;
    EXPECT_FALSE(b.editor.WriteDataFile());
    EXPECT_TRUE(b.writer.written.empty());
    EXPECT_EQ(b.S().messages.size(), 1u);
}

// The editor with the program's own writer on a disc folder of this machine.
struct RealDisc : ::testing::Test {
    std::filesystem::path root = std::filesystem::temp_directory_path() /
                                 ("kestrova-editor-write-" + std::to_string(::getpid()));
    DiscFileWriter files;

    void SetUp() override {
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root / "engine" / "data");
    }
    void TearDown() override { std::filesystem::remove_all(root); }
    std::string Root() const { return root.string() + "/"; }
};

TEST_F(RealDisc, TheDataFileIsReplacedInsideTheDisc) {
    std::ofstream(root / "engine" / "data" / "discdata.kvx", std::ios::binary) << "old";
    EditorBench b;
    b.editor = DiscEditor(EditorPorts{&b.dialog, &b.pictures, &files, nullptr});
    b.Open(Root());
    ASSERT_TRUE(b.editor.WriteDataFile()) << b.S().messages.back();
    std::ifstream in(root / "engine" / "data" / "discdata.kvx", std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(text.substr(0, 17), "\r\n*Spritecount\r\n9");
}

TEST_F(RealDisc, ALinkOutOfTheDiscIsNotWrittenThrough) {
    const std::filesystem::path users = root.string() + "-users-file";
    std::ofstream(users) << "precious";
    std::filesystem::create_symlink(users, root / "engine" / "data" / "discdata.kvx");
    EditorBench b;
    b.editor = DiscEditor(EditorPorts{&b.dialog, &b.pictures, &files, nullptr});
    b.Open(Root());
    EXPECT_FALSE(b.editor.WriteDataFile());
    ASSERT_EQ(b.S().messages.size(), 1u);
    EXPECT_EQ(b.S().messages[0].rfind("Cannot write the disc data file " + Root() +
                                          "engine/data/discdata.kvx: it leads outside",
                                      0),
              0u)
        << b.S().messages[0];
    std::ifstream in(users);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "precious");
    std::filesystem::remove(users);
}

} // namespace
} // namespace kestrova
