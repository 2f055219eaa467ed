#include "common/lint.h"

#include "common/demo_mentions.h"

#include "base/error.h"
#include "base/text.h"
#include "engine/disc_requirements.h"
#include "pictures/bitmap_codec.h"
#include "pictures/picture_collection.h"
#include "support/image_builder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;
using kestrova::LintDisc;
using kestrova::LintFinding;

namespace {

// The disc data of a sound disc with two demos; tests break one thing at a time.
std::vector<std::string> GoodLines() {
    return {
        "",
        "*Spritecount",
        "3",
        "*techsupport",
        "Tech support:",
        "*systemrequirements",
        "Requires:",
        "Notes for the editors",
        "*BEGIN0",
        "This month's feature",
        "More words",
        "Even more",
        "*END0",
        "*BEGIN1", // line 13 (0-based)
        "Star Pilot",
        "Fly",
        "the",
        "ship",
        "Demos/StarPilot/setup.exe", // 18
        "no",
        "no",
        "starpilot.rtf", // 21
        "support@example.com",
        "Pentium 90",
        "16 MB RAM",
        "Windows 95",
        "*END1",
        "*BEGIN2", // 27
        "Road Rage",
        "Drive",
        "",
        "fast",
        "Demos/RoadRage/install.exe", // 32
        "no",
        "roadrage/play.exe", // 34
        "roadrage.rtf",
        "0800 123 456",
        "Pentium 133",
        "32 MB RAM",
        "Windows 98",
        "*END2",
        "*BEGINUTILITIES", // 41
        "TOOLS",
        "",
        "Unzipper",
        "Utils/unzip.exe", // 45
        "*ENDUTILITIES",
        "*BEGINADDONS", // 47
        "Map pack",
        "Addons/maps.exe",
        "*ENDADDONS",
        "*SUPPORT1", // 51
        "Help pages",
        "pages/help.html#top",
        "*SUPPORT2",
        "Magazine site",
        "http://example.com/",
        "*TOBRIK1", // 57
        "Play with Tobrik",
        "showgame",
        "*TOBRIK2",
        "Tobrik tool",
        "*XTools/tobrik.exe", // 62
        "*BANNER1",           // 63
        "http://example.com/ad",
        "*BANNER2", // 65
        "Exes/adprog.exe",
    };
}

// Every top panel either kind of disc asks for.
std::vector<std::string> AllTopPanelNames() {
    std::vector<std::string> names = kestrova::RequiredTopPanelNames(false);
    for (const std::string& name : kestrova::RequiredTopPanelNames(true)) {
        names.push_back(name);
    }
    return names;
}

std::vector<std::string> Numbered(const std::string& stem, int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        names.push_back(stem + std::to_string(i));
    }
    return names;
}

// A 1 x 1 GIF that decodes.
std::string TinyGif() {
    const unsigned char gif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01,
                                 0x00, 0x80, 0x00, 0x00, 0xFF, 0xA0, 0x20, 0x00, 0x00,
                                 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01,
                                 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};
    return std::string(reinterpret_cast<const char*>(gif), sizeof gif);
}

class LintDiscTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Named for this process too: other test runs may share the temporary folder.
        dir_ = fs::temp_directory_path() /
               (std::string("kestrova_lint_") + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        lines_ = GoodLines();
        for (const char* file :
             {"Demos/StarPilot/setup.exe", "Demos/RoadRage/install.exe", "Exes/roadrage/play.exe",
              "databases/starpilot.rtf", "databases/roadrage.rtf", "Utils/unzip.exe",
              "Addons/maps.exe", "pages/help.html", "Tools/tobrik.exe", "Exes/adprog.exe"}) {
            Write(file, "x");
        }
        Write("engine/images/banners/banner1.gif", TinyGif());
        Write("engine/images/banners/banner2.gif", TinyGif());
        kestrova::Picture background;
        background.width = 4;
        background.height = 3;
        background.pixels.assign(12, 0xFF102040u);
        const std::vector<uint8_t> bmp =
            kestrova::EncodeBitmapFile(background, kestrova::BitmapWriteOptions{});
        Write("engine/images/mainbg.bmp", std::string(bmp.begin(), bmp.end()));
        WritePictures("engine/images/panels.dxg", kestrova::RequiredPanelNames());
        WritePictures("engine/images/top_panels.dxg", AllTopPanelNames());
        WritePictures("engine/images/slider.dxg", Numbered("panel", 3 + 5));
        WritePictures("engine/images/slider2.dxg", Numbered("thumb", 3 + 1));
        WritePictures("engine/images/banners.dxg", {"ad"});
    }
    void TearDown() override { fs::remove_all(dir_); }

    void Write(const std::string& rel, const std::string& bytes) {
        fs::create_directories((dir_ / rel).parent_path());
        std::ofstream(dir_ / rel, std::ios::binary) << bytes;
    }
    void Remove(const std::string& rel) { fs::remove(dir_ / rel); }

    void WritePictures(const std::string& rel, const std::vector<std::string>& names) {
        kestrova::PictureCollection collection;
        kestrova::Picture picture;
        picture.width = 2;
        picture.height = 2;
        picture.pixels.assign(4, 0xFF336699u);
        for (const std::string& name : names) {
            kestrova::PictureCollectionItem& item = collection.Add();
            item.Name = name;
            item.SetPicture(picture);
        }
        fs::create_directories((dir_ / rel).parent_path());
        collection.SaveToFile((dir_ / rel).string());
    }

    void WriteData() {
        std::string text;
        for (const std::string& line : lines_) {
            text += line + "\r\n";
        }
        Write("engine/data/discdata.kvx", text);
    }

    std::vector<LintFinding> Lint() {
        WriteData();
        return LintDisc(dir_.string());
    }

    // The findings whose message contains `part`, as "LINE: message" for readable failures.
    std::vector<std::string> With(const std::string& part) {
        std::vector<std::string> hits;
        for (const LintFinding& f : Lint()) {
            if (f.message.find(part) != std::string::npos) {
                hits.push_back(std::to_string(f.line) + ": " + f.message);
            }
        }
        return hits;
    }

    // Line numbers (1-based) of the findings containing `part`.
    std::vector<int> LinesWith(const std::string& part) {
        std::vector<int> at;
        for (const LintFinding& f : Lint()) {
            if (f.message.find(part) != std::string::npos) {
                at.push_back(f.line);
            }
        }
        return at;
    }

    std::string All() {
        std::string text;
        for (const LintFinding& f : Lint()) {
            text += kestrova::FormatFinding(f) + "\n";
        }
        return text;
    }

    fs::path dir_;
    std::vector<std::string> lines_;
};

using Lines = std::vector<int>;

} // namespace

TEST_F(LintDiscTest, SoundDiscIsCleanAndFoundIgnoringCase) {
    EXPECT_EQ(All(), "");
    fs::rename(dir_ / "engine" / "data", dir_ / "engine" / "DATA");
    fs::rename(dir_ / "engine" / "DATA" / "discdata.kvx",
               dir_ / "engine" / "DATA" / "DiscData.KVX");
    fs::rename(dir_ / "Demos", dir_ / "DEMOS");
    EXPECT_EQ(LintDisc(dir_.string()).size(), 0u);
}

// The same disc as a CD image with upper-case names only: the same findings on the same lines,
// each naming the file inside the image.
TEST_F(LintDiscTest, AnImageGivesTheFolderFindings) {
    Remove("Demos/StarPilot/setup.exe");
    Remove("engine/images/banners/banner2.gif");
    Write("engine/images/banners/banner3.gif", "not a GIF");
    const std::vector<LintFinding> onFolder = Lint();
    ASSERT_GE(onFolder.size(), 3u);
    const fs::path image = dir_.string() + ".iso";
    ASSERT_TRUE(kestrova::BuildImage("plain", dir_, image));
    const std::vector<LintFinding> onImage = LintDisc(image.string());
    fs::remove(image);
    ASSERT_EQ(onImage.size(), onFolder.size());
    for (std::size_t i = 0; i < onFolder.size(); ++i) {
        EXPECT_EQ(onImage[i].line, onFolder[i].line);
        EXPECT_EQ(onImage[i].message, onFolder[i].message);
        const std::string inFolder = onFolder[i].file.substr(dir_.string().size());
        const std::string inImage = onImage[i].file.substr(image.string().size());
        EXPECT_TRUE(kestrova::EqualsIgnoreCase(inImage, inFolder)) << inImage << " " << inFolder;
    }
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(kestrova::RunLintTool({"/nonexistent.iso"}, out, err), 2);
    EXPECT_EQ(err.str(), "kestrova-lint: /nonexistent.iso is neither a folder nor a CD image\n");
}

