// The disc data file read from a disc folder into its lines.

#include "engine/disc_data_file.h"

#include "base/error.h"
#include "disc/disc_limits.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace kestrova {
namespace {

std::string ErrorText(const std::function<void()>& f) {
    try {
        f();
    } catch (const Error& e) {
        return e.what();
    }
    return "(no error)";
}

LineList Lines(std::string_view text) {
    LineList list;
    list.LoadFromBytes(text);
    return list;
}

class LineListFile : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("kestrova_linelist_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_ / "Engine" / "DATA");
        old_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
    }
    void TearDown() override {
        std::filesystem::current_path(old_);
        std::filesystem::remove_all(dir_);
    }
    std::filesystem::path dir_;
    std::filesystem::path old_;
};

TEST_F(LineListFile, LoadsThroughABackslashPathIgnoringCase) {
    std::ofstream(dir_ / "Engine" / "DATA" / "DiscData.KVX", std::ios::binary)
        << "\r\n*Spritecount\r\n3\r\n";
    LineList list;
    LoadDiscDataFile(list, "engine\\data\\discdata.kvx");
    EXPECT_EQ(list.KeyValue("*SPRITECOUNT"), "3");
}

TEST_F(LineListFile, MissingFileOrFolderFailsWithThePathAsGivenAndKeepsTheLines) {
    LineList list = Lines("kept");
    EXPECT_EQ(ErrorText([&] { LoadDiscDataFile(list, "engine\\data\\discdata.kvx"); }),
              "Cannot open file engine\\data\\discdata.kvx");
    EXPECT_EQ(ErrorText([&] { LoadDiscDataFile(list, "engine\\data"); }),
              "Cannot open file engine\\data");
    EXPECT_EQ(list.Lines(), std::vector<std::string>{"kept"});
}

TEST_F(LineListFile, OversizedFileIsRefused) {
    {
        std::ofstream out(dir_ / "big.kvx", std::ios::binary);
        const std::string chunk(1 << 20, '\n');
        for (std::size_t i = 0; i <= kDiscDataKind.maxBytes / chunk.size(); ++i) {
            out << chunk;
        }
    }
    LineList list;
    EXPECT_EQ(ErrorText([&] { LoadDiscDataFile(list, "big.kvx"); }), "Cannot open file big.kvx");
}

TEST_F(LineListFile, APastItsLimitSaysSoBesideTheUsualMessage) {
    { std::ofstream out(dir_ / "huge.kvx", std::ios::binary); }
    std::filesystem::resize_file(dir_ / "huge.kvx", 50u << 20); // sparse
    LineList list = Lines("kept");
    try {
        LoadDiscDataFile(list, "huge.kvx");
        FAIL() << "a 50 MB data file loaded";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file huge.kvx");
        EXPECT_NE(e.Detail().find(": is larger than the 4 MiB limit for a disc data file"),
                  std::string::npos)
            << e.Detail();
    }
    EXPECT_EQ(list.Count(), 1);
}

} // namespace
} // namespace kestrova
