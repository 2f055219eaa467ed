// The program cache copies out of a CD image into a folder of the user's alone: no shared
// fallback, no link followed on the way down, a copy reused only when it holds the image's bytes,
// a small image never making it write much, and only programs made executable. Every write goes
// through the program's safe writer: a full disk or a planted link leaves nothing half-written.

#include "disc/cdio/open_disc.h"
#include "disc/program_cache.h"

#include "base/error.h"
#include "disc/image_file_system.h"
#include "support/image_builder.h"
#include "support/limited_child.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <utility>

namespace kestrova {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;

std::string TextOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

unsigned ModeOf(const fs::path& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st.st_mode & 07777u;
}

// The regular files below `folder`.
std::vector<fs::path> FilesBelow(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_regular_file()) {
            files.push_back(it->path());
        }
    }
    return files;
}

// An environment variable set for one test, put back as it was after.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        Set(value);
    }
    ~ScopedEnv() { Set(old_ ? old_->c_str() : nullptr); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    void Set(const char* value) {
        if (value) {
            ::setenv(name_, value, 1);
        } else {
            ::unsetenv(name_);
        }
    }
    const char* name_;
    std::optional<std::string> old_;
};

struct ProgramCacheTest : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("kestrova-cache-" + std::to_string(::getpid()));
    fs::path cache = dir / "cache";
    std::shared_ptr<DiscFileSystem> disc;

    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir / "disc" / "Exes");
        std::ofstream(dir / "disc" / "Exes" / "a.txt") << "first in the folder";
        std::ofstream(dir / "disc" / "Exes" / "big.dat") << std::string(200000, 'b');
        std::ofstream(dir / "disc" / "Exes" / "run.sh") << "#!/bin/sh\n";
        disc = Open("joliet", dir / "disc", dir / "disc.iso");
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    std::shared_ptr<DiscFileSystem> Open(const std::string& flavour, const fs::path& folder,
                                         const fs::path& image) {
        EXPECT_TRUE(BuildImage(flavour, folder, image));
        return OpenDiscImage(image.string());
    }
    const ImageFileSystem& Image() const { return dynamic_cast<const ImageFileSystem&>(*disc); }

    std::string CopyFailure(const std::string& path, bool withFolder,
                            const std::optional<std::string>& into = {}) {
        try {
            CopyOutOfImage(Image(), path, withFolder, into.value_or(cache.string()));
        } catch (const Error& e) {
            return e.Detail();
        }
        return "copied";
    }
};

TEST_F(ProgramCacheTest, AFullDiskEndsTheCopyAndRemovesWhatItWrote) {
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
    // Neither the large file nor the small one copied before it stays, nor any temporary file.
    EXPECT_THAT(FilesBelow(cache), ::testing::IsEmpty());
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
    EXPECT_EQ(TextOf(victim), "precious");
}

// A copy of the right size but other bytes (left by a damaged write, or planted) is replaced by
// the image's; a copy that matches is kept as it is.
TEST_F(ProgramCacheTest, ACopyIsReusedOnlyWhenItHoldsTheImagesBytes) {
    const CopiedFile first = CopyOutOfImage(Image(), "Exes/run.sh", true, cache.string());
    const fs::path folder = fs::path(first.file).parent_path();
    std::ofstream(first.file, std::ios::trunc) << "#!/bin/X\n";
    std::ofstream(folder / "a.txt", std::ios::trunc) << "FIRST IN THE FOLDER";
    struct stat kept {};
    ::stat((folder / "big.dat").c_str(), &kept);

    const CopiedFile second = CopyOutOfImage(Image(), "Exes/run.sh", true, cache.string());
    EXPECT_EQ(second.file, first.file);
    EXPECT_EQ(TextOf(second.file), "#!/bin/sh\n");
    EXPECT_EQ(TextOf(folder / "a.txt"), "first in the folder");
    struct stat now {};
    ::stat((folder / "big.dat").c_str(), &now);
    EXPECT_EQ(now.st_ino, kept.st_ino) << "a matching copy was written again";
}