TEST_F(LintDiscTest, LineRules) {
    lines_[0] = "Kestrova disc data";
    lines_[7] = std::string(4096, 'n');
    EXPECT_EQ(LinesWith("first line must be blank"), Lines{1});
    EXPECT_EQ(LinesWith("4096 characters long"), Lines{8});

    lines_ = GoodLines();
    lines_[40] += std::string(1, '\0') + "tail";
    const auto hits = With("NUL byte");
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].substr(0, 3), "41:");
}

TEST_F(LintDiscTest, LinesMustNotRepeatAnEarlierLine) {
    lines_[7] = "road rage";   // a note that comes before the second title
    lines_[44] = "Fly";        // a utilities name equal to a description line
    lines_[58] = "HELP PAGES"; // a mascot label equal to a support label
    lines_[60] = "*support2";  // a key line twice
    lines_[14] = "";           // a blank title equals the blank first line
    EXPECT_EQ(LinesWith("equals line"), (Lines{15, 29, 45, 59, 61}));
    EXPECT_EQ(With("equals line 8")[0],
              "29: title \"Road Rage\" equals line 8: every lookup finds that line first");
}

TEST_F(LintDiscTest, SpriteCountMustBeAnIntegerThatFitsTheFrontEnd) {
    lines_[2] = "three";
    EXPECT_EQ(With("spriteCount: 'three' is not a valid integer value").size(), 1u);
    lines_[2] = " 3";
    EXPECT_EQ(LinesWith("is not a valid integer value"), Lines{3});
    lines_[2] = "0";
    EXPECT_EQ(LinesWith("outside 1 to 21"), Lines{3});
    lines_[2] = "22";
    EXPECT_EQ(LinesWith("outside 1 to 21"), Lines{3});
    lines_[1] = "*Sprite count";
    EXPECT_EQ(LinesWith("\"*Spritecount\" is missing"), Lines{0});
    lines_ = {"", "*techsupport", "x", "*Spritecount"};
    EXPECT_EQ(LinesWith("has no value line"), Lines{4});
}

TEST_F(LintDiscTest, ABadSpriteCountHidesNoRecordFaults) {
    Remove("Demos/StarPilot/setup.exe");
    lines_.erase(lines_.begin() + 36, lines_.begin() + 40); // entry 2 ends at +9
    for (const char* count : {"22", "0", "three"}) {
        lines_[2] = count;
        EXPECT_EQ(LinesWith("spriteCount"), Lines{3}) << count;
        EXPECT_EQ(LinesWith("not found"), Lines{19}) << count;
        EXPECT_EQ(LinesWith("ends at +9"), Lines{28}) << count;
        // The file's own entries are checked; those a wrong count would name are not asked for.
        EXPECT_EQ(LinesWith("is missing"), Lines{}) << count;
    }
    lines_[1] = "*Sprite count";
    EXPECT_EQ(LinesWith("\"*Spritecount\" is missing"), Lines{0});
    EXPECT_EQ(LinesWith("not found"), Lines{19});
    EXPECT_EQ(LinesWith("ends at +9"), Lines{28});
}

TEST_F(LintDiscTest, BackgroundMustDecode) {
    Write("engine/images/mainbg.bmp", "BM not really a bitmap");
    const std::string all = All();
    EXPECT_NE(all.find("mainbg.bmp:0: cannot be read: "), std::string::npos) << all;
}

TEST_F(LintDiscTest, EntriesBelowSpriteCountNeedWholeRecords) {
    lines_[27] = "*BEGIN 2";
    lines_[12] = "*END";
    EXPECT_EQ(LinesWith("\"*BEGIN2\" is missing"), Lines{0});
    EXPECT_EQ(LinesWith("\"*END0\" is missing"), Lines{9});

    lines_ = GoodLines();
    lines_.erase(lines_.begin() + 22, lines_.begin() + 26); // entry 1 ends at +9
    EXPECT_EQ(LinesWith("ends at +9"), Lines{14});

    lines_ = GoodLines();
    lines_.resize(36);
    EXPECT_EQ(LinesWith("cut off by the end of the file"), Lines{28});
}

TEST_F(LintDiscTest, NumberedKeysOutsideTheirRangeAreNeverRead) {
    lines_[51] = "*SUPPORT21";
    lines_[57] = "*TOBRIK0";
    lines_[63] = "*BANNER9";
    lines_[65] = "*banner02";
    EXPECT_EQ(LinesWith("is never read"), (Lines{52, 58, 64, 66}));
}

