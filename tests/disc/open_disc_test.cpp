// CD images built at test time from one small folder: every flavour reads the same files by the
// same path rules as the folder, and damaged images end with a clear reason within the ceilings.

#include "disc/cdio/open_disc.h"
#include "disc/program_cache.h"
#include "disc/program_kind.h"

#include "base/byte_reader.h"
#include "base/error.h"
#include "disc/file_reader.h"
#include "disc/image_file_system.h"
#include "disc/iso9660_volume.h"
#include "support/image_builder.h"
#include "support/in_child.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace kestrova {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

constexpr FileKind kAnyFile{"a test file", 1024 * 1024};

std::string DetailOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const Error& e) {
        return std::string(e.what()) + " | " + e.Detail();
    }
    return "(no error)";
}

struct ImageTest : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("kestrova-image-" + std::to_string(::getpid()));
    fs::path folder = dir / "disc";

    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(folder / "Engine" / "Data");
        fs::create_directories(folder / "Exes");
        fs::create_directories(folder / "LOOP");
        fs::create_directories(folder / "HUGE");
        std::ofstream(folder / "Engine" / "Data" / "DiscData.kvx") << "the disc data";
        std::ofstream(folder / "Welcome Page.html") << "<p>hello</p>";
        std::ofstream(folder / "BIG.TXT") << std::string(5000, 'b');
        std::ofstream(folder / "Exes" / "run.sh") << "#!/bin/sh\n";
        fs::permissions(folder / "Exes" / "run.sh", fs::perms::owner_all);
        std::ofstream(folder / "HUGE" / "X.TXT") << "x";
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    fs::path Build(const std::string& flavour, const std::string& name) {
        const fs::path out = dir / name;
        EXPECT_TRUE(BuildImage(flavour, folder, out)) << "genisoimage is needed (scripts/setup.sh)";
        return out;
    }
};

std::string Text(const std::vector<uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

// The same files, found ignoring case and separator style, spelt as the image records them.
TEST_F(ImageTest, EveryFlavourReadsTheFolderByTheDiscPathRules) {
    for (const auto& [flavour, file] :
         std::vector<std::pair<std::string, std::string>>{{"joliet", "d.iso"},
                                                          {"rockridge", "r.iso"},
                                                          {"bincue", "c.bin"},
                                                          {"mode2", "m.bin"}}) {
        SCOPED_TRACE(flavour);
        const fs::path image = Build(flavour, file);
        const auto disc = OpenDiscImage(image.string());
        const std::string root = image.string() + "/";
        EXPECT_EQ(disc->Root(), root);
        EXPECT_TRUE(disc->IsImage());
        EXPECT_EQ(Text(disc->Read("ENGINE\\data\\discdata.KVX", kAnyFile)), "the disc data");
        EXPECT_EQ(Text(disc->Read(root + "welcome page.html", kAnyFile)), "<p>hello</p>");
        EXPECT_EQ(disc->Resolve("engine/data/discdata.kvx"), root + "Engine/Data/DiscData.kvx");
        EXPECT_EQ(disc->Stat("engine").kind, DiscEntryKind::Folder);
        EXPECT_EQ(disc->Stat("big.txt").size, 5000u);
        EXPECT_EQ(disc->Stat("nothing.txt").kind, DiscEntryKind::None);
        EXPECT_EQ(disc->List(""), (std::vector<std::string>{"BIG.TXT", "Engine", "Exes", "HUGE",
                                                            "LOOP", "Welcome Page.html"}));
        EXPECT_FALSE(disc->LocalPath("big.txt").has_value());
    }
}

// Mode 2 frames as some tools keep them: 2336 bytes, the sync pattern and header dropped.
std::vector<uint8_t> WithoutSyncAndHeader(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> bare;
    for (std::size_t at = 0; at + 2352 <= raw.size(); at += 2352) {
        bare.insert(bare.end(), raw.begin() + static_cast<long>(at + 16),
                    raw.begin() + static_cast<long>(at + 2352));
    }
    return bare;
}

// A raw image holds 2352-byte frames: a sync pattern, a header ending in the mode byte, then the
// sector's 2048 bytes at 16 (Mode 1) or, after an 8-byte subheader, at 24 (Mode 2 Form 1). Without
// a cue sheet the frames themselves say which; with one, its track mode does.
TEST_F(ImageTest, RawFramesOfEitherModeReadTheExactBytesWithOrWithoutACueSheet) {
    std::vector<uint8_t> pattern(7000);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        pattern[i] = static_cast<uint8_t>(i * 7 % 251);
    }
    WriteAll(folder / "Pattern.dat", pattern);
    struct Case {
        std::string flavour, file;
        bool cue;
    };
    for (const Case& c : {Case{"mode1", "m1.bin", false}, Case{"bincue", "c1.bin", true},
                          Case{"mode2", "m2.bin", false}, Case{"mode2cue", "c2.bin", true}}) {
        SCOPED_TRACE(c.flavour);
        const fs::path image = Build(c.flavour, c.file);
        const fs::path cue = fs::path(image).replace_extension(".cue");
        ASSERT_EQ(fs::exists(cue), c.cue);
        std::vector<fs::path> ways{image};
        if (c.cue) {
            ways.push_back(cue);
        }
        for (const fs::path& way : ways) {
            SCOPED_TRACE(way.filename().string());
            const auto disc = OpenDiscImage(way.string());
            EXPECT_EQ(disc->Read("pattern.dat", kAnyFile), pattern);
            EXPECT_EQ(Text(disc->Read("engine/data/discdata.kvx", kAnyFile)), "the disc data");
            EXPECT_EQ(disc->List("engine/data"), std::vector<std::string>{"DiscData.kvx"});
        }
    }

    // Mode 2 frames kept without their sync pattern and header (2336 bytes) carry no layout to
    // read; outside a .bin the volume is searched for, and found sectors are read each in its own
    // frame.
    WriteAll(dir / "bare.img", WithoutSyncAndHeader(ReadAll(dir / "m2.bin")));
    EXPECT_EQ(OpenDiscImage((dir / "bare.img").string())->Read("pattern.dat", kAnyFile), pattern);
}

