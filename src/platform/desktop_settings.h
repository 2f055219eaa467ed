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
//   [controller]
//   enabled=false              ; game controllers are left alone (as --no-controller)
//   [discs]                    ; per disc: the code page its texts are written in
//   1\path=/media/cdrom       ; the disc folder or CD image, as --disc names it
//   1\codepage=1251           ; --codepage wins over it
//   size=1

#include <QMap>
#include <QString>

#include <optional>

namespace kestrova {

struct DesktopSettings {
    QString wineCommand;
    QString winePrefix;
    int windowScale = 0; // 0: chosen from the screen's density
    bool smoothFullScreen = false;
    bool controllerEnabled = true; // game controllers work the menu (where the build reads them)
    // A disc's absolute path (cleaned, links left as they are) to the code page of its texts;
    // only pages the program reads are kept.
    QMap<QString, int> discCodePages;
};

// The code page remembered for the disc at `discPath` (relative to the current folder or
// absolute), if any.
std::optional<int> DiscCodePage(const DesktopSettings& settings, const QString& discPath);

// Where the settings file lives for this user.
QString DesktopSettingsPath();

// Reads the file at `path`; every key it lacks keeps its default.
DesktopSettings LoadDesktopSettings(const QString& path = DesktopSettingsPath());

} // namespace kestrova
