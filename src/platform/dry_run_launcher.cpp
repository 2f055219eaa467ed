#include "platform/dry_run_launcher.h"

#include "base/terminal_text.h"
#include "base/text.h"
#include "disc/disc_file_system.h"

namespace kestrova {

DryRunLauncher::DryRunLauncher(WineSetup wine, std::FILE* print)
    : wine_(std::move(wine)), print_(print) {}

std::string DryRunLauncher::StartLine(const LaunchRecord& launch, const LaunchCheck& check) {
    std::string verdict;
    if (!check.CanStart()) {
        verdict = "would not start: " + check.reason;
    } else if (check.target == LaunchTarget::Address) {
        verdict = "would open the address";
    } else if (check.target == LaunchTarget::Folder) {
        verdict = "would open the folder";
    } else if (check.kind == ProgramKind::Windows) {
        verdict = "would start through " + check.wine.toStdString();
    } else if (check.kind == ProgramKind::Native) {
        verdict = "would start";
    } else {
        verdict = "would open with its default program";
    }
    std::string line = "not started (--no-launch): " + Cp1252ToUtf8(launch.file);
    if (!launch.parameters.empty()) {
        // Appended in two steps: g++ 12 at -O3 warns falsely about " " + a temporary string.
        line += ' ';
        line += Cp1252ToUtf8(launch.parameters);
    }
    return TerminalSafe(line + ": " + verdict);
}

void DryRunLauncher::ShellExecute(const LaunchRecord& launch) {
    launches.push_back(launch);
    const LaunchCheck check = CheckLaunch(CurrentDisc(), launch.file, wine_.command);
    if (print_) {
        std::fprintf(print_, "%s\n", StartLine(launch, check).c_str());
        std::fflush(print_);
    }
    Report(launch, check.result);
}

} // namespace kestrova
