#include "platform/banner_movie.h"

#include <QImageReader>

namespace kestrova {

std::unique_ptr<BannerMovie> BannerMovie::Open(QByteArray bytes, bool keepFrames) {
    std::unique_ptr<BannerMovie> movie(new BannerMovie(std::move(bytes), keepFrames));
    if (!movie->reader_->canRead()) {
        return nullptr;
    }
    movie->frameCount_ = movie->reader_->imageCount();
    movie->FirstFrame();
    return movie;
}

BannerMovie::BannerMovie(QByteArray bytes, bool keepFrames)
    : bytes_(std::move(bytes)), device_(&bytes_), keep_(keepFrames) {
    device_.open(QIODevice::ReadOnly);
    Rewind();
}

BannerMovie::~BannerMovie() = default;

void BannerMovie::Rewind() {
    reader_.reset();
    device_.seek(0);
    reader_ = std::make_unique<QImageReader>(&device_, QByteArray("gif"));
    // Named, the format is taken as it is: asked to detect one, the reader would load every
    // image plugin before the GIF one to ask each whether it reads GIF.
    reader_->setAutoDetectImageFormat(false);
    read_ = 0;
}

bool BannerMovie::ReadFrame(Frame* frame) {
    if ((frameCount_ > 0 && read_ >= frameCount_) || !reader_->canRead()) {
        return false;
    }
    QImage image = reader_->read();
    if (image.isNull()) {
        return false;
    }
    ++read_;
    frame->pixmap = QPixmap::fromImage(std::move(image));
    frame->delayMs = reader_->nextImageDelay();
    return true;
}

bool BannerMovie::NextFrame() {
    const int next = current_ + 1;
    if (static_cast<size_t>(next) < kept_.size()) {
        shown_ = kept_[static_cast<size_t>(next)];
        current_ = next;
        return true;
    }
    if (keptAll_) {
        return false;
    }
    // Frames are read in order: after a rewind the reader stands before the frame wanted.
    while (read_ < next) {
        Frame skipped;
        if (!ReadFrame(&skipped)) {
            return false;
        }
    }
    Frame frame;
    if (!ReadFrame(&frame)) {
        keptAll_ = keep_ && !kept_.empty();
        return false;
    }
    if (keep_) {
        kept_.push_back(frame);
    }
    shown_ = std::move(frame);
    current_ = next;
    return true;
}

void BannerMovie::FirstFrame() {
    if (!kept_.empty()) {
        shown_ = kept_.front();
        current_ = 0;
        return;
    }
    if (current_ >= 0) {
        Rewind();
    }
    current_ = -1;
    if (!NextFrame()) {
        // A first frame that does not decode shows nothing, and the movie stays on it.
        shown_ = Frame{};
        current_ = 0;
    }
}

} // namespace kestrova