// A cue sheet's first data track is read in the layout its mode gives, from the file its FILE
// line names (beside the sheet unless the name says otherwise), at the place its INDEX 01 gives.
TEST_F(ImageTest, CueSheetsReadTheirFirstDataTrackInItsOwnLayout) {
    const std::vector<uint8_t> pattern(3000, 0x3C);
    WriteAll(folder / "Pattern.dat", pattern);
    Build("joliet", "plain.iso");
    Build("bincue", "m1.bin");
    Build("mode2cue", "m2.bin");
    WriteAll(dir / "m2.img", WithoutSyncAndHeader(ReadAll(dir / "m2.bin")));
    fs::create_directory(dir / "sub");
    fs::copy_file(dir / "m1.bin", dir / "sub" / "in folder.bin");
    // Ten frames of sound before the data, in the same file and in a file of their own.
    std::vector<uint8_t> sound(10 * 2352, 0x55);
    WriteAll(dir / "sound.bin", sound);
    const std::vector<uint8_t> frames = ReadAll(dir / "m1.bin");
    sound.insert(sound.end(), frames.begin(), frames.end());
    WriteAll(dir / "mixed.bin", sound);

    const auto reads = [&](const std::string& text) {
        std::ofstream(dir / "t.cue", std::ios::binary | std::ios::trunc) << text;
        return DetailOf([&] {
            const auto disc = OpenDiscImage((dir / "t.cue").string());
            EXPECT_EQ(disc->Read("pattern.dat", kAnyFile), pattern);
            throw Error(Text(disc->Read("engine/data/discdata.kvx", kAnyFile)));
        });
    };
    const std::string good = "the disc data | ";
    EXPECT_EQ(reads("FILE \"plain.iso\" BINARY\nTRACK 01 MODE1/2048\nINDEX 01 00:00:00\n"), good);
    EXPECT_EQ(reads("FILE \"m1.bin\" BINARY\nTRACK 01 MODE1/2352\nINDEX 01 00:00:00\n"), good);
    EXPECT_EQ(reads("FILE \"m2.bin\" BINARY\nTRACK 01 MODE2/2352\nINDEX 01 00:00:00\n"), good);
    EXPECT_EQ(reads("FILE \"m2.img\" BINARY\nTRACK 01 MODE2/2336\nINDEX 01 00:00:00\n"), good);
    // Unquoted names, keywords in any case, a byte-order mark and CR LF line ends.
    EXPECT_EQ(reads("\xEF\xBB\xBF"
                    "file m1.bin binary\r\n  track 01 mode1/2352\r\n"
                    "    index 01 00:00:00\r\n"),
              good);
    EXPECT_EQ(
        reads("FILE \"sub/in folder.bin\" BINARY\n TRACK 01 MODE1/2352\n INDEX 01 00:00:00\n"),
        good);
    EXPECT_EQ(reads("FILE \"" + (dir / "m1.bin").string() +
                    "\" BINARY\n TRACK 01 MODE1/2352\n INDEX 01 00:00:00\n"),
              good);
    EXPECT_EQ(reads("FILE \"mixed.bin\" BINARY\n TRACK 01 AUDIO\n  INDEX 01 00:00:00\n"
                    " TRACK 02 MODE1/2352\n  INDEX 00 00:00:04\n  INDEX 01 00:00:10\n"),
              good);
    EXPECT_EQ(reads("FILE \"sound.bin\" BINARY\n TRACK 01 AUDIO\n  INDEX 01 00:00:00\n"
                    "FILE \"m1.bin\" BINARY\n TRACK 02 MODE1/2352\n  INDEX 01 00:00:00\n"),
              good);

    EXPECT_THAT(reads("FILE \"missing.bin\" BINARY\nTRACK 01 MODE1/2352\nINDEX 01 00:00:00\n"),
                HasSubstr("t.cue (missing.bin): No such file or directory"));
    EXPECT_THAT(reads("FILE \"sound.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n"),
                HasSubstr("t.cue: the cue sheet holds no data track"));
    EXPECT_THAT(reads("REM nothing\n"), HasSubstr("t.cue: the cue sheet names no file"));
    EXPECT_THAT(
        reads("REM\nFILE \"m1.bin BINARY\n"),
        HasSubstr("t.cue: the cue sheet is bad: line 2: the FILE name's quote is not closed"));
}

