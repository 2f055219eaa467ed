// One judgement of what a start would do, for the launcher that starts and the one that only
// records: which file it is, what kind, and whether Wine is there for it. Both launchers report
// the same outcome for the same start, and the recording one prints each start on one safe line.

#include "platform/desktop_launcher.h"
#include "platform/dry_run_launcher.h"
#include "platform/launch_check.h"

#include <QDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace kestrova {
namespace {

namespace fs = std::filesystem;

// A minimal Windows executable header: "MZ", the new header's offset at 0x3C, "PE\0\0" there.
std::string PeProgram() {
    std::string bytes(256, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    bytes[0x3C] = static_cast<char>(0x80);
    bytes.replace(0x80, 4, std::string("PE\0\0", 4));
    return bytes;
}

struct Reports : LaunchReports {
    void LaunchEnded(long long ticket, LaunchResult result) override {
        got.emplace_back(ticket, result);
    }
    std::vector<std::pair<long long, LaunchResult>> got;
};

// A folder disc with one file of each kind, and a Wine of its own in tools/.
struct CheckTest : ::testing::Test {
    fs::path old = fs::current_path();
    fs::path dir = fs::temp_directory_path() / ("kestrova-check-" + std::to_string(::getpid()));
    QByteArray oldWine = qgetenv("KESTROVA_WINE");
    QByteArray oldPath = qgetenv("PATH");
    QString wine;

    void SetUp() override {
        fs::create_directories(dir / "disc" / "Demos" / "Game");
        fs::create_directories(dir / "tools");
        std::ofstream(dir / "disc" / "Demos" / "Game" / "Setup.exe", std::ios::binary)
            << PeProgram();
        std::ofstream(dir / "disc" / "run.sh") << "#!/bin/sh\n";
        std::ofstream(dir / "disc" / "notes.txt") << "notes\n";
        ::mkfifo((dir / "disc" / "pipe").c_str(), 0600);
        std::ofstream(dir / "tools" / "mywine") << "#!/bin/sh\n";
        fs::permissions(dir / "tools" / "mywine", fs::perms::owner_all);
        wine = QString::fromStdString((dir / "tools" / "mywine").string());
        fs::current_path(dir / "disc");
        qunsetenv("KESTROVA_WINE");
        qputenv("PATH", QByteArray::fromStdString((dir / "tools").string()));
    }
    void TearDown() override {
        qputenv("KESTROVA_WINE", oldWine);
        qputenv("PATH", oldPath);
        fs::current_path(old);
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    LaunchCheck Check(const std::string& file, const QString& configured = {}) {
        return CheckLaunch(CurrentDisc(), file, configured);
    }
};

TEST_F(CheckTest, TellsWhatEachFileIs) {
    EXPECT_EQ(Check("").result, LaunchResult::NotOnDisc);
    EXPECT_EQ(Check("Exes/none.exe").result, LaunchResult::NotOnDisc);
    EXPECT_EQ(Check("Exes/none.exe").reason, "no such file");
    EXPECT_EQ(Check("pipe").result, LaunchResult::NotAFile);
    // A folder of a folder disc opens in the file manager.
    EXPECT_EQ(Check("demos").target, LaunchTarget::Folder);
    EXPECT_TRUE(Check("demos").CanStart());
    EXPECT_EQ(Check("HTTP://www.example.com/").target, LaunchTarget::Address);

    const LaunchCheck script = Check("RUN.SH");
    EXPECT_TRUE(script.CanStart());
    EXPECT_EQ(script.kind, ProgramKind::Native);
    EXPECT_EQ(script.resolved, "run.sh");
    EXPECT_EQ(Check("notes.txt").kind, ProgramKind::Document);
}

TEST_F(CheckTest, AWindowsProgramNeedsWineFromTheEnvironmentTheSettingsOrThePath) {
    const LaunchCheck none = Check("demos\\game\\setup.exe");
    EXPECT_EQ(none.kind, ProgramKind::Windows);
    EXPECT_EQ(none.result, LaunchResult::NeedsWine);
    EXPECT_NE(none.reason.find("Wine is needed"), std::string::npos);

    // The settings name it, by path or by a name on the path.
    EXPECT_EQ(Check("Demos/Game/Setup.exe", wine).wine, wine);
    EXPECT_EQ(Check("Demos/Game/Setup.exe", QStringLiteral("mywine")).wine, wine);
    EXPECT_EQ(Check("Demos/Game/Setup.exe", QStringLiteral("/no/wine")).result,
              LaunchResult::NeedsWine);

    // KESTROVA_WINE wins over the settings, even when it names nothing there.
    qputenv("KESTROVA_WINE", "mywine");
    EXPECT_EQ(Check("Demos/Game/Setup.exe", QStringLiteral("/no/wine")).wine, wine);
    qputenv("KESTROVA_WINE", "/no/wine");
    EXPECT_EQ(Check("Demos/Game/Setup.exe", wine).result, LaunchResult::NeedsWine);

    // "wine" on the path when nothing else names one.
    qunsetenv("KESTROVA_WINE");
    fs::rename(dir / "tools" / "mywine", dir / "tools" / "wine");
    EXPECT_TRUE(Check("Demos/Game/Setup.exe").CanStart());
}

// What the replay harness and --no-launch report is what the desktop reports: the refusals here
// start nothing on either.
TEST_F(CheckTest, BothLaunchersReportTheSameOutcome) {
    DesktopLauncher desktop(dir.string() + "/cache", {QStringLiteral("/no/wine"), {}});
    DryRunLauncher recorder({QStringLiteral("/no/wine"), {}});
    Reports fromDesktop;
    Reports fromRecorder;
    desktop.SetReports(&fromDesktop);
    recorder.SetReports(&fromRecorder);
    long long ticket = 0;
    for (const char* file : {"Exes/none.exe", "pipe", "Demos/Game/Setup.exe"}) {
        ++ticket;
        desktop.ShellExecute({file, "", "", 5, ticket});
        recorder.ShellExecute({file, "", "", 5, ticket});
    }
    const std::vector<std::pair<long long, LaunchResult>> want = {
        {1, LaunchResult::NotOnDisc}, {2, LaunchResult::NotAFile}, {3, LaunchResult::NeedsWine}};
    EXPECT_EQ(fromDesktop.got, want);
    EXPECT_EQ(fromRecorder.got, want);
    EXPECT_EQ(recorder.launches.size(), 3u) << "every start is recorded, refused or not";
}

TEST_F(CheckTest, TheRecorderPrintsEachStartOnOneSafeLine) {
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    DryRunLauncher recorder({wine, {}}, out);
    recorder.ShellExecute({"run.sh", "-x", "", 5, 0});
    recorder.ShellExecute({"Demos/Game/Setup.exe", "", "", 5, 0});
    recorder.ShellExecute({"gone\x1b]0;pwned\x07.exe", "", "", 5, 0});
    std::rewind(out);
    std::string text(4096, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), out));
    std::fclose(out);
    EXPECT_EQ(text, "not started (--no-launch): run.sh -x: would start\n"
                    "not started (--no-launch): Demos/Game/Setup.exe: would start through " +
                        wine.toStdString() +
                        "\n"
                        "not started (--no-launch): gone\\x1B]0;pwned\\x07.exe: would not start: "
                        "no such file\n");
}

TEST(WinePrefix, AnAbsolutePathOrOneInTheHomeFolder) {
    EXPECT_EQ(DesktopLauncher::WinePrefixPath(QStringLiteral("/opt/wine-kv")),
              QStringLiteral("/opt/wine-kv"));
    EXPECT_EQ(DesktopLauncher::WinePrefixPath(QStringLiteral("~/.wine-kv")),
              QDir::homePath() + QStringLiteral("/.wine-kv"));
    EXPECT_TRUE(DesktopLauncher::WinePrefixPath(QStringLiteral("wine-kv")).isEmpty());
    EXPECT_TRUE(DesktopLauncher::WinePrefixPath(QString()).isEmpty());
}

} // namespace
} // namespace kestrova
