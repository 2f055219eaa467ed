// The author tools on input a careless author or an attacker might hand them: pack refuses what
// it cannot store faithfully, extract leaves nothing half-written, list reads headers only, and
// the linter refuses banners the front end would leave empty.

#include "common/dxg_tool.h"
#include "common/lint.h"

#include "pictures/picture_collection.h"
#include "support/fixture_disc.h"
#include "support/image_builder.h"
#include "support/in_child.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace kestrova {
namespace {

namespace fs = std::filesystem;

class HostileTools : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               (std::string("kestrova-hostile-tools-") + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        // One small picture for the manifests to name.
        PictureCollection one;
        PictureCollectionItem& item = one.Add();
        Picture p;
        p.width = 2;
        p.height = 2;
        p.pixels.assign(4, 0xFF336699u);
        item.SetPicture(p);
        one.SaveToFile(Path("one.dxg"));
        EXPECT_EQ(Run({"extract", Path("one.dxg"), Path("one")}), 0) << err_.str();
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    int Run(const std::vector<std::string>& args) {
        out_.str("");
        err_.str("");
        return RunDxgTool(args, out_, err_);
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    // Packs a manifest of the given items (each a JSON object's inside, the picture added);
    // the error text, or "" when it packed.
    std::string Pack(const std::vector<std::string>& items) {
        std::string json = "{\"items\": [";
        for (std::size_t i = 0; i < items.size(); ++i) {
            json += (i ? ", {" : "{") + items[i] + ", \"png\": \"000.png\"}";
        }
        std::ofstream(dir_ / "one" / "m.json") << json << "]}";
        return Run({"pack", Path("one/m.json"), Path("out.dxg")}) == 0 ? "" : err_.str();
    }

    fs::path dir_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(HostileTools, PackRefusesWhatTheFileCannotHoldNamingTheItem) {
    ASSERT_EQ(Pack({R"("name": "Caf\u00e9")"}), "");
    const std::string item1 = R"(item 1 ("b"): )";
    EXPECT_NE(Pack({R"("name": "a")", R"("name": "b", "patternWidth": -4)"})
                  .find(item1 + "patternWidth -4 is outside 0 to 65535"),
              std::string::npos);
    EXPECT_NE(Pack({R"("name": "a")", R"("name": "b", "patternHeight": 100000)"}).find(item1),
              std::string::npos);
    EXPECT_NE(Pack({R"("name": "\u4e2d")"}).find("outside Windows-1252"), std::string::npos);
    EXPECT_NE(Pack({R"("name": "Panel")", R"("name": "PANEL")"})
                  .find("item 1 (\"PANEL\"): the name is already taken by item 0"),
              std::string::npos);
    const std::string masked = R"("bitDepth": 16, "bitfields": true, "masks": )";
    EXPECT_EQ(Pack({masked + "[63488, 2016, 31]"}), ""); // 5-6-5
    EXPECT_NE(Pack({masked + "[-1, 2016, 31]"}).find("red mask"), std::string::npos);
    EXPECT_NE(Pack({masked + "[1e12, 2016, 31]"}).find("red mask"), std::string::npos);
    EXPECT_NE(Pack({masked + "[16711680, 65280, 255]"}).find("within 16 bits"), std::string::npos);
    EXPECT_NE(Pack({masked + "[63488, 63488, 31]"}).find("separate runs"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir_ / "out.dxg.tmp"));
}

TEST_F(HostileTools, ExtractLeavesNothingBehindWhenItFails) {
    // A folder named like the first picture's file makes writing it fail half-way.
    PictureCollection two;
    for (int i = 0; i < 2; ++i) {
        Picture p;
        p.width = p.height = 1;
        p.pixels = {0xFF000000u};
        two.Add().SetPicture(p);
    }
    two.SaveToFile(Path("two.dxg"));
    std::ofstream(dir_ / "not-a-folder") << "a file stands where the folder would go";
    EXPECT_EQ(Run({"extract", Path("two.dxg"), Path("not-a-folder")}), 2);
    EXPECT_NE(err_.str().find("Cannot create folder"), std::string::npos) << err_.str();
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir_)) {
        left.push_back(entry.path().filename().string());
    }
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"not-a-folder", "one", "one.dxg", "two.dxg"}));

    // A successful extract ends with the finished folder and no partial one.
    EXPECT_EQ(Run({"extract", Path("two.dxg"), Path("two")}), 0) << err_.str();
    EXPECT_TRUE(fs::exists(dir_ / "two" / "manifest.json"));
    for (const auto& entry : fs::directory_iterator(dir_)) {
        EXPECT_EQ(entry.path().filename().string().find(".partial"), std::string::npos);
    }
}

