// The desktop launcher starts a disc's program as it is named: resolved ignoring case and
// separator style, with no shell between, in the current directory; failures are only logged.

#include "platform/desktop_launcher.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace kestrova {
namespace {

namespace fs = std::filesystem;

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
        QDeadlineTimer deadline(10000);
        while (!fs::exists(dir / "out.txt") && !deadline.hasExpired()) {
            QThread::msleep(10);
        }
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

} // namespace
} // namespace kestrova