// Frames of neither layout are refused with the reason, never read at a guessed offset.
TEST_F(ImageTest, RawFramesOfNoKnownLayoutAreRefused) {
    const fs::path blank = Build("nosync", "n.bin");
    EXPECT_THAT(DetailOf([&] { OpenDiscImage(blank.string()); }),
                HasSubstr(blank.string() + ": no sync pattern"));
    // Nor is a .bin of 2336-byte frames searched for a volume.
    WriteAll(dir / "bare.bin", WithoutSyncAndHeader(ReadAll(Build("mode2", "m2.bin"))));
    EXPECT_THAT(DetailOf([&] { OpenDiscImage((dir / "bare.bin").string()); }),
                HasSubstr("no sync pattern"));

    constexpr std::size_t kFrame = 2352;
    constexpr std::size_t kDescriptorFrame = 16 * kFrame;
    const std::vector<uint8_t> mode2 = ReadAll(dir / "m2.bin");
    // A volume descriptor in a Form 2 frame (the submode's form bit set).
    std::vector<uint8_t> form2 = mode2;
    form2[kDescriptorFrame + 18] |= 0x20;
    form2[kDescriptorFrame + 22] |= 0x20;
    WriteAll(dir / "form2.bin", form2);
    EXPECT_THAT(DetailOf([&] { OpenDiscImage((dir / "form2.bin").string()); }),
                HasSubstr("neither Mode 1 nor Mode 2 Form 1"));
    // An unknown mode byte.
    std::vector<uint8_t> mode3 = mode2;
    mode3[kDescriptorFrame + 15] = 3;
    WriteAll(dir / "mode3.bin", mode3);
    EXPECT_THAT(DetailOf([&] { OpenDiscImage((dir / "mode3.bin").string()); }),
                HasSubstr("neither Mode 1 nor Mode 2 Form 1"));
    // Cut short before the volume descriptor, and inside the folders.
    WriteAll(dir / "stub.bin", std::vector<uint8_t>(mode2.begin(), mode2.begin() + 10 * kFrame));
    EXPECT_THAT(DetailOf([&] { OpenDiscImage((dir / "stub.bin").string()); }),
                HasSubstr("too short"));
    WriteAll(dir / "cut.bin",
             std::vector<uint8_t>(mode2.begin(), mode2.begin() + 18 * kFrame + 1000));
    EXPECT_THAT(DetailOf([&] { OpenDiscImage((dir / "cut.bin").string()); }),
                HasSubstr("truncated"));
}

