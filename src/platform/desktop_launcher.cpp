#include "platform/desktop_launcher.h"

#include "base/error.h"
#include "base/terminal_text.h"
#include "disc/cdio/open_disc.h"
#include "disc/disc_file_system.h"
#include "disc/image_file_system.h"
#include "disc/program_cache.h"
#include "disc/program_kind.h"
#include "platform/logging.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QObject>
#include <QProcess>
#include <QStandardPaths>
#include <QThreadPool>
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

// What starts once its file is in place.
struct DesktopLauncher::Start {
    std::string file;  // as the launch names it
    QString path;      // the file started or opened
    QString directory; // a program's working directory
    ProgramKind kind = ProgramKind::Document;
    QString wine;
    std::string parameters;
    // A file of an image: the disc root, and the working directory the launch asked for.
    std::string imageRoot;
    std::string launchDirectory;
};

DesktopLauncher::DesktopLauncher(std::string cacheFolder)
    : cacheFolder_(std::move(cacheFolder)), receiver_(std::make_unique<QObject>()),
      copies_(std::make_unique<QThreadPool>()) {
    // One copy at a time, in the order asked for.
    copies_->setMaxThreadCount(1);
}

DesktopLauncher::~DesktopLauncher() {
    stop_ = true;
    copies_->waitForDone();
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
    Start start;
    start.file = launch.file;
    start.parameters = launch.parameters;
    start.kind = KindOfProgram(disc.ReadHead(launch.file, kProgramHeadBytes), entry.executable);

    // Without Wine a Windows program is not even copied out of an image.
    start.wine = start.kind == ProgramKind::Windows ? WineProgram() : QString();
    if (start.kind == ProgramKind::Windows && start.wine.isEmpty()) {
        qCWarning(lcPlatform).noquote()
            << "cannot start" << Shown(disc.Resolve(launch.file))
            << ": it is a Windows program and Wine is needed to start it"
               " (install wine, or name its program in KESTROVA_WINE)";
        return;
    }

    start.directory =
        launch.directory.empty() ? QDir::currentPath() : QString::fromStdString(launch.directory);
    if (!disc.IsImage()) {
        start.path =
            QFileInfo(QString::fromStdString(*disc.LocalPath(launch.file))).absoluteFilePath();
        Begin(start);
        return;
    }

    // A file of an image is started or opened from its copy; a program keeps its folder around
    // it. The copy runs on the worker, which opens the image again: reading an image keeps
    // state, and the disc in use is read by this thread meanwhile.
    start.imageRoot = disc.Root();
    start.launchDirectory = launch.directory;
    const std::string resolved = disc.Resolve(launch.file);
    qCInfo(lcPlatform).noquote() << "Copying"
                                 << Shown(resolved.substr(resolved.find_last_of('/') + 1))
                                 << "from the disc…";
    const std::string imagePath = start.imageRoot.substr(0, start.imageRoot.size() - 1);
    const std::vector<ImageSourceFile> files = disc.SourceFiles();
    const bool withFolder = start.kind != ProgramKind::Document;
    copies_->start([this, start, imagePath, files, withFolder] {
        std::optional<CopiedFile> copy;
        std::string failure;
        try {
            const std::shared_ptr<ImageFileSystem> opened = OpenImageFileSystem(imagePath);
            const ImageFileSystem& own = *opened;
            if (own.Files() != files) {
                throw Error("Cannot open disc image " + imagePath,
                            imagePath + ": the disc image changed since it was opened");
            }
            copy = CopyOutOfImage(own, start.file, withFolder, cacheFolder_, &stop_);
        } catch (const Error& e) {
            failure = e.Detail();
        }
        QMetaObject::invokeMethod(
            receiver_.get(), [this, start, copy, failure] { Finish(start, copy, failure); },
            Qt::QueuedConnection);
    });
}

void DesktopLauncher::Finish(const Start& done, const std::optional<CopiedFile>& copy,
                             const std::string& failure) const {
    if (!copy) {
        qCWarning(lcPlatform).noquote()
            << "cannot start" << Shown(done.file) << ":" << Shown(failure);
        return;
    }
    // A program's working directory is the disc root's place in the cache.
    Start start = done;
    start.path = QString::fromStdString(copy->file);
    const std::string& root = start.imageRoot;
    if (start.launchDirectory.empty()) {
        start.directory = QString::fromStdString(copy->discRoot);
    } else if (start.launchDirectory.compare(0, root.size(), root) == 0) {
        start.directory =
            QString::fromStdString(copy->discRoot + start.launchDirectory.substr(root.size()));
    }
    Begin(start);
}

void DesktopLauncher::Begin(const Start& start) const {
    const QString& path = start.path;
    if (start.kind == ProgramKind::Document) {
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
            qCWarning(lcPlatform) << "cannot open" << path << ": no handler for this kind of file";
        }
        return;
    }
    // The parameters are one argument as written: nothing is split or interpreted.
    QStringList args;
    if (!start.parameters.empty()) {
        args << QString::fromStdString(start.parameters);
    }
    QString program = path;
    if (start.kind == ProgramKind::Windows) {
        program = start.wine;
        args.prepend(path);
    }
    qint64 pid = 0;
    if (!QProcess::startDetached(program, args, start.directory, &pid)) {
        qCWarning(lcPlatform) << "cannot start" << path << ": the system refused to run it";
    }
}

} // namespace kestrova
