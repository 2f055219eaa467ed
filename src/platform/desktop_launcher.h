#pragma once
// Starts what the front end hands the desktop: an executable file starts detached, with the
// current directory as its working directory and no shell in between, so nothing in a disc's
// text is ever split into words or read as shell syntax; a document or a web address opens with
// the desktop's default handler. Failures are never shown to the reader, only logged with the
// final path and the reason.

#include "engine/ports.h"

namespace kestrova {

class DesktopLauncher : public Launcher {
  public:
    void ShellExecute(const LaunchRecord& launch) override;
};

} // namespace kestrova
