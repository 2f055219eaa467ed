#pragma once
// The replay harness: runs a script against the real front end on a virtual clock, as fast as
// it can. Script lines drive time, the pointer and the keyboard, save snapshots and state dumps,
// and check expectations.

#include <QString>

#include <string>

namespace kestrova {

class TMainForm;

struct ReplayResult {
    bool ok = true;
    std::string error; // "SCRIPT:LINE: message"
};

// `baseDir` is where relative output and script paths are resolved (the directory the program
// was started in, before --disc changed it).
ReplayResult RunReplay(TMainForm& form, const QString& scriptPath, const QString& baseDir);

// Runs the lines of a script given as text (for tests).
ReplayResult RunReplayText(TMainForm& form, const QString& text, const QString& name,
                           const QString& baseDir);

} // namespace kestrova
