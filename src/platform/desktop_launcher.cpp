#include "platform/desktop_launcher.h"

#include "base/error.h"
#include "base/terminal_text.h"
#include "disc/cdio/open_disc.h"
#include "disc/disc_file_system.h"
#include "disc/image_file_system.h"
#include "disc/program_cache.h"
#include "platform/logging.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QObject>
#include <QProcess>
#include <QThreadPool>
#include <QUrl>

namespace kestrova {

namespace {

QString Shown(const std::string& text) {
    return QString::fromStdString(TerminalSafe(text));
}

} // namespace

QString DesktopLauncher::WinePrefixPath(const QString& configured) {
    if (configured.startsWith(QLatin1String("~/"))) {
        return QDir::homePath() + configured.mid(1);
    }
    return QDir::isAbsolutePath(configured) ? configured : QString();
}

// What starts once its file is in place.
struct DesktopLauncher::Start {
    LaunchRecord launch; // as the front end asked for it
    QString path;        // the file started or opened
    QString directory;   // a program's working directory
    ProgramKind kind = ProgramKind::Document;
    QString wine;
    // A file of an image: the disc root.
    std::string imageRoot;
};

DesktopLauncher::DesktopLauncher(std::string cacheFolder, WineSetup wine)
    : cacheFolder_(std::move(cacheFolder)), wine_(std::move(wine)),
      receiver_(std::make_unique<QObject>()), copies_(std::make_unique<QThreadPool>()) {
    // One copy at a time, in the order asked for.
    copies_->setMaxThreadCount(1);
    if (!wine_.prefix.isEmpty() && WinePrefixPath(wine_.prefix).isEmpty()) {
        qCWarning(lcPlatform) << "the Wine prefix" << wine_.prefix
                              << "is no absolute path: Wine keeps its own";
    }
}

DesktopLauncher::~DesktopLauncher() {
    stop_ = true;
    copies_->waitForDone();
}

void DesktopLauncher::ShellExecute(const LaunchRecord& launch) {
    DiscFileSystem& disc = CurrentDisc();
    // Without Wine a Windows program is not even copied out of an image.
    const LaunchCheck check = CheckLaunch(disc, launch.file, wine_.command);
    if (!check.CanStart()) {
        if (launch.file.empty()) {
            qCWarning(lcPlatform) << "nothing to start: the file name is empty";
        } else {
            qCWarning(lcPlatform).noquote()
                << "cannot start" << Shown(check.resolved) << ":" << Shown(check.reason);
        }
        Report(launch, check.result);
        return;
    }
    if (check.target == LaunchTarget::Address) {
        const QString target = QString::fromStdString(launch.file);
        const bool opened = QDesktopServices::openUrl(QUrl(target));
        if (!opened) {
            qCWarning(lcPlatform) << "cannot open" << target << ": no handler for the address";
        }
        Report(launch, opened ? LaunchResult::Started : LaunchResult::NoHandler);
        return;
    }
    if (check.target == LaunchTarget::Folder) {
        const bool opened = QDesktopServices::openUrl(QUrl::fromLocalFile(
            QFileInfo(QString::fromStdString(*disc.LocalPath(launch.file))).absoluteFilePath()));
        if (!opened) {
            qCWarning(lcPlatform).noquote()
                << "cannot start" << Shown(check.resolved) << ": not a regular file";
        }
        Report(launch, opened ? LaunchResult::Started : LaunchResult::NotAFile);
        return;
    }
    Start start;
    start.launch = launch;
    start.kind = check.kind;
    start.wine = check.wine;
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
    const std::string& resolved = check.resolved;
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
            copy = CopyOutOfImage(own, start.launch.file, withFolder, cacheFolder_, &stop_);
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
            << "cannot start" << Shown(done.launch.file) << ":" << Shown(failure);
        Report(done.launch, LaunchResult::CopyFailed);
        return;
    }
    // A program's working directory is the disc root's place in the cache.
    Start start = done;
    start.path = QString::fromStdString(copy->file);
    const std::string& root = start.imageRoot;
    const std::string& asked = start.launch.directory;
    if (asked.empty()) {
        start.directory = QString::fromStdString(copy->discRoot);
    } else if (asked.compare(0, root.size(), root) == 0) {
        start.directory = QString::fromStdString(copy->discRoot + asked.substr(root.size()));
    }
    Begin(start);
}

void DesktopLauncher::Begin(const Start& start) const {
    const QString& path = start.path;
    if (start.kind == ProgramKind::Document) {
        const bool opened = QDesktopServices::openUrl(QUrl::fromLocalFile(path));
        if (!opened) {
            qCWarning(lcPlatform) << "cannot open" << path << ": no handler for this kind of file";
        }
        Report(start.launch, opened ? LaunchResult::Started : LaunchResult::NoHandler);
        return;
    }
    // The parameters are one argument as written: nothing is split or interpreted.
    QStringList args;
    if (!start.launch.parameters.empty()) {
        args << QString::fromStdString(start.launch.parameters);
    }
    QProcess process;
    process.setProgram(path);
    if (start.kind == ProgramKind::Windows) {
        process.setProgram(start.wine);
        args.prepend(path);
        const QString prefix = WinePrefixPath(wine_.prefix);
        if (!prefix.isEmpty()) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("WINEPREFIX"), prefix);
            process.setProcessEnvironment(environment);
        }
    }
    process.setArguments(args);
    process.setWorkingDirectory(start.directory);
    qint64 pid = 0;
    const bool started = process.startDetached(&pid);
    if (!started) {
        qCWarning(lcPlatform) << "cannot start" << path << ": the system refused to run it";
    }
    Report(start.launch, started ? LaunchResult::Started : LaunchResult::NotStartable);
}

} // namespace kestrova
