#include "base/safe_file_writer.h"

#include "support/limited_child.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace kestrova {
namespace {

namespace fs = std::filesystem;
using testing::RunInChild;
using testing::RunWithFileSizeLimit;

struct SafeFileWriterTest : ::testing::Test {
    fs::path dir;

    void SetUp() override {
        // A parameterised test's name holds a "/", which must not make a folder of its own.
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '-');
        dir = fs::temp_directory_path() /
              ("kestrova-writer-" + std::to_string(::getpid()) + "-" + name);
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override {
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir);
    }

    static void Put(const fs::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // Every name in the folder: a temporary file left behind shows here.
    std::string Names() const {
        std::string names;
        for (const auto& entry : fs::directory_iterator(dir)) {
            names += entry.path().filename().string() + " ";
        }
        return names;
    }
};

TEST_F(SafeFileWriterTest, ReplacesTheWholeFileAndKeepsItsMode) {
    const fs::path target = dir / "discdata.kvx";
    Put(target, "an old file that is longer than the new one");
    fs::permissions(target, fs::perms(0640));
    EXPECT_EQ(WriteFileSafely(target.string(), std::string("new")), std::nullopt);
    EXPECT_EQ(Read(target), "new");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
    EXPECT_EQ(Names(), "discdata.kvx ");
}

TEST_F(SafeFileWriterTest, ANewFileGetsTheUsualModeOrTheOneAskedFor) {
    const mode_t old = ::umask(022);
    EXPECT_EQ(WriteFileSafely((dir / "plain").string(), std::string("x")), std::nullopt);
    EXPECT_EQ(fs::status(dir / "plain").permissions(), fs::perms(0644));
    SafeWriteOptions program;
    program.mode = 0755;
    EXPECT_EQ(WriteFileSafely((dir / "run").string(), std::string("x"), program), std::nullopt);
    EXPECT_EQ(fs::status(dir / "run").permissions(), fs::perms(0755));
    ::umask(old);
}

TEST_F(SafeFileWriterTest, AWriterDroppedBeforeCommitLeavesNothing) {
    const fs::path target = dir / "slider.dxg";
    Put(target, "old");
    {
        SafeFileWriter writer(target.string());
        EXPECT_TRUE(writer.Write(std::string_view("half of it").data(), 10));
    }
    EXPECT_EQ(Read(target), "old");
    EXPECT_EQ(Names(), "slider.dxg ");
}

// A full disk, stood in for by a file-size limit, met in a small file, at the size below which
// writes are often buffered, and in the middle of a large one.
class FullDisk : public SafeFileWriterTest,
                 public ::testing::WithParamInterface<std::pair<uint64_t, std::size_t>> {};

TEST_P(FullDisk, LeavesTheOldFileAndNoTemporaryFile) {
    const auto [limit, size] = GetParam();
    const fs::path target = dir / "discdata.kvx";
    const std::string old = "the old disc data\r\n*Spritecount\r\n2\r\n";
    Put(target, old);
    const std::string path = target.string();
    const auto result = RunWithFileSizeLimit(limit, [&] {
        const auto failure = WriteFileSafely(path, std::string(size, 'x'));
        return failure ? failure->Text() : std::string("written");
    });
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.text, path + ": File too large");
    EXPECT_EQ(Read(target), old);
    EXPECT_EQ(Names(), "discdata.kvx ");
}

INSTANTIATE_TEST_SUITE_P(Sizes, FullDisk,
                         ::testing::Values(std::pair<uint64_t, std::size_t>{512, 1024},
                                           std::pair<uint64_t, std::size_t>{16384 - 1, 16384},
                                           std::pair<uint64_t, std::size_t>{512 * 1024,
                                                                            1024 * 1024}));

TEST_F(SafeFileWriterTest, StreamedWritesMeetTheFullDiskToo) {
    const fs::path target = dir / "copy.exe";
    Put(target, "old");
    const std::string path = target.string();
    const auto result = RunWithFileSizeLimit(100000, [&] {
        SafeFileWriter writer(path);
        const std::string chunk(4096, 'c');
        for (int i = 0; i < 100 && writer.Write(chunk.data(), chunk.size()); ++i) {
        }
        return std::string(writer.Commit() ? "written" : writer.Failure()->reason);
    });
    EXPECT_EQ(result.text, "File too large");
    EXPECT_EQ(Read(target), "old");
    EXPECT_EQ(Names(), "copy.exe ");
}

TEST_F(SafeFileWriterTest, AReadOnlyFolderIsRefusedWithTheReason) {
    const fs::path target = dir / "slider2.dxg";
    Put(target, "old");
    fs::permissions(dir, fs::perms(0555));
    const std::string path = target.string();
    const auto result = RunInChild([&] {
        if (!testing::DropPermissionOverrides()) {
            return std::string("cannot drop the capabilities");
        }
        const auto failure = WriteFileSafely(path, std::string("new"));
        return failure ? failure->Text() : std::string("written");
    });
    EXPECT_EQ(result.text, path + ": Permission denied");
    EXPECT_EQ(Read(target), "old");
    EXPECT_EQ(Names(), "slider2.dxg ");
}

