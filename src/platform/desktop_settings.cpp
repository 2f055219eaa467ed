#include "platform/desktop_settings.h"

#include "base/code_page.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>

namespace kestrova {

namespace {

// The largest window scale a setting may ask for.
constexpr int kLargestWindowScale = 8;
// More discs than anyone keeps; a longer list is read no further.
constexpr int kMostDiscs = 4096;

QString DiscKey(const QString& discPath) {
    return QDir::cleanPath(QDir::current().absoluteFilePath(discPath));
}

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
    QSettings stored(path, QSettings::IniFormat);
    settings.wineCommand = stored.value(QStringLiteral("wine/command")).toString().trimmed();
    settings.winePrefix = stored.value(QStringLiteral("wine/prefix")).toString().trimmed();
    bool ok = false;
    const int scale = stored.value(QStringLiteral("window/scale")).toInt(&ok);
    if (ok && scale >= 0 && scale <= kLargestWindowScale) {
        settings.windowScale = scale;
    }
    settings.smoothFullScreen = stored.value(QStringLiteral("fullscreen/smooth"), false).toBool();
    settings.controllerEnabled = stored.value(QStringLiteral("controller/enabled"), true).toBool();
    QSettings& discs = stored;
    const int count = std::min(discs.beginReadArray(QStringLiteral("discs")), kMostDiscs);
    for (int i = 0; i < count; ++i) {
        discs.setArrayIndex(i);
        const QString disc = discs.value(QStringLiteral("path")).toString().trimmed();
        const int page = discs.value(QStringLiteral("codepage")).toInt(&ok);
        if (!disc.isEmpty() && ok && CodePage::FromNumber(page)) {
            settings.discCodePages.insert(DiscKey(disc), page);
        }
    }
    discs.endArray();
    return settings;
}

std::optional<int> DiscCodePage(const DesktopSettings& settings, const QString& discPath) {
    const auto it = settings.discCodePages.constFind(DiscKey(discPath));
    if (it == settings.discCodePages.constEnd()) {
        return std::nullopt;
    }
    return *it;
}

} // namespace kestrova
