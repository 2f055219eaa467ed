#pragma once
// Qt implementations of the platform's controls: animated GIF banner, sound list and the modal
// message box. The web pane lives in web_pane.h, the launcher in desktop_launcher.h.

#include "engine/ports.h"

#include <QLabel>
#include <QString>

#include <cstdint>
#include <map>
#include <memory>

class QUrl;

namespace kestrova {

class BannerMovie;
class SoundOutput;

// An animated GIF in a clickable label filling its panel. It shows one frame at a time, the next
// when the engine's clock says so; frames are decoded as they are first shown and kept, up to
// kMostKeptBannerBytes of pixels. A GIF beyond the banner limits (catalogue/disc_limits.h) stays
// empty.
class GifLabel : public QLabel, public GifControl {
    Q_OBJECT
  public:
    static constexpr int64_t kMostKeptBannerBytes = 4 << 20;

    explicit GifLabel(QWidget* parent = nullptr);
    ~GifLabel() override;
    bool LoadFromFile(const std::string& path) override;
    std::string FileName() const override { return file_; }
    bool Animated() const override;
    int FrameDelayMs() const override;
    void ShowNextFrame() override;
    // The frames shown; nullptr while the banner is empty.
    const BannerMovie* Movie() const { return movie_.get(); }

  Q_SIGNALS:
    void Clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void Empty();

    std::unique_ptr<BannerMovie> movie_;
    std::string file_;
};

// Plays the disc's short sounds without waiting; silent where there is no audio device.
// The program's own sound list, "rollover" and "klick", played without waiting. Without a sound
// device nothing is heard and nothing is reported.
class QtSoundPlayer : public SoundPlayer {
  public:
    // `directory` holds "<name>.wav" files: a folder, or ":/sounds" for the program's own.
    explicit QtSoundPlayer(std::string directory = ":/sounds");
    ~QtSoundPlayer() override;
    void Play(const std::string& name) override;
    // Readies every sound of the list, so that the first click does not wait for the device.
    void Preload();
    std::vector<std::string> played;

  private:
    QUrl Source(const std::string& name) const;
    // The sound plugin, loaded on first use; null without it or without an audio device.
    SoundOutput* Output();

    std::string directory_;
    bool outputChecked_ = false;
    SoundOutput* output_ = nullptr;
};

// A modal message box titled with the application title.
class DialogMessages : public MessageSink {
  public:
    void ShowMessage(const std::string& text) override;
};

} // namespace kestrova
