#include "engine/launch.h"

#include "catalogue/disc_rules.h"
#include "engine/disc_requirements.h"
#include "engine/launch_notice.h"
#include "engine/web_commands.h"

namespace kestrova {

bool RunProgram(MainState& s, Ports& ports, const std::string& discRoot,
                const ProgramStart& start) {
    const std::string& file = start.file;
    for (const std::string* text : {&file, &start.parameters, &start.directory}) {
        if (ShellTextLength(*text, discRoot) > kMaxShellPath) {
            ports.log->Warning("not started, a text is longer than " +
                               std::to_string(kMaxShellPath) +
                               " characters: " + file.substr(0, kMaxShellPath) + "...");
            NoticeFailure(s, LaunchName(start.title, file, s.source.Page()), LaunchResult::TooLong);
            return false;
        }
    }
    const long long ticket =
        file.empty() ? 0 : NoticeStart(s, LaunchName(start.title, file, s.source.Page()));
    ports.launcher->ShellExecute(
        {file, start.parameters, start.directory, start.showCommand, ticket});
    return true;
}

void launchitTimer(MainState& s, Ports& ports, const std::string& discRoot) {
    s.timers.Disable(TimerId::launchit);
    if (s.pendingLaunch.empty()) {
        return;
    }
    if (IsWebAddress(s.pendingLaunch)) {
        RequestPage(s, s.pendingLaunch);
        s.slideState = 1;
    } else {
        RunProgram(s, ports, discRoot, {.file = s.pendingLaunch});
    }
    s.pendingLaunch.clear();
}

} // namespace kestrova
