// Copies out of a CD image go through the program's safe writer: a full disk or a link planted in
// the cache leaves nothing half-written and nothing written elsewhere.

#include "disc/cdio/open_disc.h"
#include "disc/program_cache.h"

#include "base/error.h"
#include "disc/image_file_system.h"
#include "support/image_builder.h"
#include "support/limited_child.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace kestrova {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;

struct ProgramCacheTest : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("kestrova-cache-" + std::to_string(::getpid()));
    fs::path cache = dir / "cache";
    std::shared_ptr<DiscFileSystem> disc;

    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir / "disc" / "Exes");
        std::ofstream(dir / "disc" / "Exes" / "big.dat") << std::string(200000, 'b');
        std::ofstream(dir / "disc" / "Exes" / "run.sh") << "#!/bin/sh\n";
        ASSERT_TRUE(BuildImage("joliet", dir / "disc", dir / "disc.iso"));
        disc = OpenDiscImage((dir / "disc.iso").string());
    }
    void TearDown() override { fs::remove_all(dir); }
    const ImageFileSystem& Image() const { return dynamic_cast<const ImageFileSystem&>(*disc); }

    std::string CopyFailure(const std::string& path, bool withFolder) {
        try {
            CopyOutOfImage(Image(), path, withFolder, cache.string());
        } catch (const Error& e) {
            return e.Detail();
        }
        return "copied";
    }
};

TEST_F(ProgramCacheTest, AFullDiskEndsTheCopyWithTheReasonAndNoPartialFile) {
    const std::string root = cache.string();
    const auto result = testing::RunWithFileSizeLimit(100000, [&] {
        try {
            CopyOutOfImage(Image(), "Exes/run.sh", true, root);
        } catch (const Error& e) {
            return e.Detail();
        }
        return std::string("copied");
    });
    EXPECT_THAT(result.text, HasSubstr("File too large"));
    // The small program may be there; the large file is not, not even in part.
    for (const auto& entry : fs::recursive_directory_iterator(cache)) {
        EXPECT_THAT(entry.path().filename().string(), ::testing::Not(StartsWith(".")))
            << "a temporary file stayed: " << entry.path();
        EXPECT_NE(entry.path().filename(), "big.dat");
    }
    // With room, the same copy completes.
    EXPECT_EQ(CopyFailure("Exes/run.sh", true), "copied");
}

TEST_F(ProgramCacheTest, ALinkPlantedInTheCacheIsNotWrittenThrough) {
    const CopiedFile first = CopyOutOfImage(Image(), "Exes/run.sh", false, cache.string());
    const fs::path copy = first.file;
    fs::remove(copy);
    const fs::path victim = dir / "victim";
    std::ofstream(victim) << "precious";
    fs::create_symlink(victim, copy);
    EXPECT_THAT(CopyFailure("Exes/run.sh", false), HasSubstr("symbolic link"));
    std::ifstream in(victim);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "precious");
}

} // namespace
} // namespace kestrova