// Without Joliet or Rock Ridge the names are upper case; the front end's lower-case paths still
// find them. Rock Ridge keeps the names' case and says which files are programs.
TEST_F(ImageTest, PlainNamesAreFoundIgnoringCaseAndRockRidgeGivesModes) {
    const auto plain = OpenDiscImage(Build("plain", "p.iso").string());
    EXPECT_EQ(Text(plain->Read("engine/data/discdata.kvx", kAnyFile)), "the disc data");
    EXPECT_EQ(plain->Resolve("engine/data/discdata.kvx"),
              plain->Root() + "ENGINE/DATA/DISCDATA.KVX");
    EXPECT_FALSE(plain->Stat("exes/run.sh").executable);

    const auto rock = OpenDiscImage(Build("rockridge", "r.iso").string());
    EXPECT_EQ(rock->Resolve("EXES/RUN.SH"), rock->Root() + "Exes/run.sh");
    EXPECT_TRUE(rock->Stat("exes/run.sh").executable);
    EXPECT_FALSE(rock->Stat("big.txt").executable);
}

// The image is the disc in use: the one reader of disc files reads from it, by the same ceilings,
// and nothing outside it is reachable through it.
TEST_F(ImageTest, TheReaderUsesTheImageWithItsCeilingsAndNothingOutside) {
    ScopedDisc inUse(OpenDiscImage(Build("joliet", "d.iso").string()));
    EXPECT_EQ(Text(ReadBoundedFile("Engine/Data/DiscData.kvx", kDiscDataKind)), "the disc data");
    EXPECT_THAT(
        DetailOf([] {
            ReadBoundedFile("big.txt", FileKind{"a small file", 4096});
        }),
        HasSubstr("Cannot open file big.txt | big.txt: is larger than the 4096 bytes limit"));
    EXPECT_THAT(DetailOf([] { ReadBoundedFile("engine", kAnyFile); }),
                HasSubstr("is a folder, not a regular file"));
    EXPECT_THAT(DetailOf([] { ReadBoundedFile("/etc/passwd", kAnyFile); }),
                HasSubstr("no such file in the disc image"));
    EXPECT_THAT(DetailOf([] { ReadBoundedFile("../d.iso", kAnyFile); }),
                HasSubstr("no such file in the disc image"));
    EXPECT_EQ(CurrentDisc().Stat("/etc/passwd").kind, DiscEntryKind::None);
}

// Offset of the folder record named `name` in a plain image (its name follows 33 bytes of
// record; the record's own length and the name's length agree).
std::size_t RecordOf(const std::vector<uint8_t>& image, const std::string& name) {
    for (std::size_t at = 33; at + name.size() < image.size(); ++at) {
        if (image[at - 1] == name.size() &&
            std::equal(name.begin(), name.end(), image.begin() + static_cast<long>(at)) &&
            image[at - 33] >= 33 + name.size() && image[at - 33] < 0x80) {
            return at - 33;
        }
    }
    ADD_FAILURE() << name << " not found";
    return 0;
}

