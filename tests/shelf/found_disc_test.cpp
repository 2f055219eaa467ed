// Finding discs for the shelf: what counts as a disc, what is passed over, and that no folder
// tree (a link loop, a pipe, a deep or wide tree) can keep the search from ending.

#include "shelf/found_disc.h"
#include "shelf/issue_line.h"
#include "shelf/shelf_folders.h"
#include "support/fixture_disc.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrova {
namespace {

namespace fs = std::filesystem;

class FindDiscsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("kestrova-shelf-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    void Write(const fs::path& file, const std::string& text) {
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }

    std::vector<std::string> Paths(const FindResult& found) {
        std::vector<std::string> paths;
        for (const auto& d : found.discs) {
            paths.push_back(fs::path(d.path).lexically_relative(dir_).string());
        }
        return paths;
    }

    fs::path dir_;
};

TEST_F(FindDiscsTest, FindsFoldersAndImagesOfEachForm) {
    WriteFixtureDisc((dir_ / "June").string(), "ok");
    // A disc authored on another system spells its folders in capitals.
    Write(dir_ / "Caps" / "ENGINE" / "DATA" / "DISCDATA.KVX", "\n*Spritecount\n1\n");
    Write(dir_ / "a.iso", "iso");
    Write(dir_ / "b.ISO", "iso");
    Write(dir_ / "sheet.cue", "FILE \"track.bin\" BINARY\n  TRACK 01 MODE1/2352\n"
                              "    INDEX 01 00:00:00\n");
    Write(dir_ / "track.bin", std::string(4704, '\0'));
    Write(dir_ / "lone.bin", "raw");
    Write(dir_ / "notes.txt", "not a disc");
    Write(dir_ / "Empty" / "engine" / "readme.txt", "no data file");

    const FindResult found = FindDiscs(dir_.string());
    EXPECT_TRUE(found.error.empty());
    EXPECT_EQ(Paths(found), (std::vector<std::string>{"Caps", "June", "a.iso", "b.ISO", "lone.bin",
                                                      "sheet.cue"}));
    for (const FoundDisc& d : found.discs) {
        EXPECT_TRUE(fs::path(d.path).is_absolute()) << d.path;
    }
    EXPECT_EQ(found.discs[0].form, DiscForm::Folder);
    EXPECT_EQ(found.discs[2].form, DiscForm::Iso);
    EXPECT_EQ(found.discs[3].form, DiscForm::Iso);
    EXPECT_EQ(found.discs[4].form, DiscForm::Bin);
    // The sheet stands for the file it names: its size is both together.
    EXPECT_EQ(found.discs[5].form, DiscForm::Cue);
    EXPECT_EQ(found.discs[5].size,
              static_cast<long long>(fs::file_size(dir_ / "sheet.cue") + 4704));
}

TEST_F(FindDiscsTest, ADiscFolderIsOneDiscWhateverItHolds) {
    WriteFixtureDisc((dir_ / "disc").string(), "ok");
    Write(dir_ / "disc" / "Extras" / "bonus.iso", "an image on the disc is part of the disc");
    EXPECT_EQ(Paths(FindDiscs(dir_.string())), (std::vector<std::string>{"disc"}));
    // Given itself, the disc folder is the one disc found.
    const FindResult itself = FindDiscs((dir_ / "disc").string());
    ASSERT_EQ(itself.discs.size(), 1u);
    EXPECT_EQ(itself.discs[0].path, (dir_ / "disc").string());
}

TEST_F(FindDiscsTest, LinkLoopsPipesHiddenAndDeepFoldersEndTheSearch) {
    Write(dir_ / "one" / "two" / "three" / "deep.iso", "found");
    Write(dir_ / "one" / "two" / "three" / "four" / "five" / "too-deep.iso", "not found");
    Write(dir_ / ".Trash" / "thrown.iso", "hidden");
    fs::create_directory_symlink(dir_, dir_ / "one" / "loop");
    fs::create_directory_symlink(dir_ / "one", dir_ / "one" / "two" / "back");
    ASSERT_EQ(mkfifo((dir_ / "pipe.iso").c_str(), 0600), 0);
    fs::create_symlink(dir_ / "one" / "two" / "three" / "deep.iso", dir_ / "linked.iso");

    const FindResult found = FindDiscs(dir_.string());
    EXPECT_TRUE(found.error.empty());
    EXPECT_EQ(Paths(found), (std::vector<std::string>{"linked.iso", "one/two/three/deep.iso"}));
}

TEST_F(FindDiscsTest, StopsAtTheMostDiscs) {
    for (std::size_t i = 0; i < kMostFoundDiscs + 20; ++i) {
        std::string name = std::to_string(i);
        name.insert(0, 1, 'd');
        name += ".iso";
        Write(dir_ / name, "");
    }
    EXPECT_EQ(FindDiscs(dir_.string()).discs.size(), kMostFoundDiscs);
}

