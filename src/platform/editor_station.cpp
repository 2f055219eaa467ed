#include "platform/editor_station.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kestrova {

std::string EditorStationMarker() {
#ifdef Q_OS_WIN
    return "c:/editorstation.txt";
#else
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(config).filePath(QStringLiteral("kestrova/editorstation.txt")).toStdString();
#endif
}

bool EditorStationMarkerExists() {
    return QFileInfo::exists(QString::fromStdString(EditorStationMarker()));
}

} // namespace kestrova
