// The sound plugin: the only code of the program linked to the multimedia libraries.

#include "platform/sound_output.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>

#include <map>
#include <memory>

namespace kestrova {

class SoundPlugin : public QObject, public SoundOutput {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID KESTROVA_SOUND_OUTPUT_IID)
    Q_INTERFACES(kestrova::SoundOutput)
  public:
    bool HasDevice() override { return !QMediaDevices::defaultAudioOutput().isNull(); }

    void Ready(const std::string& name, const QUrl& source) override {
        if (effects_.count(name) == 0) {
            auto effect = std::make_unique<QSoundEffect>();
            effect->setSource(source);
            effects_.emplace(name, std::move(effect));
        }
    }

    void Play(const std::string& name) override {
        if (const auto it = effects_.find(name); it != effects_.end()) {
            it->second->play();
        }
    }

  private:
    std::map<std::string, std::unique_ptr<QSoundEffect>> effects_;
};

} // namespace kestrova

#include "sound_plugin.moc"