TEST_F(FindDiscsTest, AFolderThatCannotBeReadSaysWhy) {
    const FindResult missing = FindDiscs((dir_ / "nowhere").string());
    EXPECT_TRUE(missing.discs.empty());
    EXPECT_EQ(missing.error, "Cannot read the folder " + (dir_ / "nowhere").string() +
                                 ": No such file or directory");
    Write(dir_ / "file", "x");
    EXPECT_EQ(FindDiscs((dir_ / "file").string()).error,
              "Cannot read the folder " + (dir_ / "file").string() + ": Not a directory");
}

TEST_F(FindDiscsTest, DescribesOneGivenPath) {
    WriteFixtureDisc((dir_ / "disc").string(), "ok");
    Write(dir_ / "x.iso", "12345");
    ASSERT_EQ(mkfifo((dir_ / "pipe.iso").c_str(), 0600), 0);

    const auto iso = DescribeDisc((dir_ / "." / "x.iso").string());
    ASSERT_TRUE(iso.has_value());
    EXPECT_EQ(iso->path, (dir_ / "x.iso").string());
    EXPECT_EQ(iso->size, 5);
    EXPECT_EQ(DescribeDisc((dir_ / "disc").string())->form, DiscForm::Folder);
    EXPECT_FALSE(DescribeDisc((dir_ / "pipe.iso").string()).has_value());
    EXPECT_FALSE(DescribeDisc((dir_ / "missing.iso").string()).has_value());
    EXPECT_FALSE(DescribeDisc(dir_.string()).has_value()) << "a folder of discs is no disc";
}

// The shelf's cache is keyed by size and time: a folder disc must change them when a file
// start-up reads changes, or is put back.
TEST_F(FindDiscsTest, AFolderDiscChangesWithTheFilesStartUpReads) {
    WriteFixtureDisc((dir_ / "disc").string(), "ok");
    const FoundDisc before = *DescribeDisc((dir_ / "disc").string());
    const fs::path background = dir_ / "disc" / "engine" / "images" / "mainbg.bmp";
    ASSERT_TRUE(fs::exists(background));
    const auto size = fs::file_size(background);
    fs::resize_file(background, size + 2);
    const FoundDisc grown = *DescribeDisc((dir_ / "disc").string());
    EXPECT_EQ(grown.size, before.size + 2);

    fs::remove(background);
    const FoundDisc without = *DescribeDisc((dir_ / "disc").string());
    EXPECT_NE(without.size, grown.size);
    Write(background, std::string(size + 2, 'x'));
    struct stat st {};
    ASSERT_EQ(stat(background.c_str(), &st), 0);
    const FoundDisc back = *DescribeDisc((dir_ / "disc").string());
    EXPECT_GE(back.modifiedSeconds, static_cast<long long>(st.st_mtim.tv_sec));
    EXPECT_EQ(back.size, grown.size);
}

TEST(IssueLine, IsTheFirstNoteBeforeTheKeys) {
    EXPECT_EQ(IssueLineOf({"", "  Cover disc - issue 27, June 1999 ", "more notes", "*BEGIN0"}),
              "Cover disc - issue 27, June 1999");
    EXPECT_EQ(IssueLineOf({"", "*Spritecount", "11", "a note after the keys"}), "");
    EXPECT_EQ(IssueLineOf({}), "");
    // Windows-1252 on the disc, UTF-8 on the shelf.
    EXPECT_EQ(IssueLineOf({"Num\xe9ro 5"}), "Num\xc3\xa9ro 5");
    const std::string lengthy(500, 'a');
    const std::string cut = IssueLineOf({lengthy});
    EXPECT_EQ(cut, std::string(kMaxIssueLineChars, 'a') + "\xE2\x80\xA6");
}

TEST(ShelfFolders, HomeAndTheDataFolder) {
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    const char* data = std::getenv("XDG_DATA_HOME");
    const std::string savedData = data ? data : "";
    setenv("HOME", "/home/reader", 1);
    setenv("XDG_DATA_HOME", "/data", 1);
    EXPECT_EQ(DefaultShelfFolders(),
              (std::vector<std::string>{"/home/reader/Kestrova", "/data/kestrova/discs"}));
    setenv("XDG_DATA_HOME", "relative/data", 1);
    EXPECT_EQ(DefaultShelfFolders(),
              (std::vector<std::string>{"/home/reader/Kestrova",
                                        "/home/reader/.local/share/kestrova/discs"}));
    setenv("HOME", home.c_str(), 1);
    if (data) {
        setenv("XDG_DATA_HOME", savedData.c_str(), 1);
    } else {
        unsetenv("XDG_DATA_HOME");
    }
}

} // namespace
} // namespace kestrova
