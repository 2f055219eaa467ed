#pragma once
// What a start would do, judged the same way whether it is performed (the desktop launcher) or
// only recorded (the replay harness and --no-launch): an address opens with its handler; a file
// must be on the disc and a regular file (a folder of a folder disc opens in the file manager);
// its header and mode tell a Windows program, a program of this system or a document; and a
// Windows program needs Wine.

#include "disc/disc_file_system.h"
#include "disc/program_kind.h"
#include "engine/ports.h"

#include <QString>

#include <string>

namespace kestrova {

// How Windows programs start, from the settings file (see desktop_settings.h).
struct WineSetup {
    QString command; // the program that starts them; KESTROVA_WINE wins over it
    QString prefix;  // WINEPREFIX for the programs it starts; empty keeps Wine's own
};

// The program that starts Windows programs: the one KESTROVA_WINE names, else `configured`, else
// "wine" on the path. A name is looked up on the path, an absolute path must be an executable
// file. Empty when the chosen one is not there.
QString FindWine(const QString& configured);

enum class LaunchTarget { Nothing, Address, Folder, File };

struct LaunchCheck {
    LaunchTarget target = LaunchTarget::Nothing;
    LaunchResult result = LaunchResult::NotOnDisc;
    ProgramKind kind = ProgramKind::Document; // a file's
    QString wine;                             // a Windows program's Wine
    std::string resolved;                     // the file as the disc spells it
    std::string reason;                       // why it cannot start, for the log
    bool CanStart() const { return result == LaunchResult::Started; }
};

// Judges a start of `file` on `disc`; `wineCommand` as for FindWine.
LaunchCheck CheckLaunch(const DiscFileSystem& disc, const std::string& file,
                        const QString& wineCommand);

} // namespace kestrova