void Put32Both(std::vector<uint8_t>& image, std::size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        image[at + static_cast<std::size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
        image[at + 7 - static_cast<std::size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
    }
}

TEST_F(ImageTest, DamagedImagesEndWithAClearReason) {
    const fs::path good = Build("plain", "p.iso");
    const std::vector<uint8_t> bytes = ReadAll(good);
    const uint32_t rootExtent = bytes[16 * 2048 + 156 + 2] | (bytes[16 * 2048 + 156 + 3] << 8);

    // Cut short after the volume descriptors: the root folder is past the end.
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + 18 * 2048);
    WriteAll(dir / "cut.iso", cut);
    EXPECT_THAT(DetailOf([&] { OpenDiscImage((dir / "cut.iso").string()); }),
                HasSubstr("truncated"));
    // Cut before any descriptor.
    WriteAll(dir / "stub.iso", std::vector<uint8_t>(bytes.begin(), bytes.begin() + 8 * 2048));
    EXPECT_THAT(DetailOf([&] { OpenDiscImage((dir / "stub.iso").string()); }),
                HasSubstr("no ISO 9660 volume"));

    std::vector<uint8_t> hostile = bytes;
    // A file whose extent lies far past the end.
    Put32Both(hostile, RecordOf(hostile, "BIG.TXT;1") + 2, 0x00FFFFFF);
    // A folder that is its own grandparent.
    Put32Both(hostile, RecordOf(hostile, "LOOP") + 2, rootExtent);
    // A folder claiming 2 GiB of records.
    Put32Both(hostile, RecordOf(hostile, "HUGE") + 10, 0x7FFFFFFF);
    WriteAll(dir / "hostile.iso", hostile);
    const auto disc = OpenDiscImage((dir / "hostile.iso").string());
    EXPECT_THAT(DetailOf([&] { disc->Read("big.txt", kAnyFile); }),
                HasSubstr("past the end of the image"));
    EXPECT_THAT(DetailOf([&] { disc->Read("huge/x.txt", kAnyFile); }),
                HasSubstr("more than the limit of 1048576 for a folder"));
    // The loop only repeats the root: a path through it is as long as it is written.
    EXPECT_EQ(Text(disc->Read("loop/loop/loop/engine/data/discdata.kvx", kAnyFile)),
              "the disc data");
    EXPECT_EQ(disc->Stat(std::string(200, 'x')).kind, DiscEntryKind::None);
}

// A plain image whose root folder is written again in two sectors appended to it: "." records up
// to `bigAt`, BIG.TXT's record there, and ENGINE's record opening the second sector when BIG.TXT's
// ends before it.
std::vector<uint8_t> WithTwoSectorRoot(std::vector<uint8_t> image, std::size_t bigAt) {
    const std::size_t descriptorRoot = 16 * 2048 + 156;
    const std::size_t oldRoot = std::size_t{ByteReader(image).U32At(descriptorRoot + 2)} * 2048;
    const std::vector<uint8_t> dot(image.begin() + static_cast<long>(oldRoot),
                                   image.begin() + static_cast<long>(oldRoot + image[oldRoot]));
    const std::size_t bigRecord = RecordOf(image, "BIG.TXT;1");
    const std::size_t engineRecord = RecordOf(image, "ENGINE");
    std::vector<uint8_t> root(2 * 2048, 0);
    for (std::size_t at = 0; at < bigAt;) {
        const std::size_t left = bigAt - at;
        const std::size_t length = left <= 254 ? left : std::min<std::size_t>(254, left - 34);
        std::copy(dot.begin(), dot.end(), root.begin() + static_cast<long>(at));
        root[at] = static_cast<uint8_t>(length);
        at += length;
    }
    std::copy_n(image.begin() + static_cast<long>(bigRecord), image[bigRecord],
                root.begin() + static_cast<long>(bigAt));
    if (bigAt + image[bigRecord] <= 2048) {
        std::copy_n(image.begin() + static_cast<long>(engineRecord), image[engineRecord],
                    root.begin() + 2048);
    }
    Put32Both(image, descriptorRoot + 2, static_cast<uint32_t>(image.size() / 2048));
    Put32Both(image, descriptorRoot + 10, 2 * 2048);
    image.insert(image.end(), root.begin(), root.end());
    return image;
}