// The key of a cue sheet's disc covers its data file: a .bin replaced by another of the same size
// and time, beside the same cue sheet, is another disc and its program is copied afresh.
TEST_F(ProgramCacheTest, ReplacingTheDataFileOfACueSheetIsAnotherDisc) {
    fs::create_directories(dir / "one" / "Exes");
    fs::create_directories(dir / "two" / "Exes");
    std::ofstream(dir / "one" / "Exes" / "run.sh") << "#!/bin/sh\necho one\n";
    std::ofstream(dir / "two" / "Exes" / "run.sh") << "#!/bin/sh\necho two\n";
    fs::create_directories(dir / "cd");
    fs::create_directories(dir / "new");
    ASSERT_TRUE(BuildImage("bincue", dir / "one", dir / "cd" / "disc.bin"));
    disc = OpenDiscImage((dir / "cd" / "disc.cue").string());
    ASSERT_EQ(Image().Files().size(), 2u);
    EXPECT_EQ(Image().Files()[0].path, (dir / "cd" / "disc.cue").string());
    EXPECT_EQ(Image().Files()[1].path, (dir / "cd" / "disc.bin").string());
    const CopiedFile first = CopyOutOfImage(Image(), "Exes/run.sh", true, cache.string());
    EXPECT_EQ(TextOf(first.file), "#!/bin/sh\necho one\n");

    ASSERT_TRUE(BuildImage("bincue", dir / "two", dir / "new" / "disc.bin"));
    ASSERT_EQ(fs::file_size(dir / "new" / "disc.bin"), fs::file_size(dir / "cd" / "disc.bin"));
    const auto time = fs::last_write_time(dir / "cd" / "disc.bin");
    fs::rename(dir / "new" / "disc.bin", dir / "cd" / "disc.bin");
    fs::last_write_time(dir / "cd" / "disc.bin", time);
    disc = OpenDiscImage((dir / "cd" / "disc.cue").string());

    const CopiedFile second = CopyOutOfImage(Image(), "Exes/run.sh", true, cache.string());
    EXPECT_EQ(TextOf(second.file), "#!/bin/sh\necho two\n");
    EXPECT_NE(second.discRoot, first.discRoot);
}

// The cache lives in the user's own cache folder or nowhere: there is no shared fallback.
TEST_F(ProgramCacheTest, WithoutAnAbsoluteHomeThereIsNoCache) {
    const fs::path old = fs::current_path();
    fs::current_path(dir);
    {
        ScopedEnv xdg("XDG_CACHE_HOME", nullptr);
        ScopedEnv home("HOME", nullptr);
        EXPECT_EQ(UserCacheFolder(), "");
        EXPECT_THAT(CopyFailure("Exes/run.sh", true, UserCacheFolder()),
                    HasSubstr("no cache folder of your own"));
    }
    {
        ScopedEnv xdg("XDG_CACHE_HOME", "cache");
        ScopedEnv home("HOME", "home");
        EXPECT_EQ(UserCacheFolder(), "");
    }
    {
        ScopedEnv xdg("XDG_CACHE_HOME", "relative/is/ignored");
        ScopedEnv home("HOME", (dir / "home").c_str());
        EXPECT_EQ(UserCacheFolder(), (dir / "home" / ".cache").string());
    }
    {
        ScopedEnv xdg("XDG_CACHE_HOME", (dir / "xdg").c_str());
        EXPECT_EQ(UserCacheFolder(), (dir / "xdg").string());
    }
    fs::current_path(old);
    EXPECT_THAT(FilesBelow(dir / "cache"), ::testing::IsEmpty());
}

