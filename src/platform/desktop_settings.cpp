#include "platform/desktop_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace kestrova {

namespace {

// The largest window scale a setting may ask for.
constexpr int kLargestWindowScale = 8;

} // namespace

QString DesktopSettingsPath() {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || QDir::isRelativePath(config)) {
        config = QDir::homePath() + QStringLiteral("/.config");
    }
    return config + QStringLiteral("/kestrova/kestrova.conf");
}

DesktopSettings LoadDesktopSettings(const QString& path) {
    DesktopSettings settings;
    // A folder or a device under the settings name is no settings file.
    const QFileInfo file(path);
    if (!file.exists() || !file.isFile()) {
        return settings;
    }
    const QSettings stored(path, QSettings::IniFormat);
    settings.wineCommand = stored.value(QStringLiteral("wine/command")).toString().trimmed();
    settings.winePrefix = stored.value(QStringLiteral("wine/prefix")).toString().trimmed();
    bool ok = false;
    const int scale = stored.value(QStringLiteral("window/scale")).toInt(&ok);
    if (ok && scale >= 0 && scale <= kLargestWindowScale) {
        settings.windowScale = scale;
    }
    settings.smoothFullScreen = stored.value(QStringLiteral("fullscreen/smooth"), false).toBool();
    return settings;
}

} // namespace kestrova
