#include "platform/qt_controls.h"

#include "platform/logging.h"

#include "catalogue/disc_path.h"

#include <QApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QMessageBox>
#include <QMouseEvent>
#include <QMovie>
#include <QSoundEffect>
#include <QUrl>

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

void DialogMessages::ShowMessage(const std::string& text) {
    QMessageBox::information(QApplication::activeWindow(), QApplication::applicationDisplayName(),
                             QString::fromStdString(text));
}

} // namespace kestrova