// Copies go to CACHE/kestrova/discs/VOLUME-HASH, every folder of it the user's alone.
TEST_F(ProgramCacheTest, EveryFolderOfTheCacheIsTheOwnersAlone) {
    const CopiedFile copy = CopyOutOfImage(Image(), "Exes/run.sh", true, cache.string());
    EXPECT_THAT(copy.discRoot, StartsWith((cache / "kestrova" / "discs").string() + "/"));
    std::size_t folders = 0;
    for (const auto& entry : fs::recursive_directory_iterator(cache)) {
        if (entry.is_directory()) {
            EXPECT_EQ(ModeOf(entry.path()), 0700u) << entry.path();
            ++folders;
        }
    }
    EXPECT_EQ(folders, 4u); // kestrova, discs, the disc's own, Exes
    // A folder left open by an earlier version is closed again.
    fs::permissions(cache / "kestrova" / "discs", fs::perms(0777));
    CopyOutOfImage(Image(), "Exes/run.sh", true, cache.string());
    EXPECT_EQ(ModeOf(cache / "kestrova" / "discs"), 0700u);
}

// A symbolic link anywhere from the cache folder down is refused, wherever it leads, and a cache
// folder or a folder inside it that belongs to another user is never used.
TEST_F(ProgramCacheTest, ALinkOrAnotherUsersFolderInTheCacheIsRefused) {
    const fs::path victim = dir / "victim";
    fs::create_directories(victim);
    const CopiedFile first = CopyOutOfImage(Image(), "Exes/run.sh", true, cache.string());
    const fs::path own = fs::path(first.discRoot).parent_path();
    for (const fs::path& link : {own, cache / "kestrova" / "discs", cache / "kestrova"}) {
        fs::remove_all(cache);
        fs::create_directories(link.parent_path());
        fs::create_symlink(victim, link);
        EXPECT_THAT(CopyFailure("Exes/run.sh", true), HasSubstr("symbolic link")) << link;
        EXPECT_THAT(FilesBelow(victim), ::testing::IsEmpty()) << link;
        EXPECT_TRUE(fs::is_empty(victim));
    }
    if (::geteuid() != 0) {
        GTEST_SKIP() << "folders of another user need root to make";
    }
    fs::remove_all(cache);
    fs::create_directories(cache);
    ASSERT_EQ(::chown(cache.c_str(), 65534, 65534), 0);
    EXPECT_THAT(CopyFailure("Exes/run.sh", true), HasSubstr("belongs to another user"));
    EXPECT_THAT(FilesBelow(cache), ::testing::IsEmpty());
    ASSERT_EQ(::chown(cache.c_str(), 0, 0), 0);
    fs::create_directories(cache / "kestrova");
    ASSERT_EQ(::chown((cache / "kestrova").c_str(), 65534, 65534), 0);
    EXPECT_THAT(CopyFailure("Exes/run.sh", true), HasSubstr("belongs to another user"));
    EXPECT_THAT(FilesBelow(cache), ::testing::IsEmpty());
}

// Many entries sharing one extent are the image's bytes once: the copy writes them once, however
// many names they have.
TEST_F(ProgramCacheTest, EntriesSharingAnExtentAreWrittenOnce) {
    const fs::path content = dir / "shared";
    fs::create_directories(content / "Game");
    std::ofstream(content / "Game" / "start.sh") << "#!/bin/sh\n";
    std::ofstream(content / "Game" / "level.dat") << std::string(64 * 1024, 'L');
    for (int i = 0; i < 2000; ++i) {
        fs::create_hard_link(content / "Game" / "level.dat",
                             content / "Game" / ("copy" + std::to_string(i) + ".dat"));
    }
    disc = Open("joliet", content, dir / "shared.iso");
    const CopiedFile copy = CopyOutOfImage(Image(), "Game/start.sh", true, cache.string());
    const fs::path game = fs::path(copy.file).parent_path();
    EXPECT_EQ(TextOf(game / "copy1999.dat"), std::string(64 * 1024, 'L'));
    std::set<std::pair<dev_t, ino_t>> seen;
    uint64_t written = 0;
    for (const fs::path& file : FilesBelow(cache)) {
        struct stat st {};
        ::stat(file.c_str(), &st);
        if (seen.insert({st.st_dev, st.st_ino}).second) {
            written += static_cast<uint64_t>(st.st_size);
        }
    }
    EXPECT_LE(written, fs::file_size(dir / "shared.iso"));
    // A second launch finds them all in place.
    CopyOutOfImage(Image(), "Game/start.sh", true, cache.string());
    EXPECT_EQ(TextOf(game / "copy7.dat"), std::string(64 * 1024, 'L'));
}

