#pragma once
// The launcher of the replay harness and of --no-launch: each start is judged as the desktop
// launcher judges it (CheckLaunch: on the disc, a regular file, which kind of program, Wine for a
// Windows program), then recorded instead of performed, and reported as it would have ended. It
// may also print each start, one line each, for whoever runs the front end with --no-launch.

#include "engine/ports.h"
#include "platform/launch_check.h"

#include <cstdio>
#include <string>

namespace kestrova {

class DryRunLauncher : public RecordingLauncher {
  public:
    // `print`, when given, gets a line for every start.
    explicit DryRunLauncher(WineSetup wine = {}, std::FILE* print = nullptr);

    void ShellExecute(const LaunchRecord& launch) override;

    // The line printed for a start that was judged so (terminal-safe, no line end).
    static std::string StartLine(const LaunchRecord& launch, const LaunchCheck& check);

  private:
    WineSetup wine_;
    std::FILE* print_;
};

} // namespace kestrova