// Folder records never span two sectors. One that ends on the sector's last byte is whole, and
// the next sector's records are read; one that would run on into the next sector is damage, never
// read across.
TEST_F(ImageTest, AFolderRecordCrossingASectorIsRefused) {
    const std::vector<uint8_t> bytes = ReadAll(Build("plain", "p.iso"));
    const std::size_t bigLength = bytes[RecordOf(bytes, "BIG.TXT;1")];

    Iso9660Volume whole(
        std::make_unique<MemorySectors>(WithTwoSectorRoot(bytes, 2048 - bigLength)));
    const std::optional<IsoEntry> big = whole.Find({"big.txt"});
    ASSERT_TRUE(big.has_value());
    EXPECT_EQ(Text(whole.Read(*big, 10000)), std::string(5000, 'b'));
    const std::optional<IsoEntry> data = whole.Find({"engine", "data", "discdata.kvx"});
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(Text(whole.Read(*data, 100)), "the disc data");

    Iso9660Volume crossing(std::make_unique<MemorySectors>(WithTwoSectorRoot(bytes, 2048 - 20)));
    EXPECT_THAT(DetailOf([&] { crossing.Find({"big.txt"}); }),
                HasSubstr("a folder record is damaged"));
}

// Copying a program's folder walks the tree: a loop in it ends the copy with a reason instead of
// running on.
TEST_F(ImageTest, CopyingOutStopsAtALoopingFolder) {
    std::vector<uint8_t> looped = ReadAll(Build("plain", "p.iso"));
    const uint32_t rootExtent = looped[16 * 2048 + 156 + 2] | (looped[16 * 2048 + 156 + 3] << 8);
    Put32Both(looped, RecordOf(looped, "LOOP") + 2, rootExtent);
    WriteAll(dir / "loop.iso", looped);
    const auto disc = OpenDiscImage((dir / "loop.iso").string());
    const auto& image = dynamic_cast<const ImageFileSystem&>(*disc);
    EXPECT_THAT(DetailOf([&] { CopyOutOfImage(image, "big.txt", true, (dir / "cache").string()); }),
                HasSubstr("loop back on themselves"));
    // A document alone does not walk anything.
    const CopiedFile copy = CopyOutOfImage(image, "big.txt", false, (dir / "cache").string());
    EXPECT_EQ(fs::file_size(copy.file), 5000u);
}

TEST(ProgramKind, WindowsProgramsByTheirHeaderOthersByHeaderOrMode) {
    std::vector<uint8_t> pe(512, 0);
    pe[0] = 'M';
    pe[1] = 'Z';
    pe[0x3C] = 0x80;
    pe[0x80] = 'P';
    pe[0x81] = 'E';
    EXPECT_EQ(KindOfProgram(pe, false), ProgramKind::Windows);
    // An offset past what was read, or pointing at the offset field itself, is no PE signature.
    std::vector<uint8_t> far = pe;
    far[0x3C] = 0xFE;
    far[0x3D] = 0x01;
    EXPECT_EQ(KindOfProgram(far, false), ProgramKind::Document);
    std::vector<uint8_t> dosOnly = pe;
    dosOnly[0x80] = 0;
    EXPECT_EQ(KindOfProgram(dosOnly, true), ProgramKind::Native);
    EXPECT_EQ(KindOfProgram(std::vector<uint8_t>{'M', 'Z'}, false), ProgramKind::Document);
    EXPECT_EQ(KindOfProgram(std::vector<uint8_t>{0x7F, 'E', 'L', 'F', 2}, false),
              ProgramKind::Native);
    EXPECT_EQ(KindOfProgram(std::vector<uint8_t>{'#', '!', '/'}, false), ProgramKind::Native);
    EXPECT_EQ(KindOfProgram(std::vector<uint8_t>{'%', 'P', 'D', 'F'}, false),
              ProgramKind::Document);
}

