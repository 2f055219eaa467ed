#include "engine/launch.h"

#include "catalogue/disc_rules.h"
#include "engine/disc_requirements.h"
#include "engine/web_commands.h"

namespace kestrova {

bool RunProgram(Ports& ports, const std::string& discRoot, const std::string& file,
                const std::string& parameters, const std::string& directory, int showCommand) {
    for (const std::string* text : {&file, &parameters, &directory}) {
        if (ShellTextLength(*text, discRoot) > kMaxShellPath) {
            ports.log->Warning("not started, a text is longer than " +
                               std::to_string(kMaxShellPath) +
                               " characters: " + file.substr(0, kMaxShellPath) + "...");
            return false;
        }
    }
    ports.launcher->ShellExecute({file, parameters, directory, showCommand});
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
        RunProgram(ports, discRoot, s.pendingLaunch);
    }
    s.pendingLaunch.clear();
}

} // namespace kestrova
