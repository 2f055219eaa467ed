#include "platform/qt_controls.h"

#include "platform/logging.h"

#include "catalogue/disc_file_system.h"
#include "catalogue/disc_path.h"
#include "catalogue/error.h"
#include "catalogue/file_reader.h"
#include "catalogue/terminal_text.h"
#include "pictures/gif_info.h"

#include <QApplication>
#include <QAudioDevice>
#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QMediaDevices>
#include <QMessageBox>
#include <QMouseEvent>
#include <QMovie>
#include <QSoundEffect>
#include <QUrl>

// Resources of a static library must be registered by hand, from the global namespace.
static void InitSoundResources() {
    Q_INIT_RESOURCE(sounds);
}

namespace kestrova {

GifLabel::GifLabel(QWidget* parent) : QLabel(parent) {
    setScaledContents(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setCursor(Qt::PointingHandCursor);
}

GifLabel::~GifLabel() = default;

bool GifLabel::LoadFromFile(const std::string& path) {
    const QString real = QString::fromStdString(TerminalSafe(CurrentDisc().Resolve(path)));
    if (CurrentDisc().Stat(path).kind == DiscEntryKind::None) {
        return false; // the current picture stays
    }
    file_ = path;
    // Read through the one bounded reader and checked from its blocks before a decoder sees it:
    // a pipe, a device or a GIF beyond the banner limits leaves the banner empty, as one that
    // does not decode.
    std::vector<uint8_t> bytes;
    try {
        bytes = ReadBoundedFile(path, kBannerKind);
        InspectGif(bytes, path);
    } catch (const Error& e) {
        qCWarning(lcPlatform).noquote()
            << "banner refused:"
            << QString::fromStdString(TerminalSafe(e.Detail().empty() ? e.what() : e.Detail()));
        Empty();
        return false;
    }
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<qsizetype>(bytes.size()));
    buffer->open(QIODevice::ReadOnly);
    auto movie = std::make_unique<QMovie>(buffer.get(), QByteArray("gif"));
    // Frames are decoded as they play; only the one on screen is held.
    movie->setCacheMode(QMovie::CacheNone);
    if (!movie->isValid()) {
        qCWarning(lcPlatform) << "banner does not decode:" << real;
        Empty();
        return false;
    }
    setMovie(movie.get());
    movie_.reset();
    data_ = std::move(buffer);
    movie_ = std::move(movie);
    if (paused_) {
        movie_->jumpToFrame(0);
    } else {
        movie_->start();
    }
    return true;
}

void GifLabel::Empty() {
    setMovie(nullptr);
    clear();
    movie_.reset();
    data_.reset();
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

QtSoundPlayer::QtSoundPlayer(std::string directory) : directory_(std::move(directory)) {
    InitSoundResources();
}

QtSoundPlayer::~QtSoundPlayer() = default;

QSoundEffect& QtSoundPlayer::Effect(const std::string& name) {
    auto it = effects_.find(name);
    if (it == effects_.end()) {
        auto effect = std::make_unique<QSoundEffect>();
        if (!directory_.empty() && directory_[0] == ':') {
            effect->setSource(QUrl(QStringLiteral("qrc") +
                                   QString::fromStdString(directory_ + "/" + name + ".wav")));
        } else {
            const std::string file = ResolveDiscPath(directory_ + "/" + name + ".wav");
            effect->setSource(
                QUrl::fromLocalFile(QFileInfo(QString::fromStdString(file)).absoluteFilePath()));
        }
        it = effects_.emplace(name, std::move(effect)).first;
    }
    return *it->second;
}

void QtSoundPlayer::Preload() {
    deviceChecked_ = true;
    hasDevice_ = !QMediaDevices::defaultAudioOutput().isNull();
    if (!hasDevice_) {
        return;
    }
    for (const char* name : {"rollover", "klick"}) {
        Effect(name);
    }
}

void QtSoundPlayer::Play(const std::string& name) {
    played.push_back(name);
    if (!deviceChecked_) {
        deviceChecked_ = true;
        hasDevice_ = !QMediaDevices::defaultAudioOutput().isNull();
    }
    if (hasDevice_) {
        Effect(name).play();
    }
}

void DialogMessages::ShowMessage(const std::string& text) {
    QMessageBox::information(QApplication::activeWindow(), QApplication::applicationDisplayName(),
                             QString::fromStdString(text));
}

} // namespace kestrova
