#include "platform/desktop_launcher.h"

#include "catalogue/disc_path.h"
#include "platform/logging.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace kestrova {

namespace {

bool IsWebAddress(const QString& target) {
    for (const char* scheme : {"http:", "https:", "mailto:", "ftp:"}) {
        if (target.startsWith(QLatin1String(scheme), Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

} // namespace

void DesktopLauncher::ShellExecute(const LaunchRecord& launch) {
    const QString target = QString::fromStdString(launch.file);
    if (target.isEmpty()) {
        qCWarning(lcPlatform) << "nothing to start: the file name is empty";
        return;
    }
    if (IsWebAddress(target)) {
        if (!QDesktopServices::openUrl(QUrl(target))) {
            qCWarning(lcPlatform) << "cannot open" << target << ": no handler for the address";
        }
        return;
    }
    const QFileInfo info(QString::fromStdString(ResolveDiscPath(launch.file)));
    const QString path = info.absoluteFilePath();
    if (!info.exists()) {
        qCWarning(lcPlatform) << "cannot start" << path << ": no such file";
        return;
    }
    if (info.isFile() && info.isExecutable()) {
        // The parameters are one argument as written: nothing is split or interpreted.
        QStringList args;
        if (!launch.parameters.empty()) {
            args << QString::fromStdString(launch.parameters);
        }
        const QString dir = launch.directory.empty() ? QDir::currentPath()
                                                     : QString::fromStdString(launch.directory);
        qint64 pid = 0;
        if (!QProcess::startDetached(path, args, dir, &pid)) {
            qCWarning(lcPlatform) << "cannot start" << path << ": the system refused to run it";
        }
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
        qCWarning(lcPlatform) << "cannot open" << path << ": no handler for this kind of file";
    }
}

} // namespace kestrova
