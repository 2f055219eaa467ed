#include "platform/logging.h"

Q_LOGGING_CATEGORY(lcPlatform, "kestrova.platform")

namespace kestrova {

namespace {
Q_LOGGING_CATEGORY(lcEngine, "kestrova.engine")
} // namespace

void QtLog::Warning(const std::string& text) {
    qCWarning(lcEngine, "%s", text.c_str());
}

} // namespace kestrova