TEST_F(SafeFileWriterTest, AFolderWhereTheFileShouldBeIsRefused) {
    fs::create_directories(dir / "discdata.kvx" / "inside");
    const auto failure = WriteFileSafely((dir / "discdata.kvx").string(), std::string("new"));
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->reason, "Is a directory");
    EXPECT_TRUE(fs::is_directory(dir / "discdata.kvx" / "inside"));
    EXPECT_EQ(Names(), "discdata.kvx ");
}

TEST_F(SafeFileWriterTest, AMissingFolderOrADeviceIsRefused) {
    auto failure = WriteFileSafely((dir / "no" / "such.dxg").string(), std::string("x"));
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->reason, "No such file or directory");
    failure = WriteFileSafely("/dev/null", std::string("x"));
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->reason, "it is not a regular file");
    EXPECT_TRUE(WriteFileSafely("", std::string("x")));
}

TEST_F(SafeFileWriterTest, ALinkInsideTheDiscIsWrittenThroughAndStays) {
    fs::create_directories(dir / "disc" / "engine" / "data");
    const fs::path real = dir / "disc" / "engine" / "data" / "real.kvx";
    const fs::path link = dir / "disc" / "engine" / "data" / "discdata.kvx";
    Put(real, "old");
    fs::create_symlink("real.kvx", link);
    SafeWriteOptions options;
    options.confineTo = (dir / "disc").string();
    EXPECT_EQ(WriteFileSafely(link.string(), std::string("new"), options), std::nullopt);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Read(real), "new");
}

TEST_F(SafeFileWriterTest, ALinkLeadingOutsideTheDiscIsRefused) {
    fs::create_directories(dir / "disc");
    const fs::path users = dir / "users-file";
    Put(users, "precious");
    fs::create_symlink(users, dir / "disc" / "slider.dxg");
    SafeWriteOptions options;
    options.confineTo = (dir / "disc").string();
    const auto failure =
        WriteFileSafely((dir / "disc" / "slider.dxg").string(), std::string("evil"), options);
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->reason.find("outside"), std::string::npos) << failure->reason;
    EXPECT_EQ(Read(users), "precious");
    // A folder of the disc that is a link elsewhere is refused the same way.
    fs::create_directories(dir / "elsewhere");
    fs::create_directory_symlink(dir / "elsewhere", dir / "disc" / "engine");
    EXPECT_TRUE(
        WriteFileSafely((dir / "disc" / "engine" / "x.dxg").string(), std::string("x"), options));
    EXPECT_FALSE(fs::exists(dir / "elsewhere" / "x.dxg"));
}

TEST_F(SafeFileWriterTest, ALinkIsRefusedWhenLinksAreNotFollowed) {
    Put(dir / "real", "old");
    fs::create_symlink("real", dir / "link");
    SafeWriteOptions options;
    options.followLink = false;
    EXPECT_TRUE(WriteFileSafely((dir / "link").string(), std::string("new"), options));
    EXPECT_EQ(Read(dir / "real"), "old");
    // A link to nothing is never followed.
    fs::create_symlink("missing", dir / "dangling");
    EXPECT_TRUE(WriteFileSafely((dir / "dangling").string(), std::string("new")));
    EXPECT_FALSE(fs::exists(dir / "missing"));
}

// Written by name inside an open folder: the folder moved and a link left in its place does not
// move the write, and a link at the name itself is refused.
TEST_F(SafeFileWriterTest, InsideAnOpenFolderNoPathIsLookedUpAgain) {
    fs::create_directories(dir / "cache");
    fs::create_directories(dir / "elsewhere");
    const int folder = ::open((dir / "cache").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(folder, 0);
    fs::rename(dir / "cache", dir / "moved");
    fs::create_symlink(dir / "elsewhere", dir / "cache");
    SafeWriteOptions options;
    options.folder = folder;
    options.mode = 0640u;
    EXPECT_FALSE(WriteFileSafely("copy", std::string("bytes"), options));
    EXPECT_EQ(Read(dir / "moved" / "copy"), "bytes");
    EXPECT_TRUE(fs::is_empty(dir / "elsewhere"));
    struct stat st {};
    ::stat((dir / "moved" / "copy").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777u, 0640u);

    fs::create_symlink(dir / "elsewhere" / "x", dir / "moved" / "link");
    const auto refused = WriteFileSafely("link", std::string("bytes"), options);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->reason, "it is a symbolic link, which is not written through");
    EXPECT_TRUE(WriteFileSafely("../up", std::string("bytes"), options));
    EXPECT_TRUE(fs::is_empty(dir / "elsewhere"));
    EXPECT_FALSE(fs::exists(dir / "up"));
    // Nothing temporary stays behind.
    std::size_t names = 0;
    for (const auto& entry : fs::directory_iterator(dir / "moved")) {
        EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
        ++names;
    }
    EXPECT_EQ(names, 2u);
    ::close(folder);
}

} // namespace
} // namespace kestrova
