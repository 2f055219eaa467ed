#pragma once
// Sound output, as its plugin ("kestrova_sound", see plugin_loader.h) offers it.

#include <QObject>
#include <QUrl>
#include <QtPlugin>

#include <string>

namespace kestrova {

class SoundOutput {
  public:
    virtual ~SoundOutput() = default;
    // Whether the system has an audio output at all; without one nothing is played.
    virtual bool HasDevice() = 0;
    // Readies the sound `source` under `name` (nothing when it is ready already).
    virtual void Ready(const std::string& name, const QUrl& source) = 0;
    // Plays a sound readied before, without waiting for it to end.
    virtual void Play(const std::string& name) = 0;
};

} // namespace kestrova

#define KESTROVA_SOUND_OUTPUT_IID "org.kestrova.SoundOutput/1"
Q_DECLARE_INTERFACE(kestrova::SoundOutput, KESTROVA_SOUND_OUTPUT_IID)
