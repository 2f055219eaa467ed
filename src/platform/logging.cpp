#include "platform/logging.h"

Q_LOGGING_CATEGORY(lcPlatform, "kestrova.platform")

namespace kestrova {

namespace {
Q_LOGGING_CATEGORY(lcEngine, "kestrova.engine")
} // namespace

namespace {

QtMessageHandler previousHandler = nullptr;

void DropSoundDeviceChatter(QtMsgType type, const QMessageLogContext& context,
                            const QString& message) {
    if (message.startsWith(QLatin1String("PulseAudioService:")) ||
        message.startsWith(QLatin1String("No audio device detected"))) {
        return;
    }
    if (previousHandler) {
        previousHandler(type, context, message);
    }
}

} // namespace

void QuietMissingSoundDevice() {
    if (!previousHandler) {
        previousHandler = qInstallMessageHandler(DropSoundDeviceChatter);
    }
}

void QtLog::Warning(const std::string& text) {
    qCWarning(lcEngine, "%s", text.c_str());
}

} // namespace kestrova
