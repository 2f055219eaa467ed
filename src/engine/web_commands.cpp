#include "engine/web_commands.h"

#include "engine/disc_requirements.h"
#include "engine/launch.h"
#include "engine/launch_notice.h"
#include "engine/web_address.h"

namespace kestrova {

namespace {

// Enough of a refused argument for the log to say which link it was.
std::string Excerpt(std::string_view text) {
    constexpr std::size_t kShown = 79;
    return text.size() <= kShown ? std::string(text) : std::string(text.substr(0, kShown)) + "...";
}

void LaunchFromPage(MainState& s, Ports& ports, const std::string& currentDirectory,
                    std::string_view argument) {
    // Checked before anything is copied: a page can make the argument as long as it likes. The
    // file is the disc root and the argument, as long as the drive root and the argument.
    if (argument.size() > kMaxShellPath - kDriveRootLength) {
        ports.log->Warning("not started, the link's file name is too long: " + Excerpt(argument));
        NoticeFailure(s, LaunchName("", Excerpt(argument), s.source.Page()), LaunchResult::TooLong);
        return;
    }
    if (!IsDiscRelativePath(argument)) {
        ports.log->Warning("not started, the link names no file of the disc: " + Excerpt(argument));
        NoticeFailure(s, LaunchName("", std::string(argument), s.source.Page()),
                      LaunchResult::NotOnDisc);
        return;
    }
    std::string file = currentDirectory;
    for (const char c : argument) {
        file += AsciiLower(c);
    }
    RunProgram(s, ports, currentDirectory, {.file = file});
}

} // namespace

void RequestPage(MainState& s, const std::string& address) {
    s.pendingUrl = address;
    s.navigatePending = true;
}

bool WebBrowser1BeforeNavigate2(MainState& s, Ports& ports, const std::string& currentDirectory,
                                const std::string& address) {
    const WebAddress read = ReadWebAddress(address, currentDirectory);
    switch (read.command) {
    case WebCommand::Command:
        if (EqualsLower(read.argument, "exit")) {
            ports.window->Terminate();
        }
        break;
    case WebCommand::Claunch:
        LaunchFromPage(s, ports, currentDirectory, read.argument);
        break;
    default:
        break;
    }
    return read.cancel;
}

} // namespace kestrova