TEST_F(LintDiscTest, ShellPathsAreAtMost79Characters) {
    const std::string seventyFive = "Demos/" + std::string(65, 'a') + "/x.exe"; // 77
    lines_[18] = seventyFive + "xx";                                            // 79: fine
    lines_[34] = std::string(75, 'p');                                          // "Exes/" + 75 = 80
    lines_[62] = "*X" + std::string(80, 't');
    Write(lines_[18], "x");
    EXPECT_EQ(LinesWith("more than the shell's 79"), (Lines{35, 63}));
}

TEST_F(LintDiscTest, LongCaptionsAndLongMenus) {
    lines_[14] = std::string(50, 'T');
    lines_[55] = std::string(49, 'M');
    EXPECT_EQ(LinesWith("is cut"), Lines{15});

    lines_ = GoodLines();
    std::vector<std::string> tools;
    for (int i = 0; i < 12; ++i) {
        tools.push_back("Tool " + std::to_string(i));
        tools.push_back("");
    }
    lines_.insert(lines_.begin() + 46, tools.begin(), tools.end());
    EXPECT_EQ(With("utilities menu has 14 lines").size(), 1u);
}

TEST_F(LintDiscTest, EveryNamedFileMustExistIgnoringCase) {
    Remove("Demos/StarPilot/setup.exe");
    Remove("Exes/roadrage/play.exe");
    Remove("databases/starpilot.rtf");
    Remove("Utils/unzip.exe");
    Remove("Tools/tobrik.exe");
    Remove("pages/help.html");
    Remove("Exes/adprog.exe");
    Remove("engine/images/banners/banner2.gif");
    lines_[28] = "ROAD RAGE";
    lines_[32] = "DEMOS\\roadrage\\INSTALL.EXE"; // still there
    lines_[35] = "";                             // no readme at all
    EXPECT_EQ(LinesWith("not found"), (Lines{19, 22, 35, 46, 54, 63, 66, 67}));
    EXPECT_EQ(LinesWith("no readme named"), Lines{36});
}

TEST_F(LintDiscTest, NoBannerPictureAtAll) {
    Remove("engine/images/banners/banner1.gif");
    Remove("engine/images/banners/banner2.gif");
    lines_.resize(63);
    EXPECT_EQ(With("centre banner cannot rotate").size(), 1u);
}

// Choosing a name reads the line before it as a start line. Whatever that finds, the program
// starts, so none of it is an error.
TEST_F(LintDiscTest, ATargetBeforeAMenuNameThatReadsAsAStartLineIsAWarning) {
    lines_[45] = "unzip.e"; // "e" is no number
    lines_[49] = "maps.x2"; // names entry 2
    lines_.insert(lines_.begin() + 50, {"Second", "third.12", "Third", "Addons/third.exe"});
    lines_.insert(lines_.begin() + 46, {"After", "Utils/unzip.exe"});
    for (const char* file : {"unzip.e", "maps.x2", "third.12", "Addons/third.exe"}) {
        Write(file, "x");
    }
    EXPECT_EQ(LinesWith("choosing \"After\" reads the line before it as a start line (it is 7 "
                        "or 8 characters long) that names no entry: the panel stays"),
              Lines{46});
    EXPECT_EQ(LinesWith("choosing \"Second\" also selects panel 2"), Lines{52});
    // This disc has three panels: entry 12 has none.
    EXPECT_EQ(LinesWith("choosing \"Third\" reads the line before it as entry 12's start line, "
                        "which has no panel"),
              Lines{54});
    EXPECT_EQ(LinesWith("is not a valid integer value"), Lines{});
    for (const LintFinding& f : Lint()) {
        EXPECT_EQ(f.message.rfind("warning: ", 0), 0u) << f.line << ": " << f.message;
    }
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(kestrova::RunLintTool({dir_.string()}, out, err), 0) << out.str();
}

