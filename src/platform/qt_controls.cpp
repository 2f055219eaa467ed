#include "platform/qt_controls.h"

#include "catalogue/disc_path.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QMouseEvent>
#include <QMovie>
#include <QProcess>
#include <QSoundEffect>
#include <QUrl>

Q_LOGGING_CATEGORY(lcPlatform, "kestrova.platform")

namespace kestrova {

GifLabel::GifLabel(QWidget* parent) : QLabel(parent) {
    setScaledContents(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setCursor(Qt::PointingHandCursor);
}

GifLabel::~GifLabel() = default;

bool GifLabel::LoadFromFile(const std::string& path) {
    const QString real = QString::fromStdString(ResolveDiscPath(path));
    if (!QFileInfo(real).isFile()) {
        return false; // the current picture stays
    }
    auto movie = std::make_unique<QMovie>(real);
    movie->setCacheMode(QMovie::CacheAll);
    file_ = path;
    if (!movie->isValid()) {
        qCWarning(lcPlatform) << "banner does not decode:" << real;
        setMovie(nullptr);
        clear();
        movie_.reset();
        return false;
    }
    setMovie(movie.get());
    movie_ = std::move(movie);
    if (paused_) {
        movie_->jumpToFrame(0);
    } else {
        movie_->start();
    }
    return true;
}

void GifLabel::SetPaused(bool paused) {
    paused_ = paused;
    if (movie_) {
        if (paused) {
            movie_->stop();
            movie_->jumpToFrame(0);
        } else {
            movie_->start();
        }
    }
}

void GifLabel::mousePressEvent(QMouseEvent* event) {
    QLabel::mousePressEvent(event);
    Q_EMIT Clicked();
}

QtSoundPlayer::QtSoundPlayer(std::string directory) : directory_(std::move(directory)) {}

QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::Play(const std::string& name) {
    played.push_back(name);
    auto it = effects_.find(name);
    if (it == effects_.end()) {
        const std::string file = ResolveDiscPath(directory_ + "/" + name + ".wav");
        auto effect = std::make_unique<QSoundEffect>();
        effect->setSource(
            QUrl::fromLocalFile(QFileInfo(QString::fromStdString(file)).absoluteFilePath()));
        it = effects_.emplace(name, std::move(effect)).first;
    }
    it->second->play();
}

void DesktopLauncher::ShellExecute(const LaunchRecord& launch) {
    const QString target = QString::fromStdString(launch.file);
    if (target.isEmpty()) {
        qCWarning(lcPlatform) << "nothing to start";
        return;
    }
    if (target.startsWith(QStringLiteral("http"), Qt::CaseInsensitive) ||
        target.startsWith(QStringLiteral("mailto:"), Qt::CaseInsensitive)) {
        if (!QDesktopServices::openUrl(QUrl(target))) {
            qCWarning(lcPlatform) << "cannot open" << target;
        }
        return;
    }
    const QString real = QString::fromStdString(ResolveDiscPath(launch.file));
    const QFileInfo info(real);
    if (!info.exists()) {
        qCWarning(lcPlatform) << "cannot start" << target << ": no such file";
        return;
    }
    if (info.isExecutable() && info.isFile()) {
        QStringList args;
        if (!launch.parameters.empty()) {
            args = QProcess::splitCommand(QString::fromStdString(launch.parameters));
        }
        const QString dir = launch.directory.empty() ? QDir::currentPath()
                                                     : QString::fromStdString(launch.directory);
        if (!QProcess::startDetached(info.absoluteFilePath(), args, dir)) {
            qCWarning(lcPlatform) << "cannot start" << info.absoluteFilePath();
        }
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()))) {
        qCWarning(lcPlatform) << "no handler for" << info.absoluteFilePath();
    }
}

void DialogMessages::ShowMessage(const std::string& text) {
    QMessageBox::information(QApplication::activeWindow(), QApplication::applicationDisplayName(),
                             QString::fromStdString(text));
}

} // namespace kestrova
