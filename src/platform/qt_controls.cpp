#include "platform/qt_controls.h"

#include "platform/banner_movie.h"
#include "platform/plugin_loader.h"
#include "platform/sound_output.h"

#include "platform/logging.h"

#include "base/error.h"
#include "base/terminal_text.h"
#include "disc/disc_file_system.h"
#include "disc/disc_path.h"
#include "disc/file_reader.h"
#include "pictures/gif_info.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
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
    GifInfo info;
    try {
        bytes = ReadBoundedFile(path, kBannerKind);
        info = InspectGif(bytes, path);
    } catch (const Error& e) {
        qCWarning(lcPlatform).noquote()
            << "banner refused:"
            << QString::fromStdString(TerminalSafe(e.Detail().empty() ? e.what() : e.Detail()));
        Empty();
        return false;
    }
    // A banner plays its few frames over and over: they are decoded on the first pass and kept,
    // so the loops after it cost no decoding. One whose frames would take more than the bound
    // is decoded as it plays instead, holding only the frame on screen.
    const int64_t frameBytes = int64_t{info.width} * info.height * 4;
    auto movie = BannerMovie::Open(QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size())),
                                   frameBytes * info.frames <= kMostKeptBannerBytes);
    if (!movie) {
        qCWarning(lcPlatform) << "banner does not decode:" << real;
        Empty();
        return false;
    }
    clear();
    movie_ = std::move(movie);
    update();
    return true;
}

bool GifLabel::Animated() const {
    return movie_ && movie_->FrameCount() != 1;
}

int GifLabel::FrameDelayMs() const {
    return movie_ ? movie_->CurrentDelayMs() : 0;
}

void GifLabel::ShowNextFrame() {
    if (movie_ && !movie_->NextFrame()) {
        movie_->FirstFrame(); // banners loop
    }
    update();
}

void GifLabel::Empty() {
    clear();
    movie_.reset();
    update();
}

void GifLabel::paintEvent(QPaintEvent* event) {
    if (!movie_) {
        QLabel::paintEvent(event);
        return;
    }
    // A window shown larger than its pixels enlarges the banner pixel by pixel, never smoothed,
    // as the surface beside it.
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawPixmap(contentsRect().topLeft(), movie_->CurrentPixmap());
}

void GifLabel::mousePressEvent(QMouseEvent* event) {
    QLabel::mousePressEvent(event);
    Q_EMIT Clicked();
}

QtSoundPlayer::QtSoundPlayer(std::string directory) : directory_(std::move(directory)) {
    InitSoundResources();
}

QtSoundPlayer::~QtSoundPlayer() = default;

QUrl QtSoundPlayer::Source(const std::string& name) const {
    if (!directory_.empty() && directory_[0] == ':') {
        return QUrl(QStringLiteral("qrc") +
                    QString::fromStdString(directory_ + "/" + name + ".wav"));
    }
    const std::string file = ResolveDiscPath(directory_ + "/" + name + ".wav");
    return QUrl::fromLocalFile(QFileInfo(QString::fromStdString(file)).absoluteFilePath());
}

SoundOutput* QtSoundPlayer::Output() {
    if (!outputChecked_) {
        outputChecked_ = true;
        output_ = LoadPluginAs<SoundOutput>(QStringLiteral("sound"));
        if (output_ && !output_->HasDevice()) {
            output_ = nullptr;
        }
    }
    return output_;
}

void QtSoundPlayer::Preload() {
    if (SoundOutput* out = Output()) {
        for (const char* name : {"rollover", "klick"}) {
            out->Ready(name, Source(name));
        }
    }
}

void QtSoundPlayer::Play(const std::string& name) {
    played.push_back(name);
    if (SoundOutput* out = Output()) {
        out->Ready(name, Source(name));
        out->Play(name);
    }
}

void DialogMessages::ShowMessage(const std::string& text) {
    QMessageBox::information(QApplication::activeWindow(), QApplication::applicationDisplayName(),
                             QString::fromStdString(text));
}

} // namespace kestrova