// A page of the disc that a support or mascot line opens is read for a command first, as the
// web pane reads it.
TEST_F(LintDiscTest, PageCommandsInMenuTargets) {
    lines_[53] = "command_exit";              // ends the program
    lines_[56] = "Claunch_Tools/nothere.exe"; // starts a file the disc lacks
    for (const char* line : {"*SUPPORT3", "Quit politely", "COMMAND_quit", "*SUPPORT4", "Keep away",
                             "nobrows_page.html", "*SUPPORT5", "Up and out", "claunch_../x.exe",
                             "*SUPPORT6", "Go to the data", "go2data_x.html", "*SUPPORT7",
                             "Tobrik from a page", "CLAUNCH_tools/TOBRIK.EXE"}) {
        lines_.push_back(line);
    }
    const int last = static_cast<int>(lines_.size());
    EXPECT_EQ(LinesWith("\"command_exit\""), Lines{});
    EXPECT_EQ(With("support program \"Tools/nothere.exe\" not found").size(), 1u);
    EXPECT_EQ(LinesWith("warning: the web pane does not follow"), (Lines{last - 12, last - 9}));
    EXPECT_EQ(LinesWith("support program \"../x.exe\" names no file of the disc"), Lines{last - 6});
    EXPECT_EQ(LinesWith("support page \"go2data_x.html\" not found"), Lines{last - 3});
    EXPECT_EQ(LinesWith("TOBRIK.EXE"), Lines{});
}

TEST(DemoMentions, CountsInDigitsAndWordsBeforeDemos) {
    using kestrova::DemoCountClaims;
    const auto claims = DemoCountClaims("ISSUE 27 \xB7 10 DEMOS \xB7 PATCHES");
    ASSERT_EQ(claims.size(), 1u);
    EXPECT_EQ(claims[0].count, 10);
    EXPECT_FALSE(claims[0].more);
    EXPECT_EQ(claims[0].phrase, "10 DEMOS");

    const auto more = DemoCountClaims("Nine more demos, fresh patches and Tobrik's adventure.");
    ASSERT_EQ(more.size(), 1u);
    EXPECT_EQ(more[0].count, 9);
    EXPECT_TRUE(more[0].more);
    EXPECT_EQ(more[0].phrase, "Nine more demos");

    ASSERT_EQ(DemoCountClaims("twelve new playable demos").size(), 1u);
    EXPECT_EQ(DemoCountClaims("twelve new playable demos")[0].count, 12);
    // Numbers that count something else, and demos that are not counted.
    EXPECT_TRUE(
        DemoCountClaims("three missions of Helix Corsairs, our exclusive cover demo.").empty());
    EXPECT_TRUE(DemoCountClaims("Fixture Demo 4").empty());
    EXPECT_TRUE(DemoCountClaims("Second line of demo 3").empty());
    EXPECT_TRUE(DemoCountClaims("two levels of the demo").empty());
}

TEST(DemoMentions, NamesAreWholeWordsIgnoringCase) {
    using kestrova::NamesAsWords;
    EXPECT_TRUE(NamesAsWords("Win a copy of GRAVEL KINGS RALLY!", "Gravel Kings Rally"));
    EXPECT_FALSE(NamesAsWords("Win a copy of Gravel Kingston", "Gravel Kings"));
    EXPECT_FALSE(NamesAsWords("Gravel", "Gravel Kings"));
    EXPECT_EQ(kestrova::FolderOf("Demos\\GravelKings\\setup.exe"), "demos/gravelkings");
    EXPECT_EQ(kestrova::FolderOf("setup.exe"), "");
}

TEST_F(LintDiscTest, TextsThatCountDemosTheDiscDoesNotHold) {
    lines_[10] = "Two demos this month"; // the disc holds two
    lines_[11] = "and one more demo";
    EXPECT_TRUE(With("the text says").empty()) << All();

    lines_[10] = "10 DEMOS ON THIS DISC";
    lines_[11] = "Nine more demos, fresh patches";
    lines_[16] = "3 new demos";     // a description line of demo 1
    lines_[48] = "Two extra demos"; // an add-ons caption (one more besides one: three)
    EXPECT_EQ(With("the text says"),
              (std::vector<std::string>{
                  "11: warning: the text says \"10 DEMOS\" but the disc holds 2 demos "
                  "(*Spritecount 3)",
                  "12: warning: the text says \"Nine more demos\", 10 in all, but the disc "
                  "holds 2 demos (*Spritecount 3)",
                  "17: warning: the text says \"3 new demos\" but the disc holds 2 demos "
                  "(*Spritecount 3)",
                  "49: warning: the text says \"Two extra demos\", 3 in all, but the disc "
                  "holds 2 demos (*Spritecount 3)"}));
    // Notes are not shown, so they may count what they like.
    lines_[10] = "This month's feature";
    lines_[11] = "More words";
    lines_[16] = "the";
    lines_[48] = "Map pack";
    lines_[7] = "Notes: 10 demos last month";
    EXPECT_TRUE(With("the text says").empty()) << All();
}

