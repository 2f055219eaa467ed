#include "platform/plugin_loader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLoggingCategory>
#include <QPluginLoader>
#include <QStringList>

Q_DECLARE_LOGGING_CATEGORY(lcPlatform)

namespace kestrova {

QObject* LoadPlugin(const QString& name) {
    static QHash<QString, QObject*> loaded;
    if (const auto it = loaded.constFind(name); it != loaded.constEnd()) {
        return it.value();
    }
    // Before the application object exists (a scheme registered early) the program's own path
    // is read from the system.
    const QString app = QCoreApplication::instance()
                            ? QCoreApplication::applicationDirPath()
                            : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    QStringList folders;
    const QString chosen = qEnvironmentVariable("KESTROVA_PLUGIN_DIR");
    if (!chosen.isEmpty()) {
        folders << chosen;
    }
    folders << app << QDir(app).filePath(QStringLiteral("../lib/kestrova"));
#ifdef KESTROVA_BUILD_PLUGIN_DIR
    folders << QStringLiteral(KESTROVA_BUILD_PLUGIN_DIR);
#endif
    QStringList reasons;
    QObject* instance = nullptr;
    for (const QString& folder : folders) {
        QPluginLoader loader(QDir(folder).filePath(QStringLiteral("kestrova_") + name));
        instance = loader.instance();
        if (instance) {
            break;
        }
        reasons << loader.errorString();
    }
    if (!instance) {
        qCWarning(lcPlatform).noquote()
            << "The plugin" << name << "could not be loaded:" << reasons.join(QStringLiteral("; "));
    }
    loaded.insert(name, instance);
    return instance;
}

} // namespace kestrova