TEST_F(HostileTools, ListReadsHeadersOnly) {
    // 200 run-length pictures: 25.6 M pixels once decoded, more than the front end takes from one
    // file; listing them needs none of it.
    FixtureDiscFolder disc("rle-bomb");
    const std::string file = (disc.Path() / "engine/images/slider2.dxg").string();
    const testing::ChildResult r = testing::RunInChild([&] {
        std::ostringstream out;
        std::ostringstream err;
        const int status = RunDxgTool({"list", file}, out, err);
        const std::string text = out.str();
        return std::to_string(status) + " " +
               std::to_string(std::count(text.begin(), text.end(), '\n')) + " " +
               text.substr(0, text.find('\n'));
    });
    ASSERT_TRUE(r.finished) << "signal " << r.signal;
    EXPECT_EQ(r.text, "0 200 0  \"\"  400 x 320  pattern 0 x 0  transparent yes clBlack  system "
                      "memory no  TBitmap 8-bit rle");
    EXPECT_LT(r.peakGrowthKb, testing::MemoryLimitKb(32 * 1024));
}

TEST(HostileLint, BannersTheFrontEndWouldLeaveEmptyAreFindings) {
    FixtureDiscFolder disc("gif-bomb");
    std::string all;
    for (const LintFinding& f : LintDisc(disc.Path().string())) {
        all += FormatFinding(f) + "\n";
    }
    EXPECT_NE(all.find("banner1.gif:0: banner cannot be shown: its logical screen of 65535 x "
                       "65535 is beyond the banner limit"),
              std::string::npos)
        << all;
}

// The linter opens a cue sheet as start-up does: it ends with the findings or with the reason,
// never waiting on a pipe in the place of a file, named by the sheet or not.
TEST(HostileLint, ACueSheetEndsWithAMessageWhateverStandsInItsFilesPlaces) {
    FixtureDiscFolder disc("ok");
    // The images lie beside the folder they are made of, and go with it.
    struct Folder {
        fs::path path;
        ~Folder() {
            std::error_code ec;
            fs::remove_all(path, ec);
        }
    } const beside{disc.Path().string() + "-images"};
    const fs::path& images = beside.path;
    fs::create_directories(images);
    ASSERT_TRUE(BuildImage("bincue", disc.Path(), images / "real.bin"));
    ASSERT_EQ(::mkfifo((images / "stem.bin").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((images / "pipe").c_str(), 0600), 0);
    for (const char* name : {"stem", "pipe"}) {
        std::ofstream(images / (std::string(name) + ".cue"))
            << "FILE \"" << (name == std::string("stem") ? "real.bin" : "pipe")
            << "\" BINARY\n  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n";
    }
    const auto lint = [&](const fs::path& cue) {
        const testing::ChildResult r = testing::RunInChild(
            [&] {
                std::ostringstream out;
                std::ostringstream err;
                const int status = RunLintTool({cue.string()}, out, err);
                return std::to_string(status) + " " + err.str();
            },
            20);
        return r.finished ? r.text : "waited (signal " + std::to_string(r.signal) + ")";
    };
    EXPECT_EQ(lint(images / "stem.cue"), "0 ");
    const std::string pipeSheet = (images / "pipe.cue").string();
    EXPECT_EQ(lint(pipeSheet),
              "2 kestrova-lint: " + pipeSheet + " (pipe): is not a regular file\n");
}

TEST(HostileLint, FindingsQuoteTheDiscWithoutItsControlCharacters) {
    LintFinding f{"disc/engine/data/discdata.kvx", 3, "title \"\x1b[2Jgone\" is too long"};
    EXPECT_EQ(FormatFinding(f),
              "disc/engine/data/discdata.kvx:3: title \"\\x1B[2Jgone\" is too long");
}

} // namespace
} // namespace kestrova