TEST_F(ImageTest, NotAnImageIsRefusedWithoutWaiting) {
    WriteAll(dir / "noise.iso", std::vector<uint8_t>(100000, 0x5A));
    EXPECT_THAT(DetailOf([&] { OpenDiscImage((dir / "noise.iso").string()); }),
                HasSubstr("no ISO 9660 volume"));
    ASSERT_EQ(::mkfifo((dir / "pipe.iso").c_str(), 0600), 0);
    EXPECT_THAT(DetailOf([&] { OpenDiscImage((dir / "pipe.iso").string()); }),
                HasSubstr("is not a regular file"));
}

// A cue sheet is opened, and every file it names checked, without waiting on any of them: a pipe,
// a device, a link to a pipe or a folder in a file's place ends the open with the reason, and a
// pipe beside the sheet that it does not name is never touched. Each open runs in a child under a
// time limit, so one that waits fails here instead of holding up the suite.
TEST_F(ImageTest, CueSheetsNeverWaitOnWhatIsInTheirPlace) {
    Build("bincue", "real.bin");
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    fs::create_symlink(dir / "pipe", dir / "link.bin");
    fs::create_directory(dir / "folder.bin");
    const auto open = [&](const fs::path& image) {
        const testing::ChildResult r = testing::RunInChild(
            [&] {
                return DetailOf([&] {
                    const auto disc = OpenDiscImage(image.string());
                    throw Error(Text(disc->Read("engine/data/discdata.kvx", kAnyFile)));
                });
            },
            10);
        return r.finished ? r.text : "waited (signal " + std::to_string(r.signal) + ")";
    };
    const auto sheet = [&](const std::string& name, const std::string& file) {
        std::ofstream(dir / name) << "FILE \"" << file
                                  << "\" BINARY\n  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n";
        return dir / name;
    };

    // The sheet's own name with .bin for .cue is a pipe; the sheet names another file.
    ASSERT_EQ(::mkfifo((dir / "stem.bin").c_str(), 0600), 0);
    EXPECT_EQ(open(sheet("stem.cue", "real.bin")), "the disc data | ");
    ASSERT_EQ(::mkfifo((dir / "UPPER.BIN").c_str(), 0600), 0);
    EXPECT_EQ(open(sheet("UPPER.CUE", "real.bin")), "the disc data | ");

    const std::string refused = "is not a regular file";
    EXPECT_THAT(open(sheet("pipe.cue", "pipe")), HasSubstr("pipe.cue (pipe): " + refused));
    EXPECT_THAT(open(sheet("device.cue", "/dev/zero")),
                HasSubstr("device.cue (/dev/zero): " + refused));
    EXPECT_THAT(open(sheet("link.cue", "link.bin")), HasSubstr("link.cue (link.bin): " + refused));
    EXPECT_THAT(open(sheet("folder.cue", "folder.bin")),
                HasSubstr("folder.cue (folder.bin): " + refused));
    // A pipe named for a later track, which the disc never reads, is refused as well.
    std::ofstream(dir / "audio.cue") << "FILE \"real.bin\" BINARY\n  TRACK 01 MODE1/2352\n"
                                        "    INDEX 01 00:00:00\nFILE \"pipe\" WAVE\n"
                                        "  TRACK 02 AUDIO\n    INDEX 01 00:00:00\n";
    EXPECT_THAT(open(dir / "audio.cue"), HasSubstr("audio.cue (pipe): " + refused));
    // The sheet itself a pipe, and a .bin whose sheet beside it is one.
    ASSERT_EQ(::mkfifo((dir / "sheet.cue").c_str(), 0600), 0);
    EXPECT_THAT(open(dir / "sheet.cue"), HasSubstr("sheet.cue: " + refused));
    fs::copy_file(dir / "real.bin", dir / "sheet.bin");
    EXPECT_THAT(open(dir / "sheet.bin"), HasSubstr("sheet.cue: " + refused));
    // A sheet past its limit is not read at all.
    std::ofstream(dir / "big.cue") << "FILE \"pipe\" BINARY\nREM " << std::string(64 * 1024, 'x');
    EXPECT_THAT(open(dir / "big.cue"), HasSubstr("big.cue: is larger than the limit"));
}

} // namespace
} // namespace kestrova
