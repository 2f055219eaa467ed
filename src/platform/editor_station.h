#pragma once
// The marker that makes a machine an editor's workstation: while the file exists, Alt+Up opens
// the disc editor. Only its existence matters, never its content.
//  - Windows: "c:/editorstation.txt", where disc authors have always put it;
//  - elsewhere: "editorstation.txt" in the user's configuration folder for the program,
//    $XDG_CONFIG_HOME/kestrova/ (by default ~/.config/kestrova/editorstation.txt).

#include <string>

namespace kestrova {

std::string EditorStationMarker();
bool EditorStationMarkerExists();

} // namespace kestrova
