#pragma once
// Starts what the front end hands the desktop: a program starts detached, with the current
// directory (the disc root) as its working directory and no shell in between, so nothing in a
// disc's text is ever split into words or read as shell syntax; a document or a web address
// opens with the desktop's default handler. A Windows program starts through Wine when it is
// installed (`wine` on the path, or the program KESTROVA_WINE names), else nothing starts. A
// file of a CD image is first copied out (see disc_image/program_cache.h) and started or opened
// from its copy. Failures are never shown to the reader, only logged with the final path and
// the reason.

#include "disc/program_cache.h"
#include "engine/ports.h"

#include <QString>

namespace kestrova {

class DesktopLauncher : public Launcher {
  public:
    explicit DesktopLauncher(std::string cacheRoot = DefaultProgramCache())
        : cacheRoot_(std::move(cacheRoot)) {}
    void ShellExecute(const LaunchRecord& launch) override;

    // The program that starts Windows programs, or empty when there is none.
    static QString WineProgram();

  private:
    std::string cacheRoot_;
};

} // namespace kestrova
