#include "disc/disc_path.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using kestrova::ResolveDiscPath;

class DiscPath : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               (std::string("kestrova_discpath_") + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "Engine" / "Images" / "banners");
        fs::create_directories(dir_ / "Exes");
        std::ofstream(dir_ / "Engine" / "Images" / "banners" / "Banner1.GIF") << "x";
        std::ofstream(dir_ / "Exes" / "Setup.exe") << "x";
        std::ofstream(dir_ / "Exes" / "setup.EXE") << "x";
        std::ofstream(dir_ / "Exes" / "Caf\xC3\xA9.txt") << "x";
        old_ = fs::current_path();
        fs::current_path(dir_);
    }
    void TearDown() override {
        fs::current_path(old_);
        fs::remove_all(dir_);
    }
    fs::path dir_;
    fs::path old_;
};

TEST_F(DiscPath, ResolvesEachComponentIgnoringCaseWithEitherSeparator) {
    EXPECT_EQ(ResolveDiscPath("engine\\images\\banners\\banner1.gif"),
              "Engine/Images/banners/Banner1.GIF");
    EXPECT_EQ(ResolveDiscPath("ENGINE/images\\BANNERS//banner1.gif"),
              "Engine/Images/banners/Banner1.GIF");
    EXPECT_EQ(ResolveDiscPath("engine\\images\\"), "Engine/Images/");
}

TEST_F(DiscPath, ExactMatchWinsOverOtherSpellings) {
    EXPECT_EQ(ResolveDiscPath("exes/setup.EXE"), "Exes/setup.EXE");
    EXPECT_EQ(ResolveDiscPath("exes/Setup.exe"), "Exes/Setup.exe");
    EXPECT_EQ(ResolveDiscPath("exes/SETUP.exe"), "Exes/Setup.exe");
}

TEST_F(DiscPath, Windows1252NameFindsTheUtf8NameOnDisk) {
    EXPECT_EQ(ResolveDiscPath("exes\\CAF\xC9.TXT"), "Exes/Caf\xC3\xA9.txt");
    EXPECT_EQ(ResolveDiscPath("exes\\CAF\xC3\x89.TXT"), "Exes/Caf\xC3\xA9.txt");
}

TEST_F(DiscPath, AbsolutePathsResolveFromTheRoot) {
    const std::string base = dir_.string() + "/";
    EXPECT_EQ(ResolveDiscPath(base + "ENGINE\\images"), base + "Engine/Images");
}

TEST_F(DiscPath, MissingComponentGivesThePathWithForwardSlashes) {
    EXPECT_EQ(ResolveDiscPath("engine\\nothere\\banner1.gif"), "engine/nothere/banner1.gif");
    EXPECT_EQ(ResolveDiscPath("exes\\setup.exe\\inside"), "exes/setup.exe/inside");
    EXPECT_EQ(ResolveDiscPath(""), "");
    EXPECT_EQ(ResolveDiscPath("\\\\"), "//");
}
