#pragma once
// A banner's frames, read from its GIF bytes through the toolkit's GIF reader alone: no other
// image reader is asked whether it knows the bytes, so none of their libraries is loaded. It
// moves on only when told, and keeps the frames it has decoded when asked to.

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPixmap>

#include <memory>
#include <vector>

class QImageReader;

namespace kestrova {

class BannerMovie {
  public:
    // The movie on its first frame; null when the bytes are no GIF the reader takes. With
    // `keepFrames` each frame is kept as it is first decoded, and the loops after the first cost
    // no decoding; without, only the frame shown is held.
    static std::unique_ptr<BannerMovie> Open(QByteArray bytes, bool keepFrames);
    ~BannerMovie();
    BannerMovie(const BannerMovie&) = delete;
    BannerMovie& operator=(const BannerMovie&) = delete;

    // The frames the file says it has; 0 when it cannot tell.
    int FrameCount() const { return frameCount_; }
    int CurrentFrame() const { return current_; }
    // How long the frame shown stays, in milliseconds.
    int CurrentDelayMs() const { return shown_.delayMs; }
    const QPixmap& CurrentPixmap() const { return shown_.pixmap; }
    bool KeepsFrames() const { return keep_; }

    // Shows the next frame; false, with the frame shown kept, after the last one.
    bool NextFrame();
    // Shows the first frame again.
    void FirstFrame();

  private:
    struct Frame {
        QPixmap pixmap;
        int delayMs = 0;
    };

    BannerMovie(QByteArray bytes, bool keepFrames);
    // Starts reading the bytes from their beginning.
    void Rewind();
    // Decodes the frame after the last one read; false at the end.
    bool ReadFrame(Frame* frame);

    QByteArray bytes_;
    QBuffer device_;
    std::unique_ptr<QImageReader> reader_;
    bool keep_;
    int frameCount_ = 0;
    int current_ = -1;
    int read_ = 0; // frames read since the last rewind
    Frame shown_;
    std::vector<Frame> kept_;
    bool keptAll_ = false;
};

} // namespace kestrova
