#include "platform/shelf_store.h"

#include "shelf/shelf_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace kestrova {

namespace {

QStringList Paths(const QStringList& raw) {
    QStringList out;
    for (const QString& p : raw) {
        const QString clean = QString::fromStdString(ShelfKey(p.trimmed().toStdString()));
        if (!clean.isEmpty() && !out.contains(clean)) {
            out.push_back(clean);
        }
    }
    return out;
}

} // namespace

ShelfSettings LoadShelfSettings(const QString& path) {
    ShelfSettings s;
    for (const std::string& folder : DefaultShelfFolders()) {
        s.folders.push_back(QString::fromStdString(folder));
    }
    const QFileInfo file(path);
    if (!file.exists() || !file.isFile()) {
        return s;
    }
    QSettings stored(path, QSettings::IniFormat);
    stored.beginGroup(QStringLiteral("shelf"));
    if (stored.contains(QStringLiteral("folders"))) {
        s.folders = Paths(stored.value(QStringLiteral("folders")).toStringList());
    }
    s.discs = Paths(stored.value(QStringLiteral("discs")).toStringList());
    for (const QString& p : Paths(stored.value(QStringLiteral("removed")).toStringList())) {
        s.removed.insert(p.toStdString());
    }
    s.lastDisc = stored.value(QStringLiteral("last")).toString();
    s.geometry = stored.value(QStringLiteral("geometry")).toByteArray();
    s.fullScreen = stored.value(QStringLiteral("fullscreen"), false).toBool();
    const int recent = stored.beginReadArray(QStringLiteral("recent"));
    for (int i = 0; i < recent; ++i) {
        stored.setArrayIndex(i);
        const std::string p =
            ShelfKey(stored.value(QStringLiteral("path")).toString().toStdString());
        if (!p.empty()) {
            s.recent.push_back(RecentDisc{p, stored.value(QStringLiteral("opened")).toLongLong()});
        }
    }
    stored.endArray();
    const int labels = stored.beginReadArray(QStringLiteral("labels"));
    for (int i = 0; i < labels; ++i) {
        stored.setArrayIndex(i);
        const std::string p =
            ShelfKey(stored.value(QStringLiteral("path")).toString().toStdString());
        const QString label = stored.value(QStringLiteral("label")).toString();
        if (!p.empty() && !label.isEmpty()) {
            s.labels[p] = label.toStdString();
        }
    }
    stored.endArray();
    return s;
}

QString SaveShelfSettings(const ShelfSettings& s, const QString& path) {
    const QFileInfo file(path);
    if (!QDir().mkpath(file.absolutePath())) {
        return QStringLiteral("Cannot make the folder ") + file.absolutePath();
    }
    if (file.exists() && !file.isFile()) {
        return path + QStringLiteral(" is not a file");
    }
    QSettings stored(path, QSettings::IniFormat);
    stored.remove(QStringLiteral("shelf"));
    stored.beginGroup(QStringLiteral("shelf"));
    stored.setValue(QStringLiteral("folders"), s.folders);
    stored.setValue(QStringLiteral("discs"), s.discs);
    QStringList removed;
    for (const std::string& p : s.removed) {
        removed.push_back(QString::fromStdString(p));
    }
    stored.setValue(QStringLiteral("removed"), removed);
    stored.setValue(QStringLiteral("last"), s.lastDisc);
    stored.setValue(QStringLiteral("geometry"), s.geometry);
    stored.setValue(QStringLiteral("fullscreen"), s.fullScreen);
    stored.beginWriteArray(QStringLiteral("recent"), static_cast<int>(s.recent.size()));
    for (std::size_t i = 0; i < s.recent.size(); ++i) {
        stored.setArrayIndex(static_cast<int>(i));
        stored.setValue(QStringLiteral("path"), QString::fromStdString(s.recent[i].path));
        stored.setValue(QStringLiteral("opened"), s.recent[i].lastOpened);
    }
    stored.endArray();
    stored.beginWriteArray(QStringLiteral("labels"), static_cast<int>(s.labels.size()));
    int i = 0;
    for (const auto& [p, label] : s.labels) {
        stored.setArrayIndex(i++);
        stored.setValue(QStringLiteral("path"), QString::fromStdString(p));
        stored.setValue(QStringLiteral("label"), QString::fromStdString(label));
    }
    stored.endArray();
    stored.endGroup();
    stored.sync();
    switch (stored.status()) {
    case QSettings::NoError:
        return {};
    case QSettings::AccessError:
        return QStringLiteral("Cannot write the settings file ") + path;
    case QSettings::FormatError:
        return QStringLiteral("The settings file ") + path +
               QStringLiteral(" is not an INI file; the shelf's settings were not kept");
    }
    return {};
}

} // namespace kestrova
