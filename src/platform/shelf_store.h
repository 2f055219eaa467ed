#pragma once
// The shelf's part of the settings file (DesktopSettingsPath()), group [shelf]: the shelf
// folders, the discs added one by one, the ones taken off the shelf, the discs opened before with
// when, the user's labels, and the shelf window's size, place and full screen. Read and written
// with the toolkit's settings class, which keeps the file's other groups as they are.

#include "shelf/shelf_list.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace kestrova {

struct ShelfSettings {
    QStringList folders;           // the folders searched for discs
    QStringList discs;             // discs added one by one (dropped on the shelf)
    std::set<std::string> removed; // taken off the shelf; their files stay
    std::vector<RecentDisc> recent;
    std::map<std::string, std::string> labels; // path -> the user's name for it
    QString lastDisc;
    QByteArray geometry;
    bool fullScreen = false;
};

// The shelf's settings from `path`; without a [shelf] folders key, the default folders
// (shelf/shelf_folders.h).
ShelfSettings LoadShelfSettings(const QString& path);

// Writes them to `path`, making its folder when needed. Empty on success, else why not.
QString SaveShelfSettings(const ShelfSettings& settings, const QString& path);

} // namespace kestrova
