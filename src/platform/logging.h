#pragma once
// The platform layer's log category and the engine's log port on it. Failures the reader is
// never told about (a program that would not start, a page that would not load) go here.

#include "engine/ports.h"

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcPlatform)

namespace kestrova {

// Drops the sound system's complaints that the machine has no sound device: without one the
// program is silent, and says nothing about it unless asked to be verbose.
void QuietMissingSoundDevice();

class QtLog : public Log {
  public:
    void Warning(const std::string& text) override;
};

} // namespace kestrova
