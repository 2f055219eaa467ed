#pragma once
// The user's settings for the front end on this desktop, kept in one file:
// $XDG_CONFIG_HOME/kestrova/kestrova.conf (~/.config/kestrova/kestrova.conf when the variable is
// unset), an INI file read with the toolkit's settings class. A missing file, a missing key or a
// value that does not read gives the default; the file is only read here, never written (the
// shelf keeps its own [shelf] group in it: platform/shelf_store.h).
//
//   [wine]
//   command=/usr/bin/wine      ; the program that starts Windows programs (KESTROVA_WINE wins)
//   prefix=/home/me/.wine-kv   ; WINEPREFIX for the programs it starts; empty keeps Wine's own
//   [window]
//   scale=2                    ; the window at 2x with whole pixels; 0 lets the screen decide
//   [fullscreen]
//   smooth=false               ; true scales full screen smoothly instead of by whole pixels

#include <QString>

namespace kestrova {

struct DesktopSettings {
    QString wineCommand;
    QString winePrefix;
    int windowScale = 0; // 0: chosen from the screen's density
    bool smoothFullScreen = false;
};

// Where the settings file lives for this user.
QString DesktopSettingsPath();

// Reads the file at `path`; every key it lacks keeps its default.
DesktopSettings LoadDesktopSettings(const QString& path = DesktopSettingsPath());

} // namespace kestrova
