// The desktop launcher starts a disc's program as it is named: resolved ignoring case and
// separator style, with no shell between, in the current directory; Windows programs through
// Wine; programs of an image from their copy; failures are only logged.

#include "platform/desktop_launcher.h"

#include "disc/cdio/open_disc.h"
#include "disc/disc_file_system.h"
#include "support/image_builder.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFileSystemWatcher>
#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

// Log lines read as text when an expectation fails.
void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace kestrova {
namespace {

namespace fs = std::filesystem;

// Waits for a started program to move its report into place: the folder is watched, nothing
// polls. A program that never reports ends the wait after ten seconds.
void WaitForFile(const fs::path& file) {
    QFileSystemWatcher watcher({QString::fromStdString(file.parent_path().string())});
    QEventLoop loop;
    QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, &loop, [&] {
        if (fs::exists(file)) {
            loop.quit();
        }
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    if (!fs::exists(file)) { // it may have come before the watch began
        loop.exec();
    }
}

struct LauncherTest : ::testing::Test {
    fs::path old = fs::current_path();
    fs::path dir = fs::temp_directory_path() / ("kestrova-launch-" + std::to_string(::getpid()));

    void SetUp() override {
        fs::create_directories(dir / "Sub Dir");
        fs::current_path(dir);
        // Writes its arguments, one per line, and its working directory.
        const fs::path script = dir / "Sub Dir" / "run me;x.sh";
        std::ofstream(script) << "#!/bin/sh\nfor a in \"$@\"; do echo \"arg:$a\"; done > out.tmp\n"
                                 "pwd >> out.tmp\nmv out.tmp out.txt\n";
        fs::permissions(script, fs::perms::owner_all);
    }
    void TearDown() override {
        fs::current_path(old);
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    // The started program's report, once it has written it.
    std::string Output() {
        WaitForFile(dir / "out.txt");
        std::ifstream in(dir / "out.txt");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

TEST_F(LauncherTest, StartsTheNamedFileWithNoShellBetween) {
    DesktopLauncher launcher;
    launcher.ShellExecute({"SUB DIR\\RUN ME;X.SH", "a b; touch pwned", "", 5});
    EXPECT_EQ(Output(), "arg:a b; touch pwned\n" + fs::canonical(dir).string() + "\n");
    EXPECT_FALSE(fs::exists(dir / "pwned"));
}

TEST_F(LauncherTest, AMissingFileStartsNothingAndIsOnlyLogged) {
    static std::vector<QString> logged;
    logged.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) { logged.push_back(text); });
    DesktopLauncher launcher;
    launcher.ShellExecute({"Exes/nothing.exe", "", "", 5});
    launcher.ShellExecute({"", "", "", 5});
    qInstallMessageHandler(previous);
    ASSERT_EQ(logged.size(), 2u);
    EXPECT_TRUE(logged[0].contains(QStringLiteral("Exes/nothing.exe")));
    EXPECT_TRUE(logged[0].contains(QStringLiteral("no such file")));
    EXPECT_TRUE(logged[1].contains(QStringLiteral("empty")));
}

// A minimal Windows executable header: "MZ", the new header's offset at 0x3C, "PE\0\0" there.
std::string PeProgram() {
    std::string bytes(256, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    bytes[0x3C] = static_cast<char>(0x80);
    bytes.replace(0x80, 4, std::string("PE\0\0", 4));
    return bytes;
}

// A fake Wine: records its arguments and working directory as the test script does.
struct WineTest : LauncherTest {
    fs::path tools = dir / "tools";
    std::string oldPath = qEnvironmentVariable("PATH").toStdString();

    void SetUp() override {
        LauncherTest::SetUp();
        fs::create_directories(tools);
        fs::create_directories(dir / "Demos" / "Game");
        std::ofstream(dir / "Demos" / "Game" / "Setup.exe", std::ios::binary) << PeProgram();
        qunsetenv("KESTROVA_WINE");
    }
    void TearDown() override {
        qputenv("PATH", QByteArray::fromStdString(oldPath));
        qunsetenv("KESTROVA_WINE");
        LauncherTest::TearDown();
    }
    void InstallWine(const std::string& name) {
        const fs::path wine = tools / name;
        std::ofstream(wine) << "#!/bin/sh\nfor a in \"$@\"; do echo \"arg:$a\"; done > \"" +
                                   dir.string() + "/out.tmp\"\npwd >> \"" + dir.string() +
                                   "/out.tmp\"\nmv \"" + dir.string() + "/out.tmp\" \"" +
                                   dir.string() + "/out.txt\"\n";
        fs::permissions(wine, fs::perms::owner_all);
    }
    std::vector<QString> Logged(const LaunchRecord& launch, DesktopLauncher& launcher) {
        static std::vector<QString> logged;
        logged.clear();
        const QtMessageHandler previous =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
                logged.push_back(text);
            });
        launcher.ShellExecute(launch);
        qInstallMessageHandler(previous);
        return logged;
    }
};

TEST_F(WineTest, AWindowsProgramStartsThroughWineInTheDiscRoot) {
    InstallWine("wine");
    qputenv("PATH", QByteArray::fromStdString(tools.string() + ":" + oldPath));
    DesktopLauncher launcher;
    EXPECT_TRUE(Logged({"demos\\game\\SETUP.EXE", "/quiet", "", 5}, launcher).empty());
    const std::string root = fs::canonical(dir).string();
    EXPECT_EQ(Output(), "arg:" + root + "/Demos/Game/Setup.exe\narg:/quiet\n" + root + "\n");
}

TEST_F(WineTest, KestrovaWineNamesTheProgram) {
    InstallWine("my-wine");
    qputenv("KESTROVA_WINE", QByteArray::fromStdString((tools / "my-wine").string()));
    DesktopLauncher launcher;
    launcher.ShellExecute({"Demos/Game/Setup.exe", "", "", 5});
    EXPECT_EQ(Output(), "arg:" + fs::canonical(dir).string() + "/Demos/Game/Setup.exe\n" +
                            fs::canonical(dir).string() + "\n");
}

TEST_F(WineTest, WithoutWineNothingStartsAndTheLogSaysWhy) {
    qputenv("PATH", QByteArray::fromStdString(tools.string()));
    DesktopLauncher launcher;
    const std::vector<QString> logged = Logged({"Demos/Game/Setup.exe", "", "", 5}, launcher);
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_TRUE(logged[0].contains(QStringLiteral("Wine is needed"))) << logged[0].toStdString();
    // A name in KESTROVA_WINE that is no program is no Wine either.
    qputenv("KESTROVA_WINE", "/nonexistent/wine");
    // One line each: starting the program itself anyway would have been refused (it is no program
    // of this system) and logged as well.
    EXPECT_EQ(Logged({"Demos/Game/Setup.exe", "", "", 5}, launcher).size(), 1u);
}

// The settings file names Wine and the prefix the program starts in; KESTROVA_WINE is unset.
TEST_F(WineTest, TheSettingsNameWineAndItsPrefix) {
    const fs::path wine = tools / "settings-wine";
    std::ofstream(wine) << "#!/bin/sh\necho \"prefix:$WINEPREFIX\" > \"" + dir.string() +
                               "/out.tmp\"\nmv \"" + dir.string() + "/out.tmp\" \"" + dir.string() +
                               "/out.txt\"\n";
    fs::permissions(wine, fs::perms::owner_all);
    DesktopLauncher launcher(UserCacheFolder(), {QString::fromStdString(wine.string()),
                                                 QStringLiteral("/opt/kv-prefix")});
    launcher.ShellExecute({"Demos/Game/Setup.exe", "", "", 5});
    EXPECT_EQ(Output(), "prefix:/opt/kv-prefix\n");
}

// A program on a CD image is copied with its folder into the cache and started from there, the
// disc root's copy as its working directory; a second start reuses the copies.
TEST_F(WineTest, AProgramOnAnImageStartsFromItsCopy) {
    InstallWine("wine");
    qputenv("PATH", QByteArray::fromStdString(tools.string() + ":" + oldPath));
    const fs::path content = dir / "content";
    fs::create_directories(content / "Demos" / "Game" / "data");
    fs::create_directories(content / "Other");
    std::ofstream(content / "Demos" / "Game" / "Setup.exe", std::ios::binary) << PeProgram();
    std::ofstream(content / "Demos" / "Game" / "data" / "level.dat") << "level";
    std::ofstream(content / "Other" / "big.dat") << "not copied";
    // The report is moved into place whole, so the test never reads it half written.
    std::ofstream(content / "Tool.sh") << "#!/bin/sh\npwd > \"" + dir.string() +
                                              "/tool.tmp\"\nmv \"" + dir.string() +
                                              "/tool.tmp\" \"" + dir.string() + "/tool.txt\"\n";
    ASSERT_TRUE(BuildImage("joliet", content, dir / "disc.iso"));
    const fs::path cache = dir / "cache";
    ScopedDisc inUse(OpenDiscImage((dir / "disc.iso").string()));
    DesktopLauncher launcher(cache.string());

    const std::vector<QString> logged =
        Logged({CurrentDisc().Root() + "demos/game/setup.exe", "", "", 5}, launcher);
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0], QStringLiteral("Copying Setup.exe from the disc…"));
    const std::string out = Output();
    ASSERT_EQ(std::count(out.begin(), out.end(), '\n'), 2) << out;
    const std::string copy = out.substr(4, out.find('\n') - 4);
    const fs::path discRoot = fs::path(copy).parent_path().parent_path().parent_path();
    EXPECT_EQ(fs::path(copy).filename(), "Setup.exe");
    EXPECT_EQ(fs::path(copy).parent_path().parent_path().parent_path().parent_path(),
              cache / "kestrova" / "discs");
    EXPECT_EQ(out.substr(out.find('\n') + 1), fs::canonical(discRoot).string() + "\n");
    EXPECT_TRUE(fs::exists(discRoot / "Demos" / "Game" / "data" / "level.dat"));
    EXPECT_FALSE(fs::exists(discRoot / "Other"));

    // Unchanged copies are kept as they are.
    const auto written = fs::last_write_time(discRoot / "Demos" / "Game" / "data" / "level.dat");
    fs::remove(dir / "out.txt");
    launcher.ShellExecute({"Demos/Game/Setup.exe", "", "", 5});
    EXPECT_FALSE(Output().empty());
    EXPECT_EQ(fs::last_write_time(discRoot / "Demos" / "Game" / "data" / "level.dat"), written);

    // A program of this system on the image starts directly from its copy.
    launcher.ShellExecute({"tool.sh", "", "", 5});
    WaitForFile(dir / "tool.txt");
    std::ifstream in(dir / "tool.txt");
    std::string pwd;
    std::getline(in, pwd);
    EXPECT_EQ(pwd, fs::canonical(discRoot).string());
}

// The copy runs beside the frame loop: the launch returns at once with a line in the log, and the
// program starts once the copy is done. Copies into the cache are one at a time, across
// processes too: here the test holds the cache, so the copy waits.
TEST_F(WineTest, AProgramOnAnImageIsCopiedBesideTheFrameLoop) {
    InstallWine("wine");
    qputenv("PATH", QByteArray::fromStdString(tools.string() + ":" + oldPath));
    const fs::path content = dir / "content";
    fs::create_directories(content / "Demos" / "Game");
    std::ofstream(content / "Demos" / "Game" / "Setup.exe", std::ios::binary) << PeProgram();
    ASSERT_TRUE(BuildImage("joliet", content, dir / "disc.iso"));
    const fs::path cache = dir / "cache";
    fs::create_directories(cache / "kestrova" / "discs");
    const int held = ::open((cache / "kestrova" / "discs").c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    ScopedDisc inUse(OpenDiscImage((dir / "disc.iso").string()));
    DesktopLauncher launcher(cache.string());

    EXPECT_THAT(Logged({"Demos/Game/Setup.exe", "", "", 5}, launcher),
                ::testing::ElementsAre(QStringLiteral("Copying Setup.exe from the disc…")));
    // Back on the frame loop, with nothing copied or started yet.
    bool copied = false;
    for (const auto& entry : fs::recursive_directory_iterator(cache)) {
        copied = copied || entry.path().filename() == "Setup.exe";
    }
    EXPECT_FALSE(copied);
    QCoreApplication::processEvents();
    EXPECT_FALSE(fs::exists(dir / "out.txt"));

    ::flock(held, LOCK_UN);
    ::close(held);
    const std::string out = Output();
    EXPECT_THAT(out, ::testing::StartsWith("arg:" + cache.string() + "/kestrova/discs/"));
    EXPECT_THAT(out, ::testing::HasSubstr("/Demos/Game/Setup.exe\n"));
}

// Closing the front end during a copy ends it: nothing half-copied stays and nothing starts.
TEST_F(WineTest, ALauncherClosedDuringACopyLeavesNothingBehind) {
    InstallWine("wine");
    qputenv("PATH", QByteArray::fromStdString(tools.string() + ":" + oldPath));
    const fs::path content = dir / "content";
    fs::create_directories(content / "Demos" / "Game");
    std::ofstream(content / "Demos" / "Game" / "Setup.exe", std::ios::binary) << PeProgram();
    ASSERT_TRUE(BuildImage("joliet", content, dir / "disc.iso"));
    const fs::path cache = dir / "cache";
    fs::create_directories(cache / "kestrova" / "discs");
    const int held = ::open((cache / "kestrova" / "discs").c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    ScopedDisc inUse(OpenDiscImage((dir / "disc.iso").string()));
    {
        DesktopLauncher launcher(cache.string());
        launcher.ShellExecute({"Demos/Game/Setup.exe", "", "", 5});
    }
    ::flock(held, LOCK_UN);
    ::close(held);
    QCoreApplication::processEvents();
    for (const auto& entry : fs::recursive_directory_iterator(cache)) {
        EXPECT_FALSE(entry.is_regular_file()) << entry.path();
    }
    EXPECT_FALSE(fs::exists(dir / "out.txt"));
}

// The copy reads its own opening of the image: an image replaced since the disc was opened is
// not what the reader chose, and nothing of it is copied or started.
TEST_F(WineTest, AnImageReplacedSinceItWasOpenedIsNotCopied) {
    const fs::path content = dir / "content";
    fs::create_directories(content / "Game");
    std::ofstream(content / "Game" / "start.sh")
        << "#!/bin/sh\ntouch \"" + dir.string() + "/started\"\n";
    ASSERT_TRUE(BuildImage("joliet", content, dir / "disc.iso"));
    ASSERT_TRUE(BuildImage("joliet", content, dir / "other.iso"));
    ScopedDisc inUse(OpenDiscImage((dir / "disc.iso").string()));
    fs::rename(dir / "other.iso", dir / "disc.iso");
    const fs::path cache = dir / "cache";

    static std::vector<QString> logged;
    logged.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) { logged.push_back(text); });
    // The failed copy is reported later, back on the launcher's thread.
    struct : LaunchReports {
        void LaunchEnded(long long ticket, LaunchResult result) override {
            got.emplace_back(ticket, result);
        }
        std::vector<std::pair<long long, LaunchResult>> got;
    } reports;
    {
        DesktopLauncher launcher(cache.string());
        launcher.SetReports(&reports);
        launcher.ShellExecute({"Game/start.sh", "", "", 5, 7});
        EXPECT_TRUE(reports.got.empty());
        QDeadlineTimer deadline(10000);
        while (logged.size() < 2 && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
    }
    qInstallMessageHandler(previous);
    ASSERT_EQ(logged.size(), 2u);
    EXPECT_TRUE(logged[1].contains(QStringLiteral("changed since it was opened")))
        << logged[1].toStdString();
    const std::vector<std::pair<long long, LaunchResult>> failed = {{7, LaunchResult::CopyFailed}};
    EXPECT_EQ(reports.got, failed);
    EXPECT_FALSE(fs::exists(dir / "started"));
    EXPECT_FALSE(fs::exists(cache));
}

} // namespace
} // namespace kestrova
