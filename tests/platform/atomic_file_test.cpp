// A file is replaced whole or not at all: a write that fails half-way leaves the old file as it
// was and no temporary file behind it.

#include "platform/atomic_file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/resource.h>

namespace kestrova {
namespace {

namespace fs = std::filesystem;

struct AtomicFile : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("kestrova-atomic-" + std::to_string(::getpid()));
    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void Write(const fs::path& p, const std::string& text) {
        std::ofstream(p, std::ios::binary) << text;
    }
    static std::span<const uint8_t> Bytes(const std::string& s) {
        return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
    }
};

TEST_F(AtomicFile, ReplacesTheWholeFile) {
    const fs::path target = dir / "list.dxg";
    Write(target, "old contents that are longer");
    std::string reason;
    ASSERT_TRUE(ReplaceFileAtomically(target.string(), Bytes("new"), reason)) << reason;
    EXPECT_EQ(Read(target), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(AtomicFile, AWriteThatRunsOutOfRoomLeavesTheOldFile) {
    const fs::path target = dir / "slider2.dxg";
    Write(target, "the old list");
    // The file size limit stands in for a full disk: writes past it fail with EFBIG.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string big(100000, 'x');
    std::string reason;
    const bool ok = ReplaceFileAtomically(target.string(), Bytes(big), reason);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(Read(target), "the old list");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1)
        << "no temporary file stays behind";
}

TEST_F(AtomicFile, AMissingFolderFailsWithAReason) {
    std::string reason;
    EXPECT_FALSE(ReplaceFileAtomically((dir / "no" / "such.dxg").string(), Bytes("x"), reason));
    EXPECT_FALSE(reason.empty());
}

} // namespace
} // namespace kestrova