TEST_F(LintDiscTest, TextsAndBannersThatNameADemoLeftOff) {
    // A one-demo disc made from this one: the count shows entry 1 alone, entry 2's record stays.
    lines_[2] = "2";
    lines_[10] = "Road Rage and Star Pilot, both playable";
    lines_[66] = "Demos/RoadRage/install.exe";
    EXPECT_EQ(With("does not show"),
              (std::vector<std::string>{
                  "11: warning: the text names \"Road Rage\", the title of entry 2, which the "
                  "disc does not show: it holds 1 demo (*Spritecount 2)",
                  "67: warning: banner 2 starts \"Demos/RoadRage/install.exe\", the program of "
                  "entry 2, which the disc does not show: it holds 1 demo (*Spritecount 2)"}));
    // The record gone too, the banner still starts a program among the demos' folders.
    lines_.erase(lines_.begin() + 27, lines_.begin() + 41);
    lines_[10] = "Star Pilot, playable";
    EXPECT_EQ(With("demos' folder"),
              (std::vector<std::string>{
                  "53: warning: banner 2 starts \"Demos/RoadRage/install.exe\", in the demos' "
                  "folder \"demos/\" but of no demo the disc shows: it holds 1 demo "
                  "(*Spritecount 2)"}));
}

TEST_F(LintDiscTest, BannersOfTheDemosShownAndOfOtherFoldersAreFine) {
    lines_[66] = "Demos/RoadRage/install.exe";
    EXPECT_EQ(All(), "");
    lines_[66] = "Exes/roadrage/play.exe";
    EXPECT_EQ(All(), "");
}

TEST_F(LintDiscTest, ImageListsMustHoldWhatTheFrontEndLooksUp) {
    WritePictures("engine/images/panels.dxg", {"PANEL_DEM", "PANEL_INFO"});
    WritePictures("engine/images/top_panels.dxg", {"panel_top_none", "panel_top_demos"});
    WritePictures("engine/images/slider.dxg", Numbered("p", 3 + 3));
    WritePictures("engine/images/slider2.dxg", Numbered("t", 2));
    Write("engine/images/banners.dxg", "not an image list");
    Remove("engine/images/mainbg.bmp");
    const std::string all = All();
    EXPECT_NE(all.find("panels.dxg:0: has no picture named \"installnow\""), std::string::npos);
    EXPECT_NE(all.find("top_panels.dxg:0: has no picture named \"panel_top_tobrik\""),
              std::string::npos);
    EXPECT_EQ(all.find("panel_top_blank"), std::string::npos);
    EXPECT_NE(all.find("slider.dxg:0: holds 6 pictures; spriteCount 3 needs 7"), std::string::npos);
    EXPECT_NE(all.find("slider2.dxg:0: holds 2 thumbnails"), std::string::npos);
    EXPECT_NE(all.find("banners.dxg:0: cannot be read: Invalid stream format"), std::string::npos);
    EXPECT_NE(all.find("mainbg.bmp:0: missing"), std::string::npos);

    // Disc two shows the blank top panel and no section banners.
    lines_.insert(lines_.begin() + 7, "*disctwo");
    EXPECT_NE(All().find("has no picture named \"panel_top_blank\""), std::string::npos);
    EXPECT_EQ(All().find("panel_top_tobrik"), std::string::npos);
}

TEST_F(LintDiscTest, StartPanelSharingTheLastDatabasePanelIsAWarning) {
    WritePictures("engine/images/slider.dxg", Numbered("p", 3 + 4));
    EXPECT_EQ(With("warning: the start panel").size(), 1u);
}

TEST_F(LintDiscTest, GarbageAndHugeDataFilesEndInFindingsNotCrashes) {
    std::mt19937 random(7);
    std::string noise;
    for (int i = 0; i < 200000; ++i) {
        noise += static_cast<char>(random() & 0xFF);
    }
    Write("engine/data/discdata.kvx", noise);
    EXPECT_FALSE(LintDisc(dir_.string()).empty());

    Write("engine/data/discdata.kvx", "\r\n*Spritecount\r\n" + std::string(3000000, '9'));
    EXPECT_FALSE(LintDisc(dir_.string()).empty());

    Write("engine/data/discdata.kvx", std::string(5 * 1024 * 1024, '\n'));
    EXPECT_THROW(LintDisc(dir_.string()), kestrova::Error);
}