// A folder whose files, each extent counted once, hold more than the copy ceiling is refused
// before anything is written.
TEST_F(ProgramCacheTest, AFolderPastTheCeilingIsRefusedBeforeAnythingIsWritten) {
    const fs::path content = dir / "large";
    fs::create_directories(content / "GAME");
    std::ofstream(content / "GAME" / "A.SH") << "#!/bin/sh\n";
    std::ofstream(content / "GAME" / "BIG.DAT") << std::string(4096, 'x');
    ASSERT_TRUE(BuildImage("plain", content, dir / "large.iso"));
    // BIG.DAT claims 1.25 GiB; the image grows (sparse) to hold them.
    std::vector<uint8_t> bytes = ReadAll(dir / "large.iso");
    const std::string name = "BIG.DAT;1";
    const auto at = std::search(bytes.begin(), bytes.end(), name.begin(), name.end());
    ASSERT_NE(at, bytes.end());
    const std::size_t record = static_cast<std::size_t>(at - bytes.begin()) - 33;
    const uint32_t size = 0x50000000;
    for (int i = 0; i < 4; ++i) {
        bytes[record + 10 + static_cast<std::size_t>(i)] = static_cast<uint8_t>(size >> (8 * i));
        bytes[record + 17 - static_cast<std::size_t>(i)] = static_cast<uint8_t>(size >> (8 * i));
    }
    WriteAll(dir / "large.iso", bytes);
    const uint32_t extent =
        bytes[record + 2] | (bytes[record + 3] << 8) | (bytes[record + 4] << 16);
    fs::resize_file(dir / "large.iso", uint64_t{extent} * 2048 + size);
    disc = OpenDiscImage((dir / "large.iso").string());

    const std::string root = cache.string();
    const auto result = testing::RunWithFileSizeLimit(1 << 20, [&] {
        try {
            CopyOutOfImage(Image(), "game/a.sh", true, root);
        } catch (const Error& e) {
            return e.Detail();
        }
        return std::string("copied");
    });
    EXPECT_THAT(result.text, HasSubstr("more than the limit"));
    EXPECT_THAT(FilesBelow(cache), ::testing::IsEmpty());
}

// The program and files that are programs by their header or their Rock Ridge mode are made
// executable; everything else, a document opened alone too, is not.
TEST_F(ProgramCacheTest, OnlyProgramsAreMadeExecutable) {
    const fs::path content = dir / "modes";
    fs::create_directories(content / "App");
    std::ofstream(content / "App" / "go") << "#!/bin/sh\n";
    std::ofstream(content / "App" / "helper") << "\x7f"
                                                 "ELF....";
    std::ofstream(content / "App" / "notes.txt") << "notes";
    std::ofstream(content / "App" / "marked.txt") << "marked";
    std::ofstream(content / "App" / "readme.txt") << "read me";
    fs::permissions(content / "App" / "marked.txt", fs::perms(0755));
    fs::permissions(content / "App" / "readme.txt", fs::perms(0644));
    disc = Open("rockridge", content, dir / "modes.iso");

    const CopiedFile document = CopyOutOfImage(Image(), "App/readme.txt", false, cache.string());
    EXPECT_EQ(ModeOf(document.file), 0644u);
    const CopiedFile program = CopyOutOfImage(Image(), "App/go", true, cache.string());
    const fs::path app = fs::path(program.file).parent_path();
    EXPECT_EQ(ModeOf(app / "go"), 0755u);
    EXPECT_EQ(ModeOf(app / "helper"), 0755u);
    EXPECT_EQ(ModeOf(app / "marked.txt"), 0755u);
    EXPECT_EQ(ModeOf(app / "notes.txt"), 0644u);
    EXPECT_EQ(ModeOf(app / "readme.txt"), 0644u);
}

} // namespace
} // namespace kestrova
