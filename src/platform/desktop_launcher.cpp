#include "platform/desktop_launcher.h"

#include "base/error.h"
#include "base/terminal_text.h"
#include "disc/disc_file_system.h"
#include "disc/image_file_system.h"
#include "disc/program_cache.h"
#include "disc/program_kind.h"
#include "platform/logging.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
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

QString Shown(const std::string& text) {
    return QString::fromStdString(TerminalSafe(text));
}

} // namespace

QString DesktopLauncher::WineProgram() {
    const QString named = qEnvironmentVariable("KESTROVA_WINE");
    if (!named.isEmpty()) {
        const QFileInfo info(named);
        if (info.isAbsolute()) {
            return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
        }
        return QStandardPaths::findExecutable(named);
    }
    return QStandardPaths::findExecutable(QStringLiteral("wine"));
}

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
    DiscFileSystem& disc = CurrentDisc();
    const DiscEntryInfo entry = disc.Stat(launch.file);
    if (entry.kind == DiscEntryKind::None) {
        qCWarning(lcPlatform).noquote()
            << "cannot start" << Shown(disc.Resolve(launch.file)) << ": no such file";
        return;
    }
    if (entry.kind != DiscEntryKind::File) {
        // A folder of a folder disc opens in the file manager; nothing else is started.
        const std::optional<std::string> local = disc.LocalPath(launch.file);
        if (entry.kind == DiscEntryKind::Folder && local &&
            QDesktopServices::openUrl(QUrl::fromLocalFile(
                QFileInfo(QString::fromStdString(*local)).absoluteFilePath()))) {
            return;
        }
        qCWarning(lcPlatform).noquote()
            << "cannot start" << Shown(disc.Resolve(launch.file)) << ": not a regular file";
        return;
    }
    const ProgramKind kind =
        KindOfProgram(disc.ReadHead(launch.file, kProgramHeadBytes), entry.executable);

    // Without Wine a Windows program is not even copied out of an image.
    const QString wine = kind == ProgramKind::Windows ? WineProgram() : QString();
    if (kind == ProgramKind::Windows && wine.isEmpty()) {
        qCWarning(lcPlatform).noquote()
            << "cannot start" << Shown(disc.Resolve(launch.file))
            << ": it is a Windows program and Wine is needed to start it"
               " (install wine, or name its program in KESTROVA_WINE)";
        return;
    }

    QString path;
    QString directory =
        launch.directory.empty() ? QDir::currentPath() : QString::fromStdString(launch.directory);
    if (const auto* image = dynamic_cast<const ImageFileSystem*>(&disc)) {
        // A file of an image is started or opened from its copy; a program keeps its folder
        // around it, and its working directory is the disc root's place in the cache.
        try {
            const CopiedFile copy =
                CopyOutOfImage(*image, launch.file, kind != ProgramKind::Document, cacheRoot_);
            path = QString::fromStdString(copy.file);
            const std::string& root = image->Root();
            if (launch.directory.empty()) {
                directory = QString::fromStdString(copy.discRoot);
            } else if (launch.directory.compare(0, root.size(), root) == 0) {
                directory =
                    QString::fromStdString(copy.discRoot + launch.directory.substr(root.size()));
            }
        } catch (const Error& e) {
            qCWarning(lcPlatform).noquote()
                << "cannot start" << Shown(launch.file) << ":" << Shown(e.Detail());
            return;
        }
    } else {
        path = QFileInfo(QString::fromStdString(*disc.LocalPath(launch.file))).absoluteFilePath();
    }

    if (kind == ProgramKind::Document) {
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
            qCWarning(lcPlatform) << "cannot open" << path << ": no handler for this kind of file";
        }
        return;
    }
    // The parameters are one argument as written: nothing is split or interpreted.
    QStringList args;
    if (!launch.parameters.empty()) {
        args << QString::fromStdString(launch.parameters);
    }
    QString program = path;
    if (kind == ProgramKind::Windows) {
        program = wine;
        args.prepend(path);
    }
    qint64 pid = 0;
    if (!QProcess::startDetached(program, args, directory, &pid)) {
        qCWarning(lcPlatform) << "cannot start" << path << ": the system refused to run it";
    }
}

} // namespace kestrova