TEST_F(LintDiscTest, WarningsAloneDoNotFailUnlessStrict) {
    lines_[56] = "showgame"; // legal in the support menu, but it does nothing there
    WriteData();
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(kestrova::RunLintTool({dir_.string()}, out, err), 0);
    EXPECT_NE(out.str().find("warning: \"showgame\" does nothing"), std::string::npos);
    EXPECT_EQ(kestrova::RunLintTool({"--strict", dir_.string()}, out, err), 1);
}

TEST_F(LintDiscTest, ToolExitStatusAndOutput) {
    WriteData();
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(kestrova::RunLintTool({dir_.string()}, out, err), 0);
    EXPECT_EQ(out.str(), "");

    lines_[14] = "";
    WriteData();
    EXPECT_EQ(kestrova::RunLintTool({dir_.string()}, out, err), 1);
    EXPECT_EQ(out.str(), dir_.string() + "/engine/data/discdata.kvx:15: title \"\" equals line 1: "
                                         "every lookup finds that line first\n");

    EXPECT_EQ(kestrova::RunLintTool({}, out, err), 2);
    EXPECT_EQ(kestrova::RunLintTool({"a", "b"}, out, err), 2);
    EXPECT_EQ(kestrova::RunLintTool({"--bogus"}, out, err), 2);
    EXPECT_EQ(kestrova::RunLintTool({(dir_ / "nothing").string()}, out, err), 2);
    std::ostringstream help;
    EXPECT_EQ(kestrova::RunLintTool({"--help"}, help, err), 0);
    EXPECT_NE(help.str().find("Usage: kestrova-lint [--strict] DISC_DIR"), std::string::npos);

    Remove("engine/data/discdata.kvx");
    std::ostringstream why;
    EXPECT_EQ(kestrova::RunLintTool({dir_.string()}, out, why), 2);
    EXPECT_EQ(why.str(), "kestrova-lint: Cannot open file " + dir_.string() +
                             "/engine/data/discdata.kvx (No such file or directory)\n");
}

TEST(LintMinimalDisc, BundledFixtureIsClean) {
    const std::string disc = std::string(KESTROVA_SOURCE_DIR) + "/tests/data/discs/minimal";
    std::string text;
    for (const LintFinding& f : LintDisc(disc)) {
        text += kestrova::FormatFinding(f) + "\n";
    }
    EXPECT_EQ(text, "");
}

// A note in Russian, as a disc made on a Russian Windows holds it.
TEST_F(LintDiscTest, TextsOfAnotherCodePageAreToldWithThePageToTry) {
    lines_.push_back(
        "\xC4\xE5\xEC\xEE\xE2\xE5\xF0\xF1\xE8\xE8 \xE8\xE3\xF0 \xED\xE0 \xFD\xF2\xEE\xEC "
        "\xE4\xE8\xF1\xEA\xE5"); // Демоверсии игр на этом диске
    const std::string hint = "try --codepage 1251";
    EXPECT_EQ(With(hint).size(), 1u) << All();
    WriteData();
    for (const LintFinding& f : LintDisc(dir_.string(), *kestrova::CodePage::FromNumber(1251))) {
        EXPECT_EQ(f.message.find("code page"), std::string::npos) << f.message;
    }
}

TEST_F(LintDiscTest, BytesThePageLeavesUndefinedAreWarnings) {
    lines_.push_back("\xC1\xE8\xAA");
    WriteData();
    std::vector<std::string> hits;
    for (const LintFinding& f : LintDisc(dir_.string(), *kestrova::CodePage::FromNumber(1253))) {
        hits.push_back(f.message);
    }
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0], "warning: byte 0xAA is no character of code page 1253: \"Αθ\xEF\xBF\xBD\"");
    // The same line in the default page holds letters only: no warning.
    EXPECT_EQ(With("no character").size(), 0u);
}

TEST(LintTool, CodePageOptionIsCheckedLikeTheFrontEnds) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(kestrova::RunLintTool({"--codepage", "65001", "disc"}, out, err), 2);
    EXPECT_NE(err.str().find("--codepage 65001 is not a code page"), std::string::npos);
    EXPECT_EQ(kestrova::RunLintTool({"--codepage"}, out, err), 2);
}
