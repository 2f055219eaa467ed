// The one reader of disc files: regular files only, never past their kind's ceiling, never a wait
// on a pipe or a device, and a reason for every refusal.

#include "base/error.h"
#include "base/fresh_memory.h"
#include "disc/file_reader.h"
#include "support/in_child.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace kestrova {
namespace {

namespace fs = std::filesystem;

constexpr FileKind kSmall{"a test file", 16};

class FileReader : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kestrova-reader-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }
    // "message|detail" of the refusal, or the bytes read.
    static std::string Outcome(const std::string& path, const FileKind& kind) {
        try {
            const std::vector<uint8_t> bytes = ReadBoundedFile(path, kind);
            return std::string(bytes.begin(), bytes.end());
        } catch (const Error& e) {
            return std::string(e.what()) + "|" + e.Detail();
        }
    }

    fs::path dir_;
};

TEST_F(FileReader, ReadsARegularFileUpToItsLimitAndNotAByteMore) {
    Write("exact", std::string(16, 'a'));
    EXPECT_EQ(Outcome(Path("exact"), kSmall), std::string(16, 'a'));
    Write("empty", "");
    EXPECT_EQ(Outcome(Path("empty"), kSmall), "");
    Write("over", std::string(17, 'a'));
    EXPECT_EQ(Outcome(Path("over"), kSmall), "Cannot open file " + Path("over") + "|" +
                                                 Path("over") +
                                                 ": is larger than the 16 bytes limit for a test "
                                                 "file");
    // Through a link the file itself counts.
    fs::create_symlink(dir_ / "exact", dir_ / "link");
    EXPECT_EQ(Outcome(Path("link"), kSmall), std::string(16, 'a'));
}

// Large files are read into memory made ready in one go: every byte arrives, whatever the
// buffer's alignment, and making memory ready never changes what it holds.
TEST_F(FileReader, LargeFilesArriveWholeAndReadiedMemoryKeepsItsContents) {
    std::string big(300 * 1024 + 7, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<char>(i * 131 % 251);
    }
    Write("big", big);
    EXPECT_EQ(Outcome(Path("big"), FileKind{"a test file", big.size()}), big);
    const std::vector<uint8_t> copy(big.begin(), big.end());
    std::vector<uint8_t> held = copy;
    for (const std::size_t offset :
         {std::size_t{0}, std::size_t{1}, std::size_t{4095}, std::size_t{4097}}) {
        ReadyForWriting(held.data() + offset, held.size() - offset);
        ASSERT_EQ(held, copy) << offset;
    }
}

TEST_F(FileReader, RefusesPipesDevicesAndFoldersAtOnce) {
    ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", dir_ / "zero");
    fs::create_directories(dir_ / "folder");
    // No writer ever opens the pipe and /dev/zero never ends: a reader that waited or read on
    // would never return.
    const testing::ChildResult r = testing::RunInChild(
        [&] {
            return Outcome(Path("pipe"), kDiscDataKind) + "\n" +
                   Outcome(Path("zero"), kBannerKind) + "\n" +
                   Outcome(Path("folder"), kDiscDataKind) + "\n" +
                   Outcome(Path("missing"), kDiscDataKind);
        },
        10);
    ASSERT_TRUE(r.finished) << "signal " << r.signal;
    EXPECT_EQ(r.text, "Cannot open file " + Path("pipe") + "|" + Path("pipe") +
                          ": is a named pipe, not a regular file\n"
                          "Cannot open file " +
                          Path("zero") + "|" + Path("zero") +
                          ": is a device, not a regular file\n"
                          "Cannot open file " +
                          Path("folder") + "|" + Path("folder") +
                          ": is a folder, not a regular file\n"
                          "Cannot open file " +
                          Path("missing") + "|" + Path("missing") + ": No such file or directory");
    EXPECT_LT(r.peakGrowthKb, testing::MemoryLimitKb(16 * 1024));
}

} // namespace
} // namespace kestrova
