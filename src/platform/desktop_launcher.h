#pragma once
// Starts what the front end hands the desktop: a program starts detached, with the current
// directory (the disc root) as its working directory and no shell in between, so nothing in a
// disc's text is ever split into words or read as shell syntax; a document or a web address
// opens with the desktop's default handler. A Windows program starts through Wine when it is
// installed (the program KESTROVA_WINE names, else the settings file's, else `wine` on the path;
// the settings file's prefix as its WINEPREFIX), else nothing starts. What may start is judged
// by CheckLaunch (launch_check.h), as the recording launcher judges it. A file of a CD image is
// first copied out (see disc/program_cache.h) and started or opened from its copy. The copy runs
// on a worker thread of its own, reading its own opening of the image, while the frame loop goes
// on; the start follows on the launcher's thread once the copy is done. How each start ended is
// reported to the engine on the launcher's thread, and logged with the final path and the
// reason when it failed.

#include "disc/program_cache.h"
#include "engine/ports.h"
#include "platform/launch_check.h"

#include <QString>

#include <atomic>
#include <memory>
#include <optional>

class QObject;
class QThreadPool;

namespace kestrova {

class DesktopLauncher : public Launcher {
  public:
    // `cacheFolder` is the user's own cache folder, where programs of an image are copied (below
    // kestrova/discs); empty, they are refused. `wine` is the settings file's.
    explicit DesktopLauncher(std::string cacheFolder = UserCacheFolder(), WineSetup wine = {});
    // Stops a copy under way (it removes what it wrote) and waits for it.
    ~DesktopLauncher() override;
    DesktopLauncher(const DesktopLauncher&) = delete;
    DesktopLauncher& operator=(const DesktopLauncher&) = delete;

    void ShellExecute(const LaunchRecord& launch) override;

    // WINEPREFIX as the settings give it: an absolute path, or one in the home folder written
    // "~/..."; empty for anything else (Wine then keeps its own).
    static QString WinePrefixPath(const QString& configured);

  private:
    struct Start;
    void Begin(const Start& start) const;
    void Finish(const Start& start, const std::optional<CopiedFile>& copy,
                const std::string& failure) const;

    std::string cacheFolder_;
    WineSetup wine_;
    std::atomic<bool> stop_{false};
    std::unique_ptr<QObject> receiver_; // on the launcher's thread: where finished copies report
    std::unique_ptr<QThreadPool> copies_;
};

} // namespace kestrova
